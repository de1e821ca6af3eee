#pragma once
// The program's registry access: one routine opens every key, and values are read and written
// with exact byte counts.

#include <windows.h>

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace qlp {

// The current user's settings key: window placement and column layouts live below it.
inline constexpr const wchar_t* kSettingsKey = L"Software\\QUILLON_9100\\data";

// Creates or opens root\path\subKey (or root\path when subKey is empty) with full access and
// non-volatile storage. Returns nullptr on failure; `created` (optional) tells whether the key
// had to be created.
HKEY openRegistryKey(HKEY root, std::wstring_view path, std::wstring_view subKey, bool* created = nullptr);

// RAII for a key handle.
class RegistryKey {
public:
    RegistryKey(HKEY root, std::wstring_view path, std::wstring_view subKey, bool* created = nullptr)
        : key_(openRegistryKey(root, path, subKey, created)) {}
    ~RegistryKey() {
        if (key_)
            RegCloseKey(key_);
    }
    RegistryKey(const RegistryKey&) = delete;
    RegistryKey& operator=(const RegistryKey&) = delete;
    explicit operator bool() const { return key_ != nullptr; }
    HKEY get() const { return key_; }

private:
    HKEY key_;
};

// Reads at most maxSize bytes of a value of any type; false when it is missing or unreadable.
bool readRegistryBytes(HKEY key, std::wstring_view name, std::vector<uint8_t>& bytes, size_t maxSize);

bool writeRegistryBinary(HKEY key, std::wstring_view name, const void* data, size_t size);

// A REG_SZ value. withTerminator false stores the characters only, without the closing NUL.
bool writeRegistryString(HKEY key, std::wstring_view name, std::wstring_view text, bool withTerminator);

} // namespace qlp
