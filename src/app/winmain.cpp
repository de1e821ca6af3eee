// Program entry of Quillon.

#include "app/startup.h"
#include "ui/guard.h"

#include <windows.h>

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR commandLine, int showCommand) {
    // Start-up and the message loop run outside every window procedure; what fails there is
    // reported as a window's failure is, and the program ends.
    return qlp::guarded(
        nullptr, [&] { return qlp::runApplication(instance, commandLine, showCommand); }, [] { return 1; });
}
