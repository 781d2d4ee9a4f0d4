#include "tools/e2e/ScreenPlayer.h"

#include "framework/widgets/WidgetManager.h"
#include "framework/widgets/controls/ButtonWidget.h"
#include "game/app/GameApp.h"
#include "game/app/dialogs/GameOverWnd.h"
#include "game/app/dialogs/HowDialog.h"
#include "game/board/Deck.h"
#include "game/board/FishField.h"
#include "game/board/PlayLine.h"
#include "game/board/view/Board.h"
#include "game/board/view/BoardInterface.h"
#include "tools/e2e/ScreenDriver.h"

using namespace Zorvin;

namespace {
// Pointer moves between the press and the release of a drag.
constexpr int kDragSteps = 6;
// Replays of one level before the player gives up on it. Replays are free
// and reshuffles carried from level to level, so a campaign player often
// meets the late levels with none left, where the headless player wins only
// 3 to 25 % of deals: 300 attempts leave a level that can be won at 3 %
// unwon in about one run in ten thousand, and one that cannot be won still
// fails.
constexpr int kMaxReplays = 300;
// Attempts at a level made without spending a reshuffle: the reshuffles
// (and those won as bonuses) are kept for the levels that resist.
constexpr int kAttemptsKeepingReshuffles = 5;
// Updates the level may take to come up on screen.
constexpr int kLevelStartUpdates = 3000;
} // namespace

ScreenPlayer::ScreenPlayer(ScreenDriver& d, bool v) : driver(d), verbose(v)
{
    ticker.onUpdate = [this] { Tick(); };
}

void ScreenPlayer::ToScreen(int px, int py, int& sx, int& sy) const
{
    // Board coordinates are the panel's: it receives the level's input.
    int ox = 0, oy = 0;
    if (BoardInterface* panel = driver.App().GetBoardPanel())
        panel->GetAbsolutePosition(ox, oy);
    sx = px + ox;
    sy = py + oy;
}

void ScreenPlayer::Move(int px, int py)
{
    int sx, sy;
    ToScreen(px, py, sx, sy);
    driver.Move(sx, sy, leftHeld);
    pointerX = sx;
    pointerY = sy;
}

void ScreenPlayer::Down(int clickCode, int px, int py)
{
    int sx, sy;
    ToScreen(px, py, sx, sy);
    if (sx != pointerX || sy != pointerY)
        Move(px, py);
    if (clickCode < 0) {
        // A right click: alone it turns a tile in click mode (released by
        // Up), during a drag it turns the dragged tile and is let go at once.
        driver.Button(sx, sy, 3, true);
        if (leftHeld)
            driver.Button(sx, sy, 3, false);
        return;
    }
    driver.Button(sx, sy, 1, true);
    leftHeld = true;
}

void ScreenPlayer::Drag(int px, int py)
{
    int sx, sy;
    ToScreen(px, py, sx, sy);
    int fromX = pointerX, fromY = pointerY;
    for (int i = 1; i <= kDragSteps; ++i) {
        int x = fromX + (sx - fromX) * i / kDragSteps;
        int y = fromY + (sy - fromY) * i / kDragSteps;
        driver.Move(x, y, leftHeld);
    }
    pointerX = sx;
    pointerY = sy;
}

void ScreenPlayer::Up(int clickCode, int px, int py)
{
    int sx, sy;
    ToScreen(px, py, sx, sy);
    if (sx != pointerX || sy != pointerY)
        Move(px, py);
    driver.Button(sx, sy, clickCode < 0 ? 3 : 1, false);
    if (clickCode > 0)
        leftHeld = false;
}

void ScreenPlayer::PressReshuffle()
{
    ++reshuffles;
    if (auto* lost = dynamic_cast<GameOverWnd*>(driver.FindDialog(DialogNameOrGameOver))) {
        driver.Click(lost->GetButton(GameOverWnd::Reshuffle), "the lost-level window's \"Перетасовать\"");
        return;
    }
    if (BoardInterface* panel = driver.App().GetBoardPanel())
        driver.Click(panel->reshuffleButton.get(), "the panel's reshuffle button");
}

void ScreenPlayer::Tick()
{
    driver.Updates(1);
    NoteWindows();
}

void ScreenPlayer::NoteWindows()
{
    CloseHowToPlay();
    ticker.levelWon = driver.FindDialog(DialogLevelWon) != nullptr;
    // MakeMoves: enough tiles are on the line, so the player stops as if
    // the level were over.
    Board* board = driver.App().GetBoard();
    if (putsWanted > 0 && board != nullptr &&
        static_cast<int>(board->playLine->fish.size()) - lineAtStart >= putsWanted)
        ticker.levelWon = true;
    ticker.gameOver = dynamic_cast<GameOverWnd*>(driver.FindDialog(DialogNameOrGameOver)) != nullptr;
}

bool ScreenPlayer::CloseHowToPlay()
{
    Dialog* how = driver.FindDialog(DialogHowToPlay);
    if (how == nullptr || how != driver.TopDialog())
        return false;
    if (verbose)
        driver.Log("closing the how-to-play page");
    driver.Screenshot("how-to-play");
    return driver.Click(ScreenDriver::FindButton(how, "Закрыть"), "the how-to-play page's \"Закрыть\"");
}

bool ScreenPlayer::WaitForLevel()
{
    GameApp& app = driver.App();
    return driver.WaitFor(
        [&] {
            CloseHowToPlay();
            Board* board = app.GetBoard();
            return board != nullptr && app.IsScreenShown(app.GetBoardPanel()) && !board->field->Loading() &&
                   !board->deck->dealing && board->field->FishCount() > 0 && driver.TopDialog() == nullptr;
        },
        kLevelStartUpdates);
}

bool ScreenPlayer::Replay(std::string& error)
{
    ++replays;
    auto* lost = dynamic_cast<GameOverWnd*>(driver.FindDialog(DialogNameOrGameOver));
    if (lost != nullptr) {
        ++losses;
        driver.Log("level lost: replaying it from the lost-level window");
        driver.Screenshot("level-lost");
        if (driver.Click(lost->GetButton(GameOverWnd::Replay), "the lost-level window's \"Переиграть\""))
            return true;
        error = "the lost-level window's \"Переиграть\" could not be clicked";
        return false;
    }
    // No move found and no lost window: replay through the in-game menu.
    driver.Log("no move found: replaying the level from the in-game menu");
    driver.Key(SdlEventInjector::Key::Escape);
    if (!driver.WaitFor([&] { return driver.FindDialog(DialogMenu) != nullptr; }, 200)) {
        error = "Escape did not open the in-game menu";
        return false;
    }
    if (!driver.Click(driver.FindButtonOnScreen("Переиграть"), "the in-game menu's \"Переиграть\"")) {
        error = "the in-game menu has no \"Переиграть\" to click";
        return false;
    }
    return true;
}

bool ScreenPlayer::PlayLevel(std::string& error)
{
    for (;;) {
        if (!WaitForLevel()) {
            error = "the level did not come up on screen";
            return false;
        }
        AutoPlayer player(*driver.App().GetBoard()->rules, ticker);
        player.pointer = this;
        player.mayReshuffle = replays >= kAttemptsKeepingReshuffles;
        AutoPlayResult result = player.Play();
        if (driver.FindDialog(DialogLevelWon) != nullptr)
            return true;
        if (!driver.Running()) {
            error = "the game ended during the level";
            return false;
        }
        if (verbose)
            driver.Log("attempt ended without a win after " + std::to_string(result.moves) + " moves" +
                       (result.stuck ? " (no move found)" : ""));
        if (replays >= kMaxReplays) {
            error = "the level was not won in " + std::to_string(kMaxReplays + 1) + " attempts";
            return false;
        }
        if (!Replay(error))
            return false;
    }
}

int ScreenPlayer::MakeMoves(int count)
{
    if (!WaitForLevel())
        return 0;
    Board* board = driver.App().GetBoard();
    size_t before = board->playLine->fish.size();
    lineAtStart = static_cast<int>(before);
    putsWanted = count;
    AutoPlayer player(*board->rules, ticker);
    player.pointer = this;
    player.Play();
    putsWanted = 0;
    return static_cast<int>(board->playLine->fish.size() - before);
}
