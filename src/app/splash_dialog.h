#pragma once
// The start-up picture of the autostart entry: "fenwaldstone.bmp" from the current folder in
// an elliptical window for 4.5 seconds. Without the file there is no splash and no delay.
#include "platform/command_ids.h"
#include "platform/handle.h"
#include "platform/simple_dialog.h"

namespace glimro {

inline constexpr wchar_t kSplashBitmapFile[] = L"fenwaldstone.bmp";
inline constexpr UINT kSplashTimerId = kCommand2112;
inline constexpr UINT kSplashDuration = 4500;

class CSplashDialog : public CSimpleDialog {
public:
    CSplashDialog();
    // Reads the picture; false when there is none, and then no dialog is made at all (its
    // picture control would load the common controls into a resident that never shows).
    bool LoadPicture();

protected:
    INT_PTR OnInitDialog(HWND window) override;
    INT_PTR OnTimer(WPARAM id, LPARAM) override;

private:
    GdiObject<HBITMAP> bitmap_;
};

// "About Glimro": the icon, the name and version, OK.
class CAboutDlg : public CSimpleDialog {
public:
    CAboutDlg();
};

} // namespace glimro
