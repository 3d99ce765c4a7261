// Where the converter is looked for: beside the plug-in, in $BW_ETCWORKS, in
// the absolute entries of PATH, and only as an executable regular file.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <climits>
#include <cstdlib>
#include <string>

#include "LaunchWorld.h"
#include "platform/Modules.h"
#include "plugin/launch/ConverterLaunch.h"

using LaunchTests::LaunchWorld;
using TestSupport::TempFolder;

namespace {

void FunctionOfThisProgram() {}

class ConverterSearch : public LaunchWorld {
protected:
    // A stand-in converter in a folder of its own.
    std::string StandIn(const TempFolder& folder) {
        return LaunchTests::WriteStandInConverter(folder.Path(), tools.File("runs.log"), "exit 0");
    }

    // FindConverter's answer, or "" for null.
    static std::string Found() {
        char path[PluginLaunch::kConverterPathSize];
        const char* found = PluginLaunch::FindConverter(path);
        return found != nullptr ? found : "";
    }

    TempFolder named;   // $BW_ETCWORKS
    TempFolder first;   // PATH, first entry
    TempFolder second;  // PATH, second entry
};

// The test program lies in the build's bin folder, beside the real converter.
TEST_F(ConverterSearch, BesideThePluginComesFirst) {
    StandIn(named);
    environment.Set("BW_ETCWORKS", named.Path());
    PluginLaunch::SetPluginModule(Platform::GetModuleOf(reinterpret_cast<const void*>(&FunctionOfThisProgram)));
    char real[PATH_MAX];
    ASSERT_NE(::realpath(BWVOQ_CONVERTER, real), nullptr);
    EXPECT_EQ(Found(), real);
}

TEST_F(ConverterSearch, ThenTheFolderThatBwEtcworksNames) {
    std::string expected = StandIn(named);
    StandIn(first);
    environment.Set("BW_ETCWORKS", named.Path());
    environment.Set("PATH", first.Path());
    EXPECT_EQ(Found(), expected);
}

TEST_F(ConverterSearch, ThenPathInItsOrder) {
    std::string expected = StandIn(first);
    StandIn(second);
    environment.Set("BW_ETCWORKS", named.Path());  // holds no converter
    environment.Set("PATH", "/nonexistent:" + first.Path() + ":" + second.Path());
    EXPECT_EQ(Found(), expected);
}

TEST_F(ConverterSearch, SkipsCandidatesThatCannotRun) {
    std::string plain = StandIn(named);
    ::chmod(plain.c_str(), 0644);
    ::mkdir((first.Path() + "/BW-VOQ-Orvik").c_str(), 0755);
    std::string expected = StandIn(second);
    environment.Set("BW_ETCWORKS", named.Path());
    environment.Set("PATH", first.Path() + ":" + second.Path());
    EXPECT_EQ(Found(), expected);
}

// An empty or relative PATH entry would run whatever lies in the editor's current folder.
TEST_F(ConverterSearch, IgnoresRelativePathEntriesAndAnEmptyVariable) {
    StandIn(first);
    char previous[PATH_MAX];
    ASSERT_NE(::getcwd(previous, sizeof previous), nullptr);
    ASSERT_EQ(::chdir(first.Path().c_str()), 0);
    environment.Set("BW_ETCWORKS", "");
    environment.Set("PATH", ":.:" + std::string("./"));
    std::string found = Found();
    ASSERT_EQ(::chdir(previous), 0);
    EXPECT_EQ(found, "");
}

// A value past 4095 characters is refused whole, not cut to a folder that happens to exist.
TEST_F(ConverterSearch, RefusesAnOverlongBwEtcworks) {
    StandIn(named);
    std::string value = named.Path() + "/";
    environment.Set("BW_ETCWORKS", value);
    EXPECT_NE(Found(), "");
    value.append(4096 - value.size(), '/');
    ASSERT_EQ(value.size(), 4096u);
    environment.Set("BW_ETCWORKS", value);
    EXPECT_EQ(Found(), "");
}

TEST_F(ConverterSearch, NothingAnywhereGivesNull) {
    environment.Set("PATH", std::nullopt);
    EXPECT_EQ(Found(), "");
    EXPECT_EQ(PluginLaunch::FindConverter(nullptr), nullptr);
}

}  // namespace
