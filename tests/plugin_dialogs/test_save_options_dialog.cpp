// The save-options dialog on the memory display, with the real converter behind its preview.
#include <string>
#include <vector>

#include "DialogWorld.h"
#include "plugin/DialogTemplates.h"
#include "ui/WindowSystem.h"

namespace DialogTests {
namespace {

using namespace ImageLib;
using namespace FormatPlugin;

struct ProposalCase {
    const char* name;
    int32_t layout;
    int32_t format;
};

class ProposedFormat : public DialogWorld, public testing::WithParamInterface<ProposalCase> {};

TEST_P(ProposedFormat, FollowsTheDocumentWhateverTheGlobalsHeld) {
    auto document = PatternImage(GetParam().layout, 16, 16);
    ImageOptions options;
    options.format = ETC1;
    Open(document.get(), options);
    EXPECT_EQ(dialog->globals.options.format, GetParam().format);
    for (int id = kFirstFormatRadio; id <= kLastFormatRadio; ++id) {
        EXPECT_EQ(Checked(id), id == kFirstFormatRadio + GetParam().format) << id;
    }
}

INSTANTIATE_TEST_SUITE_P(Dialog, ProposedFormat,
                         testing::Values(ProposalCase{"Grey", L, L8}, ProposalCase{"GreyWithAlpha", LA, LA8},
                                         ProposalCase{"Colour", RGB, RGB8}, ProposalCase{"ColourWithAlpha", RGBA, RGBA8},
                                         ProposalCase{"Indexed", Indexed, RGB8}),
                         [](const testing::TestParamInfo<ProposalCase>& info) { return std::string(info.param.name); });

using SaveOptionsDialog = DialogWorld;

TEST_F(SaveOptionsDialog, LevelListOfA4096SquareDocument) {
    auto document = PatternImage(L, 4096, 4096);
    Open(document.get());
    EXPECT_EQ(Entries(kMipLevelsList),
              (std::vector<std::string>{"ALL", "10", "9", "8", "7", "6", "5", "4", "3", "2"}));
    EXPECT_EQ(Selection(kMipLevelsList), 0);
    Select(kMipLevelsList, 1);
    EXPECT_EQ(dialog->globals.options.mipLevels, 10);
    Select(kMipLevelsList, 9);
    EXPECT_EQ(dialog->globals.options.mipLevels, 2);
    Select(kMipLevelsList, 0);
    EXPECT_EQ(dialog->globals.options.mipLevels, 0);
}

TEST_F(SaveOptionsDialog, LevelListOfSidesThatAreNotPowersOfTwo) {
    auto document = PatternImage(RGB, 100, 64);
    Open(document.get());
    EXPECT_EQ(Entries(kMipLevelsList), std::vector<std::string>{"ALL"});
}

TEST_F(SaveOptionsDialog, ShowsTheStoredLevelCountAndMethod) {
    auto document = PatternImage(RGB, 64, 64);
    ImageOptions options;
    options.mipMode = GenerateMipMap;
    options.mipLevels = 3;
    options.etcQuality = Slow;
    Open(document.get(), options);
    EXPECT_EQ(Entries(kMipLevelsList), (std::vector<std::string>{"ALL", "4", "3", "2"}));
    EXPECT_EQ(Selection(kMipLevelsList), 2);
    EXPECT_TRUE(Checked(kFirstMipModeRadio + GenerateMipMap));
    EXPECT_EQ(Selection(kEtcMethodList), Slow);
    EXPECT_EQ(Entries(kColorCorrectionList), (std::vector<std::string>{"None", "VOQ Top", "VOQ Btm", "VOQ Avg"}));
}

TEST_F(SaveOptionsDialog, FormatsEnableTheListsThatApply) {
    auto document = PatternImage(RGB, 32, 32);
    Open(document.get());
    EXPECT_FALSE(Enabled(kEtcMethodList));
    EXPECT_TRUE(Enabled(kColorCorrectionList));
    Select(kColorCorrectionList, VOQ_BTM);
    EXPECT_EQ(dialog->globals.options.colorCorrection, VOQ_BTM);

    Click(kFirstFormatRadio + HILO8);
    EXPECT_FALSE(Enabled(kColorCorrectionList));
    EXPECT_EQ(dialog->globals.options.colorCorrection, NONE);
    EXPECT_EQ(Selection(kColorCorrectionList), 0);

    Click(kFirstFormatRadio + RGB565);
    EXPECT_TRUE(Enabled(kColorCorrectionList));
    EXPECT_EQ(Selection(kColorCorrectionList), 0);
    EXPECT_FALSE(Enabled(kEtcMethodList));

    Click(kFirstFormatRadio + ETC1);
    EXPECT_TRUE(Enabled(kEtcMethodList));
    EXPECT_EQ(dialog->globals.options.format, ETC1);
}

TEST_F(SaveOptionsDialog, SizeTextFollowsTheChoices) {
    auto document = PatternImage(RGB, 64, 64);
    Open(document.get());
    EXPECT_EQ(Text(kSizeText), "12.0 KB (12288 byte)");
    Click(kFirstFormatRadio + L8);
    EXPECT_EQ(Text(kSizeText), "4.0 KB (4096 byte)");
    Click(kFirstMipModeRadio + GenerateMipMap);
    EXPECT_EQ(Text(kSizeText), "5.3 KB (5440 byte)");
}

TEST_F(SaveOptionsDialog, ZoomStopsAtOneAndSixteen) {
    auto document = PatternImage(RGB, 16, 16);
    Open(document.get());
    EXPECT_EQ(Text(kZoomText), "100 %");
    for (int zoom : {2, 4, 8, 16, 16}) {
        Click(kZoomInButton);
        EXPECT_EQ(dialog->preview.zoom, zoom);
        EXPECT_EQ(Text(kZoomText), std::to_string(zoom * 100) + " %");
    }
    for (int zoom : {8, 4, 2, 1, 1}) {
        Click(kZoomOutButton);
        EXPECT_EQ(dialog->preview.zoom, zoom);
        EXPECT_EQ(Text(kZoomText), std::to_string(zoom * 100) + " %");
    }
}

TEST_F(SaveOptionsDialog, PreviewOffClearsItAndOnRebuildsIt) {
    auto document = PatternImage(RGBA, 64, 64);
    Open(document.get());
    ASSERT_NE(dialog->preview.bitmap, nullptr);
    EXPECT_EQ(dialog->preview.bitmapWidth, 64);
    Click(kPreviewCheck);
    EXPECT_EQ(dialog->preview.bitmap, nullptr);
    EXPECT_EQ(dialog->preview.bitmapWidth, 0);
    // Choices made meanwhile show once the preview is back.
    Click(kFirstMipModeRadio + GenerateMipMap);
    EXPECT_EQ(dialog->preview.bitmap, nullptr);
    Click(kPreviewCheck);
    ASSERT_NE(dialog->preview.bitmap, nullptr);
    EXPECT_EQ(dialog->preview.bitmapWidth, 64 + 32 + 16 + 8);
    EXPECT_EQ(dialog->preview.bitmapHeight, 64);
}

TEST_F(SaveOptionsDialog, ResizingKeepsTheZoomRowNearTheBottomAndGrowsThePreview) {
    auto document = PatternImage(RGB, 32, 32);
    Open(document.get());
    ui::RECT client;
    ui::GetClientRect(window, &client);
    ui::RECT frame;
    ui::GetWindowRect(window, &frame);
    const int width = client.right + 120;
    const int height = client.bottom + 90;
    ui::SetWindowPos(window, nullptr, 0, 0, frame.right - frame.left + 120, frame.bottom - frame.top + 90,
                     ui::SWP_NOMOVE | ui::SWP_NOZORDER);
    struct Expected {
        int id, left, fromBottom;
    };
    for (const Expected& e : {Expected{kShowRgbCheck, 231, 34}, Expected{kShowAlphaCheck, 294, 34},
                              Expected{kZoomOutButton, 360, 31}, Expected{kZoomText, 401, 27},
                              Expected{kZoomInButton, 449, 31}}) {
        const ui::RECT place = PlaceOf(ui::GetDlgItem(window, e.id));
        EXPECT_EQ(place.left, e.left) << e.id;
        EXPECT_EQ(place.top, height - e.fromBottom) << e.id;
    }
    const ui::RECT preview = PlaceOf(dialog->preview.window);
    EXPECT_EQ(preview.left, 220);
    EXPECT_EQ(preview.top, 14);
    EXPECT_EQ(preview.right - preview.left, 256 + 120);
    EXPECT_EQ(preview.bottom - preview.top, 320 + 90);
    EXPECT_EQ(dialog->widthMargin, width - 120 - 256);
}

TEST_F(SaveOptionsDialog, OkAppliesTheChoicesAndLeavesTheRestAsItWas) {
    auto document = PatternImage(RGB, 32, 32);
    ImageOptions options;
    options.tgaCompression = 1;
    Open(document.get(), options);
    Click(kFirstFormatRadio + ETC1_A4);
    Select(kEtcMethodList, FastPerceptual);
    Click(kFirstMipModeRadio + GenerateMipMap);
    PluginGlobals target{};
    dialog->Apply(&target);
    EXPECT_EQ(target.options.format, ETC1_A4);
    EXPECT_EQ(target.options.etcQuality, FastPerceptual);
    EXPECT_EQ(target.options.mipMode, GenerateMipMap);
    EXPECT_EQ(target.options.tgaCompression, 1);
}

// The preview window: a 512 x 512 picture in a window of 256 x 320.
class PreviewWindow : public DialogWorld {
protected:
    void SetUp() override {
        DialogWorld::SetUp();
        document = PatternImage(RGB, 512, 512);
        Open(document.get());
        ASSERT_EQ(dialog->preview.bitmapWidth, 512);
    }
    int Position(int bar) const {
        ui::SCROLLINFO info;
        info.fMask = ui::SIF_POS;
        ui::GetScrollInfo(dialog->preview.window, bar, &info);
        return info.nPos;
    }
    void Scroll(ui::UINT message, ui::WORD request, ui::WORD position = 0) {
        ui::SendMessage(dialog->preview.window, message, ui::MAKEWPARAM(request, position), 0);
    }
    std::unique_ptr<CImage> document;
};

TEST_F(PreviewWindow, ZoomsOnlyFromOneToSixteen) {
    for (int refused : {32, 0, 17, -1}) {
        dialog->preview.SetZoom(refused);
        EXPECT_EQ(dialog->preview.zoom, 1) << refused;
    }
    dialog->preview.SetZoom(16);
    EXPECT_EQ(dialog->preview.zoom, 16);
}

TEST_F(PreviewWindow, PageDownMovesByTheOuterSize) {
    dialog->preview.SetZoom(2);
    Scroll(ui::WM_VSCROLL, ui::SB_THUMBTRACK, 0);
    Scroll(ui::WM_VSCROLL, ui::SB_PAGEDOWN);
    EXPECT_EQ(Position(ui::SB_VERT), 320);
    Scroll(ui::WM_HSCROLL, ui::SB_THUMBTRACK, 10);
    Scroll(ui::WM_HSCROLL, ui::SB_PAGEDOWN);
    EXPECT_EQ(Position(ui::SB_HORZ), 266);
    Scroll(ui::WM_HSCROLL, ui::SB_LINEUP);
    EXPECT_EQ(Position(ui::SB_HORZ), 265);
    Scroll(ui::WM_HSCROLL, ui::SB_PAGEUP);
    EXPECT_EQ(Position(ui::SB_HORZ), 9);
}

TEST_F(PreviewWindow, ThumbTrackingSetsThePosition) {
    Scroll(ui::WM_HSCROLL, ui::SB_THUMBTRACK, 100);
    EXPECT_EQ(Position(ui::SB_HORZ), 100);
    Scroll(ui::WM_HSCROLL, ui::SB_THUMBPOSITION, 200);
    EXPECT_EQ(Position(ui::SB_HORZ), 100);
}

TEST_F(PreviewWindow, ZoomingInKeepsTheCentre) {
    Scroll(ui::WM_HSCROLL, ui::SB_THUMBTRACK, 128);
    // Picture column 128 + 256 / 2 = 256 sits in the middle of the page.
    Click(kZoomInButton);
    const int position = Position(ui::SB_HORZ);
    EXPECT_NEAR((position + 128) / 2.0, 256.0, 1.0) << position;
}

}  // namespace
}  // namespace DialogTests
