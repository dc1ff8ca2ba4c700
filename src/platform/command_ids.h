#pragma once
// The process-wide pair of numbers. As commands to the resident instance's message window
// they mean show and quit; 2112 is also the identifier of the pass and splash timers, and
// inside the download dialog the pair means start the download and set the status line.
namespace glimro {

inline constexpr unsigned kCommand2112 = 2112;
inline constexpr unsigned kCommand3113 = 3113;

inline constexpr unsigned kShowCommand = kCommand2112;
inline constexpr unsigned kQuitCommand = kCommand3113;

} // namespace glimro
