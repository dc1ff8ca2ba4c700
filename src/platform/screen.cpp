#include "platform/screen.h"

namespace glimro {

Seam<SIZE()> PrimaryScreenSize([] {
    return SIZE{::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)};
});

Seam<SIZE()> VirtualScreenSize([] {
    return SIZE{::GetSystemMetrics(SM_CXVIRTUALSCREEN), ::GetSystemMetrics(SM_CYVIRTUALSCREEN)};
});

} // namespace glimro
