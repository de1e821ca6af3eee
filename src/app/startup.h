#pragma once
// Start-up and the message loop: the order in which the program comes to life, and the pieces it
// is made of, which the Windows tests also use to build the main window in their own process.

#include <windows.h>

#include <string>
#include <string_view>

namespace qlp {

// Character classification and numbers in the Japanese locale (code page 932).
void setJapaneseLocale();

// Stores the instance, sets the locale, loads the caption and class name, registers the window
// class and loads the accelerator table. False when the class cannot be registered.
bool initApplication(HINSTANCE instance);

// Takes the single-instance mutex. When another instance holds it, shows the already-running box
// and returns false.
bool acquireSingleInstance();

// The program file's full path.
std::wstring programPath();

// The program's directory (with its trailing backslash) followed by "QLP_WORK".
std::wstring workDirectoryFor(std::wstring_view programPath);

// Creates the work directory if needed and deletes every file in it, silently; sub-directories
// and their contents stay.
void prepareWorkDirectory(const std::wstring& directory);

// Registers the project-file type for the current user (see shell_registration.cpp).
void registerShellFileType(std::wstring_view programPath);

// Translates an accelerator for the window the message is addressed to; true when it did.
bool translateAccelerator(MSG& msg);

// Runs until WM_QUIT; returns its exit code.
int runMessageLoop();

// The whole life of the program; returns its exit code (1 when another instance runs, 0 when the
// main window cannot be created).
int runApplication(HINSTANCE instance, const wchar_t* commandLine, int showCommand);

} // namespace qlp
