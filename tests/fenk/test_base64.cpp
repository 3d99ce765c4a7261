#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "image/Base64.h"

using namespace ImageLib;

namespace {

std::string Encode(const std::vector<uint8_t>& bytes) {
    std::string text(static_cast<size_t>(Base64EncodedSize(static_cast<int32_t>(bytes.size()))), '?');
    int32_t written = Base64Encode(text.data(), bytes.data(), static_cast<int32_t>(bytes.size()));
    EXPECT_EQ(written, static_cast<int32_t>(text.size()));
    return text;
}

// Decodes into a buffer of exactly the bound, so ASan sees any write past it.
std::vector<uint8_t> Decode(const std::string& text, int32_t& result) {
    std::vector<uint8_t> bytes(static_cast<size_t>(Base64DecodedSizeBound(text)));
    result = Base64Decode(bytes.data(), text);
    if (result >= 0) bytes.resize(static_cast<size_t>(result));
    return bytes;
}

std::vector<uint8_t> RandomBytes(size_t count, uint32_t seed) {
    std::mt19937 random(seed);
    std::vector<uint8_t> bytes(count);
    for (uint8_t& byte : bytes) byte = static_cast<uint8_t>(random());
    return bytes;
}

struct KnownAnswer {
    std::string bytes, text;
};

void PrintTo(const KnownAnswer& c, std::ostream* out) { *out << c.text; }

class Base64KnownAnswers : public testing::TestWithParam<KnownAnswer> {};

TEST_P(Base64KnownAnswers, EncodesAndDecodes) {
    const KnownAnswer& c = GetParam();
    std::vector<uint8_t> bytes(c.bytes.begin(), c.bytes.end());
    EXPECT_EQ(Encode(bytes), c.text);
    int32_t count = 0;
    EXPECT_EQ(Decode(c.text, count), bytes);
    EXPECT_EQ(count, static_cast<int32_t>(bytes.size()));
}

INSTANTIATE_TEST_SUITE_P(Base64, Base64KnownAnswers,
                         testing::Values(KnownAnswer{"", ""}, KnownAnswer{"f", "Zg=="}, KnownAnswer{"fo", "Zm8="},
                                         KnownAnswer{"foo", "Zm9v"}, KnownAnswer{"foob", "Zm9vYg=="},
                                         KnownAnswer{"fooba", "Zm9vYmE="}, KnownAnswer{"foobar", "Zm9vYmFy"},
                                         KnownAnswer{"\xFB\xFF\xBF", "+/+/"},
                                         KnownAnswer{std::string("\0\0\0\0", 4), "AAAAAA=="}));

TEST(Base64, EncodedSizes) {
    EXPECT_EQ(Base64EncodedSize(0), 0);
    EXPECT_EQ(Base64EncodedSize(1), 4);
    EXPECT_EQ(Base64EncodedSize(3), 4);
    EXPECT_EQ(Base64EncodedSize(4), 8);
    EXPECT_EQ(Base64EncodedSize(32), 44);
    EXPECT_EQ(Base64EncodedSize(32768), 43692);
    EXPECT_EQ(Base64EncodedSize(-1), 0);
    // 4 x 715827882 = 2863311528 characters do not fit in int32.
    EXPECT_EQ(Base64EncodedSize(2147483646), 0);
}

TEST(Base64, EveryLengthUpTo64RoundTrips) {
    for (size_t length = 0; length <= 64; ++length) {
        std::vector<uint8_t> bytes = RandomBytes(length, static_cast<uint32_t>(length));
        std::string text = Encode(bytes);
        ASSERT_EQ(text.size() % 4, 0u) << length;
        size_t padding = text.size() - text.find_last_not_of('=') - 1;
        EXPECT_EQ(padding, (3 - length % 3) % 3) << length;
        int32_t count = 0;
        EXPECT_EQ(Decode(text, count), bytes) << length;
    }
}

TEST(Base64, LargeBuffersRoundTrip) {
    for (size_t length : {size_t{32768}, size_t{1} << 20, (size_t{1} << 20) + 1}) {
        std::vector<uint8_t> bytes = RandomBytes(length, 7);
        std::string text = Encode(bytes);
        if (length == 32768) {
            EXPECT_EQ(text.size(), 43692u);
            EXPECT_EQ(text.back(), '=');
            EXPECT_NE(text[text.size() - 2], '=');
        }
        int32_t count = 0;
        EXPECT_TRUE(Decode(text, count) == bytes) << length;
    }
}

struct DecodeCase {
    std::string text;
    int32_t result;
    std::string bytes;
};

void PrintTo(const DecodeCase& c, std::ostream* out) { *out << c.text; }

class Base64DecodeTable : public testing::TestWithParam<DecodeCase> {};

TEST_P(Base64DecodeTable, DecodesOrRefuses) {
    const DecodeCase& c = GetParam();
    int32_t count = 0;
    std::vector<uint8_t> bytes = Decode(c.text, count);
    EXPECT_EQ(count, c.result);
    EXPECT_EQ(Base64DecodedCount(c.text), c.result);
    if (c.result >= 0) {
        EXPECT_EQ(std::string(bytes.begin(), bytes.end()), c.bytes);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Base64, Base64DecodeTable,
    testing::Values(DecodeCase{"", 0, ""}, DecodeCase{"=Zm9v", 0, ""},
                    // The text ends at the first "=": what follows is never read.
                    DecodeCase{"Zg==Zm9v", 1, "f"}, DecodeCase{"Zg=*", 1, "f"},
                    // A text cut short drops its remaining bits.
                    DecodeCase{"Zm9vY", 3, "foo"},
                    // ASCII white space anywhere is skipped, so hand-wrapped text reads.
                    DecodeCase{" Zm9v\r\n\tYm\vFy\f", 6, "foobar"},
                    // Any other character outside the alphabet refuses the text.
                    DecodeCase{"Zm9v*mFy", -1, ""}, DecodeCase{"Zm9v-_", -1, ""}, DecodeCase{"Zm\x80v", -1, ""},
                    DecodeCase{"\xFF\xFE", -1, ""},
                    // A NUL byte ends the text as a terminator would.
                    DecodeCase{std::string("Zm9v\0*", 6), 3, "foo"}));

TEST(Base64, DecodedSizeBoundIsLengthTimesThreeQuarters) {
    EXPECT_EQ(Base64DecodedSizeBound(""), 0);
    EXPECT_EQ(Base64DecodedSizeBound("Zg=="), 3);
    EXPECT_EQ(Base64DecodedSizeBound("Zm9vY"), 3);
    EXPECT_EQ(Base64DecodedSizeBound("Zm9vYm"), 4);
    EXPECT_EQ(Base64DecodedSizeBound("Zm9vYmE"), 5);
}

}  // namespace
