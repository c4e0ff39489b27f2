#include "edit/UndoHistory.h"

#include <gtest/gtest.h>

namespace orna5 {
namespace {

// Images told apart by their map cell 0 and bytes 1..2 (a counter), so that
// hundreds of them differ.
ParameterImage Numbered(int n) {
    ParameterImage image{};
    image[MapCell(0, 0)] = static_cast<std::uint8_t>(n & 0xFF);
    image[205] = static_cast<std::uint8_t>(n >> 8);
    return image;
}

int NumberOf(const ParameterImage& image) {
    return image[MapCell(0, 0)] | (image[205] << 8);
}

class UndoHistoryTest : public ::testing::Test {
protected:
    void SetUp() override { history.InitUndoHistory(Numbered(0), 0); }

    // Records states 1..count on pages that cycle through 0..3.
    void RecordMany(int count) {
        for (int n = 1; n <= count; ++n) {
            ASSERT_TRUE(history.RecordUndoState(Numbered(n), static_cast<std::uint8_t>(n % 4)));
        }
    }

    UndoHistory history;
};

TEST_F(UndoHistoryTest, StartsWithNothingToUndoOrRedo) {
    EXPECT_FALSE(history.CanUndo());
    EXPECT_FALSE(history.CanRedo());
    EXPECT_EQ(history.Undo(), nullptr);
    EXPECT_EQ(history.Redo(), nullptr);
}

TEST_F(UndoHistoryTest, EqualImageAddsNoStateEvenOnAnotherPage) {
    EXPECT_FALSE(history.RecordUndoState(Numbered(0), 3));
    EXPECT_FALSE(history.CanUndo());
    EXPECT_EQ(history.Current(), 0);
}

TEST_F(UndoHistoryTest, UndoAndRedoReturnImageAndPage) {
    ASSERT_TRUE(history.RecordUndoState(Numbered(1), 2));
    ASSERT_TRUE(history.RecordUndoState(Numbered(2), 1));

    const UndoState* state = history.Undo();
    ASSERT_NE(state, nullptr);
    EXPECT_EQ(NumberOf(state->image), 1);
    EXPECT_EQ(state->page, 2);
    EXPECT_TRUE(history.CanUndo());
    EXPECT_TRUE(history.CanRedo());

    state = history.Undo();
    ASSERT_NE(state, nullptr);
    EXPECT_EQ(NumberOf(state->image), 0);
    EXPECT_EQ(state->page, 0);
    EXPECT_EQ(history.Undo(), nullptr);

    state = history.Redo();
    ASSERT_NE(state, nullptr);
    EXPECT_EQ(NumberOf(state->image), 1);
    state = history.Redo();
    ASSERT_NE(state, nullptr);
    EXPECT_EQ(NumberOf(state->image), 2);
    EXPECT_EQ(state->page, 1);
    EXPECT_EQ(history.Redo(), nullptr);
    EXPECT_FALSE(history.CanRedo());
}

TEST_F(UndoHistoryTest, EqualImageAfterUndoKeepsRedo) {
    RecordMany(3);
    const UndoState* state = history.Undo();
    ASSERT_NE(state, nullptr);
    // The restored image compared against itself: nothing recorded.
    EXPECT_FALSE(history.RecordUndoState(state->image, 0));
    EXPECT_TRUE(history.CanRedo());
}

TEST_F(UndoHistoryTest, NewChangeAfterUndoCutsOffRedo) {
    RecordMany(3);
    history.Undo();
    history.Undo();
    ASSERT_TRUE(history.CanRedo());
    ASSERT_TRUE(history.RecordUndoState(Numbered(99), 0));
    EXPECT_FALSE(history.CanRedo());
    EXPECT_EQ(history.Redo(), nullptr);
    const UndoState* state = history.Undo();
    ASSERT_NE(state, nullptr);
    EXPECT_EQ(NumberOf(state->image), 1);
}

TEST_F(UndoHistoryTest, PositionsWrapAtTheEndOfTheRing) {
    RecordMany(199);
    EXPECT_EQ(history.Current(), 199);
    EXPECT_EQ(history.Oldest(), 0);

    ASSERT_TRUE(history.RecordUndoState(Numbered(200), 0));
    EXPECT_EQ(history.Current(), 0);
    EXPECT_EQ(history.Newest(), 0);
    EXPECT_EQ(history.Oldest(), 1);

    const UndoState* state = history.Undo();
    ASSERT_NE(state, nullptr);
    EXPECT_EQ(history.Current(), 199);
    EXPECT_EQ(NumberOf(state->image), 199);

    state = history.Redo();
    ASSERT_NE(state, nullptr);
    EXPECT_EQ(history.Current(), 0);
    EXPECT_EQ(NumberOf(state->image), 200);
}

TEST_F(UndoHistoryTest, FullRingGivesUpTheOldestState) {
    RecordMany(200);
    for (int step = 1; step <= 199; ++step) {
        const UndoState* state = history.Undo();
        ASSERT_NE(state, nullptr) << "undo " << step;
        EXPECT_EQ(NumberOf(state->image), 200 - step);
        EXPECT_EQ(state->page, (200 - step) % 4);
    }
    EXPECT_FALSE(history.CanUndo());
    EXPECT_EQ(history.Undo(), nullptr) << "the first state is lost";

    // Far past one lap the ring still holds exactly the last 200 states.
    for (int step = 0; step < 199; ++step) {
        ASSERT_NE(history.Redo(), nullptr);
    }
    for (int n = 201; n <= 650; ++n) {
        ASSERT_TRUE(history.RecordUndoState(Numbered(n), 0));
    }
    int undos = 0;
    const UndoState* last = nullptr;
    while (const UndoState* state = history.Undo()) {
        last = state;
        ++undos;
    }
    EXPECT_EQ(undos, 199);
    ASSERT_NE(last, nullptr);
    EXPECT_EQ(NumberOf(last->image), 451);
}

} // namespace
} // namespace orna5
