// Inputs made to hurt: files that claim more than they hold, files of many
// tiny nodes, and inputs that are no files at all. Memory is judged by the
// child run's peak resident size beside that of a run on a tiny file made
// just before, in the same state of this process.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>

#include "support/ConverterRun.h"
#include "support/TestFiles.h"

using TestSupport::ConverterResult;
using TestSupport::RunConverter;
using TestSupport::TempFolder;

namespace {

constexpr long kKilobytesPerMegabyte = 1024;

// An L8 FENK file with one level element: 88 Base64 characters, 64 zero bytes.
std::string FenkFile(int32_t side, const std::string& extra) {
    return "\xEF\xBB\xBF<x/><ImageTextureVoq Width=\"" + std::to_string(side) + "\" Height=\"" +
           std::to_string(side) + "\" MipmapSize=\"1\" Encoding=\"Base64\" Format=\"L8\"><PixelBasedImageVoq>" +
           std::string(85, 'A') + "A==</PixelBasedImageVoq>" + extra + "</ImageTextureVoq>";
}

class HostileInput : public testing::Test {
protected:
    ConverterResult Convert(const std::string& input, const std::string& output = "out.voq") {
        return RunConverter({"-i", input, "-o", output, "-f", "L8"}, folder.Path());
    }

    // The peak of a run that reads a tiny file and writes its texture.
    long BaselineKilobytes() {
        TestSupport::WriteText(folder.File("tiny.fenk"), FenkFile(8, ""));
        ConverterResult result = Convert("tiny.fenk", "tiny.voq");
        EXPECT_EQ(result.exitStatus, 0) << result.output;
        return result.maxResidentKilobytes;
    }

    TempFolder folder;
};

// 46336 x 46336 L8 would take 2 GB for each of three buffers; the file holds 64 bytes.
TEST_F(HostileInput, FenkClaimingAHugeTextureIsRefusedBeforeAnyAllocation) {
    long baseline = BaselineKilobytes();
    std::string text = FenkFile(46336, "");
    ASSERT_LT(text.size(), 250u);
    TestSupport::WriteText(folder.File("h.fenk"), text);
    ConverterResult result = Convert("h.fenk");
    EXPECT_EQ(result.output, "h.fenk -> out.voq \nnot support (h.fenk)\n");
    EXPECT_EQ(result.exitStatus, 255);
    EXPECT_LT(result.maxResidentKilobytes, baseline + 8 * kKilobytesPerMegabyte);
    EXPECT_FALSE(TestSupport::FileExists(folder.File("out.voq")));
}

// A file of 4 million empty tags: its nodes must not cost more than twice the
// file on top of the file itself.
TEST_F(HostileInput, ManyTinyTagsCostAtMostThreeTimesTheFile) {
    // A child's peak counts this process's own peak before the child starts,
    // so the file is written piece by piece and the baseline measured after it.
    std::string text = FenkFile(8, "<b/>");
    size_t split = text.find("<b/>") + 4;
    std::ofstream out(folder.File("tags.fenk"), std::ios::binary);
    out << text.substr(0, split);
    std::string tags;
    for (int i = 0; i < 1024; ++i) tags += "<b/>";
    for (int i = 0; i < 4 * 1024; ++i) out << tags;
    out << text.substr(split);
    out.close();
    long fileKilobytes = static_cast<long>(std::filesystem::file_size(folder.File("tags.fenk")) / 1024);

    long baseline = BaselineKilobytes();
    ConverterResult result = Convert("tags.fenk");
    ASSERT_EQ(result.exitStatus, 0) << result.output;
    EXPECT_LE(result.maxResidentKilobytes - baseline, 3 * fileKilobytes)
        << "peak " << result.maxResidentKilobytes << " KB, baseline " << baseline << " KB, file " << fileKilobytes
        << " KB";
}

// Opening a named pipe for reading waits for a writer unless it is refused first.
TEST_F(HostileInput, NamedPipeInputIsRefusedAtOnce) {
    ASSERT_EQ(mkfifo(folder.File("f.tga").c_str(), 0666), 0);
    TestSupport::RunningProgram run(BWVOQ_CONVERTER, {"-i", "f.tga", "-o", "o.voq", "-f", "L8"}, folder.Path(), "",
                                    {{"APPDATA", folder.Path()}});
    ASSERT_TRUE(run.WaitForOutput("can not access input file (f.tga) \n", std::chrono::seconds(10)));
    ConverterResult result = run.Wait();
    EXPECT_EQ(result.exitStatus, 2);
    EXPECT_FALSE(TestSupport::FileExists(folder.File("o.voq")));
}

}  // namespace
