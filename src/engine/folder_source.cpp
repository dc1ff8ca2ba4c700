// A folder entry: the pictures in a folder and its subfolders, read afresh at every pass, in
// the order Explorer shows them.
#include "engine/entry_source.h"
#include "engine/folder_pictures.h"

#include <algorithm>

namespace glimro {
namespace {

class FolderSource final : public EntrySource {
public:
    bool Claims(const std::wstring& target) const override { return IsFolderEntry(target); }

    void Expand(int entry, const ImageEntry&, const std::wstring& target, const std::wstring&,
                LogStream& log, std::vector<Candidate>& out) const override {
        const std::vector<std::wstring> pictures = FolderPictures(target);
        if (pictures.empty()) {
            log << "Skipped a folder that holds no picture: " << LogSafe(target);
            log.EndLine();
        }
        for (const std::wstring& picture : pictures)
            out.push_back({entry, ImageEntry(picture), &PictureFileSource()});
    }
    bool HoldsMany() const override { return true; }

    // The first picture after `shown` in the folder's order, whether `shown` is still there
    // or not: a binary search, as the pictures are in that order. A picture from elsewhere
    // goes on past the folder.
    size_t After(const CAlbum& album, const Candidate* first, size_t count,
                 const std::wstring& shown) const override {
        if (count == 0 || !IsInFolder(shown, album.FileList[static_cast<size_t>(first->entry)].Expanded()))
            return count;
        const Candidate* next = std::upper_bound(first, first + count, shown,
                                                 [](const std::wstring& path, const Candidate& c) {
                                                     return ComesBefore(path, c.image.Text);
                                                 });
        return static_cast<size_t>(next - first);
    }

    // Never a picture itself: its pictures are the file entry's.
    TryOutcome Show(const Candidate& picture, const Look& look, LogStream& log) const override {
        return PictureFileSource().Show(picture, look, log);
    }
    std::wstring ReadyFile(const Candidate& picture, size_t slot, LogStream& log) const override {
        return PictureFileSource().ReadyFile(picture, slot, log);
    }
    std::wstring FileOf(const std::wstring&) const override { return {}; }

    EntryProblem CheckNew(const std::wstring&) const override { return EntryProblem::None; }

    EntryDescription Describe(const std::wstring& target,
                              const std::vector<std::wstring>& skipped) const override {
        const std::vector<std::wstring> pictures = FolderPictures(target);
        const size_t count = pictures.size();
        EntryDescription description;
        description.note = PicturesNote(
            L"", count, SkippedNote(skipped, [&](const std::wstring& s) { return IsInFolder(s, target); }));
        // Its first picture stands for it.
        description.preview = pictures.empty() ? target : pictures.front();
        return description;
    }
};

} // namespace

const EntrySource& FolderSource() {
    static const class FolderSource source;
    return source;
}

} // namespace glimro
