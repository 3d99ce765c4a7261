// PluginGlobals: the plug-in's state, kept by the host in a handle between calls.
#pragma once

#include <type_traits>

#include "image/Image.h"
#include "image/ImageOptions.h"

namespace FormatPlugin {

struct PluginGlobals {
    // The document image while the save-options dialog runs; read by the dialog alone.
    ImageLib::CImage* image;
    // What the save-options dialog edits and the save uses.
    ImageLib::ImageOptions options;
};

// The host copies the block byte for byte (revertInfo), so it must stay plain.
static_assert(std::is_trivially_copyable_v<PluginGlobals>);

// The state of a first call: no image, RGB8 without mipmaps, MediumPerceptual.
PluginGlobals DefaultGlobals();

// Makes a block copied from another session safe to use: its pointers named
// memory of that session, so they are cleared, and option values outside their
// ranges would index the name tables, so they take their defaults.
void RepairCopiedGlobals(PluginGlobals& globals);

}  // namespace FormatPlugin
