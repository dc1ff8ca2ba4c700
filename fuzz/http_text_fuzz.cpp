// Any Content-Length a server may send: a number within the limit, or nothing.
#include "core/http_text.h"

#include "fuzz_text.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const uint64_t max = 100ull << 20;
    const auto length = glimro::ParseContentLength(FuzzText(data, size), max);
    if (length && *length > max)
        __builtin_trap();
    return 0;
}
