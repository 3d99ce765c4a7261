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

// Writes as WriteTga does while every write past the first `limit` bytes of
// the file fails (the process's file-size limit), and returns the writer's result.
bool WriteTgaWithSizeLimit(ImageLib::CImage& image, const ImageLib::ImageOptions* options, int64_t limit);

Bytes Concat(std::initializer_list<Bytes> parts);
Bytes Text(const std::string& text);
Bytes U32(uint32_t value);

}  // namespace TgaTest
