#pragma once
// The IUnknown part of a test's stand-in COM object: counts references so a test can check
// that the program released what it took; the object itself lives on the test's stack.
#include <unknwn.h>

namespace glimro::test {

template <typename Interface> class CountedFake : public Interface {
public:
    LONG references = 1;

    STDMETHODIMP QueryInterface(REFIID, void** out) override {
        *out = nullptr;
        return E_NOINTERFACE;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return static_cast<ULONG>(++references); }
    STDMETHODIMP_(ULONG) Release() override { return static_cast<ULONG>(--references); }

    // Hands out one more reference to this object, as a factory would.
    template <typename Pointer> void HandOut(Pointer* out) {
        AddRef();
        *out = Pointer::Attach(this);
    }
};

} // namespace glimro::test
