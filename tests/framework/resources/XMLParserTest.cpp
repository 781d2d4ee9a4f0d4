#include "framework/resources/XMLParser.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

using namespace Zorvin;

namespace {

// Renders every node of a document as "kind value{attrs}@section" joined by
// " | ", and appends "!error@line" when reading stops on an error, so one
// comparison checks kinds, values, attribute order, sections and errors.
std::string Trace(const std::string& text, bool keepComments = false)
{
    XMLParser p;
    p.OpenBuffer("t.xml", text);
    p.SetKeepComments(keepComments);
    static const char* kinds[] = {"?", "S", "E", "T", "I", "C"};
    std::string out;
    XMLNode n;
    while (p.ReadNode(n)) {
        if (!out.empty())
            out += " | ";
        out += std::string(kinds[n.type]) + " " + n.value;
        if (!n.attributeOrder.empty()) {
            out += "{";
            for (size_t i = 0; i < n.attributeOrder.size(); ++i)
                out += (i ? "," : "") + n.attributeOrder[i] + "=" + n.GetAttribute(n.attributeOrder[i]);
            out += "}";
        }
        if (n.type == XMLNode::TYPE_INSTRUCTION || n.type == XMLNode::TYPE_COMMENT)
            out += "[" + n.instruction + "]";
        out += "@" + n.section;
    }
    if (p.HasFailed())
        out += " !" + p.GetErrorText() + "@" + std::to_string(p.GetLineNumber());
    return out;
}

} // namespace

TEST(XMLParser, NestedElementsCarryTheirSections)
{
    EXPECT_EQ(Trace("<a><b>hi</b></a>"), "S a@ | S b@a | T hi@a/b | E b@a/b | E a@a");
    EXPECT_EQ(Trace("<Level>\n\t<Layers>\n\t\t<Layer><l>[==]</l></Layer>\n\t</Layers>\n</Level>\n"),
              "S Level@ | S Layers@Level | S Layer@Level/Layers | S l@Level/Layers/Layer"
              " | T [==]@Level/Layers/Layer/l | E l@Level/Layers/Layer/l | E Layer@Level/Layers/Layer"
              " | E Layers@Level/Layers | E Level@Level");
}

TEST(XMLParser, SelfClosingFormsYieldTheMatchingEndNode)
{
    EXPECT_EQ(Trace("<r><Image id=\"A\" path=\"x.png\"/></r>"),
              "S r@ | S Image{id=A,path=x.png}@r | E Image@r/Image | E r@r");
    EXPECT_EQ(Trace("<a/>"), "S a@ | E a@a");
    EXPECT_EQ(Trace("<a x=1 />"), "S a{x=1}@ | E a@a");
    EXPECT_EQ(Trace("<a x=1/>"), "S a{x=1}@ | E a@a");
    EXPECT_EQ(Trace("<a />"), "S a@ | E a@a");
    EXPECT_EQ(Trace("<a flag/>"), "S a{flag=}@ | E a@a");
    // A slash inside quotes is part of the value, not the end of the tag.
    EXPECT_EQ(Trace("<a p=\"images/\"></a>"), "S a{p=images/}@ | E a@a");
    EXPECT_EQ(Trace("<a p=\"images/\"/>"), "S a{p=images/}@ | E a@a");
    // The section is the same before the self-closing element and after it.
    EXPECT_EQ(Trace("<r><a/><b/></r>"), "S r@ | S a@r | E a@r/a | S b@r | E b@r/b | E r@r");
}

TEST(XMLParser, AttributeForms)
{
    // Unquoted, quoted with spaces and angle brackets, spaces around "=".
    EXPECT_EQ(Trace("<a x=1 y=\"two words <b>\" z = 3></a>"),
              "S a{x=1,y=two words <b>,z=3}@ | E a@a");
    // Valueless attributes, an empty quoted value, then a normal one.
    EXPECT_EQ(Trace("<a nopal ddsurface v=\"\" w=5></a>"), "S a{nopal=,ddsurface=,v=,w=5}@ | E a@a");
    // A repeated name keeps the last value and its first position.
    EXPECT_EQ(Trace("<a x=1 y=2 x=3></a>"), "S a{x=3,y=2}@ | E a@a");
    // Tabs and newlines separate as spaces do; "=" inside a value is kept.
    EXPECT_EQ(Trace("<a\tx=1\ny=\"p=q\"></a>"), "S a{x=1,y=p=q}@ | E a@a");
    // Names and values are entity-decoded.
    EXPECT_EQ(Trace("<a t=\"&lt;b&gt; &amp; &quot;c&quot;\"></a>"), "S a{t=<b> & \"c\"}@ | E a@a");
}

TEST(XMLParser, TextWhitespaceCollapsesOutsideQuotes)
{
    EXPECT_EQ(Trace("<a>   two \t\n  words   </a>"), "S a@ | T two words@a | E a@a");
    EXPECT_EQ(Trace("<a>say \"a   b\"  now</a>"), "S a@ | T say \"a   b\" now@a | E a@a");
    // Carriage returns (files written on Windows) are whitespace too.
    EXPECT_EQ(Trace("<a>\r\n x\r\n y \r\n</a>\r\n"), "S a@ | T x y@a | E a@a");
    EXPECT_EQ(Trace("<a>&lt;b&gt; &unknown; x&y</a>"), "S a@ | T <b> & x&y@a | E a@a");
}

TEST(XMLParser, EntityDecoding)
{
    EXPECT_EQ(DecodeXMLEntities("&lt;x&gt;"), "<x>");
    EXPECT_EQ(DecodeXMLEntities("&amp;lt;"), "&lt;"); // decoded once, not twice
    EXPECT_EQ(DecodeXMLEntities("&apos;&nbsp;&cr;"), "' \n");
    EXPECT_EQ(DecodeXMLEntities("a&bogus;b"), "a&b");
    EXPECT_EQ(DecodeXMLEntities("tail &"), "tail &");
    EXPECT_EQ(DecodeXMLEntities("&lt"), "&lt");
    // An "&" that starts no entity leaves the following words alone.
    EXPECT_EQ(DecodeXMLEntities("Tom & Jerry; &gt;"), "Tom & Jerry; >");
    EXPECT_EQ(DecodeXMLEntities("a&&lt;"), "a&<");
}

TEST(XMLParser, InstructionsAndComments)
{
    EXPECT_EQ(Trace("<?xml version=\"1.0\"?><a/>"), "I xml[ version=\"1.0\"]@ | S a@ | E a@a");
    EXPECT_EQ(Trace("<?x a?b ?? c?>"), "I x[ a?b ?? c]@");
    EXPECT_EQ(Trace("<a><!-- note --></a>"), "S a@ | E a@a");
    EXPECT_EQ(Trace("<a><!-- a \"quote > -- x --></a>", true),
              "S a@ | C a \"quote > -- x [a \"quote > -- x ]@a | E a@a");
    // Without whitespace after "!--" it is an element whose end never matches.
    EXPECT_EQ(Trace("<a><!--x--></a>"), "S a@ | S !--x--@a !End 'a' Doesn't Match Start '!--x--'@1");
}

TEST(XMLParser, StructuralErrorsStopAtTheFirstWithItsLine)
{
    EXPECT_EQ(Trace("<a>\n</a>\n</b>"), "S a@ | E a@a !Unexpected End@3");
    EXPECT_EQ(Trace("<a>\n\n</b>"), "S a@ !End 'b' Doesn't Match Start 'a'@3");
    EXPECT_EQ(Trace("<a x=1"), " !Unexpected End of File@1");
    EXPECT_EQ(Trace("<a>text"), "S a@ !Unexpected End of File@1");
    EXPECT_EQ(Trace("<a></a>\n\n"), "S a@ | E a@a");
    EXPECT_EQ(Trace("<a <b>"), " !Unexpected '<'@1");
    EXPECT_EQ(Trace("</a <"), " !Unexpected '<'@1");
    EXPECT_EQ(Trace("> "), " !Unexpected '>'@1");
    EXPECT_EQ(Trace("<a>x > y</a>"), "S a@ !Unexpected '>'@1");
    EXPECT_EQ(Trace("<a>\n\x01</a>"), "S a@ !Illegal Character@2");
    EXPECT_EQ(Trace(std::string("<a\0>", 4)), " !Illegal Character@1");
    // Control bytes are allowed inside quotes; high bytes everywhere.
    EXPECT_EQ(Trace("<a v=\"\x01\">\xC0\xFF</a>"), "S a{v=\x01}@ | T \xC0\xFF@a | E a@a");
    // End names collapse inner whitespace and ignore the outer.
    EXPECT_EQ(Trace("<a></ a  >"), "S a@ | E a@a");
}

TEST(XMLParser, AbsurdNestingFailsQuickly)
{
    auto nested = [](size_t depth, const std::string& name) {
        std::string text;
        for (size_t i = 0; i < depth; ++i)
            text += "<" + name + ">";
        for (size_t i = 0; i < depth; ++i)
            text += "</" + name + ">";
        return text;
    };
    auto read = [](const std::string& text, std::string& error) {
        XMLParser p;
        p.OpenBuffer("t.xml", text);
        XMLNode n;
        size_t nodes = 0;
        while (p.ReadNode(n))
            ++nodes;
        error = p.GetErrorText();
        return nodes;
    };
    std::string error;
    EXPECT_EQ(read(nested(XMLParser::MaxDepth, "a"), error), 2 * XMLParser::MaxDepth);
    EXPECT_EQ(error, "");
    // 200,000 levels: refused at the limit instead of copying ever longer paths.
    EXPECT_EQ(read(nested(200000, "a"), error), XMLParser::MaxDepth);
    EXPECT_EQ(error, "Elements Nested Too Deeply");
    EXPECT_EQ(read(nested(3, std::string(XMLParser::MaxSectionLength / 2, 'n')), error), 1u);
    EXPECT_EQ(error, "Element Path Too Long");
}

TEST(XMLParser, ReaderStaysFailedAndReopens)
{
    XMLParser p;
    XMLNode n;
    p.OpenBuffer("bad.xml", "<a></b><c>");
    EXPECT_TRUE(p.ReadNode(n));
    EXPECT_FALSE(p.ReadNode(n));
    std::string first = p.GetErrorText();
    EXPECT_FALSE(p.ReadNode(n));
    EXPECT_EQ(p.GetErrorText(), first);
    EXPECT_TRUE(p.HasFailed());
    EXPECT_EQ(n.type, XMLNode::TYPE_NONE);

    p.OpenBuffer("good.xml", "<c/>");
    EXPECT_FALSE(p.HasFailed());
    EXPECT_EQ(p.GetErrorText(), "");
    EXPECT_EQ(p.GetLineNumber(), 1);
    ASSERT_TRUE(p.ReadNode(n));
    EXPECT_EQ(n.section, "");
    EXPECT_EQ(n.value, "c");
}

TEST(XMLParser, OpensFilesAndReportsMissingOnes)
{
    XMLParser p;
    EXPECT_FALSE(p.OpenFile("no/such/file.xml"));
    EXPECT_TRUE(p.HasFailed());
    EXPECT_EQ(p.GetErrorText(), "Unable to open file no/such/file.xml");
    EXPECT_EQ(p.GetLineNumber(), 0);
    EXPECT_EQ(p.GetFileName(), "");
    XMLNode n;
    EXPECT_FALSE(p.ReadNode(n));

    auto dir = std::filesystem::temp_directory_path() / ("xmlparser_" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir / "sub");
    {
        std::ofstream f(dir / "sub" / "f.xml", std::ios::binary);
        f << "<r>\r\n<i v=\"1\"/>\r\n</r>\r\n";
    }
    // A Windows-style path reaches the same file.
    std::string winPath = (dir / "sub").string() + "\\f.xml";
    ASSERT_TRUE(p.OpenFile(winPath));
    EXPECT_EQ(p.GetFileName(), winPath);
    std::vector<std::string> values;
    while (p.ReadNode(n))
        values.push_back(n.value + ":" + n.GetAttribute("v"));
    EXPECT_FALSE(p.HasFailed()) << p.GetErrorText();
    EXPECT_EQ(values, (std::vector<std::string>{"r:", "i:1", "i:", "r:"}));
    EXPECT_EQ(p.GetLineNumber(), 4);
    std::filesystem::remove_all(dir);
}
