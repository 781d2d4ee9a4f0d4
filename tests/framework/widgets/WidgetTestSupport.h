#pragma once

// A widget that writes every call it receives into a shared log, for tests
// of the widget tree's order of events.

#include "framework/graphics/Graphics.h"
#include "framework/widgets/WidgetManager.h"

#include <functional>
#include <string>
#include <vector>

namespace ZorvinTest {

class LogWidget : public Zorvin::Widget {
public:
    LogWidget(std::string widgetName, std::vector<std::string>* eventLog, int px, int py, int w, int h)
        : name(std::move(widgetName)), log(eventLog)
    {
        Resize(px, py, w, h);
    }

    void Note(const std::string& what) { log->push_back(name + ":" + what); }
    static std::string XY(int x, int y) { return std::to_string(x) + "," + std::to_string(y); }

    void Update() override
    {
        Widget::Update();
        Note("update");
        if (onUpdate)
            onUpdate();
    }
    void Draw(Zorvin::Graphics* g) override
    {
        Note("draw@" + XY(int(g->GetTransX()), int(g->GetTransY())));
        if (fill.alpha > 0) {
            g->SetColor(fill);
            g->FillRect(-50, -50, width + 100, height + 100); // clipping keeps it inside
        }
    }
    void DrawDeferredOverlay(Zorvin::Graphics* g) override
    {
        Note("overlay@" + XY(int(g->GetTransX()), int(g->GetTransY())));
    }
    void GotFocus() override
    {
        Widget::GotFocus();
        Note("gotfocus");
    }
    void LostFocus() override
    {
        Widget::LostFocus();
        Note("lostfocus");
    }
    void KeyDown(int key) override
    {
        Note("keydown " + std::to_string(key));
        Widget::KeyDown(key);
    }
    void KeyUp(int key) override { Note("keyup " + std::to_string(key)); }
    void CharTyped(char ch) override { Note(std::string("char ") + std::to_string(int(ch))); }
    void MouseEnter() override { Note("enter"); }
    void MouseLeave() override { Note("leave"); }
    void MouseMove(int x, int y) override { Note("move " + XY(x, y)); }
    void MouseDrag(int x, int y) override { Note("drag " + XY(x, y)); }
    void MouseDown(int x, int y, int button, int clicks) override
    {
        Note("down " + XY(x, y) + " b" + std::to_string(button) + " c" + std::to_string(clicks));
    }
    void MouseUp(int x, int y, int button, int clicks) override
    {
        Note("up " + XY(x, y) + " b" + std::to_string(button) + " c" + std::to_string(clicks));
    }
    void MouseWheel(int delta) override { Note("wheel " + std::to_string(delta)); }
    bool IsOpaqueAt(int x, int y) override { return !holeAt || !holeAt(x, y); }

    std::string name;
    std::vector<std::string>* log;
    std::function<void()> onUpdate;
    std::function<bool(int, int)> holeAt;
    Zorvin::Color fill{0, 0, 0, 0};
};

// Entries of the log that start with a prefix (e.g. one widget's name).
inline std::vector<std::string> Only(const std::vector<std::string>& log, const std::string& prefix)
{
    std::vector<std::string> out;
    for (const std::string& e : log)
        if (e.rfind(prefix, 0) == 0)
            out.push_back(e);
    return out;
}

} // namespace ZorvinTest
