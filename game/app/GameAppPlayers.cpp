// GameApp's players and dialogs: the player list and high-score tables with
// their files, the first player's name, the end-of-game high-score entry,
// saved games, the main menu's and the level's dialogs, and the operations
// the game's dialogs reach through GameDialogHost.
//   players and high scores; saved games; statistics; dialogs of the main
//   menu and of a level; the GameDialogHost operations

#include "game/app/GameApp.h"

#include "framework/core/Cp1251.h"
#include "framework/widgets/WidgetManager.h"
#include "framework/widgets/controls/Dialog.h"
#include "framework/widgets/controls/DialogButton.h"
#include "framework/widgets/controls/EditWidget.h"
#include "game/app/AppBoardHost.h"
#include "game/app/dialogs/AccelerationCheck.h"
#include "game/app/dialogs/AppPlayerDialogHost.h"
#include "game/app/dialogs/DialogStyle.h"
#include "game/app/dialogs/ChPlayerDialog.h"
#include "game/app/dialogs/ContinueGameWnd.h"
#include "game/app/dialogs/DemoDialog.h"
#include "game/app/dialogs/DialogWithEdit.h"
#include "game/app/dialogs/GameOverWnd.h"
#include "game/app/dialogs/HighscoresWnd.h"
#include "game/app/dialogs/HintWnd.h"
#include "game/app/dialogs/HowDialog.h"
#include "game/app/dialogs/LevelSummaryWnd.h"
#include "game/app/dialogs/MenuWnd.h"
#include "game/app/dialogs/StatisticsWnd.h"
#include "game/app/profiles/DataFolder.h"
#include "game/app/profiles/FileNotices.h"
#include "game/app/profiles/HighScoreTable.h"
#include "game/app/profiles/PlayerList.h"
#include "game/app/profiles/PlayerStatistics.h"
#include "game/app/profiles/StatisticsStore.h"
#include "game/app/saves/SavedGameFiles.h"
#include "game/app/screens/TitleWnd.h"
#include "game/board/LevelFile.h"
#include "game/board/view/Board.h"
#include "game/shared/LevelStars.h"
#include "game/board/view/BoardInterface.h"
#include "game/shared/Res.h"

#include <algorithm>

namespace Zorvin {

// ---------------------------------------------------------------------------
// Players and high scores

void GameApp::CreateProfileStore()
{
    dataFolder = DataFolder::Locate();
    players = std::make_unique<PlayerList>(dataFolder);
    highScores = std::make_unique<HighScoreTable>(dataFolder);
    savedGames = std::make_unique<SavedGameFiles>(dataFolder);
    statistics = std::make_unique<StatisticsStore>(dataFolder);
    fileNotices = std::make_unique<FileNotices>();
    players->SetSavedGames(savedGames.get());
    players->SetStatistics(statistics.get());
    statistics->SetNotices(fileNotices.get());
    players->SetNotices(fileNotices.get());
    highScores->SetNotices(fileNotices.get());
    savedGames->SetNotices(fileNotices.get());
    // The players' files go through the application, so a recorded demo
    // notes what they held and a played one reads them back from it.
    players->SetFileAccess(*this);
    highScores->SetFileAccess(*this);
    savedGames->SetFileAccess(*this);
    statistics->SetFileAccess(*this);
    playerDialogHost = std::make_unique<AppPlayerDialogHost>(*this, *players);
    playerDialogHost->openStatistics = [this] { OpenStatistics(); };
}

void GameApp::LoadProfiles()
{
    savedGames->RemoveStaleTemporaries();
    players->LoadPlayers();
    highScores->SetDefaultHighScores();
    highScores->LoadHighScores();
    statistics->Load();
    playersLoaded = true;
}

void GameApp::SaveProfiles()
{
    // Before loading has finished the list is empty: writing it would
    // replace the players file with nothing.
    if (playersLoaded)
        players->SavePlayers();
}

void GameApp::SavePlayers() { SaveProfiles(); }

void GameApp::RetryPendingWrites()
{
    if (!playersLoaded)
        return;
    players->RetryPendingWrite();
    highScores->RetryPendingWrite();
    savedGames->RetryPendingWrites();
    statistics->RetryPendingWrite();
}

void GameApp::ShowFileNotice(bool wait)
{
    if (fileNotices->Empty() || FindDialog(DialogFileNotice) != nullptr)
        return;
    FileNotice notice = fileNotices->Take();
    Dialog* d = ShowDialog(DialogFileNotice, true, notice.header, notice.text, "Ok", Dialog::ButtonsFooter);
    if (d == nullptr)
        return;
    // Wider than the small message box: the text names a folder.
    d->contentInsets = Insets{40, 30, 40, 30};
    SizeToText(*d, IMAGE_DIALOG_BOX != nullptr ? IMAGE_DIALOG_BOX->GetWidth() : 500,
               IMAGE_W_SMALL != nullptr ? IMAGE_W_SMALL->GetHeight() : 196);
    if (wait)
        d->RunUntilAnswered();
}

PlayerProfile* GameApp::GetCurrentProfile() { return CurrentProfile(); }

void GameApp::AskFirstPlayerName()
{
    std::string answer;
    auto dialog = std::make_unique<DialogWithEdit>(W("Новый игрок"), W("Имя"), "New Player", playerDialogHost.get());
    DialogWithEdit* d = dialog.get();
    d->answer = &answer;
    if (IMAGE_W_SMALL != nullptr)
        d->Resize(400 - IMAGE_W_SMALL->GetWidth() / 2, 120, IMAGE_W_SMALL->GetWidth(), IMAGE_W_SMALL->GetHeight());
    // The game needs a player: confirming is the only way on.
    d->CancelButton().SetDisabled(true);
    AddDialog(DialogNameOrGameOver, std::move(dialog));
    widgetManager->SetFocusWidget(&d->Edit());
    int result = d->RunUntilAnswered();
    enteredName = result == 1 ? answer : std::string();
    if (enteredName.empty())
        return;
    players->AddPlayer(enteredName);
    players->currentPlayer = 0;
    SavePlayers();
    if (mainMenu)
        mainMenu->MarkDirty();
}

void GameApp::EnterHighScore()
{
    SwitchSong(SongTitle);
    PlayerProfile* profile = CurrentProfile();
    if (profile == nullptr)
        return;
    PlayMode mode = boardMode == PlayMode::Drag ? PlayMode::Drag : PlayMode::Click;
    playerDialogHost->EnterHighScore(*highScores, StoredMode(mode), profile->Progress(mode).score);
}

// ---------------------------------------------------------------------------
// Saved games

bool GameApp::HasSavedGame(PlayMode mode)
{
    PlayerProfile* profile = CurrentProfile();
    return profile != nullptr && savedGames->Exists(profile->name, StoredMode(mode));
}

std::string GameApp::PlayerLevelPath(PlayMode mode)
{
    PlayerProfile* profile = CurrentProfile();
    if (profile == nullptr)
        return {};
    return LevelPath(mode, profile->Progress(mode).level);
}

void GameApp::SaveGameInProgress()
{
    PlayerProfile* profile = CurrentProfile();
    if (profile == nullptr || !board || board->field == nullptr)
        return;
    const FishField& field = *board->field;
    // Once a win is recorded the player is at the next level and the board
    // still shows the cleared one: that is no game to come back to. The
    // editor's field (mode 1) has no saved game at all. A level still in its
    // intro has not been played yet and its deck is not dealt: saved, it
    // would come back without one.
    if (field.mode == PlayMode::Editor || field.Loading())
        return;
    if (!SavedGameFiles::SameLevel(field.level.path, PlayerLevelPath(field.mode)))
        return;
    savedGames->Save(field, profile->name);
    // The saved game has no room for the level's time and tallies: they
    // are kept with the statistics until the game is continued. A game
    // whose write failed is still continued from memory in this run.
    const LevelTally& tally = board->rules->tally;
    statistics->Of(profile->name)
        .SuspendLevel(field.mode,
                      {field.level.number, tally.Seconds(), tally.BestCombo(), tally.Bonuses(), tally.Moves()});
    statistics->Save();
}

void GameApp::DeleteSavedGame(PlayMode mode)
{
    if (PlayerProfile* profile = CurrentProfile())
        savedGames->Delete(profile->name, StoredMode(mode));
}

void GameApp::OnLevelWon()
{
    levelWonThisSession = true;
    // A level continued from a saved game and then won must not come back
    // from it: the player has moved on to the next level.
    if (board && board->field != nullptr) {
        DeleteSavedGame(board->field->mode);
        wonResult = BoardLevelResult(true);
        // The rating comes from the shipped thresholds; without them the
        // level earns none and the summary shows none.
        wonResult.stars = levelStars->StarsFor(board->field->mode, wonResult.level, wonResult.score);
        wonPreviousBest = RecordLevelResult(wonResult);
    }
}

// ---------------------------------------------------------------------------
// Statistics

PlayerStatistics* GameApp::CurrentStatistics()
{
    PlayerProfile* profile = CurrentProfile();
    return profile != nullptr ? &statistics->Of(profile->name) : nullptr;
}

LevelResult GameApp::BoardLevelResult(bool won) const
{
    LevelResult r;
    if (!board || board->field == nullptr)
        return r;
    const LevelTally& tally = board->rules->tally;
    r.level = board->field->level.number;
    r.won = won;
    r.score = board->field->Score() - tally.StartScore();
    r.bestCombo = tally.BestCombo();
    r.bonuses = tally.Bonuses();
    r.moves = tally.Moves();
    r.seconds = tally.Seconds();
    return r;
}

int GameApp::RecordLevelResult(const LevelResult& r)
{
    lossPending = false;
    PlayerStatistics* figures = CurrentStatistics();
    // The editor's field is no level of a campaign.
    if (figures == nullptr || !board || board->field == nullptr || board->field->mode == PlayMode::Editor)
        return 0;
    lastResult = r;
    lastPreviousBest = figures->RecordLevel(board->field->mode, r);
    statistics->Save();
    return lastPreviousBest;
}

bool GameApp::RestoreGame(PlayMode mode)
{
    PlayerProfile* profile = CurrentProfile();
    if (profile == nullptr || !board || board->field == nullptr)
        return false;
    if (!savedGames->Restore(*board->field, profile->name, StoredMode(mode), PlayerLevelPath(mode)))
        return false;
    boardMode = mode;
    lossPending = false;
    // The level's time and tallies go on from where the game was saved
    // (the running score then was the player's, as it still is).
    const SuspendedLevel& kept = statistics->Of(profile->name).Suspended(mode);
    LevelTally& tally = board->rules->tally;
    if (kept.level == board->field->level.number)
        tally.Resume(profile->Progress(mode).score, kept.seconds, kept.bestCombo, kept.bonuses, kept.moves);
    else
        tally.Start(profile->Progress(mode).score);
    board->RebuildBackdrop();
    return true;
}

// ---------------------------------------------------------------------------
// Dialogs of the main menu and of a level

void GameApp::ShowLevelSummary(const std::string& header, const std::string& button)
{
    auto summary = std::make_unique<LevelSummaryWnd>(header, button, wonResult, wonPreviousBest);
    summary->dialogListener = this;
    AddDialog(DialogLevelWon, std::move(summary));
}

MapHost::LevelBest GameApp::BestOf(int level)
{
    PlayerStatistics* figures = CurrentStatistics();
    if (figures == nullptr || !board)
        return {};
    PlayMode mode = GetStageMap().Mode() == PlayMode::Drag ? PlayMode::Drag : PlayMode::Click;
    return {figures->BestScore(mode, level), figures->BestStars(mode, level)};
}

void GameApp::OpenContinueDialog() { ContinueGameWnd::Open(*this); }

void GameApp::OpenChangePlayerDialog()
{
    auto d = std::make_unique<ChPlayerDialog>(*playerDialogHost, W("Изменение игрока"));
    // Wide enough for its three buttons side by side inside the frame, high
    // enough for the whole list of players without scrolling.
    d->Resize(170, 115, 460, 370);
    d->FillList();
    AddDialog(DialogMenu, std::move(d));
}

void GameApp::OpenOptionsDialog() { DemoDialog::Open(*this); }

void GameApp::OpenHighScores()
{
    AddDialog(DialogHighScores, std::make_unique<HighscoresWnd>(*playerDialogHost, *highScores, -1));
}

void GameApp::OpenStatistics()
{
    PlayerStatistics* figures = CurrentStatistics();
    if (figures == nullptr || FindDialog(DialogStatistics) != nullptr)
        return;
    auto wnd = std::make_unique<StatisticsWnd>(*playerDialogHost, CurrentPlayerName(), *figures);
    StatisticsWnd* opened = wnd.get();
    AddDialog(DialogStatistics, std::move(wnd));
    widgetManager->SetFocusWidget(opened);
}

void GameApp::OpenGameMenu() { MenuWnd::Open(*this); }

void GameApp::ShowGameOverWindow()
{
    if (GetShufflesLeft() > 0)
        lossPending = true;
    else
        RecordLevelResult(BoardLevelResult(false));
    GameOverWnd::Open(*this);
}

void GameApp::ShowHowToPlay(bool clickMode)
{
    (void)clickMode; // the page follows the board's mode
    HowDialog::Open(*this);
}

void GameApp::CreateHintWindow()
{
    hintWindow = std::make_unique<HintWnd>(*this);
    if (IMAGE_W_HINT != nullptr)
        hintWindow->Resize(0, 0, IMAGE_W_HINT->GetWidth(), IMAGE_W_HINT->GetHeight());
}

void GameApp::ShowHintWindow(int x, int y, const std::string& text, const std::vector<Rect>& keepClear)
{
    if (!hintWindow)
        return;
    widgetManager->AddChild(hintWindow.get());
    hintWindow->Layout(x, y, text, keepClear);
}

void GameApp::HideHintWindow()
{
    if (hintWindow)
        widgetManager->RemoveChild(hintWindow.get());
}

// ---------------------------------------------------------------------------
// GameDialogHost

int GameApp::GetShufflesLeft() { return board && board->field != nullptr ? board->field->ShufflesLeft() : 0; }

void GameApp::FocusBoard()
{
    if (boardPanel && IsScreenShown(boardPanel.get()))
        widgetManager->SetFocusWidget(boardPanel.get());
}

void GameApp::Restart()
{
    if (!board)
        return;
    // Playing a lost level again instead of reshuffling ends it as lost.
    if (lossPending)
        RecordLevelResult(BoardLevelResult(false));
    // Playing the level again from its start leaves the saved position
    // behind, as starting any level does.
    DeleteSavedGame(board->field->mode);
    board->Restart();
}

void GameApp::Reshuffle()
{
    lossPending = false;
    if (board && board->rules)
        board->rules->Reshuffle();
}

void GameApp::SetBoardChanged()
{
    if (board)
        board->RebuildBackdrop();
}

void GameApp::RemoveMainMenu()
{
    if (mainMenu)
        widgetManager->RemoveChild(mainMenu.get());
}

void GameApp::StartLevel()
{
    if (!board)
        return;
    // "Новая игра": the old saved game belongs to a level left behind.
    lossPending = false;
    DeleteSavedGame(boardMode);
    board->StartLevel(boardMode);
}

AccelerationVerdict GameApp::GetAccelerationVerdict() { return ReadAccelerationVerdict(*this); }

} // namespace Zorvin
