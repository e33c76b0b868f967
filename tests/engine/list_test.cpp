#include "List.h"
#include "Stack.h"

#include <gtest/gtest.h>

namespace {

struct Fixture : ::testing::Test {
    int a = 1, b = 2, c = 3, d = 4;
    TList<int> list;
    void fill() {
        list.insert(&a);
        list.insert(&b);
        list.insert(&c);
    }
};

using ListCursor = Fixture;

}  // namespace

TEST_F(ListCursor, InsertGoesAfterTheCursor) {
    fill();
    EXPECT_EQ(list.current(), &c);
    list.first();
    list.insert(&d);  // after a, and current
    EXPECT_EQ(list.current(), &d);
    EXPECT_EQ(list[1], &a);
    EXPECT_EQ(list[2], &d);
    EXPECT_EQ(list[3], &b);
    EXPECT_EQ(list[4], &c);
    EXPECT_EQ(list[0], nullptr);
    EXPECT_EQ(list[5], nullptr);
    EXPECT_EQ(list.length(), 4u);
}

TEST_F(ListCursor, RemovingTheCurrentLastNodeLeavesNoCursor) {
    fill();
    list.last();
    EXPECT_EQ(list.remove(&c), 1);
    EXPECT_EQ(list.current(), nullptr);  // a walk ends here although a and b remain
    EXPECT_EQ(list.next(), nullptr);
    EXPECT_EQ(list.length(), 2u);
    EXPECT_EQ(list.last(), &b);
    // Without a cursor, an insertion goes at the end.
    list.remove(&b);
    list.last();
    list.remove(&a);
    EXPECT_TRUE(list.isEmpty());
    EXPECT_EQ(list.first(), nullptr);
    list.insert(&d);
    EXPECT_EQ(list.first(), &d);
    EXPECT_EQ(list.last(), &d);
}

TEST_F(ListCursor, RemovingTheCurrentFirstOrMiddleNodeMovesOn) {
    fill();
    list.first();
    list.remove(&a);
    EXPECT_EQ(list.current(), &b);
    list.insert(&a);  // b, a, c
    EXPECT_EQ(list.current(), &a);
    list.remove(&a);
    EXPECT_EQ(list.current(), &c);
    // Removing a node that is not current leaves the cursor alone.
    list.remove(&b);
    EXPECT_EQ(list.current(), &c);
    EXPECT_EQ(list.remove(&b), 0);
}

TEST_F(ListCursor, NextAndPrevStopAtTheEnds) {
    fill();
    EXPECT_EQ(list.next(), nullptr);
    EXPECT_EQ(list.current(), &c);  // stays on the last node
    list.first();
    EXPECT_EQ(list.prev(), nullptr);
    EXPECT_EQ(list.current(), &a);
    EXPECT_EQ(list.next(), &b);
    EXPECT_EQ(list.prev(), &a);
    EXPECT_TRUE(list.contains(&b));
    EXPECT_FALSE(list.contains(&d));
    EXPECT_EQ(list.current(), &a);  // contains does not move the cursor
}

TEST_F(ListCursor, SavedPositionIsDroppedWithItsNode) {
    fill();
    list.first();
    list.next();
    list.savePos();
    list.last();
    list.restorePos();
    EXPECT_EQ(list.current(), &b);
    list.remove(&b);
    list.first();
    list.restorePos();
    EXPECT_EQ(list.current(), nullptr);
    list.first();
    list.savePos();
    list.clear();
    list.restorePos();
    EXPECT_EQ(list.current(), nullptr);
    EXPECT_EQ(list.length(), 0u);
}

TEST_F(ListCursor, IndexFollowsEveryChange) {
    fill();
    EXPECT_EQ(list[2], &b);
    list.remove(&b);
    EXPECT_EQ(list[2], &c);
    list.first();
    list.insert(&d);
    EXPECT_EQ(list[2], &d);
    EXPECT_EQ(list[3], &c);
    list.clear();
    EXPECT_EQ(list[1], nullptr);
}

TEST(Stack, PushPopAndEmpty) {
    int a = 1, b = 2;
    TStack<int> s;
    EXPECT_EQ(s.pop(), nullptr);
    EXPECT_EQ(s.current(), nullptr);
    s.push(&a);
    s.push(&b);
    EXPECT_EQ(s.length(), 2u);
    EXPECT_EQ(s.current(), &b);
    EXPECT_EQ(s.pop(), &b);
    EXPECT_EQ(s.pop(), &a);
    EXPECT_TRUE(s.isEmpty());
    s.push(&a);
    s.clear();
    EXPECT_TRUE(s.isEmpty());
}
