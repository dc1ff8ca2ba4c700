#pragma once
// Owning wrappers for kernel handles, GDI objects, menus, icons, device contexts, find
// handles and the shell's memory, and a scoped SelectObject: logic code never frees by hand.
#include <windows.h>
#include <objbase.h>

#include <utility>

namespace glimro {

template <typename T, typename Traits> class UniqueResource {
public:
    UniqueResource() = default;
    explicit UniqueResource(T value) : value_(value) {}
    ~UniqueResource() { Reset(); }
    UniqueResource(UniqueResource&& other) noexcept : value_(other.Release()) {}
    UniqueResource& operator=(UniqueResource&& other) noexcept {
        if (this != &other)
            Reset(other.Release());
        return *this;
    }
    UniqueResource(const UniqueResource&) = delete;
    UniqueResource& operator=(const UniqueResource&) = delete;

    T Get() const { return value_; }
    bool IsValid() const { return Traits::IsValid(value_); }
    explicit operator bool() const { return IsValid(); }
    T Release() { return std::exchange(value_, Traits::Invalid()); }
    // For out-parameters: lets go of what is held first.
    T* Put() {
        Reset();
        return &value_;
    }
    void Reset(T value = Traits::Invalid()) {
        if (Traits::IsValid(value_))
            Traits::Close(value_);
        value_ = value;
    }

private:
    T value_ = Traits::Invalid();
};

struct KernelHandleTraits {
    static HANDLE Invalid() { return nullptr; }
    static bool IsValid(HANDLE h) { return h != nullptr && h != INVALID_HANDLE_VALUE; }
    static void Close(HANDLE h) { ::CloseHandle(h); }
};
using UniqueHandle = UniqueResource<HANDLE, KernelHandleTraits>;

template <typename T> struct GdiObjectTraits {
    static T Invalid() { return nullptr; }
    static bool IsValid(T h) { return h != nullptr; }
    static void Close(T h) { ::DeleteObject(h); }
};
template <typename T> using GdiObject = UniqueResource<T, GdiObjectTraits<T>>;

// One line of traits a handle type: what "none" is and how it is let go.
#define GLIMRO_HANDLE_TRAITS(Name, Type, none, close)                                          \
    struct Name {                                                                              \
        static Type Invalid() { return none; }                                                 \
        static bool IsValid(Type h) { return h != none; }                                      \
        static void Close(Type h) { close(h); }                                                \
    }
GLIMRO_HANDLE_TRAITS(MenuTraits, HMENU, nullptr, ::DestroyMenu);
GLIMRO_HANDLE_TRAITS(IconTraits, HICON, nullptr, ::DestroyIcon);
GLIMRO_HANDLE_TRAITS(DcTraits, HDC, nullptr, ::DeleteDC);
GLIMRO_HANDLE_TRAITS(FindTraits, HANDLE, INVALID_HANDLE_VALUE, ::FindClose);
#undef GLIMRO_HANDLE_TRAITS
using UniqueMenu = UniqueResource<HMENU, MenuTraits>;
using UniqueIcon = UniqueResource<HICON, IconTraits>;
using UniqueDc = UniqueResource<HDC, DcTraits>;
using UniqueFind = UniqueResource<HANDLE, FindTraits>;

// Memory the shell allocated for the caller (item identifier lists, strings).
template <typename T> struct CoTaskMemTraits {
    static T* Invalid() { return nullptr; }
    static bool IsValid(T* p) { return p != nullptr; }
    static void Close(T* p) { ::CoTaskMemFree(p); }
};
template <typename T> using UniqueCoTaskMem = UniqueResource<T*, CoTaskMemTraits<T>>;

// An object selected into a device context for a scope; the previous one is put back.
class ScopedSelectObject {
public:
    ScopedSelectObject(HDC dc, HGDIOBJ object) : dc_(dc), previous_(::SelectObject(dc, object)) {}
    ~ScopedSelectObject() {
        if (previous_)
            ::SelectObject(dc_, previous_);
    }
    ScopedSelectObject(const ScopedSelectObject&) = delete;
    ScopedSelectObject& operator=(const ScopedSelectObject&) = delete;

private:
    HDC dc_;
    HGDIOBJ previous_;
};

} // namespace glimro
