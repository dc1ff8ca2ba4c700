#include "ui/rotator.h"

#include "engine/current_picture.h"
#include "log/activity_log.h"
#include "engine/monitor_wallpaper.h"
#include "platform/clock.h"
#include "platform/text.h"
#include "platform/user_state.h"
#include "platform/window.h"
#include "resource.h"
#include "scheduler/theme_switch.h"
#include "store/product_key.h"
#include "store/recent_pictures.h"

namespace glimro {

SaveReport MessageBoxReport(HWND owner) {
    return [owner](const std::vector<AlbumSet::SaveProblem>& problems) {
        std::wstring lines;
        for (const AlbumSet::SaveProblem& problem : problems) {
            const std::wstring name =
                problem.album.empty() ? LoadResourceString(IDS_ALBUM_WITHOUT_NAME) : problem.album;
            lines += L"\n    " + ResourceText(problem.removal ? IDS_SAVE_PROBLEM_DELETED : IDS_SAVE_PROBLEM, {name, SystemErrorText(problem.status)});
        }
        const std::wstring text = ResourceText(IDS_SAVE_PROBLEMS, {lines});
        ::MessageBoxW(owner, text.c_str(), LoadResourceString(IDS_APP_TITLE).c_str(),
                      MB_OK | MB_ICONWARNING);
    };
}

void RepaintAfterPass(PassOutcome result) {
    if (result == kPassApplied)
        RepaintAfterWallpaperChange();
}

void CRotator::Say(const std::wstring& text) const {
    if (Status)
        Status(text);
}

void CRotator::Start() {
    paused_ = ReadProductNumber(kPausedValue, 0) != 0;
    ArmPassTimer(kFirstCheckDelay);
    ::SetTimer(timer_window_, kThemeTimerId, kFirstCheckDelay, nullptr);
}

void CRotator::ArmPassTimer(DWORD delay) {
    ::KillTimer(timer_window_, kPassTimerId);
    ::SetTimer(timer_window_, kPassTimerId, delay, nullptr);
}

bool CRotator::OnTimer(UINT_PTR id) {
    if (id == kPassTimerId)
        OnPassTimer();
    else if (id == kLayoutTimerId)
        OnLayoutTimer();
    else if (id == kThemeTimerId)
        OnThemeTimer();
    else
        return false;
    return true;
}

void CRotator::OnPassTimer() {
    ::KillTimer(timer_window_, kPassTimerId);
    if (paused_) {
        ::SetTimer(timer_window_, kPassTimerId, kPausedDelay, nullptr);
        return;
    }
    // A pass started by a command is still downloading: no check, no log, no save now.
    AlbumSet::PassHold hold = albums_.HoldForPass(albums_.FindActiveAlbum());
    if (!hold) {
        ::SetTimer(timer_window_, kPassTimerId, kBusyRetryDelay, nullptr);
        return;
    }
    const DWORD delay = RunScheduledPass(LocalTime(), *this);
    ::SetTimer(timer_window_, kPassTimerId, delay, nullptr);
}

void CRotator::OnLayoutTimer() {
    ::KillTimer(timer_window_, kLayoutTimerId);
    CAlbum* active = albums_.FindActiveAlbum();
    if (!active)
        return;
    AlbumSet::PassHold hold = albums_.HoldForPass(active);
    if (!hold) {
        OnDisplayChange(); // a pass is running: after it
        return;
    }
    RepaintAfterPass(active->ReapplyForLayout() ? kPassApplied : kPassNothingApplied);
    Say(IdleStatus());
}

void CRotator::SetPaused(bool paused) {
    paused_ = paused;
    WriteProductNumber(kPausedValue, paused ? 1 : 0);
    Say(IdleStatus());
    // Resumed: whatever fell due while paused is looked at soon.
    if (!paused)
        CatchUp();
}

void CRotator::CatchUp() {
    // So a laptop opened at night is dark, paused or not.
    FollowThemeSoon();
    if (!paused_ && !albums_.PassRunning())
        ArmPassTimer(kCatchUpDelay);
}

void CRotator::FollowThemeSoon() {
    ::SetTimer(timer_window_, kThemeTimerId, kCatchUpDelay, nullptr);
}

void CRotator::OnThemeTimer() {
    ::KillTimer(timer_window_, kThemeTimerId);
    ::SetTimer(timer_window_, kThemeTimerId, FollowTheme(ReadThemeChoice(), LocalTime()), nullptr);
}

void CRotator::OnDisplayChange() {
    ::SetTimer(timer_window_, kLayoutTimerId, kLayoutSettleDelay, nullptr);
}

std::wstring CRotator::IdleStatus() const {
    if (paused_)
        return kPausedStatus;
    // A feed's picture is named with its credit.
    const CAlbum* active = albums_.FindActiveAlbum();
    const std::wstring credit = active ? CreditLine(active->Current().credit) : L"";
    std::wstring status = credit.empty() ? LoadResourceString(IDS_IDLE_MESSAGE) : credit;
    // An album with a picture for each monitor says how many it serves.
    const size_t monitors = active && active->Monitors == kPictureEach ? OrderedMonitors().size() : 0;
    if (monitors >= 2)
        status += ResourceText(IDS_STATUS_EACH_MONITOR, {std::to_wstring(monitors)});
    return status;
}

const char* CRotator::HoldReason() {
    if (ReadProductNumber(kHoldFullScreenValue, 1) != 0 && FullScreenProgramRuns())
        return "a full-screen program or a presentation runs";
    if (ReadProductNumber(kHoldOnBatteryValue, 0) != 0 && RunsOnBattery())
        return "the computer runs on battery power";
    return nullptr;
}

PassOutcome CRotator::Change(CAlbum& album, const WallpaperChange& what, const SaveReport& report) {
    // The album stays pinned until its pass is saved: a Delete or a quit that arrives during
    // a download waits for it.
    AlbumSet::PassHold hold = albums_.HoldForPass(&album);
    if (!hold)
        return kPassBusy;
    CWaitCursor wait;
    PassOutcome result = kPassNothingApplied;
    switch (what.kind) {
    case WallpaperChange::Next:
        result = album.ApplyNextImage();
        break;
    case WallpaperChange::Previous:
        result = album.ApplyPreviousImage();
        break;
    case WallpaperChange::At:
        result = album.ApplyImageAt(what.position);
        break;
    case WallpaperChange::Entry:
        result = album.ShowEntry(*what.entry, what.position);
        break;
    }
    RepaintAfterPass(result);
    if (result == kPassApplied)
        RememberRecent(album);
    RefreshAlbumList();
    if (what.kind != WallpaperChange::Entry)
        SaveForCommand(report);
    else if (result == kPassApplied)
        SaveForCommand(report, &album);
    return result;
}

void CRotator::RememberRecent(const CAlbum& album) const {
    if (const LSTATUS status = RememberRecentPicture(RecentFrom(album)); status != ERROR_SUCCESS) {
        LogStream log = OpenLog(LogMode::Append);
        ReportErrorCode(L"Could not remember the picture among the recent ones. ",
                        static_cast<DWORD>(status), log);
    }
}

PassOutcome CRotator::SkipCurrent(const SaveReport& report) {
    CAlbum* active = albums_.FindActiveAlbum();
    if (!active)
        return kPassNothingApplied;
    if (Busy())
        return kPassBusy;
    const CAlbum::AsidePicture shown = active->Current();
    CAlbum* owner = active;
    if (!shown.album.empty()) {
        for (const auto& album : albums_.Albums())
            if (::lstrcmpiW(album->Name.c_str(), shown.album.c_str()) == 0)
                owner = album.get();
    }
    owner->Skip(shown.picture);
    // Saved with the change, even when nothing else can be shown.
    return Change(*active, WallpaperChange{}, report);
}

PassOutcome CRotator::ShowRecent(size_t index) {
    CAlbum* active = albums_.FindActiveAlbum();
    const std::vector<RecentPicture> recent = ReadRecentPictures();
    if (!active || index >= recent.size())
        return kPassNothingApplied;
    AlbumSet::PassHold hold = albums_.HoldForPass(active);
    if (!hold)
        return kPassBusy;
    CWaitCursor wait;
    const RecentPicture& chosen = recent[index];
    const bool other = ::lstrcmpiW(chosen.album.c_str(), active->Name.c_str()) != 0;
    const PassOutcome result = active->ShowAside({ImageEntry(chosen.picture), chosen.credit,
                                              other ? chosen.album : L""});
    RepaintAfterPass(result);
    if (result == kPassApplied)
        RememberRecent(*active);
    RefreshAlbumList();
    Say(IdleStatus());
    return result;
}

bool CRotator::SaveForCommand(const SaveReport& report, const CAlbum* pass_album) {
    if (pass_album)
        albums_.SaveAfterPass(pass_album);
    else
        albums_.SaveAlbumList();
    const std::vector<AlbumSet::SaveProblem>& problems = albums_.SaveProblems();
    if (problems.empty())
        return true;
    if (report)
        report(problems);
    return false;
}

CAlbum* CRotator::FindActiveAlbum() {
    return albums_.FindActiveAlbum();
}

int CRotator::RunAlbumPass(CAlbum* album) {
    int result = -1;
    if (album) {
        if (album->Enabled) {
            const PassOutcome applied = album->ApplyScheduledImage();
            RepaintAfterPass(applied);
            if (applied == kPassApplied)
                RememberRecent(*album);
        }
        result = album->Frequency;
    }
    Say(LoadResourceString(IDS_STATUS_DONE).c_str());
    return result;
}

void CRotator::RefreshAlbumList() {
    if (RowsChanged)
        RowsChanged();
}

int CRotator::SaveAlbumList() {
    // The pass check saves inside its pass's hold: that pass changed its own album only.
    if (albums_.PassRunning())
        return albums_.SaveAfterPass(albums_.PassAlbum());
    return albums_.SaveAlbumList();
}

} // namespace glimro
