#include "platform/open_box.h"

namespace glimro {

Seam<DWORD(OPENFILENAMEW*)> ShowOpenBox([](OPENFILENAMEW* open) -> DWORD {
    if (::GetOpenFileNameW(open))
        return 0;
    const DWORD error = ::CommDlgExtendedError();
    return error == 0 ? kOpenBoxCancelled : error;
});

} // namespace glimro
