// glimro.exe: the resident wallpaper rotator, its Album Manager window and the installers'
// command-line tool, in one.
#include "app/glimro_app.h"
#include "platform/system_library.h"

#include <windows.h>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR arguments, int show_command) {
    glimro::LoadLibrariesFromSystemOnly();
    glimro::CGlimroApp app;
    return app.Run(arguments ? arguments : L"", show_command);
}
