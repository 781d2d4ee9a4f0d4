// Sections:
//   - text helpers (case, trimming, integers)
//   - loading a descriptor and reporting errors
//   - scanning the descriptor text
//   - running commands and defines
//   - element conversions (strings, integers, lists, tuples)

#include "framework/font/DescParser.h"

#include "framework/graphics/imagefile/ImageLib.h"

#include <cctype>
#include <climits>
#include <cstdio>

namespace Zorvin {

namespace {

std::string Lower(std::string s)
{
    for (char& c : s)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

std::string Trim(const std::string& s)
{
    size_t b = s.find_first_not_of(" \t\n");
    if (b == std::string::npos)
        return "";
    size_t e = s.find_last_not_of(" \t\n");
    return s.substr(b, e - b + 1);
}

// Decimal integer with an optional sign, the whole text, within 32 bits.
bool ParseInt(const std::string& s, int& out)
{
    size_t i = 0;
    bool negative = false;
    if (i < s.size() && (s[i] == '-' || s[i] == '+'))
        negative = s[i++] == '-';
    if (i == s.size())
        return false;
    long long v = 0;
    for (; i < s.size(); ++i) {
        if (!std::isdigit(static_cast<unsigned char>(s[i])))
            return false;
        v = v * 10 + (s[i] - '0');
        if (v > (long long)INT_MAX + 1)
            return false;
    }
    if (negative)
        v = -v;
    if (v > INT_MAX || v < INT_MIN)
        return false;
    out = static_cast<int>(v);
    return true;
}

} // namespace

bool DescParser::LoadDescriptor(const std::string& fileName)
{
    size_t sep = fileName.find_last_of("\\/");
    descriptorFolder = sep == std::string::npos ? "" : fileName.substr(0, sep + 1);
    std::vector<uint8_t> bytes;
    if (!ImageLib::ReadFileBytes(fileName, bytes) || bytes.size() > kMaxDescriptorBytes) {
        currentCommandText.clear();
        return Error("Unable to open file");
    }
    return LoadDescriptorText(std::string(bytes.begin(), bytes.end()));
}

bool DescParser::Error(const std::string& message)
{
    if (hadError)
        return false;
    hadError = true;
    errorText = errorPrefix + message;
    std::string command = Trim(currentCommandText);
    if (!command.empty()) {
        char line[32];
        std::snprintf(line, sizeof line, "%d:\r\n\r\n", currentLine);
        errorText += " on Line ";
        errorText += line;
        errorText += command;
    }
    return false;
}

// What scanning a descriptor remembers between characters: the command
// being built, the open lists and the token being read.
struct DescParser::ScanState {
    ListDataElement command;
    std::vector<ListDataElement*> lists{&command}; // innermost open list last
    std::string token;
    bool inToken = false;
    bool tokenLiteral = false;
    bool afterValue = false; // a value ended with no separator since
    bool escape = false;
    char quote = 0;

    void StartToken(bool literal)
    {
        if (!inToken) {
            inToken = true;
            tokenLiteral = literal;
            token.clear();
        }
    }
    void FinishToken()
    {
        if (inToken) {
            lists.back()->elements.push_back(std::make_unique<SingleDataElement>(token, tokenLiteral));
            inToken = false;
            afterValue = true;
        }
    }
};

bool DescParser::LoadDescriptorText(const std::string& text)
{
    if (hadError)
        return false;
    if (text.size() > kMaxDescriptorBytes)
        return Error("File too large");

    ScanState st;
    bool lineStart = true;
    bool inComment = false;
    currentLine = 1;
    currentCommandText.clear();

    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\r')
            continue;
        if (inComment) {
            if (c == '\n') {
                ++currentLine;
                inComment = false;
                lineStart = true;
                if (!currentCommandText.empty())
                    currentCommandText += c;
            }
            continue;
        }
        if (lineStart && c == '#' && st.quote == 0 && !st.escape) {
            inComment = true;
            continue;
        }
        if (c == '\n') {
            ++currentLine;
            lineStart = true;
        } else if (c != ' ' && c != '\t') {
            lineStart = false;
        }
        if (!currentCommandText.empty() || (c != ' ' && c != '\t' && c != '\n'))
            currentCommandText += c;

        if (st.escape) {
            st.StartToken(false);
            st.token += c;
            st.escape = false;
            continue;
        }
        if (st.quote != 0) {
            if (c == '\\') {
                st.escape = true;
            } else if (c == st.quote) {
                if (i + 1 < text.size() && text[i + 1] == st.quote) {
                    st.token += st.quote;
                    currentCommandText += st.quote;
                    ++i;
                } else {
                    st.quote = 0;
                }
            } else {
                st.token += c;
            }
            continue;
        }
        if (!ScanPlainChar(st, c))
            return false;
    }

    if (st.quote == '\'')
        return Error("Unterminated Single Quotes");
    if (st.quote == '"')
        return Error("Unterminated Double Quotes");
    st.FinishToken();
    if (st.lists.size() > 1)
        return Error("Unterminated List");
    // The last command needs no ";".
    if (!st.command.elements.empty() && !RunCommand(st.command))
        return false;
    currentCommandText.clear();
    return true;
}

bool DescParser::ScanPlainChar(ScanState& st, char c)
{
    switch (c) {
    case '\\':
        st.StartToken(false);
        st.escape = true;
        break;
    case '\'':
    case '"':
        st.StartToken(true);
        st.quote = c;
        break;
    case ';':
        st.FinishToken();
        if (st.lists.size() > 1)
            return Error("Unterminated List");
        currentCommandText.pop_back(); // the ";" is not part of the command
        if (!RunCommand(st.command))
            return false;
        st.command.elements.clear();
        currentCommandText.clear();
        st.afterValue = false;
        break;
    case ' ':
    case '\t':
    case '\n':
    case ',':
        st.FinishToken();
        st.afterValue = false;
        break;
    case '(': {
        if (st.inToken || st.afterValue)
            return Error("Unexpected List Start");
        if (static_cast<int>(st.lists.size()) > kMaxListDepth)
            return Error("Unexpected List Start");
        auto list = std::make_unique<ListDataElement>();
        ListDataElement* raw = list.get();
        st.lists.back()->elements.push_back(std::move(list));
        st.lists.push_back(raw);
        break;
    }
    case ')':
        st.FinishToken();
        if (st.lists.size() <= 1)
            return Error("Unexpected List End");
        st.lists.pop_back();
        st.afterValue = true;
        break;
    default:
        st.StartToken(std::isdigit(static_cast<unsigned char>(c)) || c == '-' || c == '+');
        st.token += c;
        break;
    }
    return true;
}

bool DescParser::RunCommand(ListDataElement& command)
{
    if (command.elements.empty())
        return true; // a lone ";"
    if (command.elements[0]->IsList())
        return Error("Missing Command");
    const std::string name = Lower(static_cast<SingleDataElement&>(*command.elements[0]).string);
    if (name == "define") {
        if (command.elements.size() != 3)
            return Error("Invalid Number of Parameters");
        std::string defName;
        std::unique_ptr<DataElement> value;
        if (!GetName(*command.elements[1], defName) || !Dereference(*command.elements[2], value))
            return false;
        return SetDefine(defName, std::move(value));
    }
    return HandleCommand(command);
}

const DataElement* DescParser::FindDefine(const std::string& name) const
{
    auto it = defines.find(name);
    return it == defines.end() ? nullptr : it->second.get();
}

bool DescParser::SetDefine(const std::string& name, std::unique_ptr<DataElement> value)
{
    // Definitions can grow each other; their total is capped so that a
    // hostile descriptor cannot double its way to gigabytes.
    auto it = defines.find(name);
    size_t total = definedElements + CountElements(*value);
    if (it != defines.end())
        total -= CountElements(*it->second);
    if (total > kMaxDefinedElements)
        return Error("Value too large");
    definedElements = total;
    defines[name] = std::move(value);
    return true;
}

size_t DescParser::CountElements(const DataElement& element)
{
    size_t n = 1;
    if (element.IsList())
        for (const auto& e : static_cast<const ListDataElement&>(element).elements)
            n += CountElements(*e);
    return n;
}

std::string DescParser::DataToString(const DataElement& element)
{
    if (!element.IsList())
        return static_cast<const SingleDataElement&>(element).string;
    std::string s = "(";
    const auto& list = static_cast<const ListDataElement&>(element);
    for (size_t i = 0; i < list.elements.size(); ++i) {
        if (i)
            s += ", ";
        s += DataToString(*list.elements[i]);
    }
    return s + ")";
}

bool DescParser::GetName(const DataElement& element, std::string& out)
{
    if (element.IsList())
        return Error("Invalid Paramater Type");
    out = static_cast<const SingleDataElement&>(element).string;
    return true;
}

bool DescParser::Dereference(const DataElement& element, std::unique_ptr<DataElement>& out)
{
    size_t count = 0;
    return Resolve(element, out, 0, count);
}

bool DescParser::Resolve(const DataElement& element, std::unique_ptr<DataElement>& out, int depth, size_t& count)
{
    if (++count > kMaxValueElements || depth > kMaxListDepth)
        return Error("Value too large");
    if (element.IsList()) {
        auto copy = std::make_unique<ListDataElement>();
        for (const auto& e : static_cast<const ListDataElement&>(element).elements) {
            std::unique_ptr<DataElement> resolved;
            if (!Resolve(*e, resolved, depth + 1, count))
                return false;
            copy->elements.push_back(std::move(resolved));
        }
        out = std::move(copy);
        return true;
    }
    const auto& single = static_cast<const SingleDataElement&>(element);
    if (single.literal) {
        out = single.Duplicate();
        return true;
    }
    // Defined values were resolved when they were defined, so they hold no
    // names and one lookup is enough; a definition cannot refer to itself.
    const DataElement* value = FindDefine(single.string);
    if (!value)
        return Error("Unable to Dereference \"" + single.string + "\"");
    --count;
    return Resolve(*value, out, depth, count);
}

bool DescParser::GetString(const DataElement& element, std::string& out)
{
    std::unique_ptr<DataElement> v;
    if (!Dereference(element, v))
        return false;
    if (v->IsList())
        return Error("Invalid Paramater Type");
    out = static_cast<SingleDataElement&>(*v).string;
    return true;
}

bool DescParser::GetInt(const DataElement& element, int& out)
{
    std::string s;
    if (!GetString(element, s))
        return false;
    if (!ParseInt(s, out))
        return Error("Invalid Paramater Type");
    return true;
}

bool DescParser::GetList(const DataElement& element, std::unique_ptr<ListDataElement>& out)
{
    std::unique_ptr<DataElement> v;
    if (!Dereference(element, v))
        return false;
    if (!v->IsList())
        return Error("Invalid Paramater Type");
    out.reset(static_cast<ListDataElement*>(v.release()));
    return true;
}

bool DescParser::GetStringList(const DataElement& element, std::vector<std::string>& out)
{
    std::unique_ptr<ListDataElement> list;
    if (!GetList(element, list))
        return false;
    out.clear();
    for (const auto& e : list->elements) {
        if (e->IsList())
            return Error("Invalid Paramater Type");
        out.push_back(static_cast<SingleDataElement&>(*e).string);
    }
    return true;
}

bool DescParser::GetIntList(const DataElement& element, std::vector<int>& out)
{
    std::vector<std::string> strings;
    if (!GetStringList(element, strings))
        return false;
    out.clear();
    for (const std::string& s : strings) {
        int v;
        if (!ParseInt(s, v))
            return Error("Invalid Paramater Type");
        out.push_back(v);
    }
    return true;
}

bool DescParser::GetCharList(const DataElement& element, std::vector<unsigned char>& out)
{
    std::vector<std::string> strings;
    if (!GetStringList(element, strings))
        return false;
    out.clear();
    for (const std::string& s : strings) {
        if (s.size() != 1)
            return Error("Invalid Paramater Type");
        out.push_back(static_cast<unsigned char>(s[0]));
    }
    return true;
}

bool DescParser::GetIntTupleList(const DataElement& element, size_t arity, std::vector<std::vector<int>>& out)
{
    std::unique_ptr<ListDataElement> list;
    if (!GetList(element, list))
        return false;
    out.clear();
    for (const auto& e : list->elements) {
        std::vector<int> tuple;
        if (!GetIntList(*e, tuple))
            return false;
        if (tuple.size() != arity)
            return Error("Invalid Paramater Type");
        out.push_back(std::move(tuple));
    }
    return true;
}

} // namespace Zorvin
