// Any bytes as a stored value of every kind the album reads.
#include "core/stored_value.h"

#include "fuzz_text.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const glimro::Bytes bytes(data, size);
    bool plain = false;
    const std::wstring text = glimro::TextFromBytes(bytes, &plain);
    if (text.size() > size / 2 || (plain && text.size() * 2 != size))
        __builtin_trap();
    glimro::NumberFromBytes(bytes);
    for (const uint32_t type : {glimro::kStoredString, glimro::kStoredDword, 3u})
        if (glimro::NumberFromValue(type, bytes) && type == 3u)
            __builtin_trap();
    glimro::StoredTime time;
    if (glimro::TimeFromBytes(bytes, &time) && (time.month < 1 || time.month > 12))
        __builtin_trap();
    std::vector<int> round;
    if (glimro::ShuffleRoundFromBytes(bytes, &round) && round.size() * 4 != size)
        __builtin_trap();
    unsigned long position = 0;
    glimro::EntryPositionFromName(FuzzText(data, size), &position);
    return 0;
}
