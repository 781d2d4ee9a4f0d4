// Sections:
//   - buttons
//   - checkbox, slider, hyperlink, list
//   - hosted controls
//   - the edit field
//   - dialogs

#include "tests/framework/app/AppTestSupport.h"
#include "tests/framework/font/TestFont.h"

#include <gtest/gtest.h>

#include "framework/core/KeyCodes.h"
#include "framework/widgets/ButtonListener.h"
#include "framework/widgets/controls/ButtonWidget.h"
#include "framework/core/Cp1251.h"
#include "framework/widgets/controls/Checkbox.h"
#include "framework/widgets/CheckboxListener.h"
#include "framework/widgets/controls/Dialog.h"
#include "framework/widgets/controls/DialogButton.h"
#include "framework/widgets/EditListener.h"
#include "framework/widgets/controls/EditWidget.h"
#include "framework/graphics/Graphics.h"
#include "framework/widgets/controls/HyperlinkWidget.h"
#include "framework/widgets/ListListener.h"
#include "framework/widgets/controls/ListWidget.h"
#include "framework/graphics/MemoryImage.h"
#include "framework/widgets/controls/Slider.h"
#include "framework/widgets/SliderListener.h"
#include "framework/widgets/WidgetHost.h"

using namespace Zorvin;
using namespace ZorvinTest;

namespace {

struct ButtonLog : ButtonListener {
    void OnButtonDown(int id, int) override { downs.push_back(id); }
    void OnButtonClick(int id) override { clicks.push_back(id); }
    void OnButtonHeld(int id) override { held.push_back(id); }
    std::vector<int> downs, clicks, held;
};

MemoryImage Solid(int w, int h, uint32_t argb)
{
    MemoryImage img(w, h);
    for (int i = 0; i < w * h; i++)
        img.GetBits()[i] = argb;
    img.BitsChanged();
    return img;
}

// A manager without an application, drawing into its own screen.
class Controls : public ::testing::Test {
protected:
    Controls() : wm(nullptr), screen(200, 100)
    {
        wm.ResizeRoot(200, 100);
        wm.image = &screen;
    }
    void Updates(int n)
    {
        for (int i = 0; i < n; i++)
            wm.UpdateWidgets();
    }

    WidgetManager wm;
    MemoryImage screen;
    Testing::TestFont font;
};

} // namespace

TEST_F(Controls, ButtonClicksOnlyWhenReleasedOverItself)
{
    ButtonLog log;
    ButtonWidget b(5, &log);
    b.Resize(10, 10, 50, 20);
    wm.AddChild(&b);

    wm.MouseMove(20, 20);
    wm.MouseDown(20, 20, 1);
    EXPECT_TRUE(b.IsButtonDown());
    wm.MouseMove(150, 80); // dragged out
    EXPECT_FALSE(b.IsButtonDown());
    wm.MouseUp(150, 80, 1);
    EXPECT_EQ(log.downs, std::vector<int>{5});
    EXPECT_TRUE(log.clicks.empty());

    wm.MouseMove(20, 20);
    wm.MouseDown(20, 20, 1);
    wm.MouseMove(150, 80); // out ...
    wm.MouseMove(30, 25);  // ... and back in
    EXPECT_TRUE(b.IsButtonDown());
    Updates(3);
    wm.MouseUp(30, 25, 1);
    EXPECT_EQ(log.clicks, std::vector<int>{5});
    EXPECT_EQ(log.held.size(), 3u); // once per update while held over it

    // A disabled button reports no click.
    b.SetDisabled(true);
    wm.MouseDown(20, 20, 1);
    wm.MouseUp(20, 20, 1);
    EXPECT_EQ(log.clicks.size(), 1u);
    wm.RemoveChild(&b);
}

TEST_F(Controls, OverImageFadesInTenAndOutTwentyUpdates)
{
    MemoryImage normal = Solid(50, 20, 0xFF000080), over = Solid(50, 20, 0xFFFF0000);
    ButtonWidget b(1, nullptr);
    b.buttonImage = &normal;
    b.overImage = &over;
    b.overAlphaFadeInSpeed = 0.1;
    b.overAlphaSpeed = 0.05;
    b.Resize(0, 0, 50, 20);
    wm.AddChild(&b);

    wm.MouseMove(5, 5);
    Updates(9);
    EXPECT_LT(b.overAlpha, 1.0);
    Updates(1);
    EXPECT_EQ(b.overAlpha, 1.0);
    Updates(5);
    EXPECT_EQ(b.overAlpha, 1.0);

    // Half way: the over image is blended over the normal one.
    wm.MouseMove(150, 80);
    Updates(10);
    EXPECT_NEAR(b.overAlpha, 0.5, 1e-9);
    wm.DrawDirtyWidgets();
    uint32_t mid = screen.GetPixel(5, 5);
    EXPECT_GT((mid >> 16) & 0xFF, 0x60u);
    EXPECT_GT(mid & 0xFF, 0x30u);
    Updates(9);
    EXPECT_GT(b.overAlpha, 0.0);
    Updates(1);
    EXPECT_EQ(b.overAlpha, 0.0);
    wm.DrawDirtyWidgets();
    EXPECT_EQ(screen.GetPixel(5, 5), 0xFF000080u);
    wm.RemoveChild(&b);
}

TEST_F(Controls, ButtonImagesFollowTheState)
{
    MemoryImage normal = Solid(40, 20, 0xFF0000FF), over = Solid(40, 20, 0xFF00FF00),
                down = Solid(40, 20, 0xFFFF0000), off = Solid(40, 20, 0xFF808080);
    ButtonWidget b(1, nullptr);
    b.buttonImage = &normal;
    b.overImage = &over;
    b.downImage = &down;
    b.disabledImage = &off;
    b.Resize(0, 0, 40, 20);
    wm.AddChild(&b);
    auto drawn = [&]() {
        b.MarkDirty();
        wm.DrawDirtyWidgets();
        return screen.GetPixel(3, 3);
    };
    EXPECT_EQ(drawn(), 0xFF0000FFu);
    wm.MouseMove(3, 3);
    EXPECT_EQ(drawn(), 0xFF00FF00u);
    wm.MouseDown(3, 3, 1);
    EXPECT_EQ(drawn(), 0xFFFF0000u);
    b.inverted = true; // pressed looks released
    EXPECT_EQ(drawn(), 0xFF00FF00u);
    b.inverted = false;
    wm.MouseUp(3, 3, 1);
    b.SetDisabled(true);
    wm.MouseMove(100, 90);
    EXPECT_EQ(drawn(), 0xFF808080u);
    wm.RemoveChild(&b);
}

TEST_F(Controls, CheckboxTogglesAndReports)
{
    struct Log : CheckboxListener {
        void OnCheckboxChanged(int id, bool checked) override { changes.push_back(id * 10 + checked); }
        std::vector<int> changes;
    } log;
    Checkbox c(nullptr, nullptr, 4, &log);
    c.Resize(0, 0, 12, 12);
    wm.AddChild(&c);
    wm.MouseMove(5, 5);
    wm.MouseDown(5, 5, 1);
    wm.MouseUp(5, 5, 1);
    EXPECT_TRUE(c.IsChecked());
    c.SetChecked(false, false);
    c.SetChecked(true, true);
    EXPECT_EQ(log.changes, (std::vector<int>{41, 41}));

    // Without images: outline colour, fill, and an X in the check colour.
    wm.DrawDirtyWidgets();
    EXPECT_EQ(screen.GetPixel(0, 0), c.outlineColor.ToInt());
    EXPECT_EQ(screen.GetPixel(1, 1), c.checkColor.ToInt());
    EXPECT_EQ(screen.GetPixel(5, 2), c.bkgColor.ToInt());
    wm.RemoveChild(&c);
}

TEST_F(Controls, SliderPastEitherEndReportsTheEndOnce)
{
    struct Log : SliderListener {
        void OnSliderMoved(int, double v) override { values.push_back(v); }
        std::vector<double> values;
    } log;
    MemoryImage track = Solid(30, 6, 0xFF404040), thumb = Solid(10, 10, 0xFFFFFFFF);
    Slider s(&track, &thumb, 2, &log);
    s.Resize(20, 20, 110, 10);
    wm.AddChild(&s);
    s.SetValue(0.5); // thumb at 50..59
    wm.MouseMove(20 + 10, 25);
    wm.MouseDown(20 + 10, 25, 1); // on the track, not the thumb: nothing
    wm.MouseUp(20 + 10, 25, 1);
    EXPECT_TRUE(log.values.empty());

    wm.MouseMove(20 + 55, 25);
    wm.MouseDown(20 + 55, 25, 1);
    wm.MouseMove(195, 25);
    wm.MouseMove(199, 25);
    wm.MouseMove(-50, 25);
    wm.MouseMove(-80, 25);
    wm.MouseMove(20 + 5 + 25, 25);
    EXPECT_EQ(log.values, (std::vector<double>{1.0, 0.0, 0.25}));
    wm.MouseUp(20 + 30, 25, 1);
    EXPECT_EQ(log.values.back(), 0.25);
    EXPECT_EQ(s.GetThumbX(), 25);

    wm.DrawDirtyWidgets();
    EXPECT_EQ(screen.GetPixel(20 + 25, 25), 0xFFFFFFFFu); // thumb
    EXPECT_EQ(screen.GetPixel(20 + 100, 25), 0xFF404040u); // track end
    wm.RemoveChild(&s);
}

TEST_F(Controls, HyperlinkUnderlinesItsLabel)
{
    HyperlinkWidget link(3, nullptr);
    link.SetFont(&font);
    link.label = "abc";
    link.underlineSize = 2;
    link.underlineOffset = 2;
    link.Resize(0, 0, 40, 20);
    wm.AddChild(&link);
    wm.DrawDirtyWidgets();
    // Baseline (10 + 20) / 2 - 1 = 14; label 18 wide from x = 11.
    EXPECT_EQ(screen.GetPixel(11, 16), link.colorNormal.ToInt());
    EXPECT_EQ(screen.GetPixel(28, 17), link.colorNormal.ToInt());
    EXPECT_NE(screen.GetPixel(11, 18), link.colorNormal.ToInt());
    wm.MouseMove(15, 10);
    wm.DrawDirtyWidgets();
    EXPECT_EQ(screen.GetPixel(11, 16), link.colorOver.ToInt());
    wm.RemoveChild(&link);
}

TEST_F(Controls, ListHighlightsSelectsAndReportsClicks)
{
    struct Log : ListListener {
        void ListClicked(int id, int line, int count) override { clicks.push_back(id * 100 + line * 10 + count); }
        void ListHiliteChanged(int, int oldLine, int newLine) override { hilites.push_back(oldLine * 10 + newLine); }
        std::vector<int> clicks, hilites;
    } log;
    ListWidget names(1, &font, &log), scores(2, &font, nullptr);
    names.LinkRight(&scores);
    names.itemHeight = 10;
    scores.itemHeight = 10;
    for (const char* n : {"bob", "ann", "cid"}) {
        names.AddLine(n);
        scores.AddLine("1");
    }
    names.Resize(0, 0, 60, 28); // two lines visible
    scores.Resize(60, 0, 40, 28);
    wm.AddChild(&names);
    wm.AddChild(&scores);
    EXPECT_EQ(names.GetPageSize(), 2);

    wm.MouseMove(10, 4 + 15); // line 1
    EXPECT_EQ(names.hiliteIdx, 1);
    EXPECT_EQ(scores.hiliteIdx, 1); // the whole row
    wm.MouseDown(10, 19, 1);
    wm.MouseUp(10, 19, 1);
    wm.MouseDown(10, 19, 2);
    wm.MouseUp(10, 19, 2);
    EXPECT_EQ(log.clicks, (std::vector<int>{111, 112}));
    EXPECT_EQ(scores.selectIdx, 1);
    wm.MouseMove(10, 2); // above the first line: none
    EXPECT_EQ(names.hiliteIdx, -1);
    EXPECT_EQ(log.hilites, (std::vector<int>{-10 + 1, 10 - 1}));

    // Scrolling is limited to the lines there are, in both columns.
    names.MouseWheel(-1);
    EXPECT_EQ(names.GetScrollPosition(), 1.0);
    EXPECT_EQ(scores.GetScrollPosition(), 1.0);
    names.MouseWheel(1);
    EXPECT_EQ(names.GetScrollPosition(), 0.0);
    wm.MouseMove(10, 4 + 5);
    names.MouseWheel(-1);
    wm.MouseMove(10, 4 + 6);
    EXPECT_EQ(names.hiliteIdx, 1); // first visible line is now line 1

    names.SetColor("cid", Color(255, 0, 0));
    EXPECT_EQ(scores.lineColors[2], Color(255, 0, 0));
    EXPECT_EQ(names.GetLineIdx("ann"), 1);
    EXPECT_EQ(names.GetLineIdx("zed"), -1);
    EXPECT_EQ(names.GetOptimalHeight(), 38);
    EXPECT_EQ(names.GetOptimalWidth(), 18 + 16);

    names.sortMinKeyWidth = 3;
    names.RemoveAll();
    names.AddLine("10", true);
    names.AddLine("9", true);
    names.AddLine("100", true);
    EXPECT_EQ(names.lines, (std::vector<std::string>{"9", "10", "100"}));
    wm.RemoveChild(&names);
    wm.RemoveChild(&scores);
}

// --- Without an application: the controls reach it only through their host ---

namespace {

struct FakeHost : WidgetHost {
    void SetCursorNumber(int number) override { cursors.push_back(number); }
    void CopyToClipboard(const std::string& text) override { clipboard = text; }
    std::string GetClipboard() override { return clipboard; }
    bool IsAppFocused() const override { return focused; }
    bool IsAccelerated() const override { return false; }
    // The loop leaves (shuts down) at the third step.
    bool PumpStep(bool& updated) override
    {
        updated = true;
        return ++steps < 3;
    }
    bool CloseDialog(int id) override
    {
        closed.push_back(id);
        return true;
    }

    std::vector<int> cursors;
    std::string clipboard;
    bool focused = true;
    int steps = 0;
    std::vector<int> closed;
};

} // namespace

TEST(HostedControls, FocusClipboardCursorAndWaitsGoThroughTheHost)
{
    FakeHost host;
    WidgetManager wm(&host);
    wm.ResizeRoot(400, 300);
    Testing::TestFont font;

    // No click while the application is in the background.
    ButtonLog log;
    ButtonWidget b(5, &log);
    b.Resize(10, 10, 50, 20);
    wm.AddChild(&b);
    host.focused = false;
    wm.MouseMove(20, 20);
    wm.MouseDown(20, 20, 1);
    wm.MouseUp(20, 20, 1);
    EXPECT_TRUE(log.clicks.empty());
    host.focused = true;
    wm.MouseDown(20, 20, 1);
    wm.MouseUp(20, 20, 1);
    EXPECT_EQ(log.clicks, std::vector<int>{5});
    wm.RemoveChild(&b);

    EditWidget e(1, nullptr);
    e.SetFont(&font);
    e.Resize(0, 100, 100, 20);
    wm.AddChild(&e);
    e.SetText("abc");
    e.CharTyped(3);
    EXPECT_EQ(host.clipboard, "abc");
    host.clipboard = "xy";
    e.CharTyped(22);
    EXPECT_EQ(e.GetText(), "xy");
    wm.RemoveChild(&e);

    // Dragging a dialog shows the move cursor; a wait the host ends answers
    // nothing and has the host close the dialog.
    Dialog d(3, false, "", "q", "", 0);
    d.Resize(100, 150, 200, 100);
    wm.AddChild(&d);
    host.cursors.clear();
    wm.MouseMove(150, 200);
    wm.MouseDown(150, 200, 1);
    wm.MouseUp(150, 200, 1);
    EXPECT_EQ(host.cursors, (std::vector<int>{2, 0}));
    EXPECT_EQ(d.RunUntilAnswered(true), Dialog::NoAnswer);
    EXPECT_EQ(host.steps, 3);
    EXPECT_EQ(host.closed, std::vector<int>{3});
    wm.RemoveChild(&d);
    Dialog::sButtonTextColor = Dialog::sButtonTextHiliteColor = Color::White;
}

// --- Edit field and dialogs: with an application (clipboard, keys, pump) ---

namespace {

class AppControls : public ::testing::Test {
protected:
    void SetUp() override
    {
        Dialog::sButtonTextColor = Dialog::sButtonTextHiliteColor = Color::White;
        app.width = 800;
        app.height = 600;
        app.SetWindowSystem(&window);
        app.SetPresenter(&presenter);
        app.SetSystemServices(&services);
        app.Initialize();
        app.running = true;
        wm = app.GetWidgetManager();
    }
    void TearDown() override { Dialog::sButtonTextColor = Dialog::sButtonTextHiliteColor = Color::White; }
    void Type(EditWidget& e, const std::string& s)
    {
        for (char c : s)
            e.CharTyped(c);
    }
    void Key(EditWidget& e, int key, bool shift = false)
    {
        if (shift)
            wm->KeyDown(16);
        e.KeyDown(key);
        if (shift)
            wm->KeyUp(16);
    }

    FakeClock clock;
    FakeWindowSystem window;
    FakePresenter presenter;
    FakeServices services;
    TestApp app{&clock};
    WidgetManager* wm = nullptr;
    Testing::TestFont font;
};

struct EditLog : EditListener {
    void EditWidgetText(int, const std::string& text) override { entered.push_back(text); }
    bool AllowChar(int, char ch) override { return ch != '/'; }
    std::vector<std::string> entered;
};

} // namespace

TEST_F(AppControls, EditFieldTypingAndEditing)
{
    EditLog log;
    EditWidget e(1, &log);
    e.SetFont(&font);
    e.Resize(0, 0, 100, 20);
    wm->AddChild(&e);
    Type(e, "ab/c");
    EXPECT_EQ(e.GetText(), "abc"); // the listener refused the slash
    Key(e, KeyArrowLeft);
    Type(e, "X");
    EXPECT_EQ(e.GetText(), "abXc");
    e.CharTyped(8);
    EXPECT_EQ(e.GetText(), "abc");
    Key(e, KeyHome);
    Key(e, KeyDelete);
    EXPECT_EQ(e.GetText(), "bc");
    Key(e, KeyEnd, true); // select everything after the cursor
    EXPECT_EQ(e.GetSelection(), "bc");
    Type(e, "z"); // replaces the selection
    EXPECT_EQ(e.GetText(), "z");
    e.CharTyped(26); // undo
    EXPECT_EQ(e.GetText(), "bc");
    e.CharTyped(13);
    EXPECT_EQ(log.entered, std::vector<std::string>{"bc"});

    // Setting the text selects all of it.
    e.SetText("hello");
    EXPECT_EQ(e.GetSelection(), "hello");
    Key(e, KeyArrowRight); // collapses to the end
    EXPECT_FALSE(e.HasSelection());
    EXPECT_EQ(e.cursorPos, 5);
    Key(e, KeyArrowLeft, true);
    Key(e, KeyArrowLeft, true);
    EXPECT_EQ(e.GetSelection(), "lo");

    // A long text scrolls to keep the cursor in view, and scrolls back when
    // the field is wide enough again (text set before the field is sized).
    EditWidget early(2, nullptr);
    early.SetFont(&font);
    early.SetText("abcdefghij");
    early.Resize(0, 0, 40, 20); // room for 5 characters
    EXPECT_EQ(early.leftPos, 5);
    early.Resize(0, 0, 100, 20);
    EXPECT_EQ(early.leftPos, 0);
    wm->RemoveChild(&e);
}

TEST_F(AppControls, EditFieldClipboardLimitsAndPassword)
{
    EditLog log;
    EditWidget e(1, &log);
    e.SetFont(&font);
    e.Resize(0, 0, 100, 20);
    wm->AddChild(&e);
    e.SetText("copy me");
    e.CharTyped(3);
    EXPECT_EQ(services.clipboard, "copy me");
    e.CharTyped(24);
    EXPECT_EQ(e.GetText(), "");

    // Paste takes the first line only, without refused characters.
    services.clipboard = "a/b\nc\rsecond line";
    e.CharTyped(22);
    EXPECT_EQ(e.GetText(), "abc");

    e.maxChars = 5;
    Type(e, "defgh");
    EXPECT_EQ(e.GetText(), "abcde");
    e.maxChars = -1;
    e.maxPixels = 6 * 7; // the test font's characters are 6 wide
    Type(e, "fghij");
    EXPECT_EQ(e.GetText(), "abcdefg");

    // A password is shown as its character and never copied out.
    e.passwordChar = '*';
    e.SetText("secret");
    EXPECT_EQ(e.GetDisplayString(), "******");
    services.clipboard = "old";
    e.CharTyped(3);
    e.CharTyped(24);
    EXPECT_EQ(services.clipboard, "old");
    EXPECT_EQ(e.GetText(), "secret");
    wm->RemoveChild(&e);
}

TEST_F(AppControls, EditCursorBlinksEveryFortyUpdatesWithFocus)
{
    EditWidget e(1, nullptr);
    e.SetFont(&font);
    e.Resize(0, 0, 100, 20);
    wm->AddChild(&e);
    for (int i = 0; i < 45; i++)
        wm->UpdateWidgets();
    EXPECT_FALSE(e.showingCursor); // no focus, no cursor
    wm->SetFocusWidget(&e);
    EXPECT_TRUE(e.showingCursor);
    for (int i = 0; i < 39; i++)
        wm->UpdateWidgets();
    EXPECT_TRUE(e.showingCursor);
    wm->UpdateWidgets();
    EXPECT_FALSE(e.showingCursor);
    for (int i = 0; i < 40; i++)
        wm->UpdateWidgets();
    EXPECT_TRUE(e.showingCursor);
    wm->SetFocusWidget(nullptr);
    EXPECT_FALSE(e.showingCursor);
    wm->RemoveChild(&e);
}

TEST_F(AppControls, DialogLayoutHeightAndDefaultLook)
{
    Dialog* d = app.ShowDialog(5, false, "H", "aaa", "F", Dialog::ButtonsYesNo);
    d->SetHeaderFont(&font);
    d->SetBodyFont(&font);
    // Insets 48 + header 13 + gap 10 + one body line 13 + footer 16 + 8 +
    // buttons 24 + 16.
    EXPECT_EQ(d->GetPreferredHeight(300), 148);
    d->Resize(100, 100, 300, 200);
    EXPECT_EQ(d->yesButton->GetRect(), Rect(124, 252, 122, 24));
    EXPECT_EQ(d->noButton->GetRect(), Rect(254, 252, 122, 24));
    EXPECT_TRUE(wm->HasChild(d->yesButton.get()));
    EXPECT_TRUE(wm->IsBeneath(d, d->noButton.get()));
    EXPECT_EQ(d->yesButton->label, W("Да"));
    EXPECT_EQ(d->noButton->label, W("Нет"));

    // No frame image: white outline, grey fill, half-black shadow; black
    // button labels, also for a later dialog that has a button image.
    MemoryImage canvas = Solid(300, 200, 0xFF0000FF);
    Graphics g(&canvas);
    d->Draw(&g);
    EXPECT_EQ(canvas.GetPixel(12, 12), 0xFFFFFFFFu);
    EXPECT_EQ(canvas.GetPixel(14, 14), 0xFF505050u);
    EXPECT_EQ(canvas.GetPixel(295, 100), 0xFF00007Fu);
    EXPECT_EQ(d->yesButton->GetColor(ButtonWidget::ColorLabel), Color::Black);
    MemoryImage buttonImage = Solid(30, 30, 0xFF202020);
    Dialog later(nullptr, &buttonImage, 6, false, "", "x", "", Dialog::ButtonsOkCancel);
    EXPECT_EQ(later.noButton->GetColor(ButtonWidget::ColorLabelHilite), Color::Black);
    EXPECT_EQ(later.buttonHeight, 30);
    EXPECT_EQ(later.noButton->label, W("Отмена"));
    later.SetColor(Dialog::ColorButtonText, Color(1, 2, 3));
    EXPECT_EQ(later.yesButton->GetColor(ButtonWidget::ColorLabel), Color(1, 2, 3));
    app.CloseDialog(5);
}

TEST_F(AppControls, DialogDragStaysWithinEightPixelsOfTheScreen)
{
    Dialog* d = app.ShowDialog(5, false, "", "", "", 0);
    d->Resize(100, 100, 300, 200);
    wm->MouseMove(150, 150);
    wm->MouseDown(150, 150, 1);
    EXPECT_TRUE(d->dragging);
    wm->MouseMove(170, 160);
    EXPECT_EQ(d->GetRect(), Rect(120, 110, 300, 200));
    wm->MouseMove(-500, -500);
    EXPECT_EQ(d->x, -8);
    EXPECT_EQ(d->y, -8);
    wm->MouseMove(5000, 5000);
    EXPECT_EQ(d->x, 800 - 300 + 8);
    EXPECT_EQ(d->y, 600 - 200 + 8);
    wm->MouseUp(5000, 5000, 1);
    EXPECT_FALSE(d->dragging);
    // A right click does not start a drag.
    wm->MouseDown(600, 500, -1);
    EXPECT_FALSE(d->dragging);
    wm->MouseUp(600, 500, -1);
    app.CloseDialog(5);
}

TEST_F(AppControls, DialogButtonsAnswerAndRunUntilAnsweredReturnsTheAnswer)
{
    Dialog* d = app.ShowDialog(7, true, "", "q", "", Dialog::ButtonsYesNo);
    d->Resize(100, 100, 300, 200);
    // Click No through the tree.
    Rect no = d->noButton->GetRect();
    wm->MouseMove(no.x + 5, no.y + 5);
    wm->MouseDown(no.x + 5, no.y + 5, 1);
    wm->MouseUp(no.x + 5, no.y + 5, 1);
    EXPECT_EQ(d->result, Dialog::IdNo);

    // Answered from inside the application's steps.
    Dialog* d2 = app.ShowDialog(8, true, "", "q", "", Dialog::ButtonsYesNo);
    int updates = 0;
    struct Clicker : Widget {
        Dialog* target = nullptr;
        int* count = nullptr;
        void Update() override
        {
            Widget::Update();
            if (++*count == 5)
                target->yesButton->buttonListener->OnButtonClick(Dialog::IdYes);
        }
    } ticker;
    ticker.target = d2;
    ticker.count = &updates;
    wm->AddChild(&ticker); // above the modal dialog, so it keeps updating
    EXPECT_EQ(d2->RunUntilAnswered(true), Dialog::IdYes);
    EXPECT_GE(updates, 5);
    EXPECT_EQ(app.FindDialog(8), nullptr);
    wm->RemoveChild(&ticker);
    app.CloseDialog(7);
}

TEST_F(AppControls, WaitOutlivesTheDialogClosingItselfAndShutdownEndsItWithoutAnswer)
{
    // The Yes button's handler closes the dialog in the middle of the wait;
    // the wait still reads the answer, and the dialog is freed afterwards.
    struct Closer : DialogListener {
        ZorvinAppBase* app = nullptr;
        void OnDialogButtonClick(int dialogId, int) override { app->CloseDialog(dialogId); }
    } closer;
    closer.app = &app;
    Dialog* d = app.ShowDialog(9, true, "", "q", "", Dialog::ButtonsYesNo);
    d->Resize(100, 100, 300, 200);
    d->dialogListener = &closer;
    Rect yes = d->yesButton->GetRect();
    int cx = yes.x + 5, cy = yes.y + 5;
    window.pending = {{MessageWindow::Main, MessageKind::MouseMove, cx, cy},
                      {MessageWindow::Main, MessageKind::LButtonDown, cx, cy},
                      {MessageWindow::Main, MessageKind::LButtonUp, cx, cy}};
    EXPECT_EQ(d->RunUntilAnswered(false), Dialog::IdYes);
    EXPECT_EQ(app.FindDialog(9), nullptr);
    ASSERT_EQ(app.PendingDeletions(), 1);
    app.ReleaseDeferredDeletions();
    EXPECT_TRUE(app.PendingDeletions() == 0);

    // The window closes while a dialog waits: no answer, and the dialog is
    // closed all the same.
    Dialog* e = app.ShowDialog(10, true, "", "q", "", Dialog::ButtonsYesNo);
    window.pending = {{MessageWindow::Main, MessageKind::Close, 0, 0}};
    EXPECT_EQ(e->RunUntilAnswered(true), Dialog::NoAnswer);
    EXPECT_EQ(app.FindDialog(10), nullptr);
}
