#pragma once
// A stand-in for the shell's thumbnail extractor that answers as the test says.
#include "platform/thumbnail.h"
#include "support/counted_fake.h"

namespace glimro::test {

class FakeExtractImage : public CountedFake<IExtractImage> {
public:
    HRESULT location_result = S_OK;
    HBITMAP bitmap = nullptr; // handed out by Extract; null gives "no bitmap"
    int extract_calls = 0;
    SIZE asked_size = {};
    DWORD asked_depth = 0;
    DWORD asked_flags = 0;

    // Stands in for the shell's extractor of every item for the override's scope.
    Seam<HRESULT(IShellFolder*, PCUITEMID_CHILD, ComPtr<IExtractImage>*)>::Override Install() {
        return {GetThumbnailExtractor,
                [this](IShellFolder*, PCUITEMID_CHILD, ComPtr<IExtractImage>* out) {
                    HandOut(out);
                    return S_OK;
                }};
    }

    STDMETHODIMP GetLocation(LPWSTR, DWORD, DWORD*, const SIZE* size, DWORD depth,
                             DWORD* flags) override {
        asked_size = *size;
        asked_depth = depth;
        asked_flags = *flags;
        return location_result;
    }
    STDMETHODIMP Extract(HBITMAP* out) override {
        ++extract_calls;
        *out = bitmap;
        return bitmap ? S_OK : E_FAIL;
    }
};

} // namespace glimro::test
