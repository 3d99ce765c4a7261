#include <gtest/gtest.h>

#include <string>

#include "plugin/DialogPlacement.h"

using namespace FormatPlugin;

namespace {

struct PlacementCase {
    const char* name;
    DialogPlacementInput input;
    int32_t x, y;
};

class CenteredPlacement : public testing::TestWithParam<PlacementCase> {};

TEST_P(CenteredPlacement, Position) {
    const DialogPosition position = CenteredDialogPosition(GetParam().input);
    EXPECT_EQ(position.x, GetParam().x);
    EXPECT_EQ(position.y, GetParam().y);
}

// Inputs: parent left, top, width, height; caption button; system menu; dialog width, height; screen.
INSTANTIATE_TEST_SUITE_P(
    AboutBox, CenteredPlacement,
    testing::Values(
        // Centred across, a third of the way down, then left by the caption button.
        PlacementCase{"OverALargerParent", {100, 50, 800, 600, 18, true, 200, 100, 1920, 1080}, 382, 216},
        // Without a system menu the shift is two thirds of the button, in whole pixels.
        PlacementCase{"WithoutSystemMenu", {100, 50, 800, 600, 19, false, 200, 100, 1920, 1080}, 387, 216},
        PlacementCase{"SmallerParentGivesItsTopLeft", {300, 200, 100, 100, 18, true, 200, 150, 1920, 1080}, 282, 200},
        PlacementCase{"PushedBackFromTheRightEdge", {900, 0, 400, 300, 18, true, 200, 100, 1024, 768}, 824, 66},
        PlacementCase{"PushedBackFromTheBottomEdge", {0, 700, 400, 300, 18, true, 200, 100, 1024, 768}, 82, 668},
        PlacementCase{"WiderAndTallerThanTheScreen", {500, 500, 100, 100, 18, true, 1200, 900, 1024, 768}, 0, 0}),
    [](const testing::TestParamInfo<PlacementCase>& info) { return std::string(info.param.name); });

}  // namespace
