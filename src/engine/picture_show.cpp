#include "engine/picture_show.h"

#include "core/picture_limits.h"
#include "engine/monitor_wallpaper.h"
#include "engine/wallpaper_setter.h"

namespace glimro {

void WritePassEntryStart(LogStream& log) {
    if (!log.IsOpen())
        return;
    log << "***Tembrel Log Entry***";
    log.EndLine();
    log.EndLine();
    WriteTimeLine(log, "Start time: ");
}

void WritePassEntryEnd(LogStream& log) {
    if (log.IsOpen())
        WriteTimeLine(log, "Stop time: ");
}

void ReportUnusablePicture(const std::wstring& target, StagingProblem problem, LogStream& log) {
    if (problem == StagingProblem::TooLarge) {
        log << "Skipped a picture larger than Glimro decodes (at most "
            << static_cast<unsigned long>(kMaxPictureSide) << " pixels a side and "
            << static_cast<unsigned long>(kMaxDecodedBytes >> 20)
            << " MB decoded): " << LogSafe(target);
        log.EndLine();
        return;
    }
    const DWORD code = ::GetFileAttributesW(target.c_str()) == INVALID_FILE_ATTRIBUTES
                           ? ::GetLastError()
                           : static_cast<DWORD>(ERROR_INVALID_DATA);
    ReportError(L"Could not read the picture!\n", LogSafe(target), code, log);
}

TryOutcome StageAndSet(const std::wstring& file, const Candidate& shown, const Look& look, LogStream& log) {
    const int position = SupportedPosition(look.position);
    const Caption caption = CaptionOf(look.caption, shown.image.Expanded(), shown.credit, file);
    StagingProblem problem = StagingProblem::None;
    const std::wstring path = caption.Empty() ? PrepareLocalImage(file, &problem, position) : file;
    if (!caption.Empty())
        problem = CheckPicture(file);
    if (path.empty() || problem != StagingProblem::None) {
        ReportUnusablePicture(file, problem, log);
        return TryOutcome::EntryFailed;
    }
    const bool set = caption.Empty() ? SetDesktopWallpaper(path, log, look.position)
                                     : SetCaptionedWallpaper(file, caption, position, log);
    return set ? TryOutcome::Applied : TryOutcome::SwitchFailed;
}

} // namespace glimro
