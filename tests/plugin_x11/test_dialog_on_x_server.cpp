// The save-options dialog on the X server, for a person: xdotool clicks the
// "ETC1" radio button and OK, and the server shows what the memory display shows.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <future>
#include <string>
#include <thread>
#include <vector>

#include "image/Image.h"
#include "image/ImageFiles.h"
#include "plugin_e2e/HostWorld.h"
#include "support/ConverterRun.h"
#include "ui/Dialogs.h"
#include "ui/x11/probe/X11Probe.h"

namespace HostTests {
namespace {

using namespace std::chrono_literals;
using ui::x11probe::Pixels;
using ui::x11probe::X11Probe;

constexpr const char* kTitle = "BW_TGA Save Options";

// The centre of a control of the template, in the dialog's client area.
ui::POINT ControlCentre(short x, short y, short cx, short cy) {
    const ui::RECT r = ui::DialogUnitsToPixels(ui::RECT{x, y, x + cx, y + cy});
    return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

bool Xdotool(const std::vector<std::string>& arguments) {
    return TestSupport::RunProgram("/usr/bin/xdotool", arguments).exitStatus == 0;
}

class DialogOnXServer : public HostWorld {
protected:
    void SetUp() override {
        if (std::getenv("DISPLAY") == nullptr) GTEST_SKIP() << "no X server: DISPLAY is unset";
        ASSERT_TRUE(probe.Connected());
        ImageLib::CImage image;
        ASSERT_TRUE(image.Create(ImageLib::RGB, 64, 64, 0, 0, 0, 0));
        for (int32_t i = 0; i < 64 * 64 * 3; ++i) image.pixels[i] = static_cast<uint8_t>(i * 11 + i / 192);
        ASSERT_TRUE(ImageLib::SaveImage(&image, document.c_str(), nullptr));
    }

    // editor-host saving the document into `saved` on the X server, as a person runs it.
    std::future<TestSupport::ConverterResult> SaveOnServer(const std::string& saved) {
        return std::async(std::launch::async, [this, saved] {
            return TestSupport::RunProgram(BWVOQ_EDITOR_HOST, {kTgaModule, "save", document, saved}, "", "",
                                           {{"XDG_RUNTIME_DIR", runtime.Path()},
                                            {"APPDATA", appData.Path()},
                                            {"BW_ETCWORKS", std::nullopt},
                                            {"BWVOQ_DISPLAY", std::nullopt}});
        });
    }

    uint64_t WaitForDialog() {
        for (int i = 0; i < 300; ++i) {
            if (uint64_t window = probe.FindManaged(kTitle)) return window;
            std::this_thread::sleep_for(50ms);
        }
        return 0;
    }

    // Ends a run whose dialog is still up, so that a failing test does not hang.
    TestSupport::ConverterResult Finish(std::future<TestSupport::ConverterResult>& run) {
        if (run.wait_for(60s) != std::future_status::ready) {
            if (uint64_t window = probe.FindManaged(kTitle)) probe.RequestClose(window);
        }
        return run.get();
    }

    X11Probe probe;
    std::string document = files.File("document.tga");
};

TEST_F(DialogOnXServer, ClicksOnEtc1AndOkSaveAnEtc1Texture) {
    const std::string saved = files.File("saved.tga");
    auto run = SaveOnServer(saved);
    const uint64_t window = WaitForDialog();
    ASSERT_NE(window, 0u) << "no window titled " << kTitle;
    const ui::POINT etc1 = ControlCentre(56, 82, 33, 10);
    const ui::POINT ok = ControlCentre(4, 269, 54, 14);
    const std::string id = std::to_string(window);
    EXPECT_TRUE(Xdotool({"windowactivate", "--sync", id, "mousemove", "--window", id, std::to_string(etc1.x),
                         std::to_string(etc1.y), "click", "1"}));
    EXPECT_TRUE(Xdotool({"mousemove", "--window", id, std::to_string(ok.x), std::to_string(ok.y), "click", "1"}));
    const TestSupport::ConverterResult result = Finish(run);
    ASSERT_EQ(result.exitStatus, 0) << result.output << result.errors;

    const std::string base = LeftBaseFile();
    ASSERT_FALSE(base.empty());
    const std::string expected = files.File("expected.tga");
    const TestSupport::ConverterResult direct = TestSupport::RunConverter(
        {"-c", "rle", "-f", "Etc1", "-e", "MediumPerceptual", "-n", "-i", base, "-o", expected},
        "", "", {{"DISPLAY", std::nullopt}});
    ASSERT_EQ(direct.exitStatus, 0) << direct.output;
    EXPECT_EQ(TestSupport::ReadBytes(saved), TestSupport::ReadBytes(expected));
}

TEST_F(DialogOnXServer, TheServerShowsWhatTheMemoryDisplayShows) {
    const std::string shot = files.File("memory.png");
    const TestSupport::ConverterResult scripted =
        RunHost({kTgaModule, "save", document, files.File("unused.tga"), "--dialog", "shot " + shot + "; cancel"});
    ASSERT_EQ(scripted.exitStatus, 1) << scripted.errors;
    Pixels memory;
    ASSERT_TRUE(ui::x11probe::ReadPng(shot, memory));

    auto run = SaveOnServer(files.File("saved.tga"));
    const uint64_t window = WaitForDialog();
    ASSERT_NE(window, 0u);
    // The server shows the client area; the memory display's picture has the frame around it.
    Pixels server;
    bool same = false;
    for (int i = 0; i < 100 && !same; ++i) {
        std::this_thread::sleep_for(50ms);
        if (!probe.Capture(window, server) || server.width > memory.width || server.height > memory.height) continue;
        const int left = (memory.width - server.width) / 2;
        const int top = memory.height - server.height - left;
        same = true;
        for (int y = 0; y < server.height && same; ++y) {
            for (int x = 0; x < server.width && same; ++x) {
                same = (server.values[y * server.width + x] & 0xFFFFFF) ==
                       (memory.values[(y + top) * memory.width + x + left] & 0xFFFFFF);
            }
        }
    }
    EXPECT_TRUE(same);
    if (!same) ui::x11probe::WritePng(server, files.File("server.png"));
    probe.RequestClose(window);
    EXPECT_EQ(Finish(run).exitStatus, 1);
}

}  // namespace
}  // namespace HostTests
