// Feeds arbitrary text to the font descriptor reader and then uses the font
// it describes: every command runs against a real FontData whose glyph
// images all resolve to one small sheet, and the font measures and draws a
// string at its own size and scaled, so hostile rectangles, offsets, orders
// and sizes reach the drawing code too. Nothing may crash or hang.

#include "framework/font/FontData.h"
#include "framework/font/FontHost.h"
#include "framework/graphics/Graphics.h"
#include "framework/font/ImageFont.h"
#include "framework/graphics/MemoryImage.h"

#include <cstdint>
#include <cstdlib>
#include <string>

using namespace Zorvin;

namespace {

// Any image name loads a 32 x 16 sheet; no file is touched.
class SheetHost : public FontHost {
public:
    std::unique_ptr<MemoryImage> LoadFontImage(const std::string& path) override
    {
        if (path.find("missing") != std::string::npos)
            return nullptr;
        auto img = std::make_unique<MemoryImage>(32, 16);
        uint32_t* p = img->GetBits();
        for (int i = 0; i < 32 * 16; ++i)
            p[i] = (i % 3) ? 0xFFFFFFFFu : 0x80402010u;
        img->BitsChanged();
        return img;
    }
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    SheetHost host;
    auto fontData = std::make_shared<FontData>(&host);
    const std::string text(reinterpret_cast<const char*>(data), size);
    bool ok = fontData->LoadText(text, "fonts/fuzz.txt");
    if (ok == fontData->HadError() || (!ok && fontData->GetErrorText().empty()))
        std::abort();

    ImageFont font(fontData);
    MemoryImage canvas(64, 32);
    Graphics g(&canvas);
    const std::string sample = text.substr(0, 24) + "AB ab";
    font.StringWidth(sample);
    font.CharWidthKern('B', 'A');
    g.SetFont(&font);
    g.DrawString(sample, 2, 20);
    font.AddTag(size > 0 ? std::string(1, static_cast<char>(data[0])) : "x");
    font.SetScale(size > 1 ? 0.25 + (data[1] % 8) * 0.5 : 1.5);
    g.DrawString(sample, -5, 10);
    if (!canvas.GuardIntact())
        std::abort();
    return 0;
}
