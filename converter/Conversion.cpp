#include "converter/Conversion.h"

#include <cstdio>
#include <cstdlib>
#include <memory>

#include "converter/ConverterExitCode.h"
#include "converter/ProgressStart.h"
#include "converter/ProgressWindowCalls.h"
#include "converter/ReportMessage.h"
#include "etc1/ETC1Cache.h"
#include "etc1/ETC1CacheFile.h"
#include "etc1/ETC1Encoder.h"
#include "image/Image.h"
#include "image/ImageFiles.h"

namespace {

// A run that names some of "-i", "-o", "-f" but not all three cannot go on: it
// ends as the missing option's own failure would.
void RequireCompleteRequest(const CommandLine& line) {
    if ((line.seen & SeenFormat) == 0) ExitWithFormatHelp();
    const char* missing = (line.seen & SeenInput) == 0    ? "input file missing \n"
                          : (line.seen & SeenOutput) == 0 ? "output file missing \n"
                                                          : nullptr;
    if (missing == nullptr) return;
    std::printf("%s", missing);
    std::fflush(stdout);
    std::exit(MissingFile);
}

int32_t ResolveAutoFormat(int32_t imageFormat) {
    bool hasAlpha = imageFormat == ImageLib::LA || imageFormat == ImageLib::RGBA || imageFormat == ImageLib::Indexed;
    return hasAlpha ? ImageLib::ETC1_A4 : ImageLib::ETC1;
}

void CloseProgress() {
    SettleProgressWindow();
    if (g_progressWindowCalls == nullptr || !g_progressWindowCalls->isOpen()) return;
    std::printf("\n");
    std::fflush(stdout);
    g_progressWindowCalls->close();
}

// Loads, encodes and saves; the result code.
int Convert(CommandLine& line) {
    ImageLib::ImageOptions& options = line.options;
    g_reportMessage = ReportMessage;
    g_beforeConsoleWrite = BeforeEncoderConsoleWrite;
    ETC1Encoder::EmptyETC1Cache();
    g_etc1LastMethod = ImageLib::Fast;
    g_etc1CacheMethod = -1;

    std::unique_ptr<ImageLib::CImage> image(ImageLib::CreateImageFromFile(line.inputPath));
    if (image == nullptr) {
        ReportMessage(MessageLevel::Error, "not support (%s)\n", line.inputPath);
        return NotSupported;
    }
    if (options.format == ImageLib::ETC1_AUTO) options.format = ResolveAutoFormat(image->format);
    if (options.colorCorrection != ImageLib::NONE && options.format <= ImageLib::HILO8) {
        ReportMessage(MessageLevel::Information, "disabled color mapping\n");
        options.colorCorrection = ImageLib::NONE;
    }
    if (!ImageLib::SaveImage(image.get(), line.outputPath, &options)) {
        ReportMessage(MessageLevel::Error, "not support (%s)\n", line.outputPath);
        return NotSupported;
    }
    if (g_etc1LastMethod != ImageLib::Fast && g_etc1LastMethod != ImageLib::FastPerceptual) {
        // The output stands; only later runs lose what this one would have saved.
        if (!ETC1Encoder::SaveETC1Cache(g_etc1LastMethod)) std::fprintf(stderr, "cannot save the ETC1 cache file\n");
    }
    g_reportMessage = nullptr;
    g_beforeConsoleWrite = nullptr;
    return Success;
}

}  // namespace

int RunConversion(CommandLine& line) {
    if ((line.seen & (SeenInput | SeenOutput | SeenFormat)) == 0) {
        PrintUsage();
        return Usage;
    }
    RequireCompleteRequest(line);
    BeginProgressWindow(line);
    int result = Convert(line);
    CloseProgress();
    return result;
}
