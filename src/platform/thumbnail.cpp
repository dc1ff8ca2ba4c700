#include "platform/thumbnail.h"

namespace glimro {
namespace {

const IID kIidExtractImage = {
    0xBB2E617C, 0x0920, 0x11D1, {0x9A, 0x0B, 0x00, 0xC0, 0x4F, 0xC2, 0xD6, 0xC1}};

} // namespace

Seam<HRESULT(IShellFolder*, PCUITEMID_CHILD, ComPtr<IExtractImage>*)> GetThumbnailExtractor(
    [](IShellFolder* parent, PCUITEMID_CHILD child, ComPtr<IExtractImage>* out) {
        return parent->GetUIObjectOf(nullptr, 1, &child, kIidExtractImage, nullptr,
                                     reinterpret_cast<void**>(out->Put()));
    });

} // namespace glimro
