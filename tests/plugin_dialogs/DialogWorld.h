// The in-process dialog tests' world: the save-options dialog of the plug-in's
// code (TGA configuration) opened modeless on the memory display over a host
// window, with a private temporary folder, an empty ETC1 cache folder and the
// built converter found beside the tests.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "image/Image.h"
#include "plugin/PluginGlobals.h"
#include "plugin/TGAFormatDialog.h"
#include "support/ScopedEnvironment.h"
#include "support/TestFiles.h"
#include "ui/Types.h"

namespace DialogTests {

// A document of the layout and size whose bytes follow a pattern.
std::unique_ptr<ImageLib::CImage> PatternImage(int32_t layout, int32_t width, int32_t height);

class DialogWorld : public testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Opens the dialog on `document` with the globals holding `options`.
    void Open(ImageLib::CImage* document, const ImageLib::ImageOptions& options = {});

    // As a person's input: a click on a button, a choice in a drop-down list.
    void Click(int id);
    void Select(int id, int index);
    bool Checked(int id) const;
    bool Enabled(int id) const;
    int Selection(int id) const;
    std::vector<std::string> Entries(int id) const;
    std::string Text(int id) const;
    // A control's rectangle in the dialog's client area.
    ui::RECT PlaceOf(ui::HWND control) const;

    ui::HWND host = nullptr;
    ui::HWND window = nullptr;  // the dialog
    FormatPlugin::PluginGlobals globals{};
    std::unique_ptr<FormatPlugin::TGAFormatDialog> dialog;

    TestSupport::TempFolder runtime;  // $XDG_RUNTIME_DIR: the converter's temporary files
    TestSupport::TempFolder appData;  // $APPDATA: an empty ETC1 cache folder
    TestSupport::ScopedEnvironment environment;
};

}  // namespace DialogTests
