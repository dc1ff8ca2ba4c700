#include "platform/screen.h"

namespace glimro {

Seam<SIZE()> PrimaryScreenSize([] {
    return SIZE{::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)};
});

} // namespace glimro
