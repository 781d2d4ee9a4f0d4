// GameApp's screen flow: building the game's screens once, the main menu's
// mode buttons, showing the board, leaving a level for the map or the main
// menu, the end of a campaign, the in-game menu and the tip balloon.

#include "game/app/GameApp.h"

#include "framework/core/Cp1251.h"
#include "framework/resources/ResourceManager.h"
#include "framework/widgets/WidgetManager.h"
#include "framework/widgets/controls/Dialog.h"
#include "game/app/AppBoardHost.h"
#include "game/app/profiles/FileNotices.h"
#include "game/app/dialogs/DialogStyle.h"
#include "game/app/profiles/HighScoreTable.h"
#include "game/app/profiles/PlayerList.h"
#include "game/app/screens/MapWnd.h"
#include "game/app/screens/TitleScreen.h"
#include "game/app/screens/TitleWnd.h"
#include "game/board/view/Board.h"
#include "game/board/view/BoardInterface.h"
#include "game/shared/Res.h"

#include <algorithm>

namespace Zorvin {

void GameApp::OnTitleScreenDone(TitleScreen* screen, Widget* startLink)
{
    DeferDelete(startLink);
    if (screen != titleScreen.get())
        return;
    DeferDelete(titleScreen.release());
    CreateGameScreens();
}

void GameApp::CreateGameScreens()
{
    if (mainMenu)
        return;
    boardHost = std::make_unique<AppBoardHost>(*this);
    board = std::make_unique<Board>(*boardHost);
    boardPanel = std::make_unique<BoardInterface>(*board, *boardHost);

    // The loading display is gone for good; so are its pictures.
    resourceManager->DeleteResources("TitleScreen");
    IMAGE_LOADER_BAR = nullptr;
    IMAGE_LOADER_KORVELT = nullptr;
    IMAGE_LOGO_BIG = nullptr;
    SOUND_CONTINUE = -1;

    // The panel beneath the board receives all of a level's input.
    board->Resize(0, 0, 0, 0);
    board->widgetFlagsMod.removeFlags |= MouseBit;
    boardPanel->Resize(0, 0, width, height);

    mainMenu = std::make_unique<TitleWnd>(*this);
    mainMenu->Resize(0, 0, width, height);
    widgetManager->AddChild(mainMenu.get());
    widgetManager->SetFocusWidget(mainMenu.get());

    mapScreen = std::make_unique<MapWnd>(*this);
    mapScreen->Resize(0, 0, width, height);

    CreateHintWindow();
    // What went wrong with the player's files comes first: it may be why
    // the game asks for a name.
    while (!fileNotices->Empty() && !HasShutdownStarted())
        ShowFileNotice(true);
    if (players->currentPlayer == -1)
        AskFirstPlayerName();
}

std::string GameApp::CurrentPlayerName()
{
    PlayerProfile* profile = CurrentProfile();
    return profile != nullptr ? profile->name : std::string();
}

PlayerProfile* GameApp::CurrentProfile() { return players ? players->CurrentProfile() : nullptr; }

bool GameApp::IsScreenShown(Widget* screen) const
{
    return screen != nullptr && widgetManager->HasChild(screen);
}

// ---------------------------------------------------------------------------
// Main menu and game

void GameApp::StartMode(PlayMode mode)
{
    levelWonThisSession = false;
    boardMode = mode;
    // The map follows the mode: another mode's thumbnails are of no use.
    if (board->field->mode != mode) {
        board->stageMap->ReleaseThumbnails();
        board->field->mode = mode;
    }
    board->stageMap->RebuildStagePoints();
    PlayerProfile* profile = CurrentProfile();
    if (profile == nullptr)
        return; // the name dialog is still open or was never answered
    int level = profile->Progress(mode).level;
    if (level > 1 || HasSavedGame(mode)) {
        OpenContinueDialog();
        return;
    }
    profile->shufflesLeft = 1;
    profile->Progress(mode).score = 0;
    if (mode != PlayMode::Click)
        profile->placeCount = 2;
    ShowBoard(mode);
}

void GameApp::ShowBoard(PlayMode mode)
{
    boardMode = mode;
    ShowBoardScreen();
    // A level of the mode starts: the mode's saved game, if any, is of a
    // level the player has left behind (it was not continued), and must not
    // come back later under this level's number. It is retired before the
    // start, since the start's intro may itself be left with a save.
    lossPending = false;
    DeleteSavedGame(mode);
    board->StartLevel(mode);
    if (PlayerProfile* profile = CurrentProfile())
        AddDemoMarker(std::string(mode == PlayMode::Click ? "Click" : "Drag") + " level " +
                      std::to_string(profile->Progress(mode).level));
}

void GameApp::ShowBoardScreen()
{
    if (!IsScreenShown(boardPanel.get())) {
        widgetManager->AddChild(boardPanel.get());
        widgetManager->AddChild(board.get());
    }
    widgetManager->SetFocusWidget(boardPanel.get());
    if (mainMenu)
        widgetManager->RemoveChild(mainMenu.get());
    if (IsScreenShown(mapScreen.get()))
        widgetManager->RemoveChild(mapScreen.get());
}

void GameApp::RemoveGameScreens()
{
    HideHintWindow();
    if (IsScreenShown(mapScreen.get()))
        widgetManager->RemoveChild(mapScreen.get());
    if (board)
        widgetManager->RemoveChild(board.get());
    if (boardPanel)
        widgetManager->RemoveChild(boardPanel.get());
}

void GameApp::ShowMainMenu()
{
    RemoveGameScreens();
    if (!IsScreenShown(mainMenu.get()))
        widgetManager->AddChild(mainMenu.get());
    widgetManager->SetFocusWidget(mainMenu.get());
    mainMenu->MarkDirty();
    AddDemoMarker("Main menu");
}

// ---------------------------------------------------------------------------
// Leaving a level

void GameApp::ShowMap()
{
    // The panel settles the music and the end of the campaign, then asks
    // for the map screen (or FinishCampaign).
    if (boardPanel)
        boardPanel->ShowMap();
}

void GameApp::ShowMapScreen(int level)
{
    RemoveGameScreens();
    widgetManager->AddChild(mapScreen.get());
    widgetManager->SetFocusWidget(mapScreen.get());
    mapScreen->Enter(level);
    AddDemoMarker("Map at level " + std::to_string(level));
}

StageMap& GameApp::GetStageMap()
{
    return *board->stageMap;
}

void GameApp::PlayLevelFromMap()
{
    // The map has stored the chosen level as the player's level of the mode.
    ShowBoard(boardMode);
}

void GameApp::ExitToMainMenu(bool saveGame)
{
    auto dialog = std::make_unique<Dialog>(IMAGE_DIALOG_BOX, IMAGE_BUTTON_NORMAL, DialogConfirm, true, std::string(),
                                           W("Вы действительно хотите закончить игру и выйти в главное меню? "
                                             "Ваша игра будет сохранена."),
                                           std::string(), Dialog::ButtonsYesNo);
    Dialog* confirm = dialog.get();
    confirm->dialogListener = this;
    confirm->contentInsets = Insets{40, 40, 40, 20};
    confirm->SetButtonFont(FONT_DEFAULT);
    confirm->SetBodyFont(FONT_DEFAULT);
    // Dark text: the dialog art is light parchment.
    confirm->SetColor(Dialog::ColorLines, Color(0, 0, 0));
    // The insets sit outside the visible box, which keeps the small
    // dialogs' size unless the question needs more room.
    if (IMAGE_W_SMALL != nullptr) {
        const Insets& in = confirm->contentInsets;
        SizeToText(*confirm, IMAGE_W_SMALL->GetWidth() + in.left + in.right,
                   IMAGE_W_SMALL->GetHeight() + in.top + in.bottom);
    }
    AddDialog(DialogConfirm, std::move(dialog));
    if (confirm->RunUntilAnswered() != Dialog::IdYes)
        return;

    if (boardMode == PlayMode::Click || boardMode == PlayMode::Drag) {
        if (saveGame) {
            SaveGameInProgress();
            SavePlayers();
        } else {
            DeleteSavedGame(boardMode);
        }
    }
    if (levelWonThisSession) {
        EndGameToMainMenu();
        return;
    }
    ShowMainMenu();
    SwitchSong(SongTitle);
}

void GameApp::EndGameToMainMenu()
{
    ShowMainMenu();
    EnterHighScore();
}

void GameApp::FinishCampaign()
{
    if (mapScreen) {
        mapScreen->scrollProgress = 100;
        mapScreen->scrollDelay = 0;
    }
    auto dialog = std::make_unique<Dialog>(IMAGE_COMPLETE_WND, IMAGE_BUTTON_NORMAL, DialogCampaignComplete, true,
                                           std::string(), CampaignResultText(), "Ok", Dialog::ButtonsFooter);
    Dialog* done = dialog.get();
    done->dialogListener = this;
    done->contentInsets = Insets{80, 80, 80, 80};
    done->SetButtonFont(FONT_DEFAULT);
    done->SetBodyFont(FONT_DEFAULT);
    done->SetColor(Dialog::ColorLines, Color(0, 0, 0));
    // The picture's own lines end at this height: the score goes below.
    done->backgroundInsets.top = kCampaignTextTop;
    CenterOnScreen(done, IMAGE_COMPLETE_WND);
    AddDialog(DialogCampaignComplete, std::move(dialog));
    if (done->RunUntilAnswered() != Dialog::IdYes)
        return;

    EndGameToMainMenu();
    PlayerProfile* profile = CurrentProfile();
    if (profile != nullptr) {
        ModeProgress progress = profile->Progress(boardMode == PlayMode::Drag ? PlayMode::Drag : PlayMode::Click);
        progress.score = 0;
        progress.level = 1;
    }
    DeleteSavedGame(boardMode == PlayMode::Drag ? PlayMode::Drag : PlayMode::Click);
    SavePlayers();
}

std::string GameApp::CampaignResultText()
{
    PlayerProfile* profile = CurrentProfile();
    if (profile == nullptr)
        return {};
    PlayMode mode = boardMode == PlayMode::Drag ? PlayMode::Drag : PlayMode::Click;
    int score = profile->Progress(mode).score;
    // The table entry is offered only to a score the table takes.
    std::string verdict = highScores->Qualifies(StoredMode(mode), score) ? W("Он попадёт в таблицу рекордов.")
                                                                         : W("Для таблицы рекордов этого мало.");
    return W("Ваш счет: ") + std::to_string(score) + ". " + verdict;
}

void GameApp::CenterOnScreen(Widget* widget, Image* sizeFrom)
{
    if (sizeFrom == nullptr)
        return;
    widget->Resize(400 - sizeFrom->GetWidth() / 2, 300 - sizeFrom->GetHeight() / 2, sizeFrom->GetWidth(),
                   sizeFrom->GetHeight());
}

void GameApp::OnAppFocusLost()
{
    // Only a level in play pauses; the menu, the map and open dialogs stay.
    if (boardPanel && IsScreenShown(boardPanel.get()) && widgetManager->GetFocusWidget() == boardPanel.get())
        OpenGameMenu();
}

} // namespace Zorvin
