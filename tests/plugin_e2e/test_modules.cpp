// The two modules as the host finds them: their property lists, their exports,
// and the host refusing what is not a format module.
#include <string>

#include "HostWorld.h"
#include "platform/ModuleLoading.h"
#include "plugin/host/FormatHost.h"
#include "tools/editor-host/FormatModule.h"

namespace HostTests {
namespace {

using namespace PluginHost;
using namespace EditorHost;

struct ModuleCase {
    const char* name;
    std::string path;
    const char* displayName;
    uint32_t fileType;
    uint32_t extension;
};

void PrintTo(const ModuleCase& c, std::ostream* out) { *out << c.name; }

class Modules : public testing::TestWithParam<ModuleCase> {};

TEST_P(Modules, DescribeThemselvesInTheirPropertyLists) {
    const ModuleCase& c = GetParam();
    std::string error;
    std::unique_ptr<FormatModule> module = FormatModule::Load(c.path, error);
    ASSERT_NE(module, nullptr) << error;
    const PropertyMap& properties = module->Properties();
    EXPECT_EQ(properties.size(), 11u);
    auto data = [&properties](const char (&key)[5]) {
        auto found = properties.find(FourCharCode(key));
        return found != properties.end() ? found->second : std::vector<uint8_t>();
    };
    EXPECT_EQ(PropertyU32(data("kind"), 0), FourCharCode("8BIF"));
    EXPECT_EQ(PropertyLengthLedText(data("name")), c.displayName);
    EXPECT_EQ(PropertyU32(data("vers"), 0), 0x00010000u);
    EXPECT_EQ(PropertyEndedText(data("8664")), "PluginMain");
    EXPECT_EQ(PropertyU32(data("fmTC"), 0), c.fileType);
    EXPECT_EQ(PropertyU32(data("fmTC"), 4), FourCharCode("8BIM"));
    EXPECT_EQ(PropertyU32(data("RdEx"), 0), c.extension);
    EXPECT_EQ(PropertyU32(data("WrEx"), 0), c.extension);
    EXPECT_EQ(PropertyU16(data("mxsz"), 0), 32767);
    EXPECT_EQ(PropertyU16(data("mxsz"), 2), 32767);
    EXPECT_EQ(data("mode").at(0), 0x70);
    EXPECT_EQ(PropertyU32(data("fmtf"), 0), 0x1Eu);
    for (auto [offset, channels] : {std::pair{0, 1}, {2, 24}, {4, 24}, {6, 24}}) {
        EXPECT_EQ(PropertyU16(data("mxch"), offset), channels) << "offset " << offset;
    }
}

TEST_P(Modules, ExportTheHostsEntriesAndNothingOfTheirOwn) {
    std::string error;
    Platform::LoadedModule module = Platform::LoadModule(GetParam().path.c_str(), error);
    ASSERT_NE(module, nullptr) << error;
    for (const char* name : {"PluginMain", "DialogProc", "PIPL"}) {
        EXPECT_NE(Platform::FindModuleSymbol(module, name), nullptr) << name;
    }
    // The plug-in's classes and the libraries linked into it stay inside.
    for (const char* name : {"_ZN12FormatPlugin15g_currentDialogE", "_ZN12PluginLaunch14g_converterBusyE",
                             "_ZN8ImageLib14CreateImageFromFileEPKc", "_ZN7LibBase9FatalExitEPKcz"}) {
        EXPECT_EQ(Platform::FindModuleSymbol(module, name), nullptr) << name;
    }
}

INSTANTIATE_TEST_SUITE_P(Host, Modules,
                         testing::Values(ModuleCase{"Fenk", kFenkModule, "BW_FENK", FourCharCode("FENK"), FourCharCode("fenk")},
                                         ModuleCase{"Tga", kTgaModule, "BW_TGA", FourCharCode("TGA "), FourCharCode("tga ")}),
                         [](const testing::TestParamInfo<ModuleCase>& info) { return info.param.name; });

TEST(ModuleLoading, RefusesASharedObjectWithoutAPropertyList) {
    std::string error;
    EXPECT_EQ(FormatModule::Load(BWVOQ_WINDOWS_LIBRARY, error), nullptr);
    EXPECT_EQ(error, "no property list");
}

TEST(ModuleLoading, RefusesAModuleOfAnotherKind) {
    std::string error;
    EXPECT_EQ(FormatModule::Load(BWVOQ_FILTER_MODULE, error), nullptr);
    EXPECT_EQ(error, "not a format module");
}

TEST(ModuleLoading, RefusesAFileThatIsNoModule) {
    TestSupport::TempFolder folder;
    TestSupport::WriteText(folder.File("fake.8bi"), "not a shared object");
    std::string error;
    EXPECT_EQ(FormatModule::Load(folder.File("fake.8bi"), error), nullptr);
    EXPECT_FALSE(error.empty());
}

class HostCommands : public HostWorld {};

TEST_F(HostCommands, AboutRunsBeforeAnyOtherSelector) {
    // Without a display no box can be shown; on the memory display a script closes it.
    TestSupport::ConverterResult run = RunHost({kTgaModule, "about"});
    EXPECT_EQ(run.exitStatus, 0) << run.errors;
    run = RunHost({kTgaModule, "about", "--dialog", "click 1"}, "memory");
    EXPECT_EQ(run.exitStatus, 0) << run.errors;
}

TEST_F(HostCommands, ABoxThatNobodyCanAnswerIsNotShown) {
    const TestSupport::ConverterResult run = RunHost({kTgaModule, "about"}, "memory");
    EXPECT_EQ(run.exitStatus, 2);
    EXPECT_NE(run.errors.find("nobody can answer the dialog"), std::string::npos) << run.errors;
}

TEST_F(HostCommands, AModuleThatIsNotAFormatModuleIsRefused) {
    const TestSupport::ConverterResult run = RunHost({BWVOQ_WINDOWS_LIBRARY, "about"});
    EXPECT_EQ(run.exitStatus, 2);
    EXPECT_NE(run.errors.find("no property list"), std::string::npos) << run.errors;
}

TEST_F(HostCommands, UnknownArgumentsShowTheUsage) {
    for (const std::vector<std::string>& arguments :
         {std::vector<std::string>{kTgaModule}, {kTgaModule, "print"}, {kTgaModule, "open"},
          {kTgaModule, "save", "a.tga", "b.tga", "--mode", "cmyk"},
          {kTgaModule, "save", "a.tga", "b.tga", "--alpha-channels", "-1"}}) {
        const TestSupport::ConverterResult run = RunHost(arguments);
        EXPECT_EQ(run.exitStatus, 2);
        EXPECT_EQ(run.errors.rfind("usage: editor-host", 0), 0u) << run.errors;
    }
}

}  // namespace
}  // namespace HostTests
