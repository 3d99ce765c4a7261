// The host's own side: the document title it answers with, and the handles it
// keeps and frees for a module.
#include <string>

#include "PluginWorld.h"
#include "tools/editor-host/HostHandles.h"

namespace PluginTests {
namespace {

using namespace PluginHost;

// What a module asking for a property received.
struct PropertyAnswer {
    int16_t result = 0;
    std::string text;
};

PropertyAnswer g_answer;
uint32_t g_askedKey = 0;

// A module that asks for one property of the document on every call.
void AskForProperty(int16_t, FormatRecord* record, intptr_t*, int16_t*) {
    Handle handle = 0;
    intptr_t simple = 0;
    g_answer.result = record->propertyProcs->getPropertyProc(kVendorCode, g_askedKey, 0, &simple, &handle);
    g_answer.text.clear();
    if (handle == 0) return;
    const HandleProcs& procs = *record->handleProcs;
    const char* bytes = static_cast<const char*>(procs.lockProc(handle, false));
    g_answer.text.assign(bytes, static_cast<size_t>(procs.getSizeProc(handle)));
    procs.unlockProc(handle);
    procs.disposeProc(handle);
}

class HostProperties : public PluginWorld {};

TEST_F(HostProperties, TheTitleIsTheDocumentsFileName) {
    EditorHost::HostSession session(AskForProperty, nullptr);
    session.CurrentDocument().title = "castle.tga";
    g_askedKey = kTitleProperty;
    session.Call(formatSelectorOptionsStart);
    EXPECT_EQ(g_answer.result, noErr);
    EXPECT_EQ(g_answer.text, "castle.tga");
    EXPECT_EQ(EditorHost::LiveHandleCount(), 0);
}

TEST_F(HostProperties, OtherPropertiesAreMissing) {
    EditorHost::HostSession session(AskForProperty, nullptr);
    g_askedKey = FourCharCode("mnam");
    session.Call(formatSelectorOptionsStart);
    EXPECT_NE(g_answer.result, noErr);
    EXPECT_TRUE(g_answer.text.empty());
}

TEST_F(HostProperties, TheModulesGlobalsAreFreedWithTheSession) {
    {
        EditorHost::HostSession session(CallPlugin, nullptr);
        ASSERT_EQ(session.Call(formatSelectorReadPrepare), noErr);
        EXPECT_EQ(EditorHost::LiveHandleCount(), 1);
    }
    EXPECT_EQ(EditorHost::LiveHandleCount(), 0);
}

}  // namespace
}  // namespace PluginTests
