// Test support for the TGA writer: images made from literal pixels, and the
// bytes of the file that the writer produces for them.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "image/Image.h"
#include "image/ImageTGA.h"

namespace TgaTest {

using Bytes = std::vector<uint8_t>;

// Fills a new image of the format and size with `pixels` (and `palette` for Indexed).
void MakeImage(ImageLib::CImage& image, int32_t format, int32_t width, int32_t height, const Bytes& pixels,
               const Bytes& palette = {});

// Writes the image with CImageTGA::WriteImage into a fresh file; the file's bytes,
// or nothing when the writer failed.
bool WriteTga(ImageLib::CImage& image, const ImageLib::ImageOptions* options, Bytes& file);

// Reads the file back through CImageTGA; null when the reader refuses it.
std::unique_ptr<ImageLib::CImageTGA> ReadTga(const Bytes& file);

// Expects the writer to fail wherever the file stops taking bytes (every
// limit below the full size, through the process's file-size limit) and to
// succeed when the whole file fits.
void ExpectFailureAtEveryShortWrite(ImageLib::CImage& image, const ImageLib::ImageOptions& options);

Bytes Concat(std::initializer_list<Bytes> parts);
Bytes Text(const std::string& text);
Bytes U32(uint32_t value);

}  // namespace TgaTest
