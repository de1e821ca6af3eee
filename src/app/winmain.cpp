// Program entry of Quillon.

#include "app/startup.h"

#include <windows.h>

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR commandLine, int showCommand) {
    return qlp::runApplication(instance, commandLine, showCommand);
}
