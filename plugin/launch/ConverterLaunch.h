// Saving and previewing through the converter program: the plug-in writes the
// document into a private temporary folder as "base.tga", runs BW-VOQ-Orvik on
// it as a child process, and takes the file the converter wrote.
//
// Everything here runs on the host's thread, which waits while the converter
// runs. Path and text buffers have the sizes given below; a value that would not
// fit fails the operation rather than being cut.
#pragma once

#include <atomic>
#include <cstdint>

#include "image/Image.h"
#include "image/ImageOptions.h"
#include "image/ImageVOQ.h"
#include "platform/Files.h"
#include "platform/Modules.h"

namespace PluginLaunch {

inline constexpr const char* kConverterName = "BW-VOQ-Orvik";
inline constexpr const char* kBaseTempFileName = "base.tga";

// Buffer sizes in characters, the terminator included.
inline constexpr int32_t kConverterPathSize = 4096;  // FindConverter
inline constexpr int32_t kTempPathSize = 4095;       // MakeTempPath, ConvertViaConverter
inline constexpr int32_t kCommandLineSize = 32767;   // BuildCommandLine
inline constexpr int32_t kErrorTextSize = 511;       // g_errorText
// The converter's path and its options, before the "-m", "-i" and "-o" parts.
inline constexpr int32_t kMaxOptionsLength = 510;

// Why the last conversion failed (g_lastConvertError); GetErrorMessage gives the text.
enum class ConvertError : int32_t {
    None = 0,
    SystemError = 1,         // no options (for the preview also: no source or destination image)
    PathNotFound = 2,        // no private temporary folder, or no name for the output kind
    CommandNotFound = 3,     // FindConverter found no converter
    CommandFailed = 4,       // the run failed, or another run was in progress
    SaveTempFileFailed = 5,  // "base.tga" could not be written
    LoadTempFileFailed = 6,  // the converted preview file did not load
};

// The converter's output kinds (the extension of its output file).
inline constexpr int32_t kOutputTga = 1;
inline constexpr int32_t kOutputFenk = 2;
inline constexpr int32_t kOutputVoq = 3;

// True while RunConverter waits for the converter; the dialog ignores commands then.
extern std::atomic<bool> g_converterBusy;
// A ConvertError value: None at the start of every conversion, then the step that failed.
extern int32_t g_lastConvertError;
// The text that GetErrorMessage fills.
extern char g_errorText[kErrorTextSize];

// The plug-in module, whose own folder FindConverter searches first. The
// plug-in sets it once when it is loaded (its g_module); null leaves that
// place out of the search.
void SetPluginModule(Platform::ModuleHandle module);

// Looks for an executable regular file "BW-VOQ-Orvik" beside the plug-in
// module, then in the folder $BW_ETCWORKS names, then in the absolute entries
// of PATH, in this order. `path` (kConverterPathSize) receives the first one
// found; null when there is none.
char* FindConverter(char* path);

// The path of the converter's output for these options in the private
// temporary folder (created when missing): the format's name, the colour
// correction's name, for ETC1 and ETC1_A4 the method's name, and the kind's
// extension, e.g. "Etc1VOQ_AVGMediumPerceptual.voq". `path` holds
// kTempPathSize characters. Null when the folder cannot be had, the kind has
// no extension, a value has no name, or the path would not fit.
char* MakeTempPath(char* path, int32_t kind, int32_t format, int32_t etcQuality, int32_t colorCorrection);

// The converter's command line as text, e.g.
//   /opt/bw/BW-VOQ-Orvik -c rle -f Rgb8 -n  -i "/tmp/base.tga" -o "/tmp/Rgb8NONE.fenk"
// with "-e" for ETC1 and ETC1_A4 only, "-t" only with a colour correction, and
// "-m LEVELS" (or "-m MAX" for 0 levels) only for GenerateMipMap. The run gets
// the same words as its argument list. `commandLine` holds kCommandLineSize
// characters. Null when a string is null, a value has no name, or the text
// would not fit.
char* BuildCommandLine(char* commandLine, const char* converter, const char* input, const char* output,
                       int32_t format, int32_t etcQuality, int32_t mipMode, int32_t mipLevels,
                       int32_t colorCorrection);

// Runs the converter on `input` and waits for it. The output file is removed
// first; the run succeeds only when the converter exits with 0 and the output
// file exists again. False at once, starting nothing, while another run is in
// progress.
bool RunConverter(const char* converter, const char* input, const char* output, int32_t format,
                  int32_t etcQuality, int32_t mipMode, int32_t mipLevels, int32_t colorCorrection);

// Writes `image` as "base.tga" into the private temporary folder, converts it
// into the output of `kind` (kOutputTga, kOutputFenk, kOutputVoq) with the
// options, and gives the output's path in `outputPath` (kTempPathSize). Null on
// failure, with g_lastConvertError naming the step that failed.
char* ConvertViaConverter(char* outputPath, int32_t kind, const ImageLib::CImage* image,
                          const ImageLib::ImageOptions* options);

// Loads into `destination` the VOQ file that the options turn `source` into.
// A file of the same format, colour correction and method already in the
// temporary folder is reused when it holds enough mip levels; otherwise the
// converter runs. False on failure, with g_lastConvertError set.
bool ConvertPreview(const ImageLib::CImage* source, ImageLib::CImageVOQ* destination,
                    const ImageLib::ImageOptions* options);

// Removes the regular files of the private temporary folder whose names do not
// start with "." (links are left alone, never followed), then the folder when
// it is empty.
void CleanupTempFolder();

// g_errorText holding the text of g_lastConvertError; empty for None and unknown values.
const char* GetErrorMessage();

// "Fast", "Medium", "Slow", "FastPerceptual", "MediumPerceptual", "SlowPerceptual"
// by EtcQuality; null for any other value.
using ImageLib::GetEtcQualityName;

// Opens an existing file for reading: a null handle for a null path, an
// invalid one when it does not open.
Platform::FileHandle OpenFileForRead(const char* path);

// Copies the whole source file over the destination from its start and cuts
// the destination to the copied length. False for a null handle, an empty
// source, or when not every byte was read and written.
bool CopyFileToHandle(Platform::FileHandle source, Platform::FileHandle destination);

}  // namespace PluginLaunch
