// A small reader of XML text: it cuts a text into a flat list of nodes in
// document order (declarations, start tags, end tags, text, comments), each
// with its name or text and its attributes. It builds no tree: callers walk the
// list. It accepts the subset that FENK files use: name="value" attributes in
// double quotes, the five predefined entities; anything else is read
// permissively by the same rules. Strings are the file's bytes, uninterpreted.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "platform/Files.h"

namespace ImageLib {

enum class XmlNodeType : int32_t {
    Declaration = 0,  // "<?...?>"
    StartTag = 1,     // also an empty-element tag, which has no EndTag
    EndTag = 2,
    Text = 3,  // plain text and CDATA sections
    Comment = 4,
};

// The position ParseXmlNode returns for a syntax error (all bits set).
inline constexpr size_t kXmlSyntaxError = static_cast<size_t>(-1);

struct XmlAttribute {
    XmlAttribute() = default;
    ~XmlAttribute();
    XmlAttribute(const XmlAttribute&) = delete;
    XmlAttribute& operator=(const XmlAttribute&) = delete;

    // Reads name="value" from `position` and returns the position after it.
    size_t ParseXmlAttribute(std::string_view text, size_t position);

    std::unique_ptr<XmlAttribute> next;  // next attribute of the same node
    std::string name;
    std::string value;
};

struct XmlNode {
    XmlNode() = default;
    ~XmlNode();
    XmlNode(const XmlNode&) = delete;
    XmlNode& operator=(const XmlNode&) = delete;

    // Reads one node from `position`: returns the position just after it, or
    // kXmlSyntaxError. Attributes read before an error stay on the node.
    size_t ParseXmlNode(std::string_view text, size_t position);

    // The value of the first attribute named exactly `name`, or an empty string.
    const std::string& GetAttribute(std::string_view attributeName) const;

    void ClearAttributes();

    std::unique_ptr<XmlNode> next;  // next node of the document
    XmlNodeType type = XmlNodeType::Text;
    std::string text;  // the tag name, or the content of text and comments
    std::unique_ptr<XmlAttribute> attributes;
    int32_t attributeCount = 0;
};

class XmlDocument {
public:
    // Reads the file from its current position to its end and parses it. A read
    // error or an empty rest ends the program through the base library's
    // assertion; false when memory is short or the parse fails.
    bool LoadXmlDocument(Platform::FileHandle file);

    // Parses `text` up to its end or its first NUL byte into a new node list.
    // On a syntax error the nodes read so far, the failing one included, stay.
    bool ParseXmlDocument(std::string_view text);

    void ClearXmlDocument();

    std::unique_ptr<XmlNode> first;
    XmlNode* current = nullptr;  // a cursor for callers; `first` after a successful parse
};

// The first position at or after `position` that is no space, tab, CR or LF.
size_t SkipXmlWhitespace(std::string_view text, size_t position);

// Decodes &lt; &gt; &quot; &apos; &amp; in one pass: a decoded character never
// begins another entity. Other references stay as they are.
void DecodeXmlEntities(std::string& text);

// Replaces every `pattern`; the search goes on after each replacement, so a
// replacement is never searched again.
void ReplaceAll(std::string& text, std::string_view pattern, std::string_view replacement);

// An optional sign, an optional "0x", then decimal or hexadecimal digits up to
// the first other character, wrapping modulo 2^32; 0 when there is no digit.
int32_t ParseInt(std::string_view text);

}  // namespace ImageLib
