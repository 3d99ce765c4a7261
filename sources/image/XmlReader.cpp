#include "image/XmlReader.h"

#include <algorithm>

#include "LibBase/File.h"
#include "image/Image.h"

namespace ImageLib {
namespace {

constexpr size_t kEnd = std::string_view::npos;

bool IsXmlSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

// The characters that end the attribute list of a tag.
bool IsTagClose(char c) { return c == '?' || c == '/' || c == '>'; }

// Unlinks a chain one element at a time, so a long list never recurses deeply.
template <typename T>
void DestroyChain(std::unique_ptr<T>& head) {
    while (head) head = std::move(head->next);
}

bool StartsWith(std::string_view text, size_t position, std::string_view prefix) {
    return text.substr(position, prefix.size()) == prefix;
}

// Tabs go, entities are decoded, and every trailing LF or CR LF is dropped (a lone final CR stays).
void CleanText(std::string& text) {
    text.erase(std::remove(text.begin(), text.end(), '\t'), text.end());
    DecodeXmlEntities(text);
    while (!text.empty() && text.back() == '\n') {
        text.pop_back();
        if (!text.empty() && text.back() == '\r') text.pop_back();
    }
}

// The text from `position` up to `terminator`; kXmlSyntaxError when it never comes.
size_t ReadUntil(std::string_view text, size_t position, std::string_view terminator, std::string& content) {
    size_t found = text.find(terminator, position);
    if (found == kEnd) return kXmlSyntaxError;
    content.assign(text.substr(position, found - position));
    return found + terminator.size();
}

}  // namespace

XmlAttribute::~XmlAttribute() { DestroyChain(next); }

size_t XmlAttribute::ParseXmlAttribute(std::string_view text, size_t position) {
    size_t nameEnd = std::min(text.find('=', position), text.size());
    name.assign(text.substr(position, nameEnd - position));
    DecodeXmlEntities(name);
    size_t p = nameEnd;
    if (p < text.size() && text[p] == '=') ++p;
    if (p < text.size() && text[p] == '"') ++p;
    size_t valueEnd = std::min(text.find('"', p), text.size());
    value.assign(text.substr(p, valueEnd - p));
    DecodeXmlEntities(value);
    return valueEnd < text.size() ? valueEnd + 1 : valueEnd;
}

XmlNode::~XmlNode() {
    DestroyChain(next);
    ClearAttributes();
}

void XmlNode::ClearAttributes() {
    DestroyChain(attributes);
    attributeCount = 0;
}

const std::string& XmlNode::GetAttribute(std::string_view attributeName) const {
    static const std::string kEmptyValue;
    for (const XmlAttribute* attribute = attributes.get(); attribute; attribute = attribute->next.get()) {
        if (attribute->name == attributeName) return attribute->value;
    }
    return kEmptyValue;
}

size_t XmlNode::ParseXmlNode(std::string_view text, size_t position) {
    if (position >= text.size() || text[position] != '<') {
        type = XmlNodeType::Text;
        size_t end = std::min(text.find('<', position), text.size());
        this->text.assign(text.substr(position, end - position));
        CleanText(this->text);
        return end;
    }
    if (StartsWith(text, position, "<!--")) {
        type = XmlNodeType::Comment;
        size_t after = ReadUntil(text, position + 4, "-->", this->text);
        DecodeXmlEntities(this->text);
        return after;
    }
    if (StartsWith(text, position, "<![CDATA[")) {
        type = XmlNodeType::Text;
        size_t after = ReadUntil(text, position + 9, "]]>", this->text);
        CleanText(this->text);
        return after;
    }
    size_t p = position + 1;
    type = XmlNodeType::StartTag;
    if (StartsWith(text, position, "<?")) {
        type = XmlNodeType::Declaration;
        ++p;
    } else if (StartsWith(text, position, "</")) {
        type = XmlNodeType::EndTag;
        ++p;
    }

    // "/" does not end a name: "a/>" is the start tag named "a/".
    size_t nameEnd = std::min(text.find_first_of("> \t\r\n", p), text.size());
    this->text.assign(text.substr(p, nameEnd - p));
    DecodeXmlEntities(this->text);

    XmlAttribute* last = nullptr;
    for (p = SkipXmlWhitespace(text, nameEnd); p < text.size() && !IsTagClose(text[p]);
         p = SkipXmlWhitespace(text, p)) {
        auto attribute = std::make_unique<XmlAttribute>();
        p = attribute->ParseXmlAttribute(text, p);
        std::unique_ptr<XmlAttribute>& slot = last ? last->next : attributes;
        slot = std::move(attribute);
        last = slot.get();
        ++attributeCount;
    }
    if (type == XmlNodeType::Declaration) {
        if (p >= text.size() || text[p] != '?') return kXmlSyntaxError;
        ++p;
    }
    if (p < text.size() && text[p] == '/') ++p;
    if (p >= text.size() || text[p] != '>') return kXmlSyntaxError;
    return p + 1;
}

size_t SkipXmlWhitespace(std::string_view text, size_t position) {
    while (position < text.size() && IsXmlSpace(text[position])) ++position;
    return position;
}

void XmlDocument::ClearXmlDocument() {
    DestroyChain(first);
    current = nullptr;
}

bool XmlDocument::ParseXmlDocument(std::string_view text) {
    ClearXmlDocument();
    text = text.substr(0, text.find('\0'));
    XmlNode* last = nullptr;
    size_t position = 0;
    while (true) {
        // Spaces are not skipped here: a space between nodes begins a text node.
        position = std::min(text.find_first_not_of("\t\r\n", position), text.size());
        if (position == text.size()) break;
        std::unique_ptr<XmlNode>& slot = last ? last->next : first;
        slot = std::make_unique<XmlNode>();
        last = slot.get();
        position = last->ParseXmlNode(text, position);
        if (position == kXmlSyntaxError) return false;
    }
    current = first.get();
    return true;
}

bool XmlDocument::LoadXmlDocument(Platform::FileHandle file) {
    LibBase::CFileHandle reader(file);
    int64_t rest = static_cast<int64_t>(reader.GetSize()) - Platform::SeekFile(file, 0, Platform::SeekOrigin::Current);
    // One byte more for the terminator. An empty rest still goes to the checked
    // read, whose assertion ends the run.
    ByteBuffer buffer = AllocateBytes(std::max<int64_t>(rest, 0) + 1);
    if (!buffer) return false;
    int32_t count = reader.Read(buffer.get(), rest > 0 ? static_cast<int32_t>(rest) : 0);
    buffer[count] = 0;
    return ParseXmlDocument(std::string_view(reinterpret_cast<const char*>(buffer.get()), static_cast<size_t>(count)));
}

}  // namespace ImageLib
