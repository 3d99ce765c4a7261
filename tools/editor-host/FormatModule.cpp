#include "tools/editor-host/FormatModule.h"

namespace EditorHost {

using namespace PluginHost;

std::unique_ptr<FormatModule> FormatModule::Load(const std::string& path, std::string& error) {
    std::unique_ptr<FormatModule> loaded(new FormatModule);
    loaded->module_ = Platform::LoadModule(path.c_str(), error);
    if (loaded->module_ == nullptr) return nullptr;
    const void* list = Platform::FindModuleSymbol(loaded->module_, kPropertyListSymbol);
    std::optional<PropertyMap> properties = ReadPropertyList(static_cast<const uint8_t*>(list));
    if (!properties) {
        error = "no property list";
        return nullptr;
    }
    loaded->properties_ = std::move(*properties);
    const auto kind = loaded->properties_.find(kKindProperty);
    if (kind == loaded->properties_.end() || PropertyU32(kind->second, 0) != kFormatModuleKind) {
        error = "not a format module";
        return nullptr;
    }
    const auto code = loaded->properties_.find(kCode64Property);
    const std::string entryName = code != loaded->properties_.end() ? PropertyEndedText(code->second) : "";
    loaded->entry_ = reinterpret_cast<PluginEntry>(Platform::FindModuleSymbol(loaded->module_, entryName.c_str()));
    if (entryName.empty() || loaded->entry_ == nullptr) {
        error = "no entry for this processor";
        return nullptr;
    }
    return loaded;
}

}  // namespace EditorHost
