// Registration of the project-file type (.qlp) with the shell, at every start.
//
// The program has always written three values: the open command under the verb "開く(&O)", the
// icon location and the type description, the last two as named values. The shell reads neither
// named value and launches the verb's command only if the program's path holds no blanks, so the
// form the shell uses is written beside them: the type's description and icon as default values,
// "open" as the default verb with the program's full path and the file in quotes, and the
// extension pointing at the type.
//
// Everything goes to the current user's classes (HKCU\Software\Classes), which the system merges
// into HKEY_CLASSES_ROOT: writing HKEY_CLASSES_ROOT itself lands in the machine's classes, which
// an ordinary user may not change. Failures are ignored.

#include "app/startup.h"
#include "ui/registry.h"

namespace qlp {

namespace {

constexpr const wchar_t* kProgId = L"Software\\Classes\\QUILLON_9100";
constexpr const wchar_t* kExtension = L"Software\\Classes\\.qlp";
constexpr const wchar_t* kTypeName = L"Quillon・ドキュメント";

void writeString(std::wstring_view path, std::wstring_view subKey, std::wstring_view name, std::wstring_view value,
                 bool withTerminator) {
    RegistryKey key(HKEY_CURRENT_USER, path, subKey);
    if (key)
        writeRegistryString(key.get(), name, value, withTerminator);
}

} // namespace

void registerShellFileType(std::wstring_view programPath) {
    const std::wstring program(programPath);
    const size_t dot = program.find_last_of(L'.');
    const std::wstring openCommand = (dot == std::wstring::npos ? program : program.substr(0, dot)) + L" %1";
    const std::wstring iconLocation = program + L",2"; // icon index 2: the document icon

    // The program's own values, without their terminating NUL.
    writeString(kProgId, L"shell\\開く(&O)\\command", L"", openCommand, false);
    writeString(kProgId, L"DefaultIcon", L"デフォルトアイコンの場所", iconLocation, false);
    writeString(kExtension, L"", L"ファイルの種類", kTypeName, false);

    // The form the shell reads.
    writeString(kProgId, L"", L"", kTypeName, true);
    writeString(kProgId, L"DefaultIcon", L"", iconLocation, true);
    writeString(kProgId, L"shell", L"", L"open", true);
    writeString(kProgId, L"shell\\open\\command", L"", L"\"" + program + L"\" \"%1\"", true);
    writeString(kExtension, L"", L"", L"QUILLON_9100", true);
}

} // namespace qlp
