// What the progress window makes of a message: the text cut to the buffer and
// at its first backspace, and the bar position read from the encoder's lines.
#include <gtest/gtest.h>

#include <cstdarg>
#include <optional>
#include <ostream>
#include <string>

#include "converter/ProgressText.h"

namespace {

std::string Formatted(const char* format, ...) {
    va_list args;
    va_start(args, format);
    std::string text = FormatMessage(format, args);
    va_end(args);
    return text;
}

std::string LongLine() {
    std::string line(2000, 'x');
    for (size_t i = 0; i < line.size(); ++i) line[i] = static_cast<char>('a' + i % 26);
    return line;
}

TEST(MessageText, TheWindowKeepsTheFirst1023Characters) {
    MessageText text;
    CutToMessageText(text, LongLine());
    EXPECT_EQ(std::string(text), LongLine().substr(0, 1023));
}

TEST(MessageText, TheConsoleKeepsTheWholeFormattedText) {
    EXPECT_EQ(Formatted("not support (%s)\n", "in.tga"), "not support (in.tga)\n");
    EXPECT_EQ(Formatted("%s", LongLine().c_str()), LongLine());
}

TEST(ConversionLine, IsInputArrowOutputWithTrailingBlankAndBreak) {
    CaptionText text;
    FormatConversionLine(text, "in/a.tga", "out/b.voq");
    EXPECT_STREQ(text, "in/a.tga -> out/b.voq \n");
}

TEST(ConversionLine, LongPathsAreCutTo255Characters) {
    std::string input(200, 'i');
    std::string output(200, 'o');
    CaptionText text;
    FormatConversionLine(text, input.c_str(), output.c_str());
    EXPECT_EQ(std::string(text), (input + " -> " + output + " \n").substr(0, 255));
}

struct BackspaceCase {
    const char* name;
    const char* text;
    const char* shown;
};

void PrintTo(const BackspaceCase& c, std::ostream* out) { *out << c.name; }

class CutAtBackspaceCases : public testing::TestWithParam<BackspaceCase> {};

TEST_P(CutAtBackspaceCases, EndsTheTextAtItsFirstBackspace) {
    std::string text = GetParam().text;
    CutAtBackspace(text.data());
    EXPECT_STREQ(text.c_str(), GetParam().shown);
}

INSTANTIATE_TEST_SUITE_P(
    ProgressText, CutAtBackspaceCases,
    testing::Values(BackspaceCase{"NoBackspace", "Compressed 1 of 2 blocks", "Compressed 1 of 2 blocks"},
                    BackspaceCase{"TrailingBackspaces", "Compressed 7 of 56 blocks, 12.5% finished.\b\b\b\b",
                                  "Compressed 7 of 56 blocks, 12.5% finished."},
                    BackspaceCase{"BackspaceInTheMiddle", "ab\bcd\bef", "ab"},
                    BackspaceCase{"LeadingBackspace", "\bhidden", ""}, BackspaceCase{"Empty", "", ""}),
    [](const testing::TestParamInfo<BackspaceCase>& info) { return std::string(info.param.name); });

struct PositionCase {
    const char* name;
    const char* text;
    std::optional<int32_t> position;
};

void PrintTo(const PositionCase& c, std::ostream* out) { *out << c.name; }

class ProgressPositionCases : public testing::TestWithParam<PositionCase> {};

TEST_P(ProgressPositionCases, RoundsThePercentageHalfUp) {
    EXPECT_EQ(ProgressPosition(GetParam().text), GetParam().position);
}

INSTANTIATE_TEST_SUITE_P(
    ProgressText, ProgressPositionCases,
    testing::Values(PositionCase{"HalfGoesUp", "Compressed 7 of 56 blocks, 12.5% finished.", 13},
                    PositionCase{"BelowHalfGoesDown", "Compressed 7 of 56 blocks, 12.4% finished.", 12},
                    PositionCase{"Start", "Compressed 0 of 56 blocks, 0.0% finished.", 0},
                    PositionCase{"End", "Compressed 56 of 56 blocks, 100.0% finished.", 100},
                    PositionCase{"NearTheEnd", "Compressed 1023 of 1024 blocks, 99.9% finished.", 100},
                    PositionCase{"BackspacesAfterTheLine", "Compressed 7 of 56 blocks, 12.5% finished.\b\b\b", 13},
                    PositionCase{"OtherText", "not support (in.tga)\n", std::nullopt},
                    PositionCase{"NoPercentage", "Compressed 7 of 56 blocks, done", std::nullopt},
                    PositionCase{"NoNumberIntegerCanHold", "Compressed 1 of 1 blocks, 1e30% finished.", std::nullopt},
                    PositionCase{"Empty", "", std::nullopt}),
    [](const testing::TestParamInfo<PositionCase>& info) { return std::string(info.param.name); });

}  // namespace
