// Feeds arbitrary bytes to the demo file reader. A file it accepts must
// encode back to a file that decodes to the same events, and every event
// must lie within the recorded run.

#include "framework/app/DemoFile.h"

#include <cstdint>
#include <cstdlib>
#include <string>

using namespace Zorvin;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    DemoFile demo;
    if (!demo.Decode(std::string(reinterpret_cast<const char*>(data), size)))
        return 0;
    int last = 0;
    for (const DemoEvent& e : demo.events) {
        if (e.update < last || e.update > demo.finalUpdate)
            std::abort();
        last = e.update;
    }
    DemoFile again;
    if (!again.Decode(demo.Encode()) || again.events.size() != demo.events.size() ||
        again.markers.size() != demo.markers.size() || again.finalUpdate != demo.finalUpdate)
        std::abort();
    for (size_t i = 0; i < demo.events.size(); ++i) {
        const DemoEvent& a = demo.events[i];
        const DemoEvent& b = again.events[i];
        if (a.update != b.update || a.code != b.code || a.bytes != b.bytes || a.name != b.name ||
            a.message.kind != b.message.kind || a.message.param1 != b.message.param1 ||
            a.message.param2 != b.message.param2)
            std::abort();
    }
    return 0;
}
