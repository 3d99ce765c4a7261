// Moving images between the host and CImage. Opening: the file's header,
// palette and pixels go to the host. Saving: the host's document is copied
// into a new CImage. The host and the image share one interleaved layout, so
// every transfer is one rectangle over the image's own pixel buffer.
#pragma once

#include <cstdint>

#include "image/Image.h"
#include "plugin/host/FormatHost.h"

namespace FormatPlugin {

// The host mode of the image's format: grayscale for L and LA, RGB colour for
// RGB and RGBA, indexed colour for Indexed; -1 for a null image or any other format.
int16_t ImageModeOfFormat(const ImageLib::CImage* image);

// Reads the file's header (and palette) through `image` and tells the host the
// document's mode, size, depth, planes and palette. -30501 when the file is not
// read or its image has no host mode or does not fit the host's 16-bit size;
// the record is then unchanged.
int16_t ReadHeaderFromFile(ImageLib::CImage* image, PluginHost::FormatRecord* record);

// Reads the whole file through `image` and hands all its pixels to the host in
// one transfer. -30501 when the file is not read or no longer matches what the
// record says of the document; else what the host's advanceState gives.
int16_t ReadPixelsFromFile(ImageLib::CImage* image, PluginHost::FormatRecord* record);

// Creates `image` in the shape of the host's document (the first alpha
// channel, if any, becomes its alpha) and has the host copy the document's
// pixels and palette into it. -30500 for a mode or shape the image cannot
// take, -108 when its buffers cannot be allocated; else what advanceState gives.
int16_t ReadHostImage(ImageLib::CImage* image, PluginHost::FormatRecord* record);

}  // namespace FormatPlugin
