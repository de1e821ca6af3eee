#include "ui/registry.h"

#include <algorithm>

namespace qlp {

HKEY openRegistryKey(HKEY root, std::wstring_view path, std::wstring_view subKey, bool* created) {
    if (path.empty())
        return nullptr;
    std::wstring full(path);
    if (!subKey.empty()) {
        full += L'\\';
        full += subKey;
    }
    HKEY key = nullptr;
    DWORD disposition = 0;
    if (RegCreateKeyExW(root, full.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr, &key,
                        &disposition) != ERROR_SUCCESS)
        return nullptr;
    if (created)
        *created = disposition == REG_CREATED_NEW_KEY;
    return key;
}

bool readRegistryBytes(HKEY key, std::wstring_view name, std::vector<uint8_t>& bytes, size_t maxSize) {
    const std::wstring valueName(name);
    DWORD size = 0;
    if (RegQueryValueExW(key, valueName.c_str(), nullptr, nullptr, nullptr, &size) != ERROR_SUCCESS)
        return false;
    std::vector<uint8_t> all(size);
    if (size && RegQueryValueExW(key, valueName.c_str(), nullptr, nullptr, all.data(), &size) != ERROR_SUCCESS)
        return false;
    all.resize(std::min<size_t>(size, maxSize));
    bytes = std::move(all);
    return true;
}

bool writeRegistryBinary(HKEY key, std::wstring_view name, const void* data, size_t size) {
    const std::wstring valueName(name);
    return RegSetValueExW(key, valueName.c_str(), 0, REG_BINARY, static_cast<const BYTE*>(data),
                          static_cast<DWORD>(size)) == ERROR_SUCCESS;
}

bool writeRegistryString(HKEY key, std::wstring_view name, std::wstring_view text, bool withTerminator) {
    const std::wstring valueName(name), value(text);
    const DWORD bytes = static_cast<DWORD>((value.size() + (withTerminator ? 1 : 0)) * sizeof(wchar_t));
    return RegSetValueExW(key, name.empty() ? nullptr : valueName.c_str(), 0, REG_SZ,
                          reinterpret_cast<const BYTE*>(value.c_str()), bytes) == ERROR_SUCCESS;
}

} // namespace qlp
