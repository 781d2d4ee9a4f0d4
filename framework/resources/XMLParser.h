#pragma once

// XMLParser: a small pull reader for the game's XML-like text files (the
// resource manifest, the level files and the logo script). The caller opens
// a file and asks for one node at a time; each node carries the path of the
// elements around it. The reader is forgiving where hand-edited files tend
// to be sloppy (no declaration, unquoted attribute values, collapsed
// whitespace) and strict about structure: mismatched tags, stray angle
// brackets and control characters stop it at the first error, which is kept
// with its line number. Whoever reads a file owns the reader; a file is
// read whole into memory when opened.

#include "framework/resources/XMLNode.h"

#include <string>
#include <vector>

namespace Zorvin {

class XMLParser {
public:
    XMLParser();
    XMLParser(const XMLParser&) = delete;
    XMLParser& operator=(const XMLParser&) = delete;
    virtual ~XMLParser();

    // Opens a file for reading and resets the reader. Backslashes in the name
    // are taken as folder separators, so paths written for either platform
    // work. On failure the error is "Unable to open file " + name.
    bool OpenFile(const std::string& name);

    // Reads from bytes in memory as if they were a file called `name`
    // (tests, fuzzing, and data that is already loaded).
    void OpenBuffer(const std::string& name, std::string data);

    // Reads the next node into `node` (which is cleared first). Returns false
    // at the end of the input or on an error; HasFailed() tells them apart.
    // Once failed, the reader stays failed until another file is opened.
    bool ReadNode(XMLNode& node);

    // Limits of sane files; beyond them reading fails with "Elements Nested
    // Too Deeply" or "Element Path Too Long".
    static constexpr size_t MaxDepth = 256;
    static constexpr size_t MaxSectionLength = 4096;

    bool HasFailed() const { return failed; }
    const std::string& GetErrorText() const { return errorText; }
    int GetLineNumber() const { return lineNumber; }
    const std::string& GetFileName() const { return fileName; }

    // Comments are skipped unless this is turned on.
    void SetKeepComments(bool keep) { keepComments = keep; }

private:
    void Reset();
    int GetChar();
    void PushBack(char c) { pushBack.push_back(c); }
    bool Fail(const std::string& message);
    // Reads one node, comments included; false at the end or on an error.
    // Each character goes to the reader of the node kind seen so far.
    bool ReadRawNode(XMLNode& node);
    struct RawNodeState;
    enum class CharResult { More, NodeDone, Failed };
    CharResult FailChar(const std::string& message);
    CharResult StartTagChar(RawNodeState& st, XMLNode& node, int c);
    // False when the element cannot be opened (nested too deeply).
    bool FinishStartTag(RawNodeState& st, XMLNode& node);
    CharResult EndTagChar(RawNodeState& st, XMLNode& node, int c);
    CharResult TextChar(RawNodeState& st, XMLNode& node, int c);
    CharResult InstructionChar(RawNodeState& st, XMLNode& node, int c);
    CharResult CommentChar(XMLNode& node, int c);
    bool OpenElement(const std::string& name);
    bool CloseElement(const std::string& name);

    std::string fileName;
    std::string errorText;
    int lineNumber = 0;
    // The whole input, from the file or from OpenBuffer.
    bool haveBuffer = false;
    std::string buffer;
    size_t bufferPos = 0;
    bool failed = false;
    bool keepComments = false;
    // Characters put back, read before the input; the last pushed comes first.
    std::string pushBack;
    // Slash-separated names of the open elements, outermost first.
    std::string section;
    // For each open element: its name as written and the length of the
    // section before it was appended, so closing restores the section even
    // when a name itself contains a slash.
    std::vector<std::pair<std::string, size_t>> openElements;
};

// Replaces the entities &lt; &amp; &gt; &quot; &apos; &nbsp; &cr; by their
// characters; an entity with any other name becomes a lone "&". An "&" that
// does not start an entity (no ";" before the next whitespace or "&") stays.
std::string DecodeXMLEntities(const std::string& text);

} // namespace Zorvin
