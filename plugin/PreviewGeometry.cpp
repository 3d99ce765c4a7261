#include "plugin/PreviewGeometry.h"

#include <algorithm>
#include <cmath>

namespace FormatPlugin {

int32_t ZoomedScrollPosition(int32_t page, int32_t position, int32_t oldMax, int32_t newMax) {
    if (oldMax == newMax) return position;
    if (oldMax < 0) return 0;  // no range before: nothing to keep
    const int32_t half = page / 2;
    const float centre = static_cast<float>(half + position) / static_cast<float>(oldMax + 1);
    const float moved = centre * static_cast<float>(newMax) - static_cast<float>(half);
    const int32_t result = static_cast<int32_t>(std::trunc(moved));
    return std::clamp(result, 0, std::max(newMax, 0));
}

namespace {

struct AxisPaint {
    int32_t destination, destinationSize, source, sourceSize;
};

// One axis: the window is `window` pixels, the zoomed picture bitmap x zoom.
AxisPaint ComputeAxis(int32_t window, int32_t bitmap, int32_t zoom, int32_t scroll) {
    const int64_t zoomed = static_cast<int64_t>(bitmap) * zoom;
    AxisPaint axis{};
    axis.destination = zoomed < window ? static_cast<int32_t>((window - zoomed) / 2) : 0;
    axis.source = std::clamp(scroll / zoom, 0, std::max(bitmap, 0));
    axis.sourceSize = std::clamp(window / zoom, 0, bitmap - axis.source);
    axis.destinationSize = axis.sourceSize * zoom;
    return axis;
}

}  // namespace

PreviewPaint ComputePreviewPaint(int32_t windowWidth, int32_t windowHeight, int32_t bitmapWidth,
                                 int32_t bitmapHeight, int32_t zoom, int32_t scrollX, int32_t scrollY) {
    zoom = std::clamp(zoom, kMinZoom, kMaxZoom);
    const AxisPaint x = ComputeAxis(windowWidth, bitmapWidth, zoom, scrollX);
    const AxisPaint y = ComputeAxis(windowHeight, bitmapHeight, zoom, scrollY);
    PreviewPaint paint;
    paint.destinationX = x.destination;
    paint.destinationY = y.destination;
    paint.destinationWidth = x.destinationSize;
    paint.destinationHeight = y.destinationSize;
    paint.sourceX = x.source;
    paint.sourceY = y.source;
    paint.sourceWidth = x.sourceSize;
    paint.sourceHeight = y.sourceSize;
    paint.fillBackground = x.destination > 0 || y.destination > 0 ||
                           x.destination + x.destinationSize < windowWidth ||
                           y.destination + y.destinationSize < windowHeight;
    return paint;
}

}  // namespace FormatPlugin
