// Feeds arbitrary text to the font descriptor reader. Every command is
// accepted and its values are read in every typed form, so the tokenizer,
// the list builder, name lookup and the typed readers all see hostile input.
// Reading must end with success or one error, never a crash or a hang.

#include "framework/DescParser.h"

#include <cstdint>
#include <cstdlib>
#include <string>

using namespace Zorvin;

namespace {

class AnyCommandParser : public DescParser {
protected:
    bool HandleCommand(const ListDataElement& params) override
    {
        for (size_t i = 1; i < params.elements.size(); ++i) {
            const DataElement& e = *params.elements[i];
            std::unique_ptr<DataElement> v;
            if (!Dereference(e, v))
                return false;
            (void)DataToString(*v);
            int n;
            std::vector<int> ints;
            std::vector<unsigned char> chars;
            std::vector<std::vector<int>> rects;
            // A typed read that fails ends the command, as in a real one.
            switch (i % 4) {
            case 0: GetInt(e, n); break;
            case 1: GetIntList(e, ints); break;
            case 2: GetCharList(e, chars); break;
            default: GetIntTupleList(e, 4, rects); break;
            }
            if (HadError())
                return false;
        }
        return true;
    }
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    AnyCommandParser parser;
    bool ok = parser.LoadDescriptorText(std::string(reinterpret_cast<const char*>(data), size));
    if (ok == parser.HadError() || (!ok && parser.GetErrorText().empty()))
        std::abort();
    return 0;
}
