// The ETC1 entry and block driver: tile order, alpha packing, progress lines,
// the closing newline, the method table and its failures.
#include <gtest/gtest.h>

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

#include "etc1/ETC1BlockDriver.h"
#include "etc1/ETC1Encoder.h"
#include "etc1/ETC1FastMethods.h"
#include "etc1/ETC1LevelBlocks.h"
#include "etc1/ETC1Messages.h"
#include "image/ImageOptions.h"
#include "reference/BlockPatterns.h"
#include "support/TestFiles.h"

using namespace ETC1Encoder;

namespace {

std::vector<std::pair<MessageLevel, std::string>> g_messages;

void CapturingSink(MessageLevel level, const char* format, ...) {
    char text[512];
    va_list args;
    va_start(args, format);
    std::vsnprintf(text, sizeof text, format, args);
    va_end(args);
    g_messages.emplace_back(level, text);
}

void StderrSink(MessageLevel, const char* format, ...) {
    va_list args;
    va_start(args, format);
    std::vfprintf(stderr, format, args);
    va_end(args);
}

class SinkCapture {
public:
    SinkCapture() {
        g_messages.clear();
        g_reportMessage = CapturingSink;
    }
    ~SinkCapture() { g_reportMessage = nullptr; }
};

// width x height RGBA pixels of noise with the given alpha rule.
std::vector<uint8_t> NoiseImage(int32_t width, int32_t height, uint32_t seed) {
    Reference::BlockGenerator random(seed);
    std::vector<uint8_t> rgba(static_cast<size_t>(width) * height * 4);
    for (uint8_t& value : rgba) value = static_cast<uint8_t>(random.Uniform(0, 255));
    return rgba;
}

uint64_t ReadLittleEndian64(const uint8_t* bytes) {
    uint64_t value = 0;
    for (int32_t i = 7; i >= 0; --i) value = (value << 8) | bytes[i];
    return value;
}

// The Fast compressor's words for block (column, row), as a little-endian 64-bit value.
uint64_t ExpectedColourBlock(const std::vector<uint8_t>& rgba, int32_t width, int32_t column, int32_t row) {
    uint8_t block[48];
    uint8_t scratch[48];
    GatherETC1Block(rgba.data(), width, column, row, block);
    uint32_t high = 0;
    uint32_t low = 0;
    CompressBlockFast(block, scratch, high, low);
    return (static_cast<uint64_t>(high) << 32) | low;
}

std::vector<uint8_t> Encode(const std::vector<uint8_t>& rgba, int32_t width, int32_t height, int32_t format,
                            int32_t quality) {
    std::vector<uint8_t> texture(static_cast<size_t>(width) * height / (format == ImageLib::ETC1_A4 ? 1 : 2) + 16,
                                 0xEE);
    testing::internal::CaptureStdout();
    EncodeETC1Image(rgba.data(), texture.data(), width, height, format, quality);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "\n");
    return texture;
}

// A sink that holds messages back must get to let them out before the
// encoder's own console line, so that the console keeps their order.
TEST(ETC1Driver, CallsTheConsoleHookBeforeEachLevelsClosingNewline) {
    static int hooks = 0;
    hooks = 0;
    g_beforeConsoleWrite = [] {
        ++hooks;
        std::printf("held|");
    };
    std::vector<uint8_t> rgba = NoiseImage(16, 16, 1);
    std::vector<uint8_t> texture(16 * 16 / 2, 0);
    testing::internal::CaptureStdout();
    EncodeETC1Image(rgba.data(), texture.data(), 16, 16, ImageLib::ETC1, ImageLib::Fast);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "held|\n");
    g_beforeConsoleWrite = nullptr;
    EXPECT_EQ(hooks, 1);
}

TEST(ETC1Driver, LaysASixteenBySixteenLevelOutInTiles) {
    std::vector<uint8_t> rgba = NoiseImage(16, 16, 1);
    std::vector<uint8_t> texture = Encode(rgba, 16, 16, ImageLib::ETC1, ImageLib::Fast);
    // Tiles row by row; in a tile the blocks top-left, top-right, bottom-left, bottom-right.
    const int32_t order[16][2] = {{0, 0}, {1, 0}, {0, 1}, {1, 1}, {2, 0}, {3, 0}, {2, 1}, {3, 1},
                                  {0, 2}, {1, 2}, {0, 3}, {1, 3}, {2, 2}, {3, 2}, {2, 3}, {3, 3}};
    for (int32_t i = 0; i < 16; ++i) {
        EXPECT_EQ(ReadLittleEndian64(&texture[8 * i]), ExpectedColourBlock(rgba, 16, order[i][0], order[i][1])) << i;
    }
    for (size_t i = 128; i < texture.size(); ++i) ASSERT_EQ(texture[i], 0xEE) << "written past the level";
}

// 16 x 8: two tiles of four blocks, 16 bytes a block, the alpha block first.
TEST(ETC1Driver, PutsTheAlphaBlockBeforeEachColourBlock) {
    std::vector<uint8_t> rgba = NoiseImage(16, 8, 2);
    for (int32_t y = 0; y < 8; ++y) {
        for (int32_t x = 0; x < 16; ++x) rgba[4 * (16 * y + x) + 3] = static_cast<uint8_t>(16 * (x / 4 + 4 * (y / 4)));
    }
    std::vector<uint8_t> texture = Encode(rgba, 16, 8, ImageLib::ETC1_A4, ImageLib::FastPerceptual);
    const int32_t order[8][2] = {{0, 0}, {1, 0}, {0, 1}, {1, 1}, {2, 0}, {3, 0}, {2, 1}, {3, 1}};
    for (int32_t i = 0; i < 8; ++i) {
        uint64_t nibble = static_cast<uint64_t>(order[i][0] + 4 * order[i][1]);
        EXPECT_EQ(ReadLittleEndian64(&texture[16 * i]), nibble * 0x1111111111111111u) << i;
    }
    std::vector<uint8_t> colourOnly = Encode(rgba, 16, 8, ImageLib::ETC1, ImageLib::FastPerceptual);
    for (int32_t i = 0; i < 8; ++i) {
        EXPECT_EQ(ReadLittleEndian64(&texture[16 * i + 8]), ReadLittleEndian64(&colourOnly[8 * i])) << i;
    }
    for (size_t i = 128; i < texture.size(); ++i) ASSERT_EQ(texture[i], 0xEE) << "written past the level";
}

TEST(ETC1Driver, AlphaNeverChangesTheColourBlocks) {
    std::vector<uint8_t> rgba = NoiseImage(32, 16, 3);
    std::vector<uint8_t> opaque = rgba;
    for (size_t i = 3; i < opaque.size(); i += 4) opaque[i] = 255;
    std::vector<uint8_t> a = Encode(rgba, 32, 16, ImageLib::ETC1, ImageLib::Fast);
    std::vector<uint8_t> b = Encode(opaque, 32, 16, ImageLib::ETC1, ImageLib::Fast);
    EXPECT_EQ(a, b);
}

TEST(ETC1AlphaBlock, PacksTopBitsColumnByColumn) {
    std::vector<uint8_t> rgba(4 * 4 * 4, 0);
    rgba[4 * 1 + 3] = 0xF0;  // x = 1, y = 0
    uint32_t words[2] = {1, 1};
    PackETC1AlphaBlock(rgba.data(), 4, 0, 0, words);
    EXPECT_EQ(words[0], 15u << 16);
    EXPECT_EQ(words[1], 0u);
    rgba[4 * 1 + 3] = 0;
    rgba[4 * (4 * 3 + 2) + 3] = 0x9C;  // x = 2, y = 3: value 8 + 3 of the column-major list
    PackETC1AlphaBlock(rgba.data(), 4, 0, 0, words);
    EXPECT_EQ(words[0], 0u);
    EXPECT_EQ(words[1], 9u << 12);
}

std::vector<std::string> ProgressLines(int32_t total) {
    SinkCapture capture;
    ETC1Progress progress(total);
    for (int32_t done = 1; done <= total; ++done) progress.BlockDone(done);
    std::vector<std::string> lines;
    for (const auto& [level, text] : g_messages) {
        EXPECT_EQ(level, MessageLevel::Progress);
        EXPECT_EQ(text.size() - text.find('\b'), 52u) << "52 backspaces end every line";
        lines.push_back(text.substr(0, text.find('\b')));
    }
    return lines;
}

TEST(ETC1Progress, SixtyFourBlocksGiveThirtyThreeLines) {
    std::vector<std::string> lines = ProgressLines(64);
    ASSERT_EQ(lines.size(), 33u);
    EXPECT_EQ(lines.front(), "Compressed 1 of 64 blocks, 1.6% finished.");
    EXPECT_EQ(lines[1], "Compressed 3 of 64 blocks, 4.7% finished.");
    EXPECT_EQ(lines[31], "Compressed 63 of 64 blocks, 98.4% finished.");
    EXPECT_EQ(lines.back(), "Compressed 64 of 64 blocks, 100.0% finished.");
}

TEST(ETC1Progress, ThousandBlocksStartAtElevenAndReportEveryBlockFromNinetyNinePercent) {
    std::vector<std::string> lines = ProgressLines(1024);
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines.front(), "Compressed 11 of 1024 blocks, 1.1% finished.");
    EXPECT_EQ(lines[lines.size() - 12], "Compressed 998 of 1024 blocks, 97.5% finished.");
    for (int32_t done = 1014; done <= 1024; ++done) {
        EXPECT_EQ(lines[lines.size() - 1025 + done].substr(0, 15), "Compressed " + std::to_string(done));
    }
}

// Exact ties of "%.1f" round to even on this C library (6.25 -> "6.2").
TEST(ETC1Progress, SixteenBlocksPrintTiesRoundedToEven) {
    std::vector<std::string> expected;
    for (const char* percent : {"6.2", "12.5", "18.8", "25.0", "31.2", "37.5", "43.8", "50.0", "56.2", "62.5", "68.8",
                                "75.0", "81.2", "87.5", "93.8", "100.0"}) {
        expected.push_back(std::to_string(expected.size() + 1));
        expected.back() = "Compressed " + expected.back() + " of 16 blocks, " + percent + "% finished.";
    }
    EXPECT_EQ(ProgressLines(16), expected);
}

TEST(EncodeETC1Image, FastMethodsReportNothingThroughTheSink) {
    SinkCapture capture;
    std::vector<uint8_t> rgba = NoiseImage(64, 64, 4);
    Encode(rgba, 64, 64, ImageLib::ETC1_A4, ImageLib::Fast);
    EXPECT_EQ(g_etc1LastMethod, ImageLib::Fast);
    Encode(rgba, 64, 64, ImageLib::ETC1, ImageLib::FastPerceptual);
    EXPECT_EQ(g_etc1LastMethod, ImageLib::FastPerceptual);
    EXPECT_TRUE(g_messages.empty());
}

class MethodWithoutCompressor : public testing::TestWithParam<int32_t> {};

TEST_P(MethodWithoutCompressor, EndsWithNotImplementedAndExitCodeThree) {
    std::vector<uint8_t> rgba = NoiseImage(16, 16, 5);
    std::vector<uint8_t> texture(256);
    EXPECT_EXIT(
        {
            g_reportMessage = StderrSink;
            EncodeETC1Image(rgba.data(), texture.data(), 16, 16, ImageLib::ETC1, GetParam());
        },
        testing::ExitedWithCode(3), "^Not implemented.\n$");
}

INSTANTIATE_TEST_SUITE_P(Unknown, MethodWithoutCompressor, testing::Values(6, -1));

struct EncoderFailure {
    const char* name;
    void (*fail)();
    const char* text;
};

void PrintTo(const EncoderFailure& c, std::ostream* os) { *os << c.name; }


constexpr EncoderFailure kEncoderFailures[] = {
    {"UnknownMethod", ExitOnUnknownETC1Method, "Not implemented.\n"},
    {"Allocation", ExitOnETC1AllocationFailure, "Could not allocate decompression buffer --- exiting\n"},
};

class EncoderFailures : public testing::TestWithParam<EncoderFailure> {};

TEST_P(EncoderFailures, GoThroughTheSinkAndExitWithThree) {
    EXPECT_EXIT(
        {
            g_reportMessage = StderrSink;
            GetParam().fail();
        },
        testing::ExitedWithCode(3), std::string("^") + GetParam().text + "$");
}

TEST_P(EncoderFailures, GoToTheConsoleWithoutASink) {
    TestSupport::TempFolder folder;
    std::string console = folder.File("console.txt");
    EXPECT_EXIT(
        {
            g_reportMessage = nullptr;
            if (std::freopen(console.c_str(), "w", stdout) == nullptr) std::exit(99);
            GetParam().fail();
        },
        testing::ExitedWithCode(3), "");
    EXPECT_EQ(TestSupport::ReadText(console), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(Both, EncoderFailures, testing::ValuesIn(kEncoderFailures),
                         [](const testing::TestParamInfo<EncoderFailure>& info) { return info.param.name; });

TEST(CompressETC1Blocks, RefusesLevelsThatAreNotWholeTiles) {
    std::vector<uint8_t> rgba(16 * 16 * 4);
    std::vector<uint8_t> texture(16 * 16);
    for (auto [width, height] : {std::pair{12, 16}, std::pair{16, 4}, std::pair{0, 8}, std::pair{-8, 8}}) {
        EXPECT_DEATH(CompressETC1Blocks(rgba.data(), 3, texture.data(), width, height, ImageLib::Fast),
                     "not made of whole 8x8 tiles");
    }
}

}  // namespace
