// What the exports wrap their work in: a body that throws gives the export's
// failure value instead of an exception at the caller.
#include <gtest/gtest.h>

#include <new>
#include <stdexcept>

#include "des/Des.h"

namespace secure {
namespace {

TEST(ExportBoundary, AThrowingBodyGivesTheFailureValue) {
    EXPECT_FALSE(AtExportBoundary(false, []() -> bool { throw std::bad_alloc(); }));
    EXPECT_FALSE(AtExportBoundary(false, []() -> bool { throw std::runtime_error("refused"); }));
    EXPECT_FALSE(AtExportBoundary(false, []() -> bool { throw 7; }));
    EXPECT_EQ(1, AtExportBoundary(1, []() -> int { throw std::length_error("too long"); }));
}

TEST(ExportBoundary, ABodyThatReturnsGivesItsResult) {
    EXPECT_TRUE(AtExportBoundary(false, [] { return true; }));
    EXPECT_FALSE(AtExportBoundary(true, [] { return false; }));
}

}  // namespace
}  // namespace secure
