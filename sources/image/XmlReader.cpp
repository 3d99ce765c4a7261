#include "image/XmlReader.h"

#include <algorithm>

#include "LibBase/File.h"

namespace ImageLib {
namespace {

constexpr size_t kEnd = std::string_view::npos;

bool IsXmlSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

// The characters that end the attribute list of a tag.
bool IsTagClose(char c) { return c == '?' || c == '/' || c == '>'; }

bool StartsWith(std::string_view text, size_t position, std::string_view prefix) {
    return text.substr(position, prefix.size()) == prefix;
}

// The text with its entities decoded: the text itself when it holds none,
// else a decoded copy kept in `storage`.
std::string_view Decoded(std::string_view text, std::string& storage) {
    if (text.find('&') == kEnd) return text;
    storage.assign(text);
    DecodeXmlEntities(storage);
    return storage;
}

// Tabs go, entities are decoded, and every trailing LF or CR LF is dropped (a
// lone final CR stays). Only the first two need a copy.
std::string_view Cleaned(std::string_view text, std::string& storage) {
    if (text.find('\t') != kEnd) {
        storage.assign(text);
        storage.erase(std::remove(storage.begin(), storage.end(), '\t'), storage.end());
        DecodeXmlEntities(storage);
        text = storage;
    } else {
        text = Decoded(text, storage);
    }
    while (!text.empty() && text.back() == '\n') {
        text.remove_suffix(1);
        if (!text.empty() && text.back() == '\r') text.remove_suffix(1);
    }
    return text;
}

// Where one attribute's parts lie in the text.
struct AttributeSpan {
    std::string_view name, value;
    size_t after;  // the position after the attribute
};

// name="value" from `position`: the name runs up to "=" or the end, the value
// from after "=" and one double quote up to the next double quote or the end.
AttributeSpan FindAttribute(std::string_view text, size_t position) {
    size_t nameEnd = std::min(text.find('=', position), text.size());
    size_t p = nameEnd;
    if (p < text.size() && text[p] == '=') ++p;
    if (p < text.size() && text[p] == '"') ++p;
    size_t valueEnd = std::min(text.find('"', p), text.size());
    return {text.substr(position, nameEnd - position), text.substr(p, valueEnd - p),
            valueEnd < text.size() ? valueEnd + 1 : valueEnd};
}

// Calls `visit(start)` with the start of each attribute from `position` on,
// until it returns true; returns where the attribute list ends.
template <typename Visit>
size_t WalkAttributes(std::string_view text, size_t position, Visit visit) {
    for (position = SkipXmlWhitespace(text, position); position < text.size() && !IsTagClose(text[position]);
         position = SkipXmlWhitespace(text, position)) {
        size_t start = position;
        position = FindAttribute(text, start).after;
        if (visit(start)) break;
    }
    return position;
}

}  // namespace

size_t XmlAttribute::ParseXmlAttribute(std::string_view text, size_t position) {
    AttributeSpan span = FindAttribute(text, position);
    name.assign(span.name);
    DecodeXmlEntities(name);
    value.assign(span.value);
    DecodeXmlEntities(value);
    return span.after;
}

template <typename Visit>
void XmlNode::VisitAttributes(Visit visit) const {
    // The attribute text ends where the list ended, so reading it again finds
    // exactly the attributes that the parse counted.
    XmlAttribute attribute;
    WalkAttributes(attributeText_, 0, [&](size_t start) {
        attribute.ParseXmlAttribute(attributeText_, start);
        return visit(attribute);
    });
}

std::string XmlNode::GetAttribute(std::string_view attributeName) const {
    std::string value;
    VisitAttributes([&](XmlAttribute& attribute) {
        if (attribute.name != attributeName) return false;
        value = std::move(attribute.value);
        return true;
    });
    return value;
}

std::vector<XmlAttribute> XmlNode::Attributes() const {
    std::vector<XmlAttribute> attributes;
    VisitAttributes([&](XmlAttribute& attribute) {
        attributes.push_back(attribute);
        return false;
    });
    return attributes;
}

size_t XmlNode::ParseXmlNode(std::string_view source, size_t position) {
    attributeCount = 0;
    attributeText_ = {};
    if (position >= source.size() || source[position] != '<') {
        type = XmlNodeType::Text;
        size_t end = std::min(source.find('<', position), source.size());
        text = Cleaned(source.substr(position, end - position), cleaned_);
        return end;
    }
    bool comment = StartsWith(source, position, "<!--");
    if (comment || StartsWith(source, position, "<![CDATA[")) {
        type = comment ? XmlNodeType::Comment : XmlNodeType::Text;
        std::string_view terminator = comment ? "-->" : "]]>";
        size_t start = position + (comment ? 4 : 9);
        size_t found = source.find(terminator, start);
        std::string_view content = found == kEnd ? std::string_view() : source.substr(start, found - start);
        text = comment ? Decoded(content, cleaned_) : Cleaned(content, cleaned_);
        return found == kEnd ? kXmlSyntaxError : found + terminator.size();
    }
    size_t p = position + 1;
    type = XmlNodeType::StartTag;
    if (StartsWith(source, position, "<?")) {
        type = XmlNodeType::Declaration;
        ++p;
    } else if (StartsWith(source, position, "</")) {
        type = XmlNodeType::EndTag;
        ++p;
    }

    // "/" does not end a name: "a/>" is the start tag named "a/".
    size_t nameEnd = std::min(source.find_first_of("> \t\r\n", p), source.size());
    text = Decoded(source.substr(p, nameEnd - p), cleaned_);
    p = WalkAttributes(source, nameEnd, [this](size_t) {
        ++attributeCount;
        return false;
    });
    attributeText_ = source.substr(nameEnd, p - nameEnd);
    if (type == XmlNodeType::Declaration) {
        if (p >= source.size() || source[p] != '?') return kXmlSyntaxError;
        ++p;
    }
    if (p < source.size() && source[p] == '/') ++p;
    if (p >= source.size() || source[p] != '>') return kXmlSyntaxError;
    return p + 1;
}

size_t SkipXmlWhitespace(std::string_view text, size_t position) {
    while (position < text.size() && IsXmlSpace(text[position])) ++position;
    return position;
}

void XmlDocument::ClearXmlDocument() {
    buffer_.reset();
    size_ = nodeCount_ = walked_ = position_ = 0;
    current = nullptr;
}

std::string_view XmlDocument::Text() const {
    return std::string_view(reinterpret_cast<const char*>(buffer_.get()), size_);
}

const XmlNode* XmlDocument::First() {
    walked_ = position_ = 0;
    return Next();
}

const XmlNode* XmlDocument::Next() {
    current = nullptr;
    if (walked_ >= nodeCount_) return nullptr;
    // Spaces are not skipped here: a space between nodes begins a text node.
    position_ = Text().find_first_not_of("\t\r\n", position_);
    position_ = node_.ParseXmlNode(Text(), position_);
    ++walked_;
    current = &node_;
    return current;
}

bool XmlDocument::ParseBuffer() {
    // Every node is read once to count them and find a syntax error; nothing is kept.
    std::string_view text = Text();
    size_t position = 0;
    while (true) {
        position = std::min(text.find_first_not_of("\t\r\n", position), text.size());
        if (position == text.size()) break;
        ++nodeCount_;
        position = node_.ParseXmlNode(text, position);
        if (position == kXmlSyntaxError) return false;
    }
    First();
    return true;
}

bool XmlDocument::ParseXmlDocument(std::string_view text) {
    ClearXmlDocument();
    text = text.substr(0, text.find('\0'));
    buffer_ = AllocateBytes(static_cast<int64_t>(text.size()));
    if (!buffer_ && !text.empty()) return false;
    std::copy(text.begin(), text.end(), reinterpret_cast<char*>(buffer_.get()));
    size_ = text.size();
    return ParseBuffer();
}

bool XmlDocument::LoadXmlDocument(Platform::FileHandle file) {
    ClearXmlDocument();
    LibBase::CFileHandle reader(file);
    int64_t rest = static_cast<int64_t>(reader.GetSize()) - Platform::SeekFile(file, 0, Platform::SeekOrigin::Current);
    // An empty rest still goes to the checked read, whose assertion ends the run
    // (unless read failures return).
    buffer_ = AllocateBytes(std::max<int64_t>(rest, 1));
    if (!buffer_) return false;
    int32_t count = reader.Read(buffer_.get(), rest > 0 ? static_cast<int32_t>(rest) : 0);
    if (count < 1) return false;  // only when read failures return instead of ending the run
    size_ = std::string_view(reinterpret_cast<const char*>(buffer_.get()), static_cast<size_t>(count)).find('\0');
    if (size_ == kEnd) size_ = static_cast<size_t>(count);
    return ParseBuffer();
}

}  // namespace ImageLib
