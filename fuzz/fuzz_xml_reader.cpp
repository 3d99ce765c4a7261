// Parses any bytes as a buffer and, through LoadXmlDocument, as a file; both
// must give the same nodes, whose attributes are then read.
#include <string_view>

#include "FuzzFile.h"
#include "image/XmlReader.h"

namespace {

bool SameNodes(const ImageLib::XmlNode* a, const ImageLib::XmlNode* b) {
    for (; a && b; a = a->next.get(), b = b->next.get()) {
        if (a->type != b->type || a->text != b->text || a->attributeCount != b->attributeCount) return false;
    }
    return a == b;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    ImageLib::XmlDocument parsed;
    bool parsedOk = parsed.ParseXmlDocument(std::string_view(reinterpret_cast<const char*>(data), size));
    uint32_t sum = 0;
    for (const ImageLib::XmlNode* node = parsed.first.get(); node; node = node->next.get()) {
        for (const ImageLib::XmlAttribute* a = node->attributes.get(); a; a = a->next.get()) {
            sum += static_cast<uint32_t>(ImageLib::ParseInt(node->GetAttribute(a->name)));
        }
    }
    (void)sum;

    // An empty file ends the run through the checked read by design: not a finding.
    if (size == 0) return 0;
    Platform::FileHandle file = OpenFuzzInputAsFile(data, size);
    ImageLib::XmlDocument loaded;
    bool loadedOk = loaded.LoadXmlDocument(file);
    Platform::CloseFile(file);
    if (loadedOk != parsedOk || !SameNodes(parsed.first.get(), loaded.first.get())) __builtin_trap();
    return 0;
}
