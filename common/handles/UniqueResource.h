// The one owner template behind every handle kind: a handle of the kind that
// Traits describes, closed exactly once with the owner. Move-only, so that a
// handle has one owner at a time; a moved-from owner is empty and closes
// nothing.
//
// Traits supplies
//   using Handle = ...;            the handle type
//   static Handle Empty();         the value that means "no handle"
//   static void Close(Handle);     releases a handle that is not Empty()
#pragma once

#include <utility>

template <typename Traits>
class UniqueResource {
public:
    using Handle = typename Traits::Handle;

    UniqueResource() noexcept : handle_(Traits::Empty()) {}
    explicit UniqueResource(Handle handle) noexcept : handle_(handle) {}
    ~UniqueResource() { Reset(); }

    UniqueResource(UniqueResource&& other) noexcept : handle_(other.Release()) {}
    UniqueResource& operator=(UniqueResource&& other) noexcept {
        if (this != &other) Reset(other.Release());
        return *this;
    }
    UniqueResource(const UniqueResource&) = delete;
    UniqueResource& operator=(const UniqueResource&) = delete;

    Handle Get() const noexcept { return handle_; }
    bool IsValid() const noexcept { return handle_ != Traits::Empty(); }
    explicit operator bool() const noexcept { return IsValid(); }

    // Closes the handle held (unless it is the one given) and keeps `handle`.
    void Reset(Handle handle = Traits::Empty()) noexcept {
        Handle previous = std::exchange(handle_, handle);
        if (previous != Traits::Empty() && previous != handle) Traits::Close(previous);
    }

    // Gives the handle up without closing it; the owner is empty afterwards.
    Handle Release() noexcept { return std::exchange(handle_, Traits::Empty()); }

    // For a function that returns a new handle through a pointer: closes the
    // handle held and lends the address of the empty slot.
    Handle* Put() noexcept {
        Reset();
        return &handle_;
    }

private:
    Handle handle_;
};
