#include <gtest/gtest.h>

#include <cstdlib>
#include <algorithm>
#include <cctype>
#include <string>

#include "platform/Clock.h"
#include "platform/TextEncoding.h"
#include "platform/User.h"
#include "support/ConverterRun.h"

namespace {

struct ConversionCase {
    std::string text, charset, utf8;
};

void PrintTo(const ConversionCase& c, std::ostream* out) { *out << c.charset; }

class TextEncodingTable : public testing::TestWithParam<ConversionCase> {};

TEST_P(TextEncodingTable, ConvertsOrKeepsTheText) {
    const ConversionCase& c = GetParam();
    EXPECT_EQ(Platform::ConvertToUtf8From(c.text, c.charset), c.utf8);
}

INSTANTIATE_TEST_SUITE_P(
    TextEncoding, TextEncodingTable,
    testing::Values(ConversionCase{"abc", "ISO-8859-1", "abc"},
                    ConversionCase{"\xE9t\xE9", "ISO-8859-1", "\xC3\xA9t\xC3\xA9"},
                    ConversionCase{"\x80", "CP1252", "\xE2\x82\xAC"},
                    // UTF-8 is taken as it is, even when it is not valid UTF-8.
                    ConversionCase{"\xE9", "UTF-8", "\xE9"}, ConversionCase{"\xE9", "utf8", "\xE9"},
                    // A text that cannot be converted stays as it was.
                    ConversionCase{"a\xE9", "ANSI_X3.4-1968", "a\xE9"},
                    ConversionCase{"\xE9", "NO-SUCH-CHARSET", "\xE9"}, ConversionCase{"", "ISO-8859-1", ""}));

TEST(TextEncoding, LongTextsGrowTheOutput) {
    std::string latin1(100000, '\xFC');
    std::string utf8;
    for (int i = 0; i < 100000; ++i) utf8 += "\xC3\xBC";
    EXPECT_EQ(Platform::ConvertToUtf8From(latin1, "ISO-8859-1"), utf8);
}

TEST(TextEncoding, CharsetComesFromTheEnvironmentLocale) {
    const char* saved = std::getenv("LC_ALL");
    std::string previous = saved ? saved : "";
    setenv("LC_ALL", "C", 1);
    EXPECT_EQ(Platform::GetLocaleCharset(), "ANSI_X3.4-1968");
    EXPECT_EQ(Platform::ConvertToUtf8("a\xE9"), "a\xE9");
    setenv("LC_ALL", "C.UTF-8", 1);
    EXPECT_EQ(Platform::GetLocaleCharset(), "UTF-8");
    if (saved) {
        setenv("LC_ALL", previous.c_str(), 1);
    } else {
        unsetenv("LC_ALL");
    }
}

TEST(User, NameIsTheEffectiveUsers) {
    TestSupport::ConverterResult id = TestSupport::RunProgram("/usr/bin/id", {"-un"});
    ASSERT_EQ(id.exitStatus, 0);
    EXPECT_EQ(Platform::GetUserName() + "\n", id.output);
}

TEST(Clock, LocalTimeHasTheFixedLayout) {
    std::string layout = Platform::FormatLocalDateTime();
    std::replace_if(layout.begin(), layout.end(), [](char c) { return std::isdigit(static_cast<unsigned char>(c)); }, 'd');
    EXPECT_EQ(layout, "dddd-dd-ddTdd:dd:dd");
}

}  // namespace
