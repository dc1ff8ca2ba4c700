#include "platform/user_state.h"

#include <windows.h>
#include <shellapi.h>

namespace glimro {

Seam<bool()> FullScreenProgramRuns([] {
    QUERY_USER_NOTIFICATION_STATE state = QUNS_ACCEPTS_NOTIFICATIONS;
    if (FAILED(::SHQueryUserNotificationState(&state)))
        return false;
    return state == QUNS_BUSY || state == QUNS_RUNNING_D3D_FULL_SCREEN ||
           state == QUNS_PRESENTATION_MODE;
});

Seam<bool()> RunsOnBattery([] {
    SYSTEM_POWER_STATUS power = {};
    return ::GetSystemPowerStatus(&power) && power.ACLineStatus == 0;
});

} // namespace glimro
