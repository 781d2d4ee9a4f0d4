#pragma once

// DescParser: reads the small command language of font descriptor files and
// hands each command, as a list of values, to HandleCommand of the class
// that knows the commands (FontData). It owns the table of names given by
// "Define" and turns names into their values when a command asks for a
// value. The first error stops reading; its text names the line and the
// command being read.
//
// The language: "#" as the first non-blank character of a line starts a
// comment; ";" ends a command; blanks, tabs, line feeds and commas separate
// values; single or double quotes enclose strings (a doubled quote inside
// is one quote character, a backslash makes the next character literal);
// "(" and ")" make nested lists. The first value of a command is its name.

#include "framework/font/DataElement.h"

#include <map>
#include <memory>
#include <string>
#include <vector>

namespace Zorvin {

class DescParser {
public:
    DescParser() = default;
    virtual ~DescParser() = default;
    DescParser(const DescParser&) = delete;
    DescParser& operator=(const DescParser&) = delete;

    // Reads a descriptor file; false (with the error text set) on a missing
    // file or the first failing command.
    bool LoadDescriptor(const std::string& fileName);
    // Reads descriptor text already in memory.
    bool LoadDescriptorText(const std::string& text);

    bool HadError() const { return hadError; }
    // The full error report: prefix, message and, when a command was being
    // read, " on Line N:\r\n\r\n" and the command's text.
    const std::string& GetErrorText() const { return errorText; }

    // The defined value of a name, or none.
    const DataElement* FindDefine(const std::string& name) const;
    // A value written out in the descriptor's own notation, lists in
    // parentheses, so callers can show or compare it.
    static std::string DataToString(const DataElement& element);

    // Largest accepted nesting of lists and size of a descriptor; beyond
    // them the text is treated as damaged.
    static constexpr int kMaxListDepth = 64;
    static constexpr size_t kMaxDescriptorBytes = 4u << 20;
    // Largest value (elements counted with their lists) one name or one
    // parameter may stand for, and all definitions together.
    static constexpr size_t kMaxValueElements = 1u << 15;
    static constexpr size_t kMaxDefinedElements = 1u << 20;

protected:
    // Runs one command; `params` holds the command name and its values as
    // written (names not yet looked up). Returns false after calling Error.
    virtual bool HandleCommand(const ListDataElement& params) = 0;

    // Records the first error and returns false, so commands can write
    // "return Error(...)".
    bool Error(const std::string& message);

    // Parameter access for HandleCommand. Each reports its own error.
    // A single value taken as written: names of layers and of new defines.
    bool GetName(const DataElement& element, std::string& out);
    // A copy of the element with every name replaced by its defined value.
    bool Dereference(const DataElement& element, std::unique_ptr<DataElement>& out);
    bool GetString(const DataElement& element, std::string& out);
    bool GetInt(const DataElement& element, int& out);
    bool GetList(const DataElement& element, std::unique_ptr<ListDataElement>& out);
    bool GetStringList(const DataElement& element, std::vector<std::string>& out);
    bool GetIntList(const DataElement& element, std::vector<int>& out);
    // A list of single characters (one-byte strings).
    bool GetCharList(const DataElement& element, std::vector<unsigned char>& out);
    // A list whose every entry is a list of exactly `arity` integers
    // (rectangles: 4, points: 2).
    bool GetIntTupleList(const DataElement& element, size_t arity, std::vector<std::vector<int>>& out);

    bool SetDefine(const std::string& name, std::unique_ptr<DataElement> value);

    // Put before every error message (e.g. which file failed).
    std::string errorPrefix;
    // Folder of the descriptor being read ("" for text), with a trailing
    // separator, for commands that name other files.
    std::string descriptorFolder;

private:
    // The scanner's state, and its handling of one character outside quotes
    // (separators, lists, the ";" that runs a command); false on an error.
    struct ScanState;
    bool ScanPlainChar(ScanState& st, char c);
    bool RunCommand(ListDataElement& command);
    bool Resolve(const DataElement& element, std::unique_ptr<DataElement>& out, int depth, size_t& count);
    static size_t CountElements(const DataElement& element);

    std::map<std::string, std::unique_ptr<DataElement>> defines;
    size_t definedElements = 0;
    bool hadError = false;
    std::string errorText;
    int currentLine = 1;
    std::string currentCommandText;
};

} // namespace Zorvin
