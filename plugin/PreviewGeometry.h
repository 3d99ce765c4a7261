// The arithmetic of the preview window, apart from any window: where a zoom
// change puts a scroll bar, and which part of the picture a paint shows where.
//
// Scroll positions are in pixels of the zoomed picture; a bar's page is the
// window's outer size on that axis.
#pragma once

#include <cstdint>

namespace FormatPlugin {

inline constexpr int32_t kMinZoom = 1;
inline constexpr int32_t kMaxZoom = 16;

// The position after the bar's range changes from 0..oldMax to 0..newMax,
// keeping the point at the middle of the page where it was in the picture.
// Single precision, truncated toward zero, then kept within 0..newMax.
int32_t ZoomedScrollPosition(int32_t page, int32_t position, int32_t oldMax, int32_t newMax);

// One paint of the zoomed picture into a window of outer size W x H.
struct PreviewPaint {
    // The picture is centred on each axis where it is smaller than the window.
    int32_t destinationX = 0, destinationY = 0, destinationWidth = 0, destinationHeight = 0;
    // The picture pixels shown: from the scroll positions divided by the zoom.
    int32_t sourceX = 0, sourceY = 0, sourceWidth = 0, sourceHeight = 0;
    // The window is filled with the button face first where the picture leaves it uncovered.
    bool fillBackground = false;
};

// Only whole picture pixels are shown, each as zoom x zoom screen pixels, and
// never beyond the picture's edges.
PreviewPaint ComputePreviewPaint(int32_t windowWidth, int32_t windowHeight, int32_t bitmapWidth,
                                 int32_t bitmapHeight, int32_t zoom, int32_t scrollX, int32_t scrollY);

}  // namespace FormatPlugin
