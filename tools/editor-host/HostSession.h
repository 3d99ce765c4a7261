// One document's conversation with a format module: the record, the data word
// and the handles that the host keeps between calls, and the selectors driven
// in the host's order for opening, saving and the About box.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/Files.h"
#include "plugin/host/FormatHost.h"
#include "tools/editor-host/Document.h"

namespace EditorHost {

class HostSession {
public:
    // `entry` is the module's PluginMain; `platformData` is null without a window.
    HostSession(PluginHost::PluginEntry entry, PluginHost::PlatformData* platformData);
    // Disposes the module's globals handle, as a host does when it drops the module.
    ~HostSession();
    HostSession(const HostSession&) = delete;
    HostSession& operator=(const HostSession&) = delete;

    // ReadPrepare to ReadFinish on `file`, titled `title`; fills `document` with what the module
    // reported and transferred. The first non-zero result, or 0.
    int16_t Open(Platform::FileHandle file, const std::string& title, Document& document);

    // The options (unless `runOptions` is false), estimate and write selectors
    // for `document` into `file`. The first non-zero result, or 0.
    int16_t Save(const Document& document, Platform::FileHandle file, bool runOptions);

    void About();

    // One selector with the document's fields refreshed first; its result.
    int16_t Call(int16_t selector);

    PluginHost::FormatRecord& Record() { return record_; }
    intptr_t& DataWord() { return data_; }
    // The document the selectors read and the transfers fill.
    Document& CurrentDocument() { return document_; }

    // What the host tells a module of the document before every call on a save:
    // mode, size, planes, palette, alpha channels and a plane map of its channels.
    void DescribeDocument();

private:
    static int16_t AdvanceState();
    static int16_t GetProperty(uint32_t signature, uint32_t key, int32_t index, intptr_t* simpleProperty,
                               PluginHost::Handle* complexProperty);

    PluginHost::PluginEntry entry_;
    PluginHost::FormatRecord record_;
    PluginHost::PropertyProcs propertyProcs_;
    PluginHost::ReadImageDocumentDesc documentInfo_;
    std::vector<PluginHost::ReadChannelDesc> alphaChannels_;
    Document document_;
    bool saving_ = false;
    intptr_t data_ = 0;
};

}  // namespace EditorHost
