// The plug-in's entry: selector dispatch, the globals kept in the host's
// handle, revertInfo, and the result word.
#include <chrono>
#include <cstring>
#include <thread>

#include "PluginWorld.h"
#include "tools/editor-host/HostHandles.h"
#include "ui/MemoryDisplay.h"
#include "ui/WindowSystem.h"

namespace PluginTests {
namespace {

using namespace PluginHost;
using EditorHost::HostHandleProcs;
using EditorHost::HostSession;
using EditorHost::LiveHandleCount;
using EditorHost::LockedHandleCount;

class Globals : public PluginWorld {};

ImageLib::ImageOptions ChosenOptions() {
    ImageLib::ImageOptions options;
    options.format = ImageLib::ETC1_A4;
    options.mipMode = ImageLib::GenerateMipMap;
    options.mipLevels = 4;
    options.etcQuality = ImageLib::Slow;
    options.tgaCompression = 1;
    options.colorCorrection = ImageLib::VOQ_BTM;
    options.showProgress = 1;
    return options;
}

void ExpectOptionsEqual(const ImageLib::ImageOptions& actual, const ImageLib::ImageOptions& expected) {
    EXPECT_EQ(actual.format, expected.format);
    EXPECT_EQ(actual.mipMode, expected.mipMode);
    EXPECT_EQ(actual.mipLevels, expected.mipLevels);
    EXPECT_EQ(actual.etcQuality, expected.etcQuality);
    EXPECT_EQ(actual.etcEncoder, expected.etcEncoder);
    EXPECT_EQ(actual.tgaCompression, expected.tgaCompression);
    EXPECT_EQ(actual.colorCorrection, expected.colorCorrection);
    EXPECT_EQ(actual.showProgress, expected.showProgress);
    EXPECT_EQ(actual.path, expected.path);
    EXPECT_EQ(actual.source, expected.source);
}

TEST_F(Globals, AboutNeedsNoGlobalsAndLeavesTheDataWordAlone) {
    // The About box is modal: a person closes it from outside the host's thread.
    ASSERT_TRUE(ui::UseMemoryDisplay());
    std::thread person([] {
        for (int i = 0; i < 500; ++i) {
            ui::HWND box = ui::memory::FindWindowByCaption("About");
            if (box != nullptr && ui::IsWindowVisible(box) && ui::memory::PressKey(ui::VK_ESCAPE)) return;
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
    });
    HostSession session(CallPlugin, nullptr);
    session.About();
    person.join();
    EXPECT_EQ(session.DataWord(), 0);
    EXPECT_EQ(LiveHandleCount(), 0);
}

TEST_F(Globals, FirstCallCreatesDefaultsAndLaterCallsKeepTheChosenOptions) {
    HostSession session(CallPlugin, nullptr);
    EXPECT_EQ(session.Call(formatSelectorReadPrepare), noErr);
    const Handle handle = session.DataWord();
    ASSERT_NE(handle, 0);
    EXPECT_EQ(HostHandleProcs().getSizeProc(handle), static_cast<int32_t>(sizeof(FormatPlugin::PluginGlobals)));
    EXPECT_EQ(LockedHandleCount(), 0);

    ImageLib::ImageOptions defaults;
    defaults.format = ImageLib::RGB8;
    defaults.etcQuality = ImageLib::MediumPerceptual;
    const FormatPlugin::PluginGlobals first = GlobalsOf(session);
    EXPECT_EQ(first.image, nullptr);
    ExpectOptionsEqual(first.options, defaults);

    SetOptions(session, ChosenOptions());
    EXPECT_EQ(session.Call(formatSelectorEstimatePrepare), noErr);
    EXPECT_EQ(session.DataWord(), handle);
    EXPECT_EQ(LiveHandleCount(), 1);
    EXPECT_EQ(LockedHandleCount(), 0);
    ExpectOptionsEqual(GlobalsOf(session).options, ChosenOptions());
}

TEST_F(Globals, RevertInfoIsCopiedInsteadOfTheDefaults) {
    FormatPlugin::PluginGlobals saved = FormatPlugin::DefaultGlobals();
    saved.options = ChosenOptions();
    HostSession session(CallPlugin, nullptr);
    session.Record().revertInfo = EditorHost::NewHandleWithBytes(&saved, sizeof saved);
    EXPECT_EQ(session.Call(formatSelectorReadPrepare), noErr);
    ExpectOptionsEqual(GlobalsOf(session).options, ChosenOptions());
    EXPECT_EQ(LockedHandleCount(), 0);
}

TEST_F(Globals, RevertInfoFromAnotherSessionLosesItsPointersAndValuesOutOfRange) {
    FormatPlugin::PluginGlobals saved = FormatPlugin::DefaultGlobals();
    static int foreign = 0;
    saved.image = reinterpret_cast<ImageLib::CImage*>(&foreign);
    saved.options = ChosenOptions();
    saved.options.format = 14;           // ETC1_AUTO: no name the converter's command takes
    saved.options.etcQuality = 6;
    saved.options.colorCorrection = -1;
    saved.options.mipLevels = 11;
    saved.options.path = "left over";
    saved.options.source = "left over";
    saved.options.etcEncoder = reinterpret_cast<ImageLib::EtcEncoderFunc>(&foreign);
    HostSession session(CallPlugin, nullptr);
    session.Record().revertInfo = EditorHost::NewHandleWithBytes(&saved, sizeof saved);
    ASSERT_EQ(session.Call(formatSelectorReadPrepare), noErr);

    ImageLib::ImageOptions expected = ChosenOptions();
    expected.format = ImageLib::RGB8;
    expected.etcQuality = ImageLib::MediumPerceptual;
    expected.colorCorrection = ImageLib::NONE;
    expected.mipLevels = 0;
    const FormatPlugin::PluginGlobals globals = GlobalsOf(session);
    EXPECT_EQ(globals.image, nullptr);
    ExpectOptionsEqual(globals.options, expected);
}

TEST_F(Globals, RevertInfoShorterThanTheGlobalsIsNotRead) {
    FormatPlugin::PluginGlobals saved = FormatPlugin::DefaultGlobals();
    saved.options = ChosenOptions();
    HostSession session(CallPlugin, nullptr);
    session.Record().revertInfo = EditorHost::NewHandleWithBytes(&saved, sizeof saved - 1);
    ASSERT_EQ(session.Call(formatSelectorReadPrepare), noErr);
    EXPECT_EQ(GlobalsOf(session).options.format, ImageLib::RGB8);
}

// Handle procedures of the host with one of them failing.
HandleProcs g_failingProcs;
Handle NoHandle(int32_t) { return 0; }
void* NoLock(Handle, bool) { return nullptr; }

struct FailureCase {
    const char* name;
    bool lockFails;  // else the allocation fails
};

void PrintTo(const FailureCase& c, std::ostream* out) { *out << c.name; }

class GlobalsUnavailable : public PluginWorld, public testing::WithParamInterface<FailureCase> {};

TEST_P(GlobalsUnavailable, GiveMemFullAndKeepNoHandle) {
    g_failingProcs = HostHandleProcs();
    if (GetParam().lockFails) g_failingProcs.lockProc = NoLock;
    else g_failingProcs.newProc = NoHandle;
    HostSession session(CallPlugin, nullptr);
    session.Record().handleProcs = &g_failingProcs;
    EXPECT_EQ(session.Call(formatSelectorReadPrepare), memFullErr);
    EXPECT_EQ(session.DataWord(), 0);
    EXPECT_EQ(LiveHandleCount(), 0);  // a handle that could not be locked was disposed
}

INSTANTIATE_TEST_SUITE_P(Plugin, GlobalsUnavailable,
                         testing::Values(FailureCase{"LockFails", true}, FailureCase{"AllocationFails", false}),
                         [](const testing::TestParamInfo<FailureCase>& info) { return info.param.name; });

TEST_F(Globals, UnknownSelectorsAreBadParametersAndStillUnlock) {
    HostSession session(CallPlugin, nullptr);
    for (int16_t selector : {int16_t{18}, int16_t{-1}, int16_t{1000}}) {
        EXPECT_EQ(session.Call(selector), formatBadParameters) << "selector " << selector;
        EXPECT_NE(session.DataWord(), 0);
        EXPECT_EQ(LockedHandleCount(), 0);
    }
}

struct GuardedCase {
    const char* name;
    int16_t selector;
};

void PrintTo(const GuardedCase& c, std::ostream* out) { *out << c.name; }

class NonZeroResultWord : public PluginWorld, public testing::WithParamInterface<GuardedCase> {};

TEST_P(NonZeroResultWord, LeavesRecordAndGlobalsUnchanged) {
    HostSession session(CallPlugin, nullptr);
    ASSERT_EQ(session.Call(formatSelectorReadPrepare), noErr);
    SetOptions(session, ChosenOptions());
    FormatRecord& record = session.Record();
    record.imageMode = plugInModeRGBColor;
    record.imageSize = HostPoint{8, 8};
    record.planes = 3;
    const FormatRecord before = record;

    intptr_t data = session.DataWord();
    int16_t result = -7;
    CallPlugin(GetParam().selector, &record, &data, &result);
    EXPECT_EQ(result, -7);
    EXPECT_EQ(std::memcmp(&before, &record, sizeof record), 0);
    ExpectOptionsEqual(GlobalsOf(session).options, ChosenOptions());
    EXPECT_EQ(LockedHandleCount(), 0);
}

INSTANTIATE_TEST_SUITE_P(Plugin, NonZeroResultWord,
                         testing::Values(GuardedCase{"ReadStart", formatSelectorReadStart},
                                         GuardedCase{"ReadContinue", formatSelectorReadContinue},
                                         GuardedCase{"OptionsStart", formatSelectorOptionsStart},
                                         GuardedCase{"WriteStart", formatSelectorWriteStart}),
                         [](const testing::TestParamInfo<GuardedCase>& info) { return info.param.name; });

TEST_F(Globals, PrepareSelectorsAndTheEstimateWorkWhateverTheResultWordHolds) {
    HostSession session(CallPlugin, nullptr);
    ASSERT_EQ(session.Call(formatSelectorReadPrepare), noErr);
    FormatRecord& record = session.Record();
    intptr_t data = session.DataWord();
    for (int16_t selector : {formatSelectorReadPrepare, formatSelectorWritePrepare}) {
        record.maxData = 12345;
        int16_t result = -7;
        CallPlugin(selector, &record, &data, &result);
        EXPECT_EQ(record.maxData, 0) << "selector " << selector;
    }
    record.imageSize = HostPoint{50, 100};
    int16_t result = -7;
    CallPlugin(formatSelectorEstimateStart, &record, &data, &result);
    EXPECT_EQ(record.maxDataBytes, 15054);
}

}  // namespace
}  // namespace PluginTests
