#include "plugin/PSFormatPlugin.h"

#include <cstring>

#include "plugin/AboutBox.h"

namespace FormatPlugin {

using namespace PluginHost;

void PSFormatPlugin::About(const AboutRecord* aboutRecord) {
    const PlatformData* platformData = aboutRecord != nullptr ? aboutRecord->platformData : nullptr;
    ShowAboutBox(platformData != nullptr ? platformData->hwnd : nullptr);
}

void PSFormatPlugin::Main(int16_t selector, FormatRecord* hostRecord, intptr_t* data, int16_t* resultWord) {
    if (selector == formatSelectorAbout) {
        // The host hands an AboutRecord for this selector alone; no globals are touched.
        About(reinterpret_cast<const AboutRecord*>(hostRecord));
        return;
    }
    result = resultWord;
    record = hostRecord;
    LoadGlobals(hostRecord, data);
    if (globals == nullptr) {
        *result = memFullErr;
        return;
    }
    Dispatch(selector);
    if (*data != 0) record->handleProcs->unlockProc(*data);
}

void PSFormatPlugin::Dispatch(int16_t selector) {
    switch (selector) {
        case formatSelectorReadPrepare: return ReadPrepare();
        case formatSelectorReadStart: return ReadStart();
        case formatSelectorReadContinue: return ReadContinue();
        case formatSelectorReadFinish: return ReadFinish();
        case formatSelectorOptionsPrepare: return OptionsPrepare();
        case formatSelectorOptionsStart: return OptionsStart();
        case formatSelectorOptionsContinue: return OptionsContinue();
        case formatSelectorOptionsFinish: return OptionsFinish();
        case formatSelectorEstimatePrepare: return EstimatePrepare();
        case formatSelectorEstimateStart: return EstimateStart();
        case formatSelectorEstimateContinue: return EstimateContinue();
        case formatSelectorEstimateFinish: return EstimateFinish();
        case formatSelectorWritePrepare: return WritePrepare();
        case formatSelectorWriteStart: return WriteStart();
        case formatSelectorWriteContinue: return WriteContinue();
        case formatSelectorWriteFinish: return WriteFinish();
        case formatSelectorFilterFile: return FilterFile();
        default: *result = formatBadParameters;
    }
}

void PSFormatPlugin::LoadGlobals(FormatRecord* hostRecord, intptr_t* data) {
    globals = nullptr;
    const HandleProcs& procs = *hostRecord->handleProcs;
    if (*data != 0) {
        globals = static_cast<PluginGlobals*>(procs.lockProc(*data, true));
        return;
    }
    Handle handle = procs.newProc(GlobalsSize());
    if (handle == 0) return;
    globals = static_cast<PluginGlobals*>(procs.lockProc(handle, true));
    if (globals == nullptr) {
        procs.disposeProc(handle);
        return;
    }
    if (hostRecord->revertInfo == 0 || !CopyRevertInfo(procs, hostRecord->revertInfo)) InitGlobals();
    *data = handle;
}

bool PSFormatPlugin::CopyRevertInfo(const HandleProcs& procs, Handle revertInfo) {
    // A block shorter than ours would be read past its end.
    if (procs.getSizeProc(revertInfo) < GlobalsSize()) return false;
    const void* saved = procs.lockProc(revertInfo, false);
    if (saved == nullptr) return false;
    std::memcpy(static_cast<void*>(globals), saved, static_cast<size_t>(GlobalsSize()));
    procs.unlockProc(revertInfo);
    if (GlobalsSize() == static_cast<int32_t>(sizeof(PluginGlobals))) RepairCopiedGlobals(*globals);
    return true;
}

}  // namespace FormatPlugin
