// The progress mailbox: the newest line wins, a position survives lines
// without one, and the reader is told once per letter and at most once per
// interval; a letter left untold waits for a later line or for TellWaiting.
#include <gtest/gtest.h>

#include <string>

#include "converter/ProgressMailbox.h"

namespace {

using std::chrono::milliseconds;

const MailClock::time_point kStart{};

TEST(ProgressMailbox, TellsTheReaderOncePerLetter) {
    ProgressMailbox box;
    EXPECT_TRUE(box.Leave("first", 1, kStart));
    EXPECT_FALSE(box.Leave("second", 2, kStart + kProgressMailInterval));
    EXPECT_FALSE(box.Leave("third", std::nullopt, kStart + 2 * kProgressMailInterval));
    box.Take();
    EXPECT_TRUE(box.Leave("fourth", 4, kStart + 2 * kProgressMailInterval));
}

TEST(ProgressMailbox, LinesWithinAnIntervalOfTheLastTellingWaitUntold) {
    ProgressMailbox box;
    ASSERT_TRUE(box.Leave("first", 1, kStart));
    box.Take();
    EXPECT_FALSE(box.Leave("second", 2, kStart + milliseconds(1)));
    EXPECT_FALSE(box.Leave("third", 3, kStart + kProgressMailInterval - milliseconds(1)));
    EXPECT_TRUE(box.Leave("fourth", 4, kStart + kProgressMailInterval));
    ProgressLetter letter = box.Take();
    EXPECT_STREQ(letter.text, "fourth");
    EXPECT_EQ(letter.position, 4);
}

TEST(ProgressMailbox, TellWaitingTellsOnceOfAnUntoldLetter) {
    ProgressMailbox box;
    ASSERT_TRUE(box.Leave("first", 1, kStart));
    box.Take();
    ASSERT_FALSE(box.Leave("second", 2, kStart + milliseconds(1)));
    EXPECT_TRUE(box.TellWaiting(kStart + milliseconds(2)));
    EXPECT_FALSE(box.TellWaiting(kStart + milliseconds(3)));
    EXPECT_STREQ(box.Take().text, "second");
    // The telling counts: the next line within an interval of it waits.
    EXPECT_FALSE(box.Leave("third", 3, kStart + milliseconds(2) + kProgressMailInterval - milliseconds(1)));
}

TEST(ProgressMailbox, TellWaitingHasNothingToTellOfAnEmptyBox) {
    ProgressMailbox box;
    EXPECT_FALSE(box.TellWaiting(kStart));
    ASSERT_TRUE(box.Leave("first", 1, kStart));
    box.Take();
    EXPECT_FALSE(box.TellWaiting(kStart + kProgressMailInterval));
}

TEST(ProgressMailbox, ResetForgetsTheLastTelling) {
    ProgressMailbox box;
    ASSERT_TRUE(box.Leave("first", 1, kStart));
    box.Reset();
    EXPECT_FALSE(box.Take().hasText);
    EXPECT_TRUE(box.Leave("second", 2, kStart + milliseconds(1)));
}

TEST(ProgressMailbox, TheNewestTextWinsAndALaterLineWithoutPositionKeepsTheLastOne) {
    ProgressMailbox box;
    box.Leave("Compressed 1 of 4 blocks, 25.0% finished.", 25, kStart);
    box.Leave("Compressed 2 of 4 blocks, 50.0% finished.", 50, kStart);
    box.Leave("Saving", std::nullopt, kStart);
    ProgressLetter letter = box.Take();
    EXPECT_TRUE(letter.hasText);
    EXPECT_STREQ(letter.text, "Saving");
    EXPECT_EQ(letter.position, 50);
}

TEST(ProgressMailbox, TakingEmptiesTheBox) {
    ProgressMailbox box;
    box.Leave("line", 7, kStart);
    box.Take();
    ProgressLetter letter = box.Take();
    EXPECT_FALSE(letter.hasText);
    EXPECT_EQ(letter.position, std::nullopt);
}

TEST(ProgressMailbox, DroppedTextKeepsItsPosition) {
    ProgressMailbox box;
    box.Leave("line", 7, kStart);
    box.DropText();
    ProgressLetter letter = box.Take();
    EXPECT_FALSE(letter.hasText);
    EXPECT_EQ(letter.position, 7);
}

TEST(ProgressMailbox, LongTextIsKeptToTheMessageSize) {
    ProgressMailbox box;
    std::string line(3000, 'x');
    box.Leave(line.c_str(), std::nullopt, kStart);
    EXPECT_EQ(std::string(box.Take().text), line.substr(0, kMessageTextSize - 1));
}

}  // namespace
