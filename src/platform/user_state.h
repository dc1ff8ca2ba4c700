#pragma once
// What the user is doing that a wallpaper change should wait for, asked at each check; tests
// set both (Wine always answers that notifications are welcome, and takes its power source
// from the host).
#include "platform/seam.h"

namespace glimro {

// A full-screen program (a game, a film) or a presentation has the screen:
// SHQueryUserNotificationState answers QUNS_BUSY, QUNS_RUNNING_D3D_FULL_SCREEN or
// QUNS_PRESENTATION_MODE.
extern Seam<bool()> FullScreenProgramRuns;
// The computer runs on its battery (GetSystemPowerStatus: not on mains power).
extern Seam<bool()> RunsOnBattery;

} // namespace glimro
