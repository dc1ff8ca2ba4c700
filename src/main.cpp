// glimro.exe: the Album Manager with the resident pass timer.
#include "platform/window.h"
#include "ui/main_frame.h"

#include <windows.h>
#include <commctrl.h>
#include <objbase.h>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int show_command) {
    INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_WIN95_CLASSES};
    ::InitCommonControlsEx(&controls);
    if (FAILED(::OleInitialize(nullptr)))
        return 1;
    int code = 1;
    {
        glimro::WindowPlacementRecord placement;
        glimro::LoadPlacement(placement);
        glimro::CMainFrame frame(placement);
        frame.QuitOnDestroy = true;
        if (frame.Create()) {
            frame.ShowInitially(show_command);
            code = glimro::RunMessageLoop();
        }
    }
    ::OleUninitialize();
    return code;
}
