#pragma once
// Owning COM interface pointer, and COM for a scope.
#include <objbase.h>
#include <unknwn.h>

#include <utility>

namespace glimro {

template <typename T> class ComPtr {
public:
    ComPtr() = default;
    ~ComPtr() { Reset(); }
    ComPtr(const ComPtr& other) : ptr_(other.ptr_) {
        if (ptr_)
            ptr_->AddRef();
    }
    ComPtr(ComPtr&& other) noexcept : ptr_(std::exchange(other.ptr_, nullptr)) {}
    ComPtr& operator=(ComPtr other) noexcept {
        std::swap(ptr_, other.ptr_);
        return *this;
    }

    // Takes over a reference the caller already owns.
    static ComPtr Attach(T* ptr) {
        ComPtr result;
        result.ptr_ = ptr;
        return result;
    }

    T* Get() const { return ptr_; }
    T* operator->() const { return ptr_; }
    explicit operator bool() const { return ptr_ != nullptr; }

    // For out-parameters of factory calls: releases what is held first.
    T** Put() {
        Reset();
        return &ptr_;
    }
    void Reset() {
        if (ptr_)
            std::exchange(ptr_, nullptr)->Release();
    }

private:
    T* ptr_ = nullptr;
};

// COM for the calling thread for a scope, balanced: a thread initialised already only gains
// a reference (S_FALSE), which the end of the scope gives back.
class ScopedComInit {
public:
    ScopedComInit() : result_(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)) {}
    ~ScopedComInit() {
        if (SUCCEEDED(result_))
            ::CoUninitialize();
    }
    ScopedComInit(const ScopedComInit&) = delete;
    ScopedComInit& operator=(const ScopedComInit&) = delete;

private:
    HRESULT result_;
};

} // namespace glimro
