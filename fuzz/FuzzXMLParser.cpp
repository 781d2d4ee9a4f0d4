// Feeds arbitrary bytes to the XML reader and checks the promises callers
// rely on: every node it hands out is of a known kind, a failure is final
// and keeps its first message, and reading always comes to an end.

#include "framework/resources/XMLParser.h"

#include <cstdint>
#include <cstdlib>
#include <string>

using namespace Zorvin;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    XMLParser parser;
    parser.OpenBuffer("fuzz.xml", std::string(reinterpret_cast<const char*>(data), size));
    parser.SetKeepComments(size > 0 && (data[0] & 1));
    XMLNode node;
    int depth = 0;
    // Every read consumes at least one byte of the input or of a pushed-back
    // end tag, so this bound is never reached by a correct reader.
    size_t limit = 4 * size + 16;
    size_t reads = 0;
    while (parser.ReadNode(node)) {
        if (node.type < XMLNode::TYPE_START || node.type > XMLNode::TYPE_COMMENT || parser.HasFailed())
            std::abort();
        if (node.type == XMLNode::TYPE_START)
            ++depth;
        else if (node.type == XMLNode::TYPE_END && --depth < 0)
            std::abort(); // an unmatched end must be an error, never a node
        if (++reads > limit)
            std::abort();
    }
    std::string error = parser.GetErrorText();
    if (parser.ReadNode(node) || parser.GetErrorText() != error || parser.HasFailed() == error.empty())
        std::abort();
    return 0;
}
