// Sections:
//   - character classes and entity decoding
//   - opening a file or buffer, reading characters
//   - elements and nodes
//   - the node scanner: start tags, end tags, text, instructions, comments

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

// What reading one node remembers between its characters.
struct XMLParser::RawNodeState {
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

    void StoreAttribute(XMLNode& node)
    {
        if (!attrName.empty() && attrName != "/")
            node.SetAttribute(DecodeXMLEntities(attrName), DecodeXMLEntities(attrValue));
        attrName.clear();
        attrValue.clear();
        inValue = false;
        valueQuoted = false;
        attrSlash = false;
    }
};

XMLParser::CharResult XMLParser::FailChar(const std::string& message)
{
    Fail(message);
    return CharResult::Failed;
}

bool XMLParser::ReadRawNode(XMLNode& node)
{
    RawNodeState st;
    for (;;) {
        int c = GetChar();
        if (c < 0) {
            if (node.type != XMLNode::TYPE_NONE)
                return Fail("Unexpected End of File");
            return false;
        }

        CharResult r = CharResult::More;
        switch (node.type) {
        case XMLNode::TYPE_NONE:
            if (c == '<') {
                node.type = XMLNode::TYPE_START;
                st.firstAfterOpen = true;
            } else if (c == '>') {
                return Fail("Unexpected '>'");
            } else if (IsSpace(c)) {
                // Whitespace between nodes is not text.
            } else if (IsIllegal(c)) {
                return Fail("Illegal Character");
            } else {
                node.type = XMLNode::TYPE_TEXT;
                if (c == '"')
                    st.inQuote = true;
                node.value += static_cast<char>(c);
            }
            break;
        case XMLNode::TYPE_START:
            r = StartTagChar(st, node, c);
            break;
        case XMLNode::TYPE_END:
            r = EndTagChar(st, node, c);
            break;
        case XMLNode::TYPE_TEXT:
            r = TextChar(st, node, c);
            break;
        case XMLNode::TYPE_INSTRUCTION:
            r = InstructionChar(st, node, c);
            break;
        case XMLNode::TYPE_COMMENT:
            r = CommentChar(node, c);
            break;
        }
        if (r != CharResult::More)
            return r == CharResult::NodeDone;
    }
}

XMLParser::CharResult XMLParser::StartTagChar(RawNodeState& st, XMLNode& node, int c)
{
    bool first = st.firstAfterOpen;
    st.firstAfterOpen = false;
    if (c == '"') {
        st.inQuote = !st.inQuote;
    } else if (!st.inQuote) {
        if (first && c == '/') {
            node.type = XMLNode::TYPE_END;
            return CharResult::More;
        }
        if (first && c == '?') {
            node.type = XMLNode::TYPE_INSTRUCTION;
            return CharResult::More;
        }
        if (IsSpace(c)) {
            if (!st.separated && st.name == "!--") {
                node.type = XMLNode::TYPE_COMMENT;
                return CharResult::More;
            }
            st.separated = true;
            st.spacePending = true;
            return CharResult::More;
        }
        if (c == '<')
            return FailChar("Unexpected '<'");
        if (IsIllegal(c))
            return FailChar("Illegal Character");
        if (c == '>')
            return FinishStartTag(st, node) ? CharResult::NodeDone : CharResult::Failed;
    }
    if (c == '"' && !st.separated)
        return CharResult::More; // quotes are not part of names
    if (!st.separated) {
        st.name += static_cast<char>(c);
        st.nameSlash = (c == '/' && !st.inQuote);
        return CharResult::More;
    }
    if (st.spacePending) {
        st.spacePending = false;
        bool next = st.inValue ? (!st.attrValue.empty() || st.valueQuoted) : c != '=';
        if (next)
            st.StoreAttribute(node);
    }
    if (c == '"') {
        if (st.inValue)
            st.valueQuoted = true;
        return CharResult::More;
    }
    if (c == '=' && !st.inValue) {
        st.inValue = true;
        st.attrSlash = false;
        return CharResult::More;
    }
    // An "=" inside a value (quoted or not) is kept as part of it.
    (st.inValue ? st.attrValue : st.attrName) += static_cast<char>(c);
    st.attrSlash = (c == '/' && !st.inQuote);
    return CharResult::More;
}

bool XMLParser::FinishStartTag(RawNodeState& st, XMLNode& node)
{
    // A "/" closing the tag may end the last attribute's value, stand alone
    // as "/", or end a bare name.
    bool selfClosing = false;
    if (st.attrName == "/" && !st.inValue && st.attrSlash) {
        selfClosing = true;
    } else if (!st.attrName.empty() && st.attrSlash) {
        (st.inValue ? st.attrValue : st.attrName).pop_back();
        selfClosing = true;
    } else if (st.attrName.empty() && !st.inValue && node.attributes.empty() && st.nameSlash) {
        st.name.pop_back();
        selfClosing = true;
    }
    st.StoreAttribute(node);
    if (selfClosing) {
        // The next node read is the matching end tag.
        PushBack('>');
        for (auto it = st.name.rbegin(); it != st.name.rend(); ++it)
            PushBack(*it);
        PushBack('/');
        PushBack('<');
    }
    if (!OpenElement(st.name))
        return false;
    node.value = DecodeXMLEntities(st.name);
    return true;
}

XMLParser::CharResult XMLParser::EndTagChar(RawNodeState& st, XMLNode& node, int c)
{
    if (c == '"') {
        st.inQuote = !st.inQuote;
        return CharResult::More; // quotes are not part of names
    }
    if (!st.inQuote) {
        if (IsSpace(c)) {
            if (!node.value.empty())
                st.spacePending = true;
            return CharResult::More;
        }
        if (c == '<')
            return FailChar("Unexpected '<'");
        if (IsIllegal(c))
            return FailChar("Illegal Character");
        if (c == '>') {
            if (!CloseElement(node.value))
                return CharResult::Failed;
            node.value = DecodeXMLEntities(node.value);
            return CharResult::NodeDone;
        }
    }
    if (st.spacePending) {
        node.value += ' ';
        st.spacePending = false;
    }
    node.value += static_cast<char>(c);
    return CharResult::More;
}

XMLParser::CharResult XMLParser::TextChar(RawNodeState& st, XMLNode& node, int c)
{
    if (c == '"') {
        st.inQuote = !st.inQuote;
    } else if (!st.inQuote) {
        if (c == '<') {
            PushBack('<');
            node.value = DecodeXMLEntities(node.value);
            return CharResult::NodeDone;
        }
        if (c == '>')
            return FailChar("Unexpected '>'");
        if (IsSpace(c)) {
            st.spacePending = true;
            return CharResult::More;
        }
        if (IsIllegal(c))
            return FailChar("Illegal Character");
    }
    if (st.spacePending) {
        node.value += ' ';
        st.spacePending = false;
    }
    node.value += static_cast<char>(c);
    return CharResult::More;
}

XMLParser::CharResult XMLParser::InstructionChar(RawNodeState& st, XMLNode& node, int c)
{
    // Taken verbatim up to "?>"; quotes have no meaning here.
    if (st.questionPending) {
        st.questionPending = false;
        if (c == '>') {
            node.value = DecodeXMLEntities(node.value);
            return CharResult::NodeDone;
        }
        (st.inInstructionText ? node.instruction : node.value) += '?';
    }
    if (c == '?') {
        st.questionPending = true;
        return CharResult::More;
    }
    if (!st.inInstructionText && IsSpace(c))
        st.inInstructionText = true;
    (st.inInstructionText ? node.instruction : node.value) += static_cast<char>(c);
    return CharResult::More;
}

XMLParser::CharResult XMLParser::CommentChar(XMLNode& node, int c)
{
    // Taken verbatim up to "-->"; quotes have no meaning here, so a stray
    // quote in a comment cannot swallow the rest of the file.
    if (c == '>' && EndsWith(node.instruction, "--")) {
        node.instruction.resize(node.instruction.size() - 2);
        node.value = DecodeXMLEntities(node.instruction);
        return CharResult::NodeDone;
    }
    node.instruction += static_cast<char>(c);
    return CharResult::More;
}

} // namespace Zorvin
