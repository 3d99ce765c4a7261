#include "ui/Resources.h"

#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <utility>

namespace ui {
namespace {

struct Registry {
    std::mutex lock;
    std::map<std::pair<HINSTANCE, int>, const DialogTemplate*> templates;
    std::map<std::pair<HINSTANCE, std::string>, std::unique_ptr<Icon>> icons;
    HINSTANCE program = nullptr;
};

Registry& Resources() {
    static Registry* registry = new Registry;
    return *registry;
}

}  // namespace

bool RegisterDialogTemplate(HINSTANCE module, int id, const DialogTemplate* dialogTemplate) {
    if (!dialogTemplate) return false;
    Registry& registry = Resources();
    std::lock_guard<std::mutex> guard(registry.lock);
    return registry.templates.emplace(std::make_pair(module, id), dialogTemplate).second;
}

void UnregisterDialogTemplates(HINSTANCE module) {
    Registry& registry = Resources();
    std::lock_guard<std::mutex> guard(registry.lock);
    std::erase_if(registry.templates, [module](const auto& entry) { return entry.first.first == module; });
}

const DialogTemplate* FindDialogTemplate(HINSTANCE module, int id) {
    Registry& registry = Resources();
    std::lock_guard<std::mutex> guard(registry.lock);
    auto found = registry.templates.find(std::make_pair(module, id));
    return found == registry.templates.end() ? nullptr : found->second;
}

bool RegisterIcon(HINSTANCE module, const char* name, std::span<const IconImage> images) {
    if (!name || images.empty()) return false;
    Registry& registry = Resources();
    std::lock_guard<std::mutex> guard(registry.lock);
    auto icon = std::make_unique<Icon>();
    icon->images.assign(images.begin(), images.end());
    return registry.icons.emplace(std::make_pair(module, std::string(name)), std::move(icon)).second;
}

HICON LoadIcon(HINSTANCE module, const char* name) {
    if (!name) return nullptr;
    Registry& registry = Resources();
    std::lock_guard<std::mutex> guard(registry.lock);
    auto found = registry.icons.find(std::make_pair(module, std::string(name)));
    return found == registry.icons.end() ? nullptr : found->second.get();
}

BOOL AfxWinInit(HINSTANCE instance, HINSTANCE, const char*, int) {
    Registry& registry = Resources();
    std::lock_guard<std::mutex> guard(registry.lock);
    registry.program = instance;
    return TRUE;
}

HINSTANCE ProgramModule() {
    Registry& registry = Resources();
    std::lock_guard<std::mutex> guard(registry.lock);
    return registry.program;
}

}  // namespace ui
