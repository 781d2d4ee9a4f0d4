#include "framework/font/DescParser.h"

#include "tests/framework/graphics/imagefile/ImageTestFiles.h"

#include <gtest/gtest.h>

using namespace Zorvin;

namespace {

// Records what each command receives. "Show" writes its values, names
// resolved; "Int" and "Chars" read typed values; "Fail" reports an error.
class RecordingParser : public DescParser {
public:
    RecordingParser() { errorPrefix = "Test Error\r\n"; }
    std::vector<std::string> log;

protected:
    bool HandleCommand(const ListDataElement& params) override
    {
        const std::string& name = static_cast<const SingleDataElement&>(*params.elements[0]).string;
        if (name == "Fail")
            return Error("boom");
        std::string line = name + ":";
        for (size_t i = 1; i < params.elements.size(); ++i) {
            if (name == "Int" || name == "int") {
                int v;
                if (!GetInt(*params.elements[i], v))
                    return false;
                line += " " + std::to_string(v);
            } else if (name == "Chars") {
                std::vector<unsigned char> chars;
                if (!GetCharList(*params.elements[i], chars))
                    return false;
                for (unsigned char c : chars)
                    line += " " + std::to_string(c);
            } else {
                std::unique_ptr<DataElement> v;
                if (!Dereference(*params.elements[i], v))
                    return false;
                line += " " + DataToString(*v);
            }
        }
        log.push_back(line);
        return true;
    }
};

std::vector<std::string> Parse(const std::string& text, std::string* error = nullptr)
{
    RecordingParser p;
    bool ok = p.LoadDescriptorText(text);
    EXPECT_EQ(ok, !p.HadError());
    if (error)
        *error = p.GetErrorText();
    else
        EXPECT_TRUE(ok) << p.GetErrorText();
    return p.log;
}

std::string ErrorOf(const std::string& text)
{
    std::string error;
    Parse(text, &error);
    return error;
}

} // namespace

TEST(DescParser, SplitsCommandsValuesAndListsAcrossLinesAndComments)
{
    auto log = Parse("# a comment line; with a semicolon\n"
                   "Show 1, 2\t3\r\n"
                   "   (4 (5, 6)) ;\n"
                   "  # indented comment\n"
                   "Show -7 +8 'x y'\n"
                   "# comment inside a command\n"
                   "  \"z\"\n"
                   ";;\n"
                   "Show 'last' 9"); // no ";" at the end
    EXPECT_EQ(log, (std::vector<std::string>{"Show: 1 2 3 (4, (5, 6))", "Show: -7 +8 x y z", "Show: last 9"}));

    // "#" only starts a comment at the start of a line, and not in quotes.
    log = Parse("Show 'a#b' \"#\";\nShow '\n# not a comment' 1;");
    EXPECT_EQ(log, (std::vector<std::string>{"Show: a#b #", "Show: \n# not a comment 1"}));
}

TEST(DescParser, QuotesEscapesAndDoubledQuotes)
{
    auto log = Parse("Show 'it''s' \"say \"\"hi\"\"\" 'a\\'b' \"c;d\" 'e,(f)';"
                   "Show 1\\;2 'q\\\\';");
    EXPECT_EQ(log, (std::vector<std::string>{"Show: it's say \"hi\" a'b c;d e,(f)", "Show: 1;2 q\\"}));
}

TEST(DescParser, DefinedNamesStandForTheirValuesWhereUsed)
{
    auto log = Parse("Define Digits ('0' '1' '2');\n"
                   "Define Pair (Digits, 7);\n"
                   "Show Digits Pair;\n"
                   "Define Digits 5;\n"       // redefining does not change Pair
                   "Show Digits Pair (Digits);\n"
                   "DEFINE Quoted 'Digits';\n" // command names ignore case
                   "Show Quoted 'Digits';");
    EXPECT_EQ(log, (std::vector<std::string>{"Show: (0, 1, 2) ((0, 1, 2), 7)", "Show: 5 ((0, 1, 2), 7) (5)",
                                             "Show: Digits Digits"}));

    std::string error;
    log = Parse("Show 1;\nShow Missing;\nShow 2;", &error);
    EXPECT_EQ(log, std::vector<std::string>{"Show: 1"}); // loading stopped
    EXPECT_EQ(error, "Test Error\r\nUnable to Dereference \"Missing\" on Line 2:\r\n\r\nShow Missing");
}

TEST(DescParser, TypedValuesAreCheckedWithTheirOwnErrors)
{
    std::string error;
    auto log = Parse("Define Big 2147483647; Int Big -2147483648 +3; Chars ('a' Z);\nDefine Z 'q';", &error);
    EXPECT_EQ(log, std::vector<std::string>{"Int: 2147483647 -2147483648 3"});
    EXPECT_EQ(error, "Test Error\r\nUnable to Dereference \"Z\" on Line 1:\r\n\r\nChars ('a' Z)");
    log = Parse("Define Z 'q'; Int 12 -4; Chars ('a' Z '9' 7);", &error);
    EXPECT_EQ(log, (std::vector<std::string>{"Int: 12 -4", "Chars: 97 113 57 55"}));
    EXPECT_EQ(error, "");

    EXPECT_EQ(ErrorOf("Int 12x;"), "Test Error\r\nInvalid Paramater Type on Line 1:\r\n\r\nInt 12x");
    EXPECT_EQ(ErrorOf("Int 2147483648;"), "Test Error\r\nInvalid Paramater Type on Line 1:\r\n\r\nInt 2147483648");
    EXPECT_EQ(ErrorOf("Int (1);"), "Test Error\r\nInvalid Paramater Type on Line 1:\r\n\r\nInt (1)");
    EXPECT_EQ(ErrorOf("Chars ('ab');"), "Test Error\r\nInvalid Paramater Type on Line 1:\r\n\r\nChars ('ab')");
    EXPECT_EQ(ErrorOf("Define X;"), "Test Error\r\nInvalid Number of Parameters on Line 1:\r\n\r\nDefine X");
    EXPECT_EQ(ErrorOf("Define (X) 1;"), "Test Error\r\nInvalid Paramater Type on Line 1:\r\n\r\nDefine (X) 1");
}

TEST(DescParser, SyntaxErrorsNameTheLineAndTheCommand)
{
    EXPECT_EQ(ErrorOf("Show 1;\nShow a(1);"),
              "Test Error\r\nUnexpected List Start on Line 2:\r\n\r\nShow a(");
    EXPECT_EQ(ErrorOf("Show (1)(2);"), "Test Error\r\nUnexpected List Start on Line 1:\r\n\r\nShow (1)(");
    EXPECT_EQ(ErrorOf("Show 1);"), "Test Error\r\nUnexpected List End on Line 1:\r\n\r\nShow 1)");
    EXPECT_EQ(ErrorOf("Show (1\n(2)"), "Test Error\r\nUnterminated List on Line 2:\r\n\r\nShow (1\n(2)");
    EXPECT_EQ(ErrorOf("Show (1;"), "Test Error\r\nUnterminated List on Line 1:\r\n\r\nShow (1;");
    EXPECT_EQ(ErrorOf("Show 'abc;\n"), "Test Error\r\nUnterminated Single Quotes on Line 2:\r\n\r\nShow 'abc;");
    EXPECT_EQ(ErrorOf("Show \"abc"), "Test Error\r\nUnterminated Double Quotes on Line 1:\r\n\r\nShow \"abc");
    EXPECT_EQ(ErrorOf("\n\n(Show) 1;"), "Test Error\r\nMissing Command on Line 3:\r\n\r\n(Show) 1");
    EXPECT_EQ(ErrorOf("Fail;"), "Test Error\r\nboom on Line 1:\r\n\r\nFail");

    // The first error is the one kept; later loads do nothing.
    RecordingParser p;
    EXPECT_FALSE(p.LoadDescriptorText("Fail; Show 1;"));
    EXPECT_FALSE(p.LoadDescriptorText("Show 2;"));
    EXPECT_TRUE(p.log.empty());
    EXPECT_EQ(p.GetErrorText(), "Test Error\r\nboom on Line 1:\r\n\r\nFail");
}

TEST(DescParser, HostileNestingAndGrowthAreRefused)
{
    std::string deep = "Show " + std::string(10000, '(') + std::string(10000, ')') + ";";
    EXPECT_NE(ErrorOf(deep).find("Unexpected List Start"), std::string::npos);

    // Each definition quadruples the one before: 4^12 elements if allowed.
    std::string grow = "Define A0 (1 2 3 4);\n";
    for (int i = 1; i <= 12; ++i) {
        std::string prev = "A" + std::to_string(i - 1);
        grow += "Define A" + std::to_string(i) + " (" + prev + " " + prev + " " + prev + " " + prev + ");\n";
    }
    EXPECT_NE(ErrorOf(grow).find("Value too large"), std::string::npos);

    // Many mid-sized definitions hit the total.
    std::string list = "(";
    for (int i = 0; i < 30000; ++i)
        list += "1 ";
    list += ")";
    std::string many = "Define L " + list + ";\n";
    for (int i = 0; i < 40; ++i)
        many += "Define C" + std::to_string(i) + " L;\n";
    EXPECT_NE(ErrorOf(many).find("Value too large"), std::string::npos);
}

TEST(DescParser, ReadsFilesAndReportsMissingOnes)
{
    ImageTestFiles::TempDir dir;
    ImageTestFiles::WriteFile(dir.Path("font.txt"), {'S', 'h', 'o', 'w', ' ', '1', ';'});
    RecordingParser p;
    EXPECT_TRUE(p.LoadDescriptor(dir.Path("font.txt")));
    EXPECT_EQ(p.log, std::vector<std::string>{"Show: 1"});
    RecordingParser missing;
    EXPECT_FALSE(missing.LoadDescriptor(dir.Path("nope.txt")));
    EXPECT_TRUE(missing.HadError());
}
