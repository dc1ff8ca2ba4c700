#pragma once
// The characters a text from outside (a feed's title, its credit) must never carry onto the
// screen or into a file's name: the C0 and C1 controls and DEL, which draw nothing or move
// the caret, and the bidirectional controls, which reorder what follows them ("gpj.exe" after
// U+202E reads as "exe.jpg").
namespace glimro {

constexpr bool IsHiddenControl(wchar_t c) {
    return c < L' ' || (c >= 0x7F && c <= 0x9F) || c == 0x200E || c == 0x200F ||
           (c >= 0x202A && c <= 0x202E) || (c >= 0x2066 && c <= 0x2069);
}

} // namespace glimro
