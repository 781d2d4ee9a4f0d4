#include "framework/resources/XMLParser.h"

#include "framework/core/FileUtil.h"

#include <algorithm>
#include <cctype>

namespace Zorvin {

namespace {

bool IsSpace(int c) { return std::isspace(c) != 0; }

// Control bytes other than whitespace may only appear inside quotes.
bool IsIllegal(int c) { return c <= 32 && !IsSpace(c); }

bool EndsWith(const std::string& s, const char* tail)
{
    size_t n = std::char_traits<char>::length(tail);
    return s.size() >= n && s.compare(s.size() - n, n, tail) == 0;
}

} // namespace

std::string DecodeXMLEntities(const std::string& text)
{
    if (text.find('&') == std::string::npos)
        return text;
    std::string out;
    out.reserve(text.size());
    size_t i = 0;
    while (i < text.size()) {
        char c = text[i];
        if (c != '&') {
            out += c;
            ++i;
            continue;
        }
        // The entity name runs to the next ";". An "&" or whitespace before
        // it means this "&" is plain text (as in "Tom & Jerry; ..."), so the
        // words after it are not swallowed into an unknown entity.
        size_t end = i + 1;
        while (end < text.size() && text[end] != ';' && text[end] != '&'
               && !IsSpace(static_cast<unsigned char>(text[end])))
            ++end;
        if (end >= text.size() || text[end] != ';') {
            out += '&';
            ++i;
            continue;
        }
        std::string name = text.substr(i + 1, end - i - 1);
        if (name == "lt")
            out += '<';
        else if (name == "amp")
            out += '&';
        else if (name == "gt")
            out += '>';
        else if (name == "quot")
            out += '"';
        else if (name == "apos")
            out += '\'';
        else if (name == "nbsp")
            out += ' ';
        else if (name == "cr")
            out += '\n';
        else
            out += '&';
        i = end + 1;
    }
    return out;
}

XMLParser::XMLParser() = default;

XMLParser::~XMLParser() = default;

void XMLParser::Reset()
{
    haveBuffer = false;
    buffer.clear();
    bufferPos = 0;
    pushBack.clear();
    section.clear();
    openElements.clear();
    errorText.clear();
    failed = false;
    lineNumber = 1;
}

bool XMLParser::OpenFile(const std::string& name)
{
    Reset();
    std::string path = name;
    std::replace(path.begin(), path.end(), '\\', '/');
    // Read whole: the files are small, and the shared reader refuses
    // anything that is not a regular file (a folder is not an empty file).
    std::string data;
    if (!FileUtil::ReadFile(path, data)) {
        fileName.clear();
        lineNumber = 0;
        failed = true;
        errorText = "Unable to open file " + name;
        return false;
    }
    fileName = name;
    haveBuffer = true;
    buffer = std::move(data);
    return true;
}

void XMLParser::OpenBuffer(const std::string& name, std::string data)
{
    Reset();
    fileName = name;
    haveBuffer = true;
    buffer = std::move(data);
}

int XMLParser::GetChar()
{
    int c;
    if (!pushBack.empty()) {
        c = static_cast<unsigned char>(pushBack.back());
        pushBack.pop_back();
    } else if (haveBuffer) {
        if (bufferPos >= buffer.size())
            return -1;
        c = static_cast<unsigned char>(buffer[bufferPos++]);
    } else {
        return -1;
    }
    if (c == '\n')
        ++lineNumber;
    return c;
}

bool XMLParser::Fail(const std::string& message)
{
    if (!failed) {
        failed = true;
        errorText = message;
    }
    return false;
}

bool XMLParser::OpenElement(const std::string& name)
{
    // Every node carries a copy of the section, so its length bounds the
    // work per node; without these limits a deeply nested file takes time
    // growing with the square of its size.
    if (openElements.size() >= MaxDepth)
        return Fail("Elements Nested Too Deeply");
    if (section.size() + 1 + name.size() > MaxSectionLength)
        return Fail("Element Path Too Long");
    openElements.emplace_back(name, section.size());
    if (!section.empty())
        section += '/';
    section += name;
    return true;
}

bool XMLParser::CloseElement(const std::string& name)
{
    if (openElements.empty())
        return Fail("Unexpected End");
    const std::string& open = openElements.back().first;
    if (open != name)
        return Fail("End '" + name + "' Doesn't Match Start '" + open + "'");
    section.resize(openElements.back().second);
    openElements.pop_back();
    return true;
}

bool XMLParser::ReadNode(XMLNode& node)
{
    for (;;) {
        node.Clear();
        node.section = section;
        if (failed)
            return false;
        if (!ReadRawNode(node))
            return false;
        if (node.type != XMLNode::TYPE_COMMENT || keepComments)
            return true;
    }
}

bool XMLParser::ReadRawNode(XMLNode& node)
{
    bool inQuote = false;
    // Whitespace seen since the last stored character: a separator inside a
    // start tag, one collapsed space in text and end names.
    bool spacePending = false;

    // Start tag state.
    bool firstAfterOpen = false;
    bool separated = false; // the element name is complete
    std::string name;       // the element name as written
    bool nameSlash = false; // the name ends with an unquoted "/"
    std::string attrName;
    std::string attrValue;
    bool inValue = false;
    bool valueQuoted = false;
    bool attrSlash = false; // the pending attribute ends with an unquoted "/"

    // Instruction state.
    bool inInstructionText = false;
    bool questionPending = false;

    auto storeAttribute = [&]() {
        if (!attrName.empty() && attrName != "/")
            node.SetAttribute(DecodeXMLEntities(attrName), DecodeXMLEntities(attrValue));
        attrName.clear();
        attrValue.clear();
        inValue = false;
        valueQuoted = false;
        attrSlash = false;
    };

    for (;;) {
        int c = GetChar();
        if (c < 0) {
            if (node.type != XMLNode::TYPE_NONE)
                return Fail("Unexpected End of File");
            return false;
        }

        switch (node.type) {
        case XMLNode::TYPE_NONE:
            if (c == '<') {
                node.type = XMLNode::TYPE_START;
                firstAfterOpen = true;
            } else if (c == '>') {
                return Fail("Unexpected '>'");
            } else if (IsSpace(c)) {
                // Whitespace between nodes is not text.
            } else if (IsIllegal(c)) {
                return Fail("Illegal Character");
            } else {
                node.type = XMLNode::TYPE_TEXT;
                if (c == '"')
                    inQuote = true;
                node.value += static_cast<char>(c);
            }
            break;

        case XMLNode::TYPE_START: {
            bool first = firstAfterOpen;
            firstAfterOpen = false;
            if (c == '"') {
                inQuote = !inQuote;
            } else if (!inQuote) {
                if (first && c == '/') {
                    node.type = XMLNode::TYPE_END;
                    break;
                }
                if (first && c == '?') {
                    node.type = XMLNode::TYPE_INSTRUCTION;
                    break;
                }
                if (IsSpace(c)) {
                    if (!separated && name == "!--") {
                        node.type = XMLNode::TYPE_COMMENT;
                        break;
                    }
                    separated = true;
                    spacePending = true;
                    break;
                }
                if (c == '<')
                    return Fail("Unexpected '<'");
                if (IsIllegal(c))
                    return Fail("Illegal Character");
                if (c == '>') {
                    // A "/" closing the tag may end the last attribute's
                    // value, stand alone as "/", or end a bare name.
                    bool selfClosing = false;
                    if (attrName == "/" && !inValue && attrSlash) {
                        selfClosing = true;
                    } else if (!attrName.empty() && attrSlash) {
                        (inValue ? attrValue : attrName).pop_back();
                        selfClosing = true;
                    } else if (attrName.empty() && !inValue && node.attributes.empty() && nameSlash) {
                        name.pop_back();
                        selfClosing = true;
                    }
                    storeAttribute();
                    if (selfClosing) {
                        // The next node read is the matching end tag.
                        PushBack('>');
                        for (auto it = name.rbegin(); it != name.rend(); ++it)
                            PushBack(*it);
                        PushBack('/');
                        PushBack('<');
                    }
                    if (!OpenElement(name))
                        return false;
                    node.value = DecodeXMLEntities(name);
                    return true;
                }
            }
            if (c == '"' && !separated)
                break; // quotes are not part of names
            if (!separated) {
                name += static_cast<char>(c);
                nameSlash = (c == '/' && !inQuote);
                break;
            }
            if (spacePending) {
                spacePending = false;
                bool next = inValue ? (!attrValue.empty() || valueQuoted) : c != '=';
                if (next)
                    storeAttribute();
            }
            if (c == '"') {
                if (inValue)
                    valueQuoted = true;
                break;
            }
            if (c == '=' && !inValue) {
                inValue = true;
                attrSlash = false;
                break;
            }
            // An "=" inside a value (quoted or not) is kept as part of it.
            (inValue ? attrValue : attrName) += static_cast<char>(c);
            attrSlash = (c == '/' && !inQuote);
            break;
        }

        case XMLNode::TYPE_END:
            if (c == '"') {
                inQuote = !inQuote;
                break; // quotes are not part of names
            }
            if (!inQuote) {
                if (IsSpace(c)) {
                    if (!node.value.empty())
                        spacePending = true;
                    break;
                }
                if (c == '<')
                    return Fail("Unexpected '<'");
                if (IsIllegal(c))
                    return Fail("Illegal Character");
                if (c == '>') {
                    if (!CloseElement(node.value))
                        return false;
                    node.value = DecodeXMLEntities(node.value);
                    return true;
                }
            }
            if (spacePending) {
                node.value += ' ';
                spacePending = false;
            }
            node.value += static_cast<char>(c);
            break;

        case XMLNode::TYPE_TEXT:
            if (c == '"') {
                inQuote = !inQuote;
            } else if (!inQuote) {
                if (c == '<') {
                    PushBack('<');
                    node.value = DecodeXMLEntities(node.value);
                    return true;
                }
                if (c == '>')
                    return Fail("Unexpected '>'");
                if (IsSpace(c)) {
                    spacePending = true;
                    break;
                }
                if (IsIllegal(c))
                    return Fail("Illegal Character");
            }
            if (spacePending) {
                node.value += ' ';
                spacePending = false;
            }
            node.value += static_cast<char>(c);
            break;

        case XMLNode::TYPE_INSTRUCTION: {
            // Taken verbatim up to "?>"; quotes have no meaning here.
            if (questionPending) {
                questionPending = false;
                if (c == '>') {
                    node.value = DecodeXMLEntities(node.value);
                    return true;
                }
                (inInstructionText ? node.instruction : node.value) += '?';
            }
            if (c == '?') {
                questionPending = true;
                break;
            }
            if (!inInstructionText && IsSpace(c))
                inInstructionText = true;
            (inInstructionText ? node.instruction : node.value) += static_cast<char>(c);
            break;
        }

        case XMLNode::TYPE_COMMENT:
            // Taken verbatim up to "-->"; quotes have no meaning here, so a
            // stray quote in a comment cannot swallow the rest of the file.
            if (c == '>' && EndsWith(node.instruction, "--")) {
                node.instruction.resize(node.instruction.size() - 2);
                node.value = DecodeXMLEntities(node.instruction);
                return true;
            }
            node.instruction += static_cast<char>(c);
            break;
        }
    }
}

} // namespace Zorvin
