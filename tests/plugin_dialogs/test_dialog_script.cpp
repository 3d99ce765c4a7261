#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tools/editor-host/DialogScript.h"
#include "ui/Messages.h"

using namespace EditorHost;

namespace {

TEST(DialogScript, ReadsEveryActionInOrder) {
    std::string error;
    const auto actions = ParseDialogScript(
        "click 1112; select 1003 2 ;size 600 700; scroll v pagedown; scroll h thumbtrack 300;"
        " shot /tmp/a b.png;cancel",
        error);
    // "shot" takes one word: a file name with a blank is not an action.
    EXPECT_FALSE(actions) << "a shot of two words";
    EXPECT_EQ(error, "unknown dialog action \"shot /tmp/a b.png\"");

    const auto parsed = ParseDialogScript(
        "click 1112; select 1003 2 ;size 600 700; scroll v pagedown; scroll h thumbtrack 300; shot /tmp/a.png;ok",
        error);
    ASSERT_TRUE(parsed) << error;
    const std::vector<DialogAction>& a = *parsed;
    ASSERT_EQ(a.size(), 7u);
    EXPECT_EQ(a[0].kind, DialogActionKind::Click);
    EXPECT_EQ(a[0].id, 1112);
    EXPECT_EQ(a[1].kind, DialogActionKind::Select);
    EXPECT_EQ(a[1].id, 1003);
    EXPECT_EQ(a[1].index, 2);
    EXPECT_EQ(a[1].text, "select 1003 2");
    EXPECT_EQ(a[2].kind, DialogActionKind::Size);
    EXPECT_EQ(a[2].width, 600);
    EXPECT_EQ(a[2].height, 700);
    EXPECT_EQ(a[3].kind, DialogActionKind::Scroll);
    EXPECT_FALSE(a[3].horizontal);
    EXPECT_EQ(a[3].request, ui::SB_PAGEDOWN);
    EXPECT_TRUE(a[4].horizontal);
    EXPECT_EQ(a[4].request, ui::SB_THUMBTRACK);
    EXPECT_EQ(a[4].position, 300);
    EXPECT_EQ(a[5].kind, DialogActionKind::Shot);
    EXPECT_EQ(a[5].file, "/tmp/a.png");
    EXPECT_EQ(a[6].kind, DialogActionKind::Ok);
}

struct BadScript {
    const char* name;
    const char* script;
};

class RefusedScripts : public testing::TestWithParam<BadScript> {};

TEST_P(RefusedScripts, GiveAReason) {
    std::string error;
    EXPECT_FALSE(ParseDialogScript(GetParam().script, error));
    EXPECT_FALSE(error.empty());
}

INSTANTIATE_TEST_SUITE_P(
    EditorHost, RefusedScripts,
    testing::Values(BadScript{"Empty", " ; ;"}, BadScript{"UnknownVerb", "press 1"},
                    BadScript{"ClickWithoutId", "click"}, BadScript{"IdNotANumber", "click OK"},
                    BadScript{"SelectWithoutIndex", "select 1003"}, BadScript{"NegativeIndex", "select 1003 -1"},
                    BadScript{"ZeroSize", "size 0 100"}, BadScript{"UnknownBar", "scroll x pagedown"},
                    BadScript{"UnknownRequest", "scroll v sideways"},
                    BadScript{"PositionBeyondTheMessage", "scroll v thumbtrack 65536"},
                    BadScript{"OkWithArgument", "ok 1"}, BadScript{"ActionAfterOk", "ok; click 1112"},
                    BadScript{"ActionAfterCancel", "cancel; shot a.png"}),
    [](const testing::TestParamInfo<BadScript>& info) { return std::string(info.param.name); });

}  // namespace
