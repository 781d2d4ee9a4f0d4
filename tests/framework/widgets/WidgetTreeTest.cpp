#include "tests/framework/widgets/WidgetTestSupport.h"

#include "tests/framework/font/TestFont.h"
#include "framework/graphics/MemoryImage.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace Zorvin;
using namespace ZorvinTest;

namespace {

class WidgetTree : public ::testing::Test {
protected:
    WidgetTree() : wm(nullptr), screen(200, 100)
    {
        wm.ResizeRoot(200, 100);
        wm.image = &screen;
    }
    std::unique_ptr<LogWidget> Make(const std::string& name, int x, int y, int w, int h)
    {
        return std::make_unique<LogWidget>(name, &log, x, y, w, h);
    }
    void ClearDirty()
    {
        wm.DrawDirtyWidgets();
        log.clear();
    }

    std::vector<std::string> log;
    WidgetManager wm;
    MemoryImage screen;
};

} // namespace

TEST_F(WidgetTree, ChildrenAttachWhenTheirContainerJoinsTheManager)
{
    auto panel = Make("panel", 10, 10, 50, 50);
    auto button = Make("button", 5, 5, 10, 10);
    panel->AddChild(button.get());
    EXPECT_EQ(button->GetManager(), nullptr);
    EXPECT_EQ(button->GetParent(), panel.get());
    wm.AddChild(panel.get());
    EXPECT_EQ(button->GetManager(), &wm);
    wm.SetFocusWidget(button.get());
    wm.RemoveChild(panel.get());
    EXPECT_EQ(button->GetManager(), nullptr);
    EXPECT_EQ(wm.GetFocusWidget(), nullptr); // no stale role survives
    EXPECT_EQ(button->GetParent(), panel.get());
}

TEST_F(WidgetTree, UpdateWalkSurvivesRemovalsFromInside)
{
    auto a = Make("a", 0, 0, 10, 10), b = Make("b", 0, 0, 10, 10), c = Make("c", 0, 0, 10, 10);
    for (auto* w : {a.get(), b.get(), c.get()})
        wm.AddChild(w);
    b->onUpdate = [&] { wm.RemoveChild(b.get()); };
    wm.UpdateWidgets();
    EXPECT_EQ(log, (std::vector<std::string>{"a:update", "b:update", "c:update"}));

    log.clear();
    wm.AddChild(b.get());
    b->onUpdate = nullptr;
    a->onUpdate = [&] { wm.RemoveChild(c.get()); };
    wm.UpdateWidgets();
    EXPECT_EQ(log, (std::vector<std::string>{"a:update", "b:update"}));
}

TEST_F(WidgetTree, EachWidgetUpdatesOncePerTickEvenIfReachedTwice)
{
    auto a = Make("a", 0, 0, 10, 10), b = Make("b", 0, 0, 10, 10);
    wm.AddChild(a.get());
    wm.AddChild(b.get());
    // a moves itself to the top while the walk is on it: the walk meets it
    // again, but it updates only once.
    a->onUpdate = [&] { wm.RaiseAbove(a.get(), nullptr); };
    wm.UpdateWidgets();
    EXPECT_EQ(Only(log, "a:"), std::vector<std::string>{"a:update"});
    EXPECT_EQ(Only(log, "b:"), std::vector<std::string>{"b:update"});
}

TEST_F(WidgetTree, DirtyMarkingStopsAtTheFirstOpaqueSiblingBelow)
{
    auto back = Make("back", 0, 0, 200, 100);
    auto cover = Make("cover", 10, 10, 100, 50);
    auto glass = Make("glass", 20, 20, 50, 30);
    auto top = Make("top", 30, 5, 20, 20);
    auto far = Make("far", 150, 80, 10, 10);
    glass->hasTransparencies = true;
    for (auto* w : {back.get(), cover.get(), glass.get(), top.get(), far.get()})
        wm.AddChild(w);
    auto child = Make("child", 25, 25, 10, 10);
    wm.AddChild(child.get());
    ClearDirty();

    child->MarkDirtyWithBelow();
    EXPECT_TRUE(glass->dirty);   // transparent: the walk goes on through it
    EXPECT_TRUE(cover->dirty);   // opaque and covering: marked, walk ends
    EXPECT_FALSE(back->dirty);
    EXPECT_FALSE(far->dirty);

    ClearDirty();
    glass->MarkDirty();
    EXPECT_TRUE(glass->dirty);
    EXPECT_TRUE(top->dirty);     // overlapping sibling above is redrawn
    EXPECT_TRUE(child->dirty);
    EXPECT_FALSE(cover->dirty);  // a plain mark leaves what is below alone

    ClearDirty();
    glass->hasAlpha = true;      // alpha: its background must be redrawn too
    glass->MarkDirty();
    EXPECT_TRUE(cover->dirty);
}

TEST_F(WidgetTree, OnlyDirtyTopLevelWidgetsAreDrawnWithTheirSubtrees)
{
    auto a = Make("a", 10, 20, 50, 50), b = Make("b", 100, 0, 50, 50);
    auto inner = Make("inner", 5, 6, 10, 10);
    a->AddChild(inner.get());
    wm.AddChild(a.get());
    wm.AddChild(b.get());
    EXPECT_TRUE(wm.DrawDirtyWidgets());
    EXPECT_EQ(log, (std::vector<std::string>{"a:draw@10,20", "inner:draw@15,26", "b:draw@100,0"}));
    log.clear();
    EXPECT_FALSE(wm.DrawDirtyWidgets());
    EXPECT_TRUE(log.empty());
    inner->MarkDirty();
    EXPECT_TRUE(wm.DrawDirtyWidgets());
    EXPECT_EQ(log, (std::vector<std::string>{"a:draw@10,20", "inner:draw@15,26"}));
}

TEST_F(WidgetTree, DrawingIsClippedToEachWidget)
{
    auto a = Make("a", 10, 10, 20, 20); // covers 10..29
    a->fill = Color(255, 0, 0);
    auto inner = Make("inner", 5, 5, 10, 10); // covers 15..24
    inner->fill = Color(0, 0, 255);
    a->AddChild(inner.get());
    wm.AddChild(a.get());
    wm.DrawDirtyWidgets();
    auto rgb = [&](int x, int y) { return screen.GetPixel(x, y) & 0xFFFFFF; };
    EXPECT_EQ(screen.GetPixel(9, 9), 0u);
    EXPECT_EQ(screen.GetPixel(30, 30), 0u);
    EXPECT_EQ(rgb(14, 14), 0xFF0000u);
    EXPECT_EQ(rgb(15, 15), 0x0000FFu);
    EXPECT_EQ(rgb(24, 24), 0x0000FFu);
    EXPECT_EQ(rgb(25, 25), 0xFF0000u);

    // Without its own clip the inner widget still stays inside its parent.
    inner->clip = false;
    inner->MarkDirty();
    wm.DrawDirtyWidgets();
    EXPECT_EQ(rgb(10, 10), 0x0000FFu);
    EXPECT_EQ(rgb(29, 29), 0x0000FFu);
    EXPECT_EQ(screen.GetPixel(30, 30), 0u);
}

// A marked rectangle repaints that part of the screen alone: every layer
// there from the topmost opaque one up, each once even where two marks
// overlap (a translucent layer blended twice would show), and nothing
// outside it.
TEST_F(WidgetTree, DirtyAreasRepaintEveryLayerThereOnceAndNothingElse)
{
    auto below = Make("below", 0, 0, 200, 100);
    auto panel = Make("panel", 0, 0, 200, 100);
    panel->fill = Color(10, 20, 30);
    auto glass = Make("glass", 40, 10, 100, 60);
    glass->hasAlpha = true;
    glass->fill = Color(200, 0, 0, 128);
    auto inner = Make("inner", 10, 10, 20, 20);
    inner->fill = Color(0, 0, 250, 100);
    glass->AddChild(inner.get());
    for (LogWidget* w : {below.get(), panel.get(), glass.get()})
        wm.AddChild(w);
    ClearDirty();
    MemoryImage before(200, 100);
    std::copy_n(screen.GetBits(), 200 * 100, before.GetBits());

    // The panel's colour changes unmarked; two overlapping marks: one on
    // the panel, one on the nested widget in its own coordinates.
    panel->fill = Color(90, 80, 70);
    panel->MarkDirty(Rect(30, 5, 20, 20));
    inner->MarkDirty(Rect(-5, -5, 10, 10));
    EXPECT_TRUE(wm.DrawDirtyWidgets());
    EXPECT_EQ(log, (std::vector<std::string>{"panel:draw@0,0", "glass:draw@40,10", "inner:draw@50,20"}));

    MemoryImage full(200, 100);
    wm.image = &full;
    wm.MarkTreeDirty();
    wm.DrawDirtyWidgets();
    const Rect area(30, 5, 25, 20);
    for (int y = 0; y < 100; ++y) {
        for (int x = 0; x < 200; ++x) {
            uint32_t expected = area.Contains(x, y) ? full.GetPixel(x, y) : before.GetPixel(x, y);
            ASSERT_EQ(screen.GetPixel(x, y), expected) << x << "," << y;
        }
    }
    EXPECT_NE(before.GetPixel(45, 15), full.GetPixel(45, 15));
}

TEST_F(WidgetTree, OverlaysDrawBeforeTheFirstWidgetOfHigherPriority)
{
    auto a = Make("a", 0, 0, 10, 10), low = Make("low", 20, 0, 10, 10), high = Make("high", 40, 0, 10, 10);
    low->priority = 1;
    high->priority = 10;
    struct Requester : LogWidget {
        using LogWidget::LogWidget;
        void Draw(Graphics* g) override
        {
            LogWidget::Draw(g);
            manager->AddDeferredOverlay(this, 5);
        }
    } req("req", &log, 3, 4, 5, 5);
    a->AddChild(&req);
    for (auto* w : {a.get(), low.get(), high.get()})
        wm.AddChild(w);
    wm.DrawDirtyWidgets();
    EXPECT_EQ(log, (std::vector<std::string>{"a:draw@0,0", "req:draw@3,4", "low:draw@20,0", "req:overlay@3,4",
                                             "high:draw@40,0"}));
    a->RemoveChild(&req);
}

TEST_F(WidgetTree, HitTestingHonoursVisibilityInsetsAndHoles)
{
    auto back = Make("back", 0, 0, 200, 100);
    auto panel = Make("panel", 50, 10, 100, 80);
    auto button = Make("button", 10, 10, 20, 20);
    panel->AddChild(button.get());
    wm.AddChild(back.get());
    wm.AddChild(panel.get());
    int lx = -1, ly = -1;
    EXPECT_EQ(wm.WidgetAt(65, 25, &lx, &ly), button.get());
    EXPECT_EQ(LogWidget::XY(lx, ly), "5,5");

    panel->mouseVisible = false; // children still hit, the panel itself not
    EXPECT_EQ(wm.WidgetAt(65, 25, nullptr, nullptr), button.get());
    EXPECT_EQ(wm.WidgetAt(140, 80, nullptr, nullptr), back.get());
    panel->mouseVisible = true;
    panel->SetVisible(false); // hidden: nothing of it can be hit
    EXPECT_EQ(wm.WidgetAt(65, 25, nullptr, nullptr), back.get());
    panel->SetVisible(true);

    button->insetLeft = 5; // the inner rectangle is what counts
    EXPECT_EQ(wm.WidgetAt(62, 25, nullptr, nullptr), panel.get());
    button->holeAt = [](int x, int) { return x < 10; };
    EXPECT_EQ(wm.WidgetAt(67, 25, nullptr, nullptr), panel.get());
    EXPECT_EQ(wm.WidgetAt(72, 25, nullptr, nullptr), button.get());

    button->SetDisabled(true);
    EXPECT_EQ(wm.EnabledWidgetAt(72, 25, nullptr, nullptr), nullptr);
    EXPECT_EQ(wm.WidgetAt(72, 25, nullptr, nullptr), button.get());
}

TEST_F(WidgetTree, ModalWidgetHidesWhatIsBelowFromTheMouseOnly)
{
    auto below = Make("below", 0, 0, 100, 100), dialog = Make("dialog", 50, 0, 50, 50);
    wm.AddChild(below.get());
    wm.AddChild(dialog.get());
    wm.PushModal(dialog.get());
    EXPECT_EQ(wm.WidgetAt(10, 10, nullptr, nullptr), nullptr);
    EXPECT_EQ(wm.WidgetAt(60, 10, nullptr, nullptr), dialog.get());
    log.clear();
    wm.UpdateWidgets();
    below->MarkDirty();
    wm.DrawDirtyWidgets();
    EXPECT_EQ(Only(log, "below:"), (std::vector<std::string>{"below:update", "below:draw@0,0"}));
    wm.PopModal(dialog.get());
    EXPECT_EQ(wm.WidgetAt(10, 10, nullptr, nullptr), below.get());
}

TEST_F(WidgetTree, ZOrderAndBeneath)
{
    auto a = Make("a", 0, 0, 10, 10), b = Make("b", 0, 0, 10, 10), c = Make("c", 0, 0, 10, 10);
    auto inA = Make("inA", 0, 0, 1, 1);
    a->AddChild(inA.get());
    for (auto* w : {a.get(), b.get(), c.get()})
        wm.AddChild(w);
    EXPECT_TRUE(wm.IsBeneath(inA.get(), b.get()));
    EXPECT_TRUE(wm.IsBeneath(a.get(), inA.get()));
    EXPECT_FALSE(wm.IsBeneath(c.get(), a.get()));
    wm.RaiseAbove(a.get(), b.get());
    EXPECT_EQ(std::vector<Widget*>(wm.GetChildren().begin(), wm.GetChildren().end()),
              (std::vector<Widget*>{b.get(), a.get(), c.get()}));
    wm.RaiseAbove(b.get(), nullptr);
    EXPECT_EQ(wm.GetChildren().back(), b.get());
    EXPECT_TRUE(wm.IsBeneath(inA.get(), b.get()));
}

TEST_F(WidgetTree, DeletingALinkedWidgetUnlinksIt)
{
    auto panel = Make("panel", 0, 0, 50, 50);
    auto* doomed = new LogWidget("doomed", &log, 0, 0, 10, 10);
    auto orphan = Make("orphan", 0, 0, 5, 5);
    doomed->AddChild(orphan.get());
    panel->AddChild(doomed);
    wm.AddChild(panel.get());
    wm.SetFocusWidget(doomed);
    delete doomed;
    EXPECT_TRUE(panel->GetChildren().empty());
    EXPECT_EQ(wm.GetFocusWidget(), nullptr);
    EXPECT_EQ(orphan->GetParent(), nullptr);
    EXPECT_EQ(orphan->GetManager(), nullptr);
}

TEST(WidgetHelpers, CountDigits)
{
    EXPECT_EQ(Widget::CountDigits(0), 1);
    EXPECT_EQ(Widget::CountDigits(9), 1);
    EXPECT_EQ(Widget::CountDigits(10), 2);
    EXPECT_EQ(Widget::CountDigits(-5), 1);
    EXPECT_EQ(Widget::CountDigits(999999), 6);
    EXPECT_EQ(Widget::CountDigits(2147483647), 10);
}

TEST(WidgetHelpers, NumbersAreDrawnCellByCellFromAStrip)
{
    MemoryImage strip(20, 2); // ten cells, 2 pixels wide, colour = digit
    for (int x = 0; x < 20; ++x)
        for (int y = 0; y < 2; ++y)
            strip.SetPixel(x, y, 0xFF000000u | static_cast<uint32_t>(x / 2 + 1));
    MemoryImage dest(20, 4);
    Graphics g(&dest);
    Widget::DrawNumberFromStrip(&g, 907, 1, 1, &strip, 1);
    auto digitAt = [&](int x) { return static_cast<int>(dest.GetPixel(x, 1) & 0xFF) - 1; };
    EXPECT_EQ(digitAt(1), 9);
    EXPECT_EQ(digitAt(2), 9);
    EXPECT_EQ(dest.GetPixel(3, 1), 0u); // spacing
    EXPECT_EQ(digitAt(4), 0);
    EXPECT_EQ(digitAt(7), 7);
    EXPECT_EQ(digitAt(8), 7);
    EXPECT_EQ(dest.GetPixel(9, 1), 0u);
    EXPECT_EQ(dest.GetPixel(1, 3), 0u); // one cell high only
}

TEST(WidgetHelpers, CentredTextAndItsShadowRectangle)
{
    Testing::TestFont font;
    MemoryImage dest(100, 40);
    Graphics g(&dest);
    g.SetFont(&font);
    Widget w;
    w.Resize(0, 0, 100, 40);
    Rect r = w.DrawCenteredText(&g, 20, "ABCD", Color(255, 255, 255), Color(0, 0, 0), Point(2, -3));
    EXPECT_EQ(r, Rect(38, 20 - 3 - 10, 26, 17));
    ASSERT_EQ(font.calls.size(), 2u);
    EXPECT_EQ(font.calls[0].x, 40);
    EXPECT_EQ(font.calls[0].y, 17);
    EXPECT_EQ(font.calls[0].color.red, 0);
    EXPECT_EQ(font.calls[1].x, 38);
    EXPECT_EQ(font.calls[1].color.red, 255);
    EXPECT_EQ(w.DrawCenteredText(&g, 20, "AB"), Rect(44, 10, 12, 14));
}

TEST(WidgetHelpers, ColourTableGrowsAndFallsBack)
{
    Widget w;
    const int rows[2][3] = {{1, 2, 3}, {4, 5, 6}};
    w.SetColors(rows, 2);
    EXPECT_EQ(w.GetColor(1).blue, 6);
    EXPECT_EQ(w.GetColor(1).alpha, 255);
    EXPECT_EQ(w.GetColor(5, Color(9, 9, 9)).red, 9);
    w.SetColor(4, Color(7, 7, 7, 7));
    EXPECT_EQ(w.GetColor(4).alpha, 7);
    EXPECT_EQ(w.GetColor(3).red, 0);
    EXPECT_EQ(w.GetColor(-1, Color(8, 8, 8)).red, 8);
}
