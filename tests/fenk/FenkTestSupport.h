// Helpers of the FENK tests: test images, writing and reading through files,
// Base64 text, lines.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "image/Image.h"
#include "image/ImageFENK.h"
#include "image/ImageOptions.h"

namespace FenkTest {

// A width x height image whose bytes follow a fixed pattern; an Indexed one gets a full palette.
void FillPattern(ImageLib::CImage& image, int32_t format, int32_t width, int32_t height);

struct WriteResult {
    bool written = false;
    std::string text;  // the file's bytes
};

// Runs the FENK writer on `image` into a fresh file and returns what it wrote.
WriteResult WriteFenk(ImageLib::CImage& image, const ImageLib::ImageOptions* options);

// WriteFenk of a FillPattern image.
WriteResult WritePattern(int32_t format, int32_t width, int32_t height, const ImageLib::ImageOptions* options);

struct ReadResult {
    bool header = false;  // ReadHeader's result
    bool body = false;    // ReadBody's result, false when it did not run
};

// Puts `text` into a fresh file and reads it into `image`: ReadHeader, then ReadBody.
ReadResult ReadFenkText(const std::string& text, ImageLib::CImageFENK& image);

std::string Base64Of(const uint8_t* data, int32_t count);

// Empty when both are equal, else where they first differ with a little of
// each around it (files are too long to print whole).
std::string FirstDifference(const std::string& actual, const std::string& expected);

// The lines of a text cut at CR LF (the line ends removed; nothing after the last).
std::vector<std::string> SplitLines(const std::string& text);

}  // namespace FenkTest
