#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "platform/Paths.h"
#include "support/CaseNames.h"

namespace {

struct JoinCase {
    const char* folder;
    const char* name;
    const char* joined;
};

void PrintTo(const JoinCase& c, std::ostream* os) {
    *os << '"' << c.folder << "\" + \"" << c.name << "\" -> \"" << c.joined << '"';
}


class JoinPathTest : public testing::TestWithParam<JoinCase> {};

TEST_P(JoinPathTest, PutsExactlyOneSeparatorBetween) {
    const JoinCase& c = GetParam();
    EXPECT_EQ(Platform::JoinPath(c.folder, c.name), c.joined);
}

INSTANTIATE_TEST_SUITE_P(Paths, JoinPathTest,
                         testing::Values(JoinCase{"/tmp", "a.tga", "/tmp/a.tga"}, JoinCase{"/tmp/", "a.tga", "/tmp/a.tga"},
                                         JoinCase{"/tmp//", "/a.tga", "/tmp/a.tga"}, JoinCase{"", "a.tga", "a.tga"},
                                         JoinCase{"/", "x", "/x"}, JoinCase{"a/b", "c/d", "a/b/c/d"}),
                         [](const testing::TestParamInfo<JoinCase>& info) {
                             return "Case" + std::to_string(info.index) + CaseName(std::string(info.param.folder) + " " +
                                                                                    info.param.name);
                         });

TEST(FolderOf, GivesTheFolderPartOrDot) {
    EXPECT_EQ(Platform::FolderOf("/tmp/x/a.voq"), "/tmp/x");
    EXPECT_EQ(Platform::FolderOf("a.voq"), ".");
    EXPECT_EQ(Platform::FolderOf("/a.voq"), "/");
}

struct ExpandCase {
    const char* text;
    const char* expanded;
};

void PrintTo(const ExpandCase& c, std::ostream* os) { *os << '"' << c.text << "\" -> \"" << c.expanded << '"'; }


class ExpandEnvironmentTest : public testing::TestWithParam<ExpandCase> {
protected:
    void SetUp() override {
        setenv("BWVOQ_TEST_A", "/data/a", 1);
        setenv("BWVOQ_TEST_EMPTY", "", 1);
        unsetenv("BWVOQ_TEST_UNSET");
    }
};

TEST_P(ExpandEnvironmentTest, ReplacesSetNamesAndKeepsTheRest) {
    EXPECT_EQ(Platform::ExpandEnvironmentNames(GetParam().text), GetParam().expanded);
}

INSTANTIATE_TEST_SUITE_P(
    Paths, ExpandEnvironmentTest,
    testing::Values(ExpandCase{"%BWVOQ_TEST_A%/BRAMWELD", "/data/a/BRAMWELD"},
                    ExpandCase{"x%BWVOQ_TEST_A%y%BWVOQ_TEST_A%", "x/data/ay/data/a"},
                    ExpandCase{"%BWVOQ_TEST_UNSET%/x", "%BWVOQ_TEST_UNSET%/x"},
                    ExpandCase{"%BWVOQ_TEST_EMPTY%/x", "/x"}, ExpandCase{"100%", "100%"}, ExpandCase{"%%", "%%"},
                    ExpandCase{"no names", "no names"}, ExpandCase{"%BWVOQ_TEST_UNSET%%BWVOQ_TEST_A%",
                                                                   "%BWVOQ_TEST_UNSET%/data/a"}),
    [](const testing::TestParamInfo<ExpandCase>& info) {
        return "Case" + std::to_string(info.index) + CaseName(info.param.text);
    });

}  // namespace
