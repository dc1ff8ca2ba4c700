#pragma once
// What the sources of single pictures share when one is shown: the log's framing of an
// entry, the reports of a picture that cannot go to the desktop, and staging it for the
// screen and the position before the desktop is given it.
#include "engine/entry_source.h"
#include "engine/image_staging.h"

#include <string>

namespace glimro {

void WritePassEntryStart(LogStream& log);
void WritePassEntryEnd(LogStream& log);

// One report for a local picture that cannot go to the desktop: too large, or unreadable
// (missing, or not a picture).
void ReportUnusablePicture(const std::wstring& target, StagingProblem problem, LogStream& log);

// A picture on disk (file) staged for the screen and the look, then given to the desktop;
// shown is what the file holds, for its caption.
TryOutcome StageAndSet(const std::wstring& file, const Candidate& shown, const Look& look, LogStream& log);

} // namespace glimro
