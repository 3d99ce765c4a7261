#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "LibBase/File.h"
#include "image/XmlReader.h"
#include "support/TestFiles.h"

using namespace ImageLib;

namespace {

struct NodeView {
    XmlNodeType type;
    std::string text;
    int32_t attributeCount;
    bool operator==(const NodeView&) const = default;
};

void PrintTo(const NodeView& node, std::ostream* out) {
    *out << "{" << static_cast<int>(node.type) << ", \"" << node.text << "\", " << node.attributeCount << "}";
}

std::vector<NodeView> Nodes(XmlDocument& document) {
    std::vector<NodeView> nodes;
    for (const XmlNode* node = document.First(); node; node = document.Next()) {
        nodes.push_back({node->type, std::string(node->text), node->attributeCount});
    }
    return nodes;
}

constexpr XmlNodeType kDecl = XmlNodeType::Declaration;
constexpr XmlNodeType kStart = XmlNodeType::StartTag;
constexpr XmlNodeType kEnd = XmlNodeType::EndTag;
constexpr XmlNodeType kText = XmlNodeType::Text;
constexpr XmlNodeType kComment = XmlNodeType::Comment;

TEST(XmlReader, SixNodeDocument) {
    XmlDocument document;
    ASSERT_TRUE(document.ParseXmlDocument("<?xml version=\"1.0\"?><a b=\"1\"><c>x&amp;y</c></a>"));
    std::vector<NodeView> expected = {{kDecl, "xml", 1}, {kStart, "a", 1}, {kStart, "c", 0},
                                      {kText, "x&y", 0}, {kEnd, "c", 0},   {kEnd, "a", 0}};
    // A successful parse leaves the walk at the first node.
    ASSERT_NE(document.current, nullptr);
    EXPECT_EQ(document.current->GetAttribute("version"), "1.0");
    EXPECT_EQ(Nodes(document), expected);
    EXPECT_EQ(document.current, nullptr);
    EXPECT_EQ(document.First()->GetAttribute("version"), "1.0");
    EXPECT_EQ(document.Next()->GetAttribute("b"), "1");
}

struct ParseCase {
    const char* name;
    std::string text;
    bool parsed;
    std::vector<NodeView> nodes;
};

void PrintTo(const ParseCase& c, std::ostream* out) { *out << c.name; }

class XmlParseTable : public testing::TestWithParam<ParseCase> {};

TEST_P(XmlParseTable, GivesTheNodes) {
    const ParseCase& c = GetParam();
    XmlDocument document;
    EXPECT_EQ(document.ParseXmlDocument(c.text), c.parsed);
    EXPECT_EQ(Nodes(document), c.nodes);
}

INSTANTIATE_TEST_SUITE_P(
    XmlReader, XmlParseTable,
    testing::Values(
        ParseCase{"TabsAndLineEndsBetweenTagsMakeNoNodes", "<a>\t\r\n<b/>\n</a>", true,
                  {{kStart, "a", 0}, {kStart, "b/", 0}, {kEnd, "a", 0}}},
        ParseCase{"SpaceBetweenTagsIsATextNode", "<a> <b /></a>", true,
                  {{kStart, "a", 0}, {kText, " ", 0}, {kStart, "b", 0}, {kEnd, "a", 0}}},
        ParseCase{"TextLosesTabsAndTrailingLineEnds", "\tA\tB\r\n\r\n<a>", true, {{kText, "AB", 0}, {kStart, "a", 0}}},
        ParseCase{"LoneTrailingCarriageReturnStays", "A\r\n\r<a>", true, {{kText, "A\r\n\r", 0}, {kStart, "a", 0}}},
        ParseCase{"TextRunsToTheEnd", "<a>x y", true, {{kStart, "a", 0}, {kText, "x y", 0}}},
        ParseCase{"CommentKeepsItsText", "<!-- x -->", true, {{kComment, " x ", 0}}},
        ParseCase{"CommentDecodesEntitiesButKeepsTabs", "<!--\t&lt;-->", true, {{kComment, "\t<", 0}}},
        ParseCase{"UnterminatedCommentIsAnError", "<a><!-- x ->", false, {{kStart, "a", 0}, {kComment, "", 0}}},
        ParseCase{"CdataIsText", "<![CDATA[<b>\t&amp;]]><c>", true, {{kText, "<b>&", 0}, {kStart, "c", 0}}},
        ParseCase{"UnterminatedCdataIsAnError", "<![CDATA[x]>", false, {{kText, "", 0}}},
        ParseCase{"SingleQuotesAreNoQuotes", "<a b='1'>", false, {{kStart, "a", 1}}},
        ParseCase{"DeclarationNeedsQuestionMark", "<?xml a=\"1\">", false, {{kDecl, "xml", 1}}},
        ParseCase{"TagNeedsClosingBracket", "<a b=\"1\" /", false, {{kStart, "a", 1}}},
        ParseCase{"EndTagReadsAttributes", "</a x=\"1\">", true, {{kEnd, "a", 1}}},
        ParseCase{"ByteOrderMarkIsText", "\xEF\xBB\xBF<a>", true, {{kText, "\xEF\xBB\xBF", 0}, {kStart, "a", 0}}},
        ParseCase{"NulEndsTheText", std::string("<a>\0<b>", 7), true, {{kStart, "a", 0}}},
        ParseCase{"EmptyText", "", true, {}}),
    [](const testing::TestParamInfo<ParseCase>& info) { return std::string(info.param.name); });

TEST(XmlReader, AttributesKeepDocumentOrderAndDecodeEntities) {
    XmlNode node;
    std::string text = "<t n=\"&lt;&amp;&gt;\" a/b=\"&quot;&apos;\" n=\"second\" e=\"\">";
    EXPECT_EQ(node.ParseXmlNode(text, 0), text.size());
    ASSERT_EQ(node.attributeCount, 4);
    EXPECT_EQ(node.GetAttribute("n"), "<&>");
    EXPECT_EQ(node.GetAttribute("a/b"), "\"'");
    EXPECT_EQ(node.GetAttribute("e"), "");
    EXPECT_EQ(node.GetAttribute("N"), "");
    std::vector<XmlAttribute> attributes = node.Attributes();
    ASSERT_EQ(attributes.size(), 4u);
    EXPECT_EQ(attributes[2].name, "n");
    EXPECT_EQ(attributes[2].value, "second");
    EXPECT_EQ(attributes[3].name, "e");
    // A later parse forgets the attributes of the earlier one.
    EXPECT_EQ(node.ParseXmlNode(std::string_view("<t>"), 0), 3u);
    EXPECT_EQ(node.attributeCount, 0);
    EXPECT_EQ(node.GetAttribute("n"), "");
}

// A node's text is the document's own bytes unless cleaning had to change it.
TEST(XmlReader, NodesReferToTheDocumentsBytes) {
    std::string text = "<name a=\"1\">plain\r\n</name>";
    XmlNode node;
    EXPECT_EQ(node.ParseXmlNode(text, 0), 12u);
    EXPECT_EQ(node.text.data(), text.data() + 1);
    EXPECT_EQ(node.ParseXmlNode(text, 12), 19u);
    EXPECT_EQ(node.text, "plain");
    EXPECT_EQ(node.text.data(), text.data() + 12);
}

TEST(XmlReader, ParseXmlNodeReturnsThePositionAfterIt) {
    XmlNode node;
    EXPECT_EQ(node.ParseXmlNode("ab<c>", 0), 2u);
    EXPECT_EQ(node.ParseXmlNode("ab<c>", 2), 5u);
    EXPECT_EQ(node.ParseXmlNode("<c", 0), kXmlSyntaxError);
    EXPECT_EQ(SkipXmlWhitespace(" \t\r\nx", 0), 4u);
    EXPECT_EQ(SkipXmlWhitespace("  ", 0), 2u);
}

struct EntityCase {
    std::string text, decoded;
};

void PrintTo(const EntityCase& c, std::ostream* out) { *out << c.text; }

class XmlEntityTable : public testing::TestWithParam<EntityCase> {};

TEST_P(XmlEntityTable, DecodesInOnePass) {
    std::string text = GetParam().text;
    DecodeXmlEntities(text);
    EXPECT_EQ(text, GetParam().decoded);
}

INSTANTIATE_TEST_SUITE_P(XmlReader, XmlEntityTable,
                         testing::Values(EntityCase{"&lt;&gt;&quot;&apos;&amp;", "<>\"'&"},
                                         EntityCase{"&amp;lt;", "&lt;"}, EntityCase{"&amp;amp;", "&amp;"},
                                         EntityCase{"&&lt;lt;", "&<lt;"}, EntityCase{"&#65;&nbsp;&LT;", "&#65;&nbsp;&LT;"},
                                         EntityCase{"a & b", "a & b"}));

TEST(XmlReader, ReplaceAllNeverSearchesAReplacement) {
    std::string text = "aaa";
    ReplaceAll(text, "a", "aa");
    EXPECT_EQ(text, "aaaaaa");
    text = "xyxyx";
    ReplaceAll(text, "xyx", "-");
    EXPECT_EQ(text, "-yx");
}

struct IntCase {
    std::string text;
    int32_t value;
};

void PrintTo(const IntCase& c, std::ostream* out) { *out << c.text; }

class XmlParseIntTable : public testing::TestWithParam<IntCase> {};

TEST_P(XmlParseIntTable, ReadsTheValue) { EXPECT_EQ(ParseInt(GetParam().text), GetParam().value); }

INSTANTIATE_TEST_SUITE_P(XmlReader, XmlParseIntTable,
                         testing::Values(IntCase{"-12", -12}, IntCase{"0x1F", 31}, IntCase{"0X1F", 0},
                                         IntCase{"12px", 12}, IntCase{"", 0}, IntCase{"+0x10", 16},
                                         IntCase{"-0x10", -16}, IntCase{"0xfF", 255}, IntCase{" 5", 0},
                                         IntCase{"-", 0}, IntCase{"1A", 1}, IntCase{"4294967297", 1},
                                         IntCase{"2147483648", INT32_MIN}, IntCase{"0xFFFFFFFF", -1}));

TEST(XmlReader, LoadsFromTheCurrentPositionToTheEnd) {
    TestSupport::TempFolder folder;
    TestSupport::WriteText(folder.File("f.xml"), "<skip><a b=\"1\">x</a>");
    Platform::FileHandle file = Platform::OpenFileForReading(folder.File("f.xml").c_str());
    Platform::SeekFile(file, 6, Platform::SeekOrigin::Begin);
    XmlDocument document;
    EXPECT_TRUE(document.LoadXmlDocument(file));
    Platform::CloseFile(file);
    EXPECT_EQ(Nodes(document), (std::vector<NodeView>{{kStart, "a", 1}, {kText, "x", 0}, {kEnd, "a", 0}}));
}

// A failed checked read ends the run through the base library's assertion, exit code 1.
void LoadAndExpectNoReturn(Platform::FileHandle file) {
    if (std::freopen("/dev/null", "r", stdin) == nullptr) std::abort();  // the prompt reads no key
    XmlDocument document;
    document.LoadXmlDocument(file);
    std::abort();
}

TEST(XmlReaderDeathTest, EmptyRestEndsTheRun) {
    TestSupport::TempFolder folder;
    TestSupport::WriteText(folder.File("f.xml"), "<a>");
    Platform::FileHandle file = Platform::OpenFileForReading(folder.File("f.xml").c_str());
    Platform::SeekFile(file, 0, Platform::SeekOrigin::End);
    EXPECT_EXIT(LoadAndExpectNoReturn(file), testing::ExitedWithCode(1), "");
    Platform::CloseFile(file);
}

TEST(XmlReaderDeathTest, ReadErrorEndsTheRun) {
    TestSupport::TempFolder folder;
    std::string path = folder.File("f.xml");
    // A handle open for writing only: the size is known but every read fails.
    Platform::FileHandle file = Platform::CreateOrTruncateFile(path.c_str());
    int64_t done = 0;
    Platform::WriteToFile(file, "<a>", 3, done);
    Platform::SeekFile(file, 0, Platform::SeekOrigin::Begin);
    EXPECT_EXIT(LoadAndExpectNoReturn(file), testing::ExitedWithCode(1), "");
    Platform::CloseFile(file);
}

// Inside a module loaded by another program, the same failures fail the load instead.
class XmlReaderInAModule : public testing::Test {
protected:
    void SetUp() override { LibBase::SetReadFailureHandling(LibBase::ReadFailure::ReturnZero); }
    void TearDown() override { LibBase::SetReadFailureHandling(LibBase::ReadFailure::EndRun); }
    TestSupport::TempFolder folder;
};

TEST_F(XmlReaderInAModule, EmptyRestFailsTheLoad) {
    TestSupport::WriteText(folder.File("f.xml"), "<a>");
    Platform::FileHandle file = Platform::OpenFileForReading(folder.File("f.xml").c_str());
    Platform::SeekFile(file, 0, Platform::SeekOrigin::End);
    XmlDocument document;
    EXPECT_FALSE(document.LoadXmlDocument(file));
    Platform::CloseFile(file);
}

TEST_F(XmlReaderInAModule, ReadErrorFailsTheLoad) {
    Platform::FileHandle file = Platform::CreateOrTruncateFile(folder.File("f.xml").c_str());
    int64_t done = 0;
    Platform::WriteToFile(file, "<a>", 3, done);
    Platform::SeekFile(file, 0, Platform::SeekOrigin::Begin);
    XmlDocument document;
    EXPECT_FALSE(document.LoadXmlDocument(file));
    Platform::CloseFile(file);
}

}  // namespace
