// Running the converter as a child process and judging the run.
#include "platform/Files.h"
#include "platform/Processes.h"
#include "plugin/launch/ConverterCommand.h"
#include "plugin/launch/ConverterLaunch.h"
#include "ui/System.h"

namespace PluginLaunch {

std::atomic<bool> g_converterBusy{false};

bool RunConverter(const char* converter, const char* input, const char* output, int32_t format,
                  int32_t etcQuality, int32_t mipMode, int32_t mipLevels, int32_t colorCorrection) {
    if (g_converterBusy) return false;
    ConverterCommand command;
    if (!MakeConverterCommand(converter, input, output, format, etcQuality, mipMode, mipLevels, colorCorrection,
                              command) ||
        g_converterBusy.exchange(true)) {
        return false;
    }
    // The editor's thread waits for the converter and pumps no messages meanwhile.
    ui::HCURSOR previousCursor = ui::SetCursor(ui::LoadCursor(nullptr, ui::IDC_WAIT));
    // An output left by an earlier run must not pass for this run's result.
    Platform::RemoveFile(output);
    bool converted = !Platform::PathExists(output) &&
                     Platform::RunProgramAndWait(converter, command.words) == 0 && Platform::PathExists(output);
    ui::SetCursor(previousCursor);
    g_converterBusy = false;
    return converted;
}

}  // namespace PluginLaunch
