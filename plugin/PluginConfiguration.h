// The two configurations of the format plug-in: one source, built once as the
// FENK module and once as the TGA module. They differ only in the values here.
#pragma once

#include <cstdint>

#include "image/ImageFENK.h"
#include "image/ImageTGA.h"
#include "plugin/host/FormatHost.h"
#include "plugin/launch/ConverterLaunch.h"

namespace FormatPlugin {

struct Configuration {
    const char* moduleName;         // the module's file name
    const char* displayName;        // the name the host shows
    uint32_t fileType;              // the host's file type code
    uint32_t extension;             // the extension read and written, as a four-character code
    int32_t outputKind;             // what the converter is asked to write on a save
    const char* saveDialogTitle;
};

#if defined(BWVOQ_PLUGIN_FENK)
inline constexpr Configuration kConfiguration = {
    "BW_FENK.8bi", "BW_FENK", PluginHost::FourCharCode("FENK"), PluginHost::FourCharCode("fenk"),
    PluginLaunch::kOutputFenk, "BW_FENK Save Options",
};
// The image class that reads the host's file and holds the document on a save.
using FileImage = ImageLib::CImageFENK;
#elif defined(BWVOQ_PLUGIN_TGA)
inline constexpr Configuration kConfiguration = {
    "BW_TGA.8bi", "BW_TGA", PluginHost::FourCharCode("TGA "), PluginHost::FourCharCode("tga "),
    PluginLaunch::kOutputTga, "BW_TGA Save Options",
};
using FileImage = ImageLib::CImageTGA;
#else
#error "Build the plug-in with BWVOQ_PLUGIN_FENK or BWVOQ_PLUGIN_TGA defined"
#endif

}  // namespace FormatPlugin
