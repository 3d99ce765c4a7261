// The property list as the module builds it and the host reads it.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "plugin/PropertyList.h"
#include "tools/editor-host/PropertyListReader.h"

namespace PluginTests {
namespace {

using namespace PluginHost;

std::vector<uint8_t> BuiltList() {
    const auto bytes = FormatPlugin::BuildPropertyList();
    return std::vector<uint8_t>(bytes.begin(), bytes.end());
}

TEST(PropertyList, StartsWithKindVersionAndCountThenTheKindProperty) {
    const std::vector<uint8_t> list = BuiltList();
    const std::vector<uint8_t> start = {1, 0,  0, 0, 0, 0,  11, 0, 0, 0,  // kind 1, version 0, 11 properties
                                        'M', 'I', 'B', '8', 'd', 'n', 'i', 'k', 0, 0, 0, 0, 4, 0, 0, 0,
                                        'F', 'I', 'B', '8'};
    ASSERT_GE(list.size(), start.size());
    EXPECT_EQ(std::vector<uint8_t>(list.begin(), list.begin() + static_cast<long>(start.size())), start);
}

TEST(PropertyList, NamesAndEntryArePaddedToFourBytes) {
    const std::optional<EditorHost::PropertyMap> properties = EditorHost::ReadPropertyList(BuiltList().data());
    ASSERT_TRUE(properties);
    // "BW_TGA" led by its length: 7 bytes, padded to 8; "PluginMain" and its 0 byte: 11, padded to 12.
    EXPECT_EQ(properties->at(kNameProperty), (std::vector<uint8_t>{6, 'B', 'W', '_', 'T', 'G', 'A', 0}));
    EXPECT_EQ(properties->at(kCode64Property).size(), 12u);
    EXPECT_EQ(EditorHost::PropertyEndedText(properties->at(kCode64Property)), "PluginMain");
}

struct DamageCase {
    const char* name;
    size_t offset;  // where the built list is changed
    std::vector<uint8_t> bytes;
};

void PrintTo(const DamageCase& c, std::ostream* out) { *out << c.name; }

class DamagedLists : public testing::TestWithParam<DamageCase> {};

TEST_P(DamagedLists, AreNoPropertyLists) {
    std::vector<uint8_t> list = BuiltList();
    std::copy(GetParam().bytes.begin(), GetParam().bytes.end(), list.begin() + static_cast<long>(GetParam().offset));
    EXPECT_FALSE(EditorHost::ReadPropertyList(list.data()));
}

// The first property's header starts at byte 10, its data at 26; the second's header at 30.
INSTANTIATE_TEST_SUITE_P(Plugin, DamagedLists,
                         testing::Values(DamageCase{"OtherListKind", 0, {2}}, DamageCase{"OtherVersion", 2, {1}},
                                         DamageCase{"TooManyProperties", 6, {65}},
                                         DamageCase{"OtherVendor", 10, {'X'}}, DamageCase{"LengthNotPadded", 22, {5}},
                                         DamageCase{"LengthTooLong", 24, {1}},
                                         DamageCase{"KeyGivenTwice", 34, {'d', 'n', 'i', 'k'}}),
                         [](const testing::TestParamInfo<DamageCase>& info) { return info.param.name; });

}  // namespace
}  // namespace PluginTests
