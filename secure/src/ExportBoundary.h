// No exception may leave an export: its caller is C, or C++ of another
// compiler, and an exception it cannot take ends the client's program.
#pragma once

namespace secure {

// The body's result, or `failure` when the body threw.
template <class Result, class Body>
Result AtExportBoundary(Result failure, Body body) noexcept {
    try {
        return body();
    } catch (...) {
        return failure;
    }
}

}  // namespace secure
