// TGAFormatPlugin: the selector handlers of the plug-in, the same class in both
// configurations (the configuration picks the file class and the output kind).
#pragma once

#include <cstdint>

#include "plugin/PSFormatPlugin.h"

namespace FormatPlugin {

class TGAFormatPlugin : public PSFormatPlugin {
public:
    int32_t GlobalsSize() override { return static_cast<int32_t>(sizeof(PluginGlobals)); }
    void InitGlobals() override;
    void ReadPrepare() override;
    // Tells the host the file's mode, size, depth, planes and palette.
    void ReadStart() override;
    // Reads the file again, from its start, and hands the host all its pixels.
    void ReadContinue() override;
    // Copies the document and runs the save-options dialog on the globals.
    void OptionsStart() override;
    void EstimateStart() override;
    void WritePrepare() override { ReadPrepare(); }
    // Converts the document through the converter and copies the result into the host's file.
    void WriteStart() override;
};

}  // namespace FormatPlugin
