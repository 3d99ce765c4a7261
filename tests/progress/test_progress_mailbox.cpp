// The progress mailbox: the newest line wins, a position survives lines
// without one, and the reader is told once per letter.
#include <gtest/gtest.h>

#include <string>

#include "converter/ProgressMailbox.h"

namespace {

TEST(ProgressMailbox, TellsTheReaderOncePerLetter) {
    ProgressMailbox box;
    EXPECT_TRUE(box.Leave("first", 1));
    EXPECT_FALSE(box.Leave("second", 2));
    EXPECT_FALSE(box.Leave("third", std::nullopt));
    box.Take();
    EXPECT_TRUE(box.Leave("fourth", 4));
}

TEST(ProgressMailbox, TheNewestTextWinsAndALaterLineWithoutPositionKeepsTheLastOne) {
    ProgressMailbox box;
    box.Leave("Compressed 1 of 4 blocks, 25.0% finished.", 25);
    box.Leave("Compressed 2 of 4 blocks, 50.0% finished.", 50);
    box.Leave("Saving", std::nullopt);
    ProgressLetter letter = box.Take();
    EXPECT_TRUE(letter.hasText);
    EXPECT_STREQ(letter.text, "Saving");
    EXPECT_EQ(letter.position, 50);
}

TEST(ProgressMailbox, TakingEmptiesTheBox) {
    ProgressMailbox box;
    box.Leave("line", 7);
    box.Take();
    ProgressLetter letter = box.Take();
    EXPECT_FALSE(letter.hasText);
    EXPECT_EQ(letter.position, std::nullopt);
}

TEST(ProgressMailbox, DroppedTextKeepsItsPosition) {
    ProgressMailbox box;
    box.Leave("line", 7);
    box.DropText();
    ProgressLetter letter = box.Take();
    EXPECT_FALSE(letter.hasText);
    EXPECT_EQ(letter.position, 7);
}

TEST(ProgressMailbox, LongTextIsKeptToTheMessageSize) {
    ProgressMailbox box;
    std::string line(3000, 'x');
    box.Leave(line.c_str(), std::nullopt);
    EXPECT_EQ(std::string(box.Take().text), line.substr(0, kMessageTextSize - 1));
}

}  // namespace
