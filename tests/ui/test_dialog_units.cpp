// Dialog units to pixels: the progress dialog's and the save-options dialog's
// rectangles, and the pixel places that the dialogs' code uses beside them.
#include <gtest/gtest.h>

#include <ostream>
#include <string>

#include "ui/Dialogs.h"

using ui::RECT;

namespace {

struct UnitCase {
    std::string name;
    RECT units;   // x, y, x + cx, y + cy in dialog units
    RECT pixels;  // the same in pixels
};

void PrintTo(const UnitCase& c, std::ostream* out) { *out << c.name; }

class DialogUnits : public testing::TestWithParam<UnitCase> {};

TEST_P(DialogUnits, MapCornerByCornerToTheNearestPixel) {
    const RECT mapped = ui::DialogUnitsToPixels(GetParam().units);
    const RECT& expected = GetParam().pixels;
    EXPECT_EQ(mapped.left, expected.left);
    EXPECT_EQ(mapped.top, expected.top);
    EXPECT_EQ(mapped.right, expected.right);
    EXPECT_EQ(mapped.bottom, expected.bottom);
}

// 1.75 pixels per unit on both axes, halves rounded up.
INSTANTIATE_TEST_SUITE_P(
    Templates, DialogUnits,
    testing::Values(UnitCase{"ProgressDialogClientArea", {0, 0, 339, 39}, {0, 0, 593, 68}},
                    UnitCase{"ProgressDialogStaticText", {7, 7, 7 + 325, 7 + 8}, {12, 12, 581, 26}},
                    UnitCase{"ProgressDialogBar", {7, 18, 7 + 325, 18 + 14}, {12, 32, 581, 56}},
                    UnitCase{"SaveOptionsClientArea", {0, 0, 282, 292}, {0, 0, 494, 511}},
                    UnitCase{"SaveOptionsOkButton", {4, 269, 4 + 54, 269 + 14}, {7, 471, 102, 495}},
                    UnitCase{"SaveOptionsFormatGroup", {4, 5, 4 + 113, 5 + 107}, {7, 9, 205, 196}},
                    UnitCase{"SaveOptionsRgbCheckBox", {132, 249, 132 + 28, 249 + 10}, {231, 436, 280, 453}},
                    UnitCase{"NegativeUnitsRoundAwayFromZero", {-2, -2, 1, 1}, {-4, -4, 2, 2}}),
    [](const testing::TestParamInfo<UnitCase>& info) { return info.param.name; });

// The save-options dialog puts its 256 x 320 preview at (220, 14) pixels right of
// its group boxes, and its resized bottom row 34 pixels above the client's
// bottom edge: both must fit the client area that its template gives.
TEST(DialogUnitsLayout, TheSaveOptionsPixelPlacesFitItsClientArea) {
    const RECT client = ui::DialogUnitsToPixels(RECT{0, 0, 282, 292});
    const RECT groups = ui::DialogUnitsToPixels(RECT{4, 5, 4 + 113, 5 + 107});
    const RECT preview{220, 14, 220 + 256, 14 + 320};
    EXPECT_GT(preview.left, groups.right);
    EXPECT_LE(preview.right, client.right);
    EXPECT_LE(preview.bottom, client.bottom);
    const int rowTop = client.bottom - 34;
    EXPECT_GE(rowTop, preview.bottom);    // the row lies under the preview
    EXPECT_LE(449 + 32, client.right);    // its last button, "+", ends inside
    EXPECT_LE(rowTop + 24, client.bottom);
}

}  // namespace
