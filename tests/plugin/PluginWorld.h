// The in-process plug-in tests' world: the plug-in's code (TGA configuration)
// driven through the editor-host's session, with a private temporary folder,
// an empty ETC1 cache folder and the built converter found beside the tests.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "plugin/PluginGlobals.h"
#include "plugin/host/FormatHost.h"
#include "support/ScopedEnvironment.h"
#include "support/TestFiles.h"
#include "tools/editor-host/Document.h"
#include "tools/editor-host/HostSession.h"

namespace PluginTests {

// PluginMain of the plug-in's code linked into the tests.
void CallPlugin(int16_t selector, PluginHost::FormatRecord* record, intptr_t* data, int16_t* result);

class PluginWorld : public testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // The globals in the session's data word, locked for the moment of the read.
    FormatPlugin::PluginGlobals GlobalsOf(EditorHost::HostSession& session);
    void SetOptions(EditorHost::HostSession& session, const ImageLib::ImageOptions& options);

    TestSupport::TempFolder runtime;  // $XDG_RUNTIME_DIR: the converter's temporary files
    TestSupport::TempFolder appData;  // $APPDATA: an empty ETC1 cache folder
    TestSupport::TempFolder files;    // the tests' own files
    TestSupport::ScopedEnvironment environment;
};

// A document of `mode` and size whose every channel holds a pattern of its own.
EditorHost::Document PatternDocument(int16_t mode, int32_t width, int32_t height, int32_t alphaCount);

}  // namespace PluginTests
