#include "fenk/FenkTestSupport.h"

#include "image/Base64.h"
#include "platform/Files.h"
#include "support/TestFiles.h"

using namespace ImageLib;

namespace FenkTest {

void FillPattern(CImage& image, int32_t format, int32_t width, int32_t height) {
    image.Create(format, width, height, format == Indexed ? 256 : 0, 0, 0, 0);
    int32_t size = image.GetImageSize(None, nullptr);
    for (int32_t i = 0; i < size; ++i) image.pixels[i] = static_cast<uint8_t>(i * 7 + i / 13);
    if (format == Indexed) {
        for (int32_t i = 0; i < 768; ++i) image.palette[i] = static_cast<uint8_t>(255 - i * 3);
    }
}

WriteResult WriteFenk(CImage& image, const ImageOptions* options) {
    TestSupport::TempFolder folder;
    std::string path = folder.File("out.fenk");
    Platform::FileHandle file = Platform::CreateOrTruncateFile(path.c_str());
    WriteResult result;
    result.written = CImageFENK::WriteImage(image, file, options);
    Platform::CloseFile(file);
    result.text = TestSupport::ReadText(path);
    return result;
}

WriteResult WritePattern(int32_t format, int32_t width, int32_t height, const ImageOptions* options) {
    CImage image;
    FillPattern(image, format, width, height);
    return WriteFenk(image, options);
}

ReadResult ReadFenkText(const std::string& text, CImageFENK& image) {
    TestSupport::TempFolder folder;
    std::string path = folder.File("in.fenk");
    TestSupport::WriteText(path, text);
    Platform::FileHandle file = Platform::OpenFileForReading(path.c_str());
    ReadResult result;
    result.header = image.ReadHeader(file);
    if (result.header) result.body = image.ReadBody(file);
    Platform::CloseFile(file);
    return result;
}

std::string Base64Of(const uint8_t* data, int32_t count) {
    std::string text(static_cast<size_t>(Base64EncodedSize(count)), '\0');
    Base64Encode(text.data(), data, count);
    return text;
}

std::string FirstDifference(const std::string& actual, const std::string& expected) {
    if (actual == expected) return "";
    size_t at = 0;
    while (at < actual.size() && at < expected.size() && actual[at] == expected[at]) ++at;
    size_t from = at < 20 ? 0 : at - 20;
    return "byte " + std::to_string(at) + ": \"" + actual.substr(from, 60) + "\" instead of \"" +
           expected.substr(from, 60) + "\"";
}

std::vector<std::string> SplitLines(const std::string& text) {
    std::vector<std::string> lines;
    size_t start = 0;
    for (size_t end = text.find("\r\n"); end != std::string::npos; end = text.find("\r\n", start)) {
        lines.push_back(text.substr(start, end - start));
        start = end + 2;
    }
    return lines;
}

}  // namespace FenkTest
