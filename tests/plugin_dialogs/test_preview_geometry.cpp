#include <gtest/gtest.h>

#include "plugin/PreviewGeometry.h"

using namespace FormatPlugin;

namespace {

TEST(ZoomedScrollPosition, ZoomingInKeepsTheCentreOfTheView) {
    // A 512-pixel picture seen through a 256-pixel page from 128: the centre is
    // picture pixel 256. At zoom 2 it should be at the centre again: 383 + 128 = 511.
    EXPECT_EQ(ZoomedScrollPosition(256, 128, 511, 1023), 383);
    // And back out: (128 + 383) / 1024 x 511 - 128 = 127.01...
    EXPECT_EQ(ZoomedScrollPosition(256, 383, 1023, 511), 127);
}

TEST(ZoomedScrollPosition, StaysWithinTheNewRange) {
    EXPECT_EQ(ZoomedScrollPosition(256, 0, 1023, 511), 0);
    EXPECT_EQ(ZoomedScrollPosition(256, 1023, 1023, 4095), 4095);
}

TEST(ZoomedScrollPosition, AnUnchangedRangeKeepsThePosition) {
    EXPECT_EQ(ZoomedScrollPosition(256, 77, 511, 511), 77);
}

TEST(ZoomedScrollPosition, NoRangeBeforeStartsAtZero) {
    EXPECT_EQ(ZoomedScrollPosition(256, 12, -1, 511), 0);
}

TEST(ZoomedScrollPosition, IsComputedInSinglePrecision) {
    // In double precision this would be 8064.
    EXPECT_EQ(ZoomedScrollPosition(256, 3969, 4095, 8191), 8065);
}

struct PaintCase {
    const char* name;
    int32_t windowWidth, windowHeight, bitmapWidth, bitmapHeight, zoom, scrollX, scrollY;
    PreviewPaint paint;
};

class PreviewPaints : public testing::TestWithParam<PaintCase> {};

TEST_P(PreviewPaints, Rectangles) {
    const PaintCase& c = GetParam();
    const PreviewPaint p =
        ComputePreviewPaint(c.windowWidth, c.windowHeight, c.bitmapWidth, c.bitmapHeight, c.zoom, c.scrollX, c.scrollY);
    EXPECT_EQ(p.destinationX, c.paint.destinationX);
    EXPECT_EQ(p.destinationY, c.paint.destinationY);
    EXPECT_EQ(p.destinationWidth, c.paint.destinationWidth);
    EXPECT_EQ(p.destinationHeight, c.paint.destinationHeight);
    EXPECT_EQ(p.sourceX, c.paint.sourceX);
    EXPECT_EQ(p.sourceY, c.paint.sourceY);
    EXPECT_EQ(p.sourceWidth, c.paint.sourceWidth);
    EXPECT_EQ(p.sourceHeight, c.paint.sourceHeight);
    EXPECT_EQ(p.fillBackground, c.paint.fillBackground);
}

INSTANTIATE_TEST_SUITE_P(
    Preview, PreviewPaints,
    testing::Values(
        // A small picture is centred on both axes, with the button face around it.
        PaintCase{"SmallPictureCentred", 256, 320, 120, 64, 1, 0, 0, {68, 128, 120, 64, 0, 0, 120, 64, true}},
        PaintCase{"SmallPictureZoomed", 256, 320, 120, 64, 2, 0, 0, {8, 96, 240, 128, 0, 0, 120, 64, true}},
        // A large picture fills the window from the scroll position divided by the zoom.
        PaintCase{"LargePictureScrolled", 256, 320, 512, 512, 2, 100, 201, {0, 0, 256, 320, 50, 100, 128, 160, false}},
        // Whole pixels only: at zoom 3, 85 pixels cover 255 of 256 columns.
        PaintCase{"WholePixelsOnly", 256, 320, 512, 512, 3, 0, 0, {0, 0, 255, 318, 0, 0, 85, 106, true}},
        // Scrolled to the end: the picture stops at its edge.
        PaintCase{"NeverPastTheEdge", 256, 320, 300, 400, 1, 200, 0, {0, 0, 100, 320, 200, 0, 100, 320, true}},
        PaintCase{"NoPicture", 256, 320, 0, 0, 1, 0, 0, {128, 160, 0, 0, 0, 0, 0, 0, true}}),
    [](const testing::TestParamInfo<PaintCase>& info) { return std::string(info.param.name); });

}  // namespace
