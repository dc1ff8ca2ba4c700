// Any address text: its host is found without reading past it, and a host that parses as an
// IP literal is judged by its bytes exactly as the literal is.
#include "core/local_address.h"

#include "fuzz_text.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::wstring text = FuzzText(data, size);
    const std::wstring host = glimro::AddressHost(text);
    uint8_t bytes[16] = {};
    size_t length = 0;
    if (glimro::ParseIpLiteral(text, bytes, &length) &&
        glimro::IsLocalHostName(text) != glimro::IsLocalAddress(bytes, length))
        __builtin_trap();
    glimro::IsLocalHostName(host);
    return 0;
}
