// A small reader of XML text: it cuts a text into a flat sequence of nodes in
// document order (declarations, start tags, end tags, text, comments), each
// with its name or text and its attributes. It builds no tree: callers walk the
// sequence. It accepts the subset that FENK files use: name="value" attributes
// in double quotes, the five predefined entities; anything else is read
// permissively by the same rules. Strings are the file's bytes, uninterpreted.
//
// A document keeps one copy of its text and nothing per node: the walk reads
// one node at a time, and a node's text refers to the document's bytes (it has
// its own copy only when tabs, entities or line ends had to go). So a file of
// many tiny tags costs no more memory than a file of one big text.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "image/Image.h"
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
    // Reads name="value" from `position` and returns the position after it.
    size_t ParseXmlAttribute(std::string_view text, size_t position);

    std::string name;
    std::string value;
};

class XmlNode {
public:
    XmlNode() = default;
    // The text may refer to the node itself, so a node stays where it is.
    XmlNode(const XmlNode&) = delete;
    XmlNode& operator=(const XmlNode&) = delete;

    // Reads one node from `position`: returns the position just after it, or
    // kXmlSyntaxError. The node refers to `source`, which must outlive it.
    // Attributes read before an error stay on the node.
    size_t ParseXmlNode(std::string_view source, size_t position);

    // The value of the first attribute named exactly `attributeName`, or an empty string.
    std::string GetAttribute(std::string_view attributeName) const;

    // Every attribute in document order.
    std::vector<XmlAttribute> Attributes() const;

    XmlNodeType type = XmlNodeType::Text;
    std::string_view text;  // the tag name, or the content of text and comments
    int32_t attributeCount = 0;

private:
    // Calls `visit` with each attribute in order until it returns true.
    template <typename Visit>
    void VisitAttributes(Visit visit) const;

    std::string_view attributeText_;  // from the end of the name to the end of the last attribute
    std::string cleaned_;             // the text when cleaning changed it
};

class XmlDocument {
public:
    // Reads the file from its current position to its end and parses it. A read
    // error or an empty rest ends the program through the base library's
    // assertion; false when memory is short or the parse fails.
    bool LoadXmlDocument(Platform::FileHandle file);

    // Takes `text` up to its end or its first NUL byte and checks it node by
    // node. On a syntax error the nodes read so far, the failing one included,
    // can still be walked.
    bool ParseXmlDocument(std::string_view text);

    // Starts the walk: the first node, or null when there is none.
    const XmlNode* First();
    // The node after the current one, or null after the last. The node given
    // before is overwritten.
    const XmlNode* Next();

    void ClearXmlDocument();

    const XmlNode* current = nullptr;  // the walk's node

private:
    bool ParseBuffer();
    std::string_view Text() const;

    ByteBuffer buffer_;
    size_t size_ = 0;
    size_t nodeCount_ = 0;  // nodes the walk gives, a failing one included
    size_t walked_ = 0;
    size_t position_ = 0;
    XmlNode node_;
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
