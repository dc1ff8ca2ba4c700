#pragma once
// A stand-in for the shell's thumbnail extractor that answers as the test says.
#include "platform/thumbnail.h"

namespace glimro::test {

class FakeExtractImage : public IExtractImage {
public:
    HRESULT location_result = S_OK;
    HBITMAP bitmap = nullptr; // handed out by Extract; null gives "no bitmap"
    int extract_calls = 0;
    SIZE asked_size = {};
    DWORD asked_depth = 0;
    DWORD asked_flags = 0;
    LONG references = 1;

    STDMETHODIMP QueryInterface(REFIID, void** out) override {
        *out = nullptr;
        return E_NOINTERFACE;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return static_cast<ULONG>(++references); }
    STDMETHODIMP_(ULONG) Release() override { return static_cast<ULONG>(--references); }

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
