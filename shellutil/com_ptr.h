// Owner of one COM interface pointer: released once when reset or destroyed; moved, never copied.
#pragma once

#include <unknwn.h>

#include <utility>

template <typename Interface>
class ComPtr {
  public:
    ComPtr() = default;
    // Takes over a reference the caller already holds.
    explicit ComPtr(Interface* pointer) : pointer_(pointer) {}
    ~ComPtr() { Reset(); }
    ComPtr(const ComPtr&) = delete;
    ComPtr& operator=(const ComPtr&) = delete;
    ComPtr(ComPtr&& other) noexcept : pointer_(std::exchange(other.pointer_, nullptr)) {}
    ComPtr& operator=(ComPtr&& other) noexcept {
        if (this != &other) Reset(std::exchange(other.pointer_, nullptr));
        return *this;
    }

    Interface* Get() const { return pointer_; }
    Interface* operator->() const { return pointer_; }
    explicit operator bool() const { return pointer_ != nullptr; }

    // Releases the held reference and takes over `pointer`'s.
    void Reset(Interface* pointer = nullptr) {
        Interface* old = std::exchange(pointer_, pointer);
        if (old != nullptr) old->Release();
    }
    // Releases the held reference and gives the slot to a call that fills it.
    Interface** Receive() {
        Reset();
        return &pointer_;
    }

  private:
    Interface* pointer_ = nullptr;
};
