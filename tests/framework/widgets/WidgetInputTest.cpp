#include "tests/framework/widgets/WidgetTestSupport.h"

#include <gtest/gtest.h>

using namespace Zorvin;
using namespace ZorvinTest;

namespace {

class WidgetInput : public ::testing::Test {
protected:
    WidgetInput() : wm(nullptr)
    {
        wm.ResizeRoot(200, 100);
        a = std::make_unique<LogWidget>("A", &log, 10, 10, 40, 40);
        b = std::make_unique<LogWidget>("B", &log, 100, 10, 40, 40);
        wm.AddChild(a.get());
        wm.AddChild(b.get());
        log.clear();
    }
    ~WidgetInput() override { wm.RemoveAllChildren(); }

    std::vector<std::string> log;
    WidgetManager wm;
    std::unique_ptr<LogWidget> a, b;
};

} // namespace

TEST_F(WidgetInput, HoverEntersMovesAndLeavesInLocalCoordinates)
{
    auto inner = std::make_unique<LogWidget>("I", &log, 5, 5, 10, 10);
    a->AddChild(inner.get());
    wm.MouseMove(12, 12);
    wm.MouseMove(13, 12);
    wm.MouseMove(16, 17);
    wm.MouseMove(60, 60);
    EXPECT_EQ(log, (std::vector<std::string>{"A:enter", "A:move 2,2", "A:move 3,2", "A:leave", "I:enter",
                                             "I:move 1,2", "I:leave"}));
    EXPECT_FALSE(inner->isOver);
    a->RemoveChild(inner.get());
}

TEST_F(WidgetInput, ClickCodesBecomeButtonsAndClickCounts)
{
    wm.MouseDown(20, 20, 2);
    wm.MouseUp(20, 20, 2);
    wm.MouseDown(20, 20, -2);
    wm.MouseUp(20, 20, -1);
    wm.MouseDown(20, 20, 3);
    wm.MouseUp(20, 20, 3);
    EXPECT_EQ(Only(log, "A:d"), (std::vector<std::string>{"A:down 10,10 b0 c2", "A:down 10,10 b1 c2",
                                                          "A:down 10,10 b2 c1"}));
    EXPECT_EQ(Only(log, "A:up"), (std::vector<std::string>{"A:up 10,10 b0 c2", "A:up 10,10 b1 c1",
                                                           "A:up 10,10 b2 c1"}));
}

TEST_F(WidgetInput, HeldWidgetKeepsTheMouseForEveryButtonUntilTheLastRelease)
{
    wm.MouseDown(20, 20, 1);                  // left on A
    wm.MouseMove(110, 20);                    // drag over B
    wm.MouseDown(110, 20, -1);                // right press still goes to A
    EXPECT_EQ(Only(log, "B:down"), std::vector<std::string>{});
    EXPECT_EQ(Only(log, "A:down").back(), "A:down 100,10 b1 c1");
    wm.MouseUp(110, 20, -1);
    EXPECT_EQ(wm.GetLastDownWidget(), a.get());
    wm.MouseUp(110, 20, 1);
    EXPECT_EQ(wm.GetLastDownWidget(), nullptr);
    EXPECT_EQ(Only(log, "A:up"), (std::vector<std::string>{"A:up 100,10 b1 c1", "A:up 100,10 b0 c1"}));
    EXPECT_EQ(wm.GetOverWidget(), b.get()); // after the last release B is under the mouse
    EXPECT_FALSE(a->isDown);
}

TEST_F(WidgetInput, DraggingOutLeavesAndDraggingBackEnters)
{
    wm.MouseMove(20, 20);
    wm.MouseDown(20, 20, 1);
    log.clear();
    wm.MouseMove(70, 20);
    wm.MouseMove(25, 20);
    wm.MouseMove(26, 21);
    EXPECT_EQ(log, (std::vector<std::string>{"A:drag 60,10", "A:leave", "A:drag 15,10", "A:enter", "A:move 15,10",
                                             "A:drag 16,11"}));
    EXPECT_TRUE(a->isOver);
}

TEST_F(WidgetInput, PressOnNothingStillEndsOnRelease)
{
    wm.MouseDown(80, 80, 1);
    wm.MouseUp(80, 80, 1);
    log.clear();
    wm.MouseMove(20, 20); // a hover again, not a drag of nothing
    EXPECT_EQ(log, (std::vector<std::string>{"A:enter", "A:move 10,10"}));
}

TEST_F(WidgetInput, FocusFollowsPressesOnlyToWidgetsThatWantIt)
{
    b->wantsFocus = true;
    wm.MouseDown(110, 20, 1);
    wm.MouseUp(110, 20, 1);
    EXPECT_EQ(wm.GetFocusWidget(), b.get());
    wm.MouseDown(20, 20, 1);
    wm.MouseUp(20, 20, 1);
    EXPECT_EQ(wm.GetFocusWidget(), b.get());
    wm.KeyDown('Q');
    wm.CharTyped('q');
    wm.MouseWheel(-2);
    EXPECT_EQ(Only(log, "B:k").back(), "B:keydown 81");
    EXPECT_EQ(Only(log, "B:c").back(), "B:char 113");
    EXPECT_EQ(Only(log, "B:w").back(), "B:wheel -2");
}

TEST_F(WidgetInput, TabMovesFocusAndCtrlTabGoesToTheDefaultTabWidget)
{
    a->tabNext = b.get();
    b->tabPrev = a.get();
    wm.SetFocusWidget(a.get());
    wm.KeyDown(9);
    EXPECT_EQ(wm.GetFocusWidget(), b.get());
    wm.KeyUp(9);
    wm.KeyDown(16);
    wm.KeyDown(9);
    EXPECT_EQ(wm.GetFocusWidget(), a.get());
    wm.KeyUp(9);
    wm.KeyUp(16);
    wm.defaultTab = b.get();
    wm.KeyDown(17);
    wm.CharTyped(9);
    wm.KeyUp(9); // swallowed while Ctrl is held
    EXPECT_EQ(Only(log, "B:char"), std::vector<std::string>{"B:char 9"});
    EXPECT_EQ(Only(log, "A:keyup 9").size(), 1u);
}

TEST_F(WidgetInput, LosingTheApplicationFocusReleasesHeldKeys)
{
    wm.SetFocusWidget(a.get());
    wm.KeyDown(40);
    wm.KeyDown(17);
    wm.KeyDown(300); // passed on but not tracked
    log.clear();
    wm.AppLostFocus();
    EXPECT_EQ(log, (std::vector<std::string>{"A:keyup 17", "A:keyup 40", "A:lostfocus"}));
    EXPECT_FALSE(wm.IsKeyDown(40));
    EXPECT_EQ(wm.GetFocusWidget(), a.get());
    log.clear();
    wm.AppLostFocus();
    EXPECT_TRUE(log.empty());
    wm.AppGotFocus();
    EXPECT_EQ(log, std::vector<std::string>{"A:gotfocus"});
}

TEST_F(WidgetInput, ReleaseMouseButtonsEndsEveryHeldButtonInOrder)
{
    wm.MouseDown(20, 20, 3);
    wm.MouseDown(20, 20, -1);
    wm.MouseDown(20, 20, 1);
    log.clear();
    wm.ReleaseMouseButtons();
    EXPECT_EQ(Only(log, "A:up"), (std::vector<std::string>{"A:up 10,10 b0 c1", "A:up 10,10 b1 c1",
                                                           "A:up 10,10 b2 c1"}));
    EXPECT_EQ(wm.GetLastDownWidget(), nullptr);
    log.clear();
    wm.MouseMove(21, 20);
    EXPECT_EQ(Only(log, "A:drag").size(), 0u);
}

TEST_F(WidgetInput, ModalDialogTakesFocusAndMouseAndGivesThemBack)
{
    auto dialog = std::make_unique<LogWidget>("D", &log, 60, 0, 30, 30);
    wm.AddChild(dialog.get());
    wm.SetFocusWidget(a.get());
    wm.MouseMove(20, 20);
    log.clear();
    wm.PushModal(dialog.get());
    EXPECT_EQ(log, (std::vector<std::string>{"A:leave", "A:lostfocus"}));
    wm.MouseDown(20, 20, 1);
    EXPECT_TRUE(Only(log, "A:down").empty());
    wm.MouseUp(20, 20, 1);
    wm.SetFocusWidget(dialog.get());
    // A second modal on top: popping the lower one first does nothing.
    auto second = std::make_unique<LogWidget>("E", &log, 0, 60, 30, 30);
    wm.AddChild(second.get());
    wm.PushModal(second.get());
    EXPECT_EQ(wm.GetFocusWidget(), nullptr);
    wm.PopModal(dialog.get());
    EXPECT_EQ(wm.GetModalWidget(), second.get());
    wm.PopModal(second.get());
    EXPECT_EQ(wm.GetModalWidget(), dialog.get());
    EXPECT_EQ(wm.GetFocusWidget(), dialog.get());
    wm.RemoveChild(dialog.get()); // forgotten: the saved focus must not point at it
    wm.PopModal(dialog.get());
    EXPECT_EQ(wm.GetModalWidget(), nullptr);
    EXPECT_EQ(wm.GetFocusWidget(), a.get());
    wm.RemoveChild(second.get());
}

TEST_F(WidgetInput, RemovingAWidgetClearsEveryRoleItHad)
{
    a->wantsFocus = true;
    wm.MouseMove(20, 20);
    wm.MouseDown(20, 20, 1);
    log.clear();
    wm.RemoveChild(a.get());
    EXPECT_EQ(log, (std::vector<std::string>{"A:leave", "A:up 10,10 b0 c1", "A:lostfocus"}));
    EXPECT_EQ(wm.GetOverWidget(), nullptr);
    EXPECT_EQ(wm.GetLastDownWidget(), nullptr);
    EXPECT_EQ(wm.GetFocusWidget(), nullptr);
    log.clear();
    wm.MouseMove(110, 20);
    EXPECT_EQ(log, (std::vector<std::string>{"B:enter", "B:move 10,10"}));
}

TEST_F(WidgetInput, PopupIsDismissedByAPressOutsideIt)
{
    auto popup = std::make_unique<LogWidget>("P", &log, 100, 50, 50, 40);
    wm.AddChild(popup.get());
    wm.popupCommandWidget = popup.get();
    wm.MouseDown(120, 60, 1);
    wm.MouseUp(120, 60, 1);
    EXPECT_TRUE(wm.HasChild(popup.get()));
    wm.MouseDown(20, 20, 1);
    EXPECT_FALSE(wm.HasChild(popup.get()));
    EXPECT_EQ(wm.popupCommandWidget, nullptr);
    EXPECT_EQ(Only(log, "A:down").size(), 1u);
}

TEST_F(WidgetInput, DisablingAndHidingUpdateTheWidgetUnderTheMouse)
{
    wm.MouseMove(20, 20);
    log.clear();
    a->SetDisabled(true);
    EXPECT_EQ(log, std::vector<std::string>{"A:leave"});
    log.clear();
    a->SetDisabled(false);
    EXPECT_EQ(log, (std::vector<std::string>{"A:enter", "A:move 10,10"}));
    log.clear();
    a->SetVisible(false);
    EXPECT_EQ(log, std::vector<std::string>{"A:leave"});
    a->SetVisible(true);
    log.clear();
    wm.MouseLeftWindow();
    EXPECT_EQ(log, std::vector<std::string>{"A:leave"});
    log.clear();
    a->Resize(15, 15, 40, 40); // the mouse is outside the window: no re-entry
    EXPECT_TRUE(log.empty());
}

TEST_F(WidgetInput, WidgetDeletedDuringItsOwnPressIsNotTouchedAgain)
{
    // Removal from inside a handler, as a screen closing itself does.
    struct Closer : LogWidget {
        using LogWidget::LogWidget;
        void MouseDown(int x, int y, int button, int clicks) override
        {
            LogWidget::MouseDown(x, y, button, clicks);
            manager->RemoveChild(this);
        }
    };
    Closer c("C", &log, 0, 60, 20, 20);
    wm.AddChild(&c);
    wm.MouseDown(5, 65, 1);
    EXPECT_FALSE(wm.HasChild(&c));
    EXPECT_EQ(wm.GetLastDownWidget(), nullptr);
    wm.MouseUp(5, 65, 1);
    EXPECT_EQ(Only(log, "C:up").size(), 1u); // released once, on removal
}
