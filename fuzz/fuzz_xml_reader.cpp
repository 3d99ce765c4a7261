// Parses any bytes as a buffer and, through LoadXmlDocument, as a file; both
// must give the same nodes, whose attributes are then read.
#include <string>
#include <string_view>
#include <vector>

#include "FuzzFile.h"
#include "image/XmlReader.h"

namespace {

struct NodeText {
    ImageLib::XmlNodeType type;
    std::string text;
    int32_t attributeCount;
    bool operator==(const NodeText&) const = default;
};

// Every node of the document; every attribute is looked up by its name.
std::vector<NodeText> Walk(ImageLib::XmlDocument& document) {
    std::vector<NodeText> nodes;
    uint32_t sum = 0;
    for (const ImageLib::XmlNode* node = document.First(); node; node = document.Next()) {
        nodes.push_back({node->type, std::string(node->text), node->attributeCount});
        std::vector<ImageLib::XmlAttribute> attributes = node->Attributes();
        if (attributes.size() != static_cast<size_t>(node->attributeCount)) __builtin_trap();
        for (const ImageLib::XmlAttribute& a : attributes) sum += static_cast<uint32_t>(ImageLib::ParseInt(node->GetAttribute(a.name)));
    }
    (void)sum;
    return nodes;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    ImageLib::XmlDocument parsed;
    bool parsedOk = parsed.ParseXmlDocument(std::string_view(reinterpret_cast<const char*>(data), size));
    std::vector<NodeText> parsedNodes = Walk(parsed);

    // An empty file ends the run through the checked read by design: not a finding.
    if (size == 0) return 0;
    Platform::FileHandle file = OpenFuzzInputAsFile(data, size);
    ImageLib::XmlDocument loaded;
    bool loadedOk = loaded.LoadXmlDocument(file);
    Platform::CloseFile(file);
    if (loadedOk != parsedOk || Walk(loaded) != parsedNodes) __builtin_trap();
    return 0;
}
