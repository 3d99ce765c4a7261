#include "converter/CommandLine.h"

#include <array>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>

#include "converter/ConverterExitCode.h"
#include "converter/TextCompare.h"
#include "etc1/ETC1Encoder.h"
#include "platform/Files.h"

namespace {

// The "-f" values in TextureFormat order, ETC1_AUTO included.
constexpr std::array<const char*, 15> kFormatValues = {
    "L4", "L8", "A4", "A8", "LA4", "LA8", "HILO8", "RGB565", "RGB8", "RGB5_A1", "RGBA4", "RGBA8", "ETC1", "ETC1_A4",
    "ETC1_AUTO",
};

constexpr std::array<const char*, 6> kEtcQualityValues = {
    "Fast", "Medium", "Slow", "FastPerceptual", "MediumPerceptual", "SlowPerceptual",
};

constexpr const char* kFormatHelp =
    " -f (required) format, values :\n"
    "      L4, L8, A4, A8, LA4, LA8, HILO8, \n"
    "      RGB565, RGB8, RGB5_A1, RGBA4, RGBA8, \n"
    "      ETC1, ETC1_A4.\n";
constexpr const char* kMipmapHelp = " -m (optional) mipmap levels, values : 0,1,2,3..., or MAX. Default : 0 \n";
constexpr const char* kEtcQualityHelp =
    " -e (optional) ETC1 & ETC1_A4 encoding method, values: \n"
    "      Fast, Medium, Slow, \n"
    "      FastPerceptual, MediumPerceptual, SlowPerceptual.\n"
    "      Default : SlowPerceptual \n";
constexpr const char* kCompressionHelp = " -c (optional) TGA file compression values: none, rle. Default : rle\n";
constexpr const char* kColorMappingHelp =
    " -t (optional) Color Mapping: VOQ_TOP, VOQ_BTM, VOQ_AVG. Default: VOQ_AVG\n";

template <size_t N>
int32_t FindValue(const std::array<const char*, N>& values, const char* value) {
    for (size_t i = 0; i < N; ++i) {
        if (EqualsIgnoringCase(values[i], value)) return static_cast<int32_t>(i);
    }
    return -1;
}

[[noreturn]] void EndRun(int code) {
    std::fflush(stdout);
    std::exit(code);
}

// The word after position `i`, or the empty string when there is none.
const char* ValueAfter(int argc, char** argv, int i) { return i + 1 < argc ? argv[i + 1] : ""; }

void CheckInputFile(const char* path, bool hasValue) {
    Platform::FileHandle file = Platform::OpenFileForReading(path);
    if (file.IsOpen()) {
        Platform::CloseFile(file);
        return;
    }
    if (hasValue) {
        std::printf("can not access input file (%s) \n", path);
    } else {
        std::printf("input file missing \n");
    }
    EndRun(MissingFile);
}

}  // namespace

void PrintUsage() {
    std::printf("Usage:\n");
    std::printf(" -i (required) input file, e.g. c:\\inputimage.tga/.fenk \n");
    std::printf(" -o (required) output file, e.g. c:\\outputimage.tga/.fenk \n");
    std::printf("%s%s%s%s%s", kFormatHelp, kMipmapHelp, kEtcQualityHelp, kCompressionHelp, kColorMappingHelp);
}

void ExitWithFormatHelp() {
    std::printf("format(-f) incorrect\n%s", kFormatHelp);
    EndRun(Usage);
}

int32_t ParseFormatOption(const char* value) {
    int32_t format = FindValue(kFormatValues, value);
    if (format < 0) ExitWithFormatHelp();
    return format;
}

int32_t ParseEtcQualityOption(const char* value) {
    int32_t quality = FindValue(kEtcQualityValues, value);
    if (quality >= 0) return quality;
    std::printf("format(-e) incorrect\n%suse default\n", kEtcQualityHelp);
    return ImageLib::SlowPerceptual;
}

int32_t ParseMipmapOption(const char* value, int32_t& levels) {
    levels = 0;
    if (EqualsIgnoringCase(value, "max")) return ImageLib::GenerateMipMap;
    if (value[0] == '0' && value[1] == '\0') return ImageLib::NoMipMap;
    char* end = nullptr;
    errno = 0;
    long long count = std::strtoll(value, &end, 10);
    bool inRange = errno != ERANGE && count >= INT32_MIN && count <= INT32_MAX;
    if (end != value && count != 0 && inRange) {
        levels = static_cast<int32_t>(count);
        return ImageLib::GenerateMipMap;
    }
    std::printf("format(-m) incorrect\n%suse default\n", kMipmapHelp);
    return ImageLib::NoMipMap;
}

int32_t ParseTgaCompressionOption(const char* value) {
    if (EqualsIgnoringCase(value, "none")) return 0;
    if (EqualsIgnoringCase(value, "rle")) return 1;
    std::printf("format(-c) incorrect\n%suse default\n", kCompressionHelp);
    return 1;
}

int32_t ParseColorMappingOption(const char* value) {
    if (EqualsIgnoringCase(value, "VOQ_TOP")) return ImageLib::VOQ_TOP;
    if (EqualsIgnoringCase(value, "VOQ_BTM")) return ImageLib::VOQ_BTM;
    if (EqualsIgnoringCase(value, "VOQ_AVG")) return ImageLib::VOQ_AVG;
    std::printf("format(-t) incorrect\n%susing default\n", kColorMappingHelp);
    return ImageLib::VOQ_AVG;
}

CommandLine ScanCommandLine(int argc, char** argv) {
    CommandLine line;
    ImageLib::ImageOptions& options = line.options;
    options.etcQuality = ImageLib::SlowPerceptual;
    options.etcEncoder = ETC1Encoder::EncodeETC1Image;

    auto takes = [&line](const char* word, const char* option, uint8_t bit) {
        if ((line.seen & bit) != 0 || !EqualsIgnoringCase(word, option)) return false;
        line.seen |= bit;
        return true;
    };

    for (int i = 0; i < argc; ++i) {
        const char* word = argv[i];
        const char* value = ValueAfter(argc, argv, i);
        if (takes(word, "-i", SeenInput)) {
            CheckInputFile(value, i + 1 < argc);
            line.inputPath = value;
        } else if (takes(word, "-o", SeenOutput)) {
            if (i + 1 >= argc) {
                std::printf("output file missing \n");
                EndRun(MissingFile);
            }
            line.outputPath = value;
        } else if (takes(word, "-f", SeenFormat)) {
            options.format = ParseFormatOption(value);
        } else if (takes(word, "-e", SeenEtcQuality)) {
            options.etcQuality = ParseEtcQualityOption(value);
        } else if (takes(word, "-m", SeenMipmap)) {
            options.mipMode = ParseMipmapOption(value, options.mipLevels);
        } else if (takes(word, "-c", SeenCompression)) {
            options.tgaCompression = ParseTgaCompressionOption(value);
        } else if (takes(word, "-t", SeenColorMapping)) {
            options.colorCorrection = ParseColorMappingOption(value);
        } else if (takes(word, "-n", SeenProgress)) {
            options.showProgress = 1;
            continue;
        } else {
            continue;
        }
        ++i;  // the value word is taken
    }
    return line;
}
