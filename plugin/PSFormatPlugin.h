// PSFormatPlugin: turns one call of the host into one virtual handler call.
//
// An object lives on the stack for one host call. Main loads the plug-in
// globals from the handle that the host keeps in its data word (creating them
// on the first call), sends the selector to its handler and unlocks the
// globals again. The handlers read and write the host through `record` and
// report through the result word; this class's handlers do nothing.
#pragma once

#include <cstdint>

#include "plugin/PluginGlobals.h"
#include "plugin/host/FormatHost.h"

namespace FormatPlugin {

class PSFormatPlugin {
public:
    PSFormatPlugin() = default;
    PSFormatPlugin(const PSFormatPlugin&) = delete;
    PSFormatPlugin& operator=(const PSFormatPlugin&) = delete;

    // Virtual interface, in slot order.
    virtual ~PSFormatPlugin() = default;
    virtual int32_t GlobalsSize() { return 1; }
    virtual void InitGlobals() {}
    virtual void About(const PluginHost::AboutRecord* aboutRecord);
    virtual void ReadPrepare() {}
    virtual void ReadStart() {}
    virtual void ReadContinue() {}
    virtual void ReadFinish() {}
    virtual void OptionsPrepare() {}
    virtual void OptionsStart() {}
    virtual void OptionsContinue() {}
    virtual void OptionsFinish() {}
    virtual void EstimatePrepare() {}
    virtual void EstimateStart() {}
    virtual void EstimateContinue() {}
    virtual void EstimateFinish() {}
    virtual void WritePrepare() {}
    virtual void WriteStart() {}
    virtual void WriteContinue() {}
    virtual void WriteFinish() {}
    virtual void FilterFile() {}

    void Main(int16_t selector, PluginHost::FormatRecord* hostRecord, intptr_t* data, int16_t* resultWord);
    // Sets `globals` to the locked globals of the handle in the data word, or
    // to a new handle's (stored in the data word); null when none can be had.
    void LoadGlobals(PluginHost::FormatRecord* hostRecord, intptr_t* data);

protected:
    PluginGlobals* globals = nullptr;
    int16_t* result = nullptr;
    PluginHost::FormatRecord* record = nullptr;

private:
    // Fills new globals from the host's revertInfo; false when it holds too few bytes or cannot be locked.
    bool CopyRevertInfo(const PluginHost::HandleProcs& procs, PluginHost::Handle revertInfo);
    void Dispatch(int16_t selector);
};

}  // namespace FormatPlugin
