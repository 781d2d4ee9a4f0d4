#pragma once

// A small font for drawing-context tests: every character is 6 pixels wide
// except 'W' (10), "AV" kerns by -2, and each DrawString call is recorded
// instead of drawn (a 1-pixel mark per character is also put on the
// destination so clipping can be observed).

#include <string>
#include <vector>

#include "framework/graphics/Font.h"
#include "framework/graphics/Graphics.h"

namespace Zorvin::Testing {

class TestFont : public Font {
public:
    struct Call {
        std::string text;
        int x, y;
        Color color;
    };

    TestFont()
    {
        ascent = 10;
        ascentPadding = 1;
        height = 14;
        lineSpacingOffset = 2;
    }

    int CharWidth(char c) override { return c == 'W' ? 10 : 6; }
    int CharWidthKern(char c, char prev) override { return CharWidth(c) + (prev == 'A' && c == 'V' ? -2 : 0); }
    int StringWidth(const std::string& text) override
    {
        int w = 0;
        char prev = 0;
        for (char c : text) {
            w += CharWidthKern(c, prev);
            prev = c;
        }
        return w;
    }
    void DrawString(Graphics* g, int x, int y, const std::string& text, const Color& color, const Rect&) override
    {
        calls.push_back(Call{text, x, y, color});
        g->PushState();
        g->SetColor(color);
        int px = x;
        char prev = 0;
        for (char c : text) {
            px += CharWidthKern(c, prev) - CharWidth(c);
            g->FillRect(px, y - 1, 1, 1);
            px += CharWidth(c);
            prev = c;
        }
        g->PopState();
    }
    std::unique_ptr<Font> Duplicate() const override { return std::make_unique<TestFont>(*this); }

    std::vector<Call> calls;
};

} // namespace Zorvin::Testing
