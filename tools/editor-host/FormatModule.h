// A format module loaded by the host: its property list read and checked, its
// entry found by the name that the list gives for this processor. The module
// stays loaded until the host ends, as an image editor keeps its modules.
#pragma once

#include <memory>
#include <string>

#include "platform/ModuleLoading.h"
#include "plugin/host/FormatHost.h"
#include "tools/editor-host/PropertyListReader.h"

namespace EditorHost {

class FormatModule {
public:
    // Null, with the reason in `error`, when the file does not load, has no
    // property list, is not a format module, or lacks the entry its list names.
    static std::unique_ptr<FormatModule> Load(const std::string& path, std::string& error);
    FormatModule(const FormatModule&) = delete;
    FormatModule& operator=(const FormatModule&) = delete;

    const PropertyMap& Properties() const { return properties_; }
    PluginHost::PluginEntry Entry() const { return entry_; }

private:
    FormatModule() = default;
    Platform::LoadedModule module_ = nullptr;
    PropertyMap properties_;
    PluginHost::PluginEntry entry_ = nullptr;
};

}  // namespace EditorHost
