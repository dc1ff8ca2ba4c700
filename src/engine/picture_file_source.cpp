// A picture file entry: a local or network path to one picture.
#include "core/picture_names.h"
#include "engine/entry_source.h"
#include "engine/picture_show.h"

namespace glimro {
namespace {

class PictureFileSource final : public EntrySource {
public:
    bool Claims(const std::wstring& target) const override { return !target.empty(); }

    TryOutcome Show(const Candidate& picture, const Look& look, LogStream& log) const override {
        WritePassEntryStart(log);
        return StageAndSet(picture.image.Expanded(), picture, look, log);
    }
    std::wstring ReadyFile(const Candidate& picture, size_t, LogStream& log) const override {
        const std::wstring target = picture.image.Expanded();
        const StagingProblem problem = CheckPicture(target);
        if (problem == StagingProblem::None)
            return target;
        ReportUnusablePicture(target, problem, log);
        return {};
    }
    std::wstring FileOf(const std::wstring& picture) const override { return picture; }

    // A relative path would be looked for in whatever folder Glimro runs from.
    EntryProblem CheckNew(const std::wstring& text) const override {
        if (!IsFullPath(text))
            return EntryProblem::NotFullPath;
        return HasImageExtension(text) ? EntryProblem::None : EntryProblem::NotAPicture;
    }
};

} // namespace

const EntrySource& PictureFileSource() {
    static const class PictureFileSource source;
    return source;
}

} // namespace glimro
