#pragma once
// Owners for the Windows handles the output side holds.

#include <windows.h>
#include <objbase.h>

#include <memory>
#include <utility>

namespace audiolib {

template <class T>
class ComPtr {
public:
    ComPtr() = default;
    ComPtr(const ComPtr&) = delete;
    ComPtr& operator=(const ComPtr&) = delete;
    ComPtr(ComPtr&& other) noexcept : pointer_(std::exchange(other.pointer_, nullptr)) {}
    ComPtr& operator=(ComPtr&& other) noexcept {
        if (this != &other) {
            reset();
            pointer_ = std::exchange(other.pointer_, nullptr);
        }
        return *this;
    }
    ~ComPtr() { reset(); }
    void reset() {
        if (pointer_) pointer_->Release();
        pointer_ = nullptr;
    }
    T** put() {
        reset();
        return &pointer_;
    }
    void** put_void() { return reinterpret_cast<void**>(put()); }
    T* get() const { return pointer_; }
    T* operator->() const { return pointer_; }
    explicit operator bool() const { return pointer_ != nullptr; }

private:
    T* pointer_ = nullptr;
};

struct CoTaskMemDeleter {
    void operator()(void* block) const { CoTaskMemFree(block); }
};
template <class T>
using CoTaskMemPtr = std::unique_ptr<T, CoTaskMemDeleter>;

struct EventCloser {
    void operator()(HANDLE event) const { CloseHandle(event); }
};
using EventHandle = std::unique_ptr<void, EventCloser>;

// COM for the calling thread; our own threads join the multithreaded apartment.
class ComApartment {
public:
    ComApartment() : result_(CoInitializeEx(nullptr, COINIT_MULTITHREADED)) {}
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;
    ~ComApartment() {
        if (SUCCEEDED(result_)) CoUninitialize();
    }
    bool ok() const { return SUCCEEDED(result_); }

private:
    HRESULT result_;
};

} // namespace audiolib
