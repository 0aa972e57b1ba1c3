// The owner template's contract, with a handle kind whose closes are
// recorded: each handle is closed exactly once, by its last owner, and the
// empty value is never closed.
#include "UniqueResource.h"

#include <vector>

#include <gtest/gtest.h>

namespace {

std::vector<int>& ClosedHandles() {
    static std::vector<int> closed;
    return closed;
}

// Handles are small numbers; -1 means none, and 0 is a real handle, so that
// an owner that tests for "non-zero" instead of "not empty" is caught.
struct RecordedTraits {
    using Handle = int;
    static Handle Empty() { return -1; }
    static void Close(Handle handle) { ClosedHandles().push_back(handle); }
};
using Owner = UniqueResource<RecordedTraits>;

class UniqueResourceTest : public ::testing::Test {
protected:
    void SetUp() override { ClosedHandles().clear(); }
    const std::vector<int>& Closed() const { return ClosedHandles(); }
};

TEST_F(UniqueResourceTest, ClosesItsHandleOnceAndNeverTheEmptyValue) {
    {
        Owner none;
        Owner zero(0);
        EXPECT_FALSE(none.IsValid());
        EXPECT_TRUE(zero.IsValid());
        EXPECT_TRUE(static_cast<bool>(zero));
    }
    EXPECT_EQ(Closed(), std::vector<int>{0});
}

TEST_F(UniqueResourceTest, MovedFromOwnerIsEmptyAndClosesNothing) {
    {
        Owner first(7);
        Owner second(std::move(first));
        EXPECT_FALSE(first.IsValid());
        EXPECT_EQ(second.Get(), 7);
        { Owner gone(std::move(first)); }
        EXPECT_TRUE(Closed().empty());

        Owner third(8);
        third = std::move(second);  // 8 goes now, 7 moves on
        EXPECT_EQ(Closed(), std::vector<int>{8});
        EXPECT_EQ(third.Get(), 7);

        auto& same = third;
        third = std::move(same);
        EXPECT_EQ(third.Get(), 7);
        EXPECT_EQ(Closed(), std::vector<int>{8});
    }
    EXPECT_EQ(Closed(), (std::vector<int>{8, 7}));
}

TEST_F(UniqueResourceTest, ResetClosesTheOldHandleAndKeepsTheNewOne) {
    Owner owner(1);
    owner.Reset(2);
    EXPECT_EQ(Closed(), std::vector<int>{1});
    owner.Reset(2);  // the handle held is not closed under its owner
    EXPECT_EQ(Closed(), std::vector<int>{1});
    EXPECT_EQ(owner.Get(), 2);
    owner.Reset();
    EXPECT_EQ(Closed(), (std::vector<int>{1, 2}));
    EXPECT_FALSE(owner.IsValid());
}

TEST_F(UniqueResourceTest, ReleaseHandsTheHandleOverWithoutClosingIt) {
    {
        Owner owner(3);
        EXPECT_EQ(owner.Release(), 3);
        EXPECT_FALSE(owner.IsValid());
    }
    EXPECT_TRUE(Closed().empty());
}

TEST_F(UniqueResourceTest, PutClosesTheHeldHandleAndOwnsWhatIsWrittenThere) {
    {
        Owner owner(4);
        int* slot = owner.Put();
        EXPECT_EQ(Closed(), std::vector<int>{4});
        EXPECT_EQ(*slot, -1);
        *slot = 5;
        EXPECT_EQ(owner.Get(), 5);
    }
    EXPECT_EQ(Closed(), (std::vector<int>{4, 5}));
}

}  // namespace
