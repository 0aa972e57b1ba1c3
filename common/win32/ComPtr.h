// A counted reference on a COM interface. The pointer holds one reference
// and releases it when it lets go; a copy takes a reference of its own, a
// move hands the one it holds over. No other code calls AddRef or Release.
#pragma once

#include <windows.h>
#include <unknwn.h>

#include <utility>

template <typename Interface>
class ComPtr {
public:
    ComPtr() noexcept = default;
    // Takes over a reference the caller holds, such as a getter's result.
    explicit ComPtr(Interface* adopted) noexcept : pointer_(adopted) {}
    ComPtr(const ComPtr& other) noexcept : pointer_(other.pointer_) {
        if (pointer_) pointer_->AddRef();
    }
    ComPtr(ComPtr&& other) noexcept : pointer_(std::exchange(other.pointer_, nullptr)) {}
    // By value: a copy has taken its reference or a move has emptied the
    // source before the one held here is released, so self-assignment is safe.
    ComPtr& operator=(ComPtr other) noexcept {
        std::swap(pointer_, other.pointer_);
        return *this;
    }
    ~ComPtr() { Reset(); }

    Interface* Get() const noexcept { return pointer_; }
    Interface* operator->() const noexcept { return pointer_; }
    explicit operator bool() const noexcept { return pointer_ != nullptr; }

    void Reset() noexcept {
        if (Interface* previous = std::exchange(pointer_, nullptr)) previous->Release();
    }

    // For a function that returns a new reference through a pointer: releases
    // the one held and lends the address of the empty slot.
    Interface** Put() noexcept {
        Reset();
        return &pointer_;
    }
    // The same for functions that take void** (QueryInterface, CoCreateInstance).
    void** PutVoid() noexcept { return reinterpret_cast<void**>(Put()); }

    // Asks the object for another of its interfaces.
    template <typename Other>
    HRESULT As(REFIID iid, ComPtr<Other>* other) const {
        if (!pointer_) return E_POINTER;
        return pointer_->QueryInterface(iid, other->PutVoid());
    }

private:
    Interface* pointer_ = nullptr;
};
