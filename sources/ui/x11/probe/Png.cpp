// Pictures as PNG files, through cairo.
#include <cairo.h>

#include <cstring>

#include "ui/x11/probe/X11Probe.h"

namespace ui::x11probe {

bool WritePng(const Pixels& pixels, const std::string& path) {
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, pixels.width, pixels.height);
    cairo_surface_flush(surface);
    unsigned char* data = cairo_image_surface_get_data(surface);
    const int stride = cairo_image_surface_get_stride(surface);
    for (int y = 0; y < pixels.height; ++y) {
        std::memcpy(data + static_cast<size_t>(y) * stride, &pixels.values[static_cast<size_t>(y) * pixels.width],
                    static_cast<size_t>(pixels.width) * 4);
    }
    cairo_surface_mark_dirty(surface);
    const bool written = cairo_surface_write_to_png(surface, path.c_str()) == CAIRO_STATUS_SUCCESS;
    cairo_surface_destroy(surface);
    return written;
}

bool ReadPng(const std::string& path, Pixels& pixels) {
    cairo_surface_t* surface = cairo_image_surface_create_from_png(path.c_str());
    const bool read = cairo_surface_status(surface) == CAIRO_STATUS_SUCCESS;
    if (read) {
        pixels.width = cairo_image_surface_get_width(surface);
        pixels.height = cairo_image_surface_get_height(surface);
        const unsigned char* data = cairo_image_surface_get_data(surface);
        const int stride = cairo_image_surface_get_stride(surface);
        pixels.values.resize(static_cast<size_t>(pixels.width) * pixels.height);
        for (int y = 0; y < pixels.height; ++y) {
            const auto* row = reinterpret_cast<const uint32_t*>(data + static_cast<size_t>(y) * stride);
            for (int x = 0; x < pixels.width; ++x) pixels.values[static_cast<size_t>(y) * pixels.width + x] = row[x] & 0xFFFFFF;
        }
    }
    cairo_surface_destroy(surface);
    return read;
}

}  // namespace ui::x11probe
