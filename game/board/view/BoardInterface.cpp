#include "game/board/view/BoardInterface.h"

#include "framework/core/Cp1251.h"
#include "framework/core/KeyCodes.h"
#include "framework/graphics/Graphics.h"
#include "framework/widgets/controls/ButtonWidget.h"
#include "game/board/LevelFile.h"
#include "game/board/view/Board.h"
#include "game/board/view/BoardPanelHost.h"
#include "game/shared/PlayerProfile.h"
#include "game/shared/Res.h"

namespace Zorvin {

namespace {

// The last level of each play mode; past it the game is complete.
constexpr int kLastDragLevel = PlayerProfile::kLastLevelMode0;
constexpr int kLastClickLevel = PlayerProfile::kLastLevelMode2;
constexpr double kMusicFade = 0.002;
constexpr int kMapSong = 3;

std::unique_ptr<ButtonWidget> MakeButton(int id, ButtonListener* listener, Image* normal, Image* over, Image* down,
                                         Image* disabled)
{
    auto b = std::make_unique<ButtonWidget>(id, listener);
    b->buttonImage = normal;
    b->overImage = over;
    b->downImage = down;
    b->disabledImage = disabled;
    b->doHandCursor = true;
    return b;
}

void Label(ButtonWidget& b, const std::string& text)
{
    b.label = text;
    if (FONT_DEFAULT)
        b.SetFont(FONT_DEFAULT);
    b.SetColor(ButtonWidget::ColorLabelHilite, Color::White);
}

} // namespace

BoardInterface::BoardInterface(Board& board, BoardPanelHost& host) : board(board), app(host)
{
    Resize(0, 0, 800, 600);
    board.underlay = this;

    menuButton = MakeButton(kMenuButton, this, IMAGE_BUTTON_MENU, IMAGE_BUTTON_MENU_OVER, IMAGE_BUTTON_MENU_DOWN,
                            nullptr);
    menuButton->Resize(693, 540, IMAGE_BUTTON_MENU ? IMAGE_BUTTON_MENU->GetWidth() : 100,
                       IMAGE_BUTTON_MENU ? IMAGE_BUTTON_MENU->GetHeight() : 56);

    int bw = IMAGE_BUTTON_NORMAL ? IMAGE_BUTTON_NORMAL->GetWidth() : 110;
    int bh = (IMAGE_BUTTON_NORMAL ? IMAGE_BUTTON_NORMAL->GetHeight() : 30) - 2;
    undoButton = MakeButton(kUndoButton, this, IMAGE_BUTTON_NORMAL, IMAGE_BUTTON_OVER, IMAGE_BUTTON_DOWN,
                            IMAGE_BUTTON_DISABLE);
    Label(*undoButton, W("Отмена"));
    undoButton->Resize(578, 538, bw, bh);
    undoButton->SetDisabled(true);

    hintButton = MakeButton(kHintButton, this, IMAGE_BUTTON_NORMAL, IMAGE_BUTTON_OVER, IMAGE_BUTTON_DOWN, nullptr);
    Label(*hintButton, W("Подсказка"));
    hintButton->Resize(578, 568, bw, bh);

    reshuffleButton = MakeButton(kReshuffleButton, this, IMAGE_BUTTON_NORMAL, IMAGE_BUTTON_OVER, IMAGE_BUTTON_DOWN,
                                 IMAGE_BUTTON_DISABLE);
    Label(*reshuffleButton, W("Тасовок"));
    reshuffleButton->Resize(128, 568, bw, bh);

    for (ButtonWidget* b : {menuButton.get(), undoButton.get(), hintButton.get(), reshuffleButton.get()})
        AddChild(b);
}

BoardInterface::~BoardInterface()
{
    if (board.underlay == this)
        board.underlay = nullptr;
    for (ButtonWidget* b : {menuButton.get(), undoButton.get(), hintButton.get(), reshuffleButton.get()})
        RemoveChild(b);
}

void BoardInterface::Draw(Graphics* g)
{
    // The board never paints its background itself: this one copy of the
    // cached backdrop is the bottom of every frame.
    g->DrawImage(board.GetBackdrop(), 0, 0);
    // The board above draws the tiles over it in the same frame. A partial
    // repaint (a limited clip) draws the board over its area anyway; only a
    // whole copy has to bring the whole board along.
    if (!g->IsClipLimited())
        board.MarkDirty();
}

bool BoardInterface::Editing() const { return board.editor->Active() && !board.field->Loading(); }

void BoardInterface::MouseMove(int px, int py)
{
    // The pointer is in use: the keyboard's focus hides until the next key.
    // (The widget tree also reports the pointer where it rests when the
    // screen under it changes; that is no use of the mouse.)
    if (px != pointerX || py != pointerY)
        board.rules->keys->HideFocus();
    pointerX = px;
    pointerY = py;
    if (Editing() ? board.editor->MouseMove(px, py) : board.rules->MouseMove(px, py))
        MarkDirty();
}

void BoardInterface::MouseDown(int px, int py, int clickCode)
{
    Widget::MouseDown(px, py, clickCode);
    if (Editing())
        board.editor->MouseDown(px, py, clickCode);
    else
        board.rules->MouseDown(clickCode, px, py);
}

void BoardInterface::MouseDrag(int px, int py)
{
    if (Editing() ? board.editor->MouseDrag(px, py) : board.rules->MouseDrag(px, py))
        MarkDirty();
}

void BoardInterface::MouseUp(int px, int py, int clickCode)
{
    // The rules settle a completed put here: score, combo popup and sound,
    // the joker hint and the undo button.
    Widget::MouseUp(px, py, clickCode);
    if (Editing())
        board.editor->MouseUp(px, py, clickCode);
    else
        board.rules->MouseUp(clickCode, px, py);
}

void BoardInterface::OnButtonClick(int id)
{
    app.PlaySound(SOUND_CLICK);
    switch (id) {
    case kMenuButton:
        app.OpenMenu();
        break;
    case kUndoButton:
        // A second click queued before the button greyed out must not take
        // back a second put.
        if (undoButton->disabled)
            break;
        undoButton->SetDisabled(true);
        board.rules->UndoButton();
        break;
    case kHintButton:
        board.rules->HintButton();
        break;
    case kReshuffleButton:
        board.rules->Reshuffle();
        break;
    default:
        break;
    }
}

void BoardInterface::KeyDown(int key)
{
    FishField& field = *board.field;
    if (app.DebugKeysEnabled() && !field.Loading()) {
        board.editor->KeyDown(key, app);
        if (key == KeyF4) {
            ShowMap();
        } else if (key == KeyF5) {
            SkipLevel();
        } else if (key == KeyF7) {
            board.deck->CountMoves();
            field.CheckEnd();
        }
    }
    if (!Editing() && PlayKey(key))
        return;
    if (key == KeyEscape)
        OnButtonClick(kMenuButton);
}

bool BoardInterface::PlayKey(int key)
{
    // Letters with Control or Alt held belong to the developer keys
    // (Ctrl+Alt+D) or the system, except Ctrl+Z, the undo everyone knows.
    bool ctrl = app.IsKeyHeld(KeyControl), alt = app.IsKeyHeld(KeyAlt);
    BoardKeys& keys = *board.rules->keys;
    switch (key) {
    case KeyArrowLeft:
        keys.Move(-1, 0);
        break;
    case KeyArrowRight:
        keys.Move(1, 0);
        break;
    case KeyArrowUp:
        keys.Move(0, -1);
        break;
    case KeyArrowDown:
        keys.Move(0, 1);
        break;
    case KeyEnter:
    case KeySpace:
        keys.Activate();
        break;
    case KeyEscape:
        // A picked tile is put down first; the menu comes with the next Escape.
        return keys.Cancel();
    case KeyBack:
        PressIfEnabled(*undoButton);
        break;
    case 'Z':
        if (!ctrl || alt)
            return false;
        PressIfEnabled(*undoButton);
        break;
    case 'H':
    case 'D':
    case 'R':
        if (ctrl || alt)
            return false;
        if (key == 'H') {
            PressIfEnabled(*hintButton);
            keys.FocusHint();
        }
        else if (key == 'R')
            PressIfEnabled(*reshuffleButton);
        else
            keys.ClickDeck();
        break;
    default:
        return false;
    }
    board.RequestRedraw();
    return true;
}

void BoardInterface::PressIfEnabled(ButtonWidget& button)
{
    if (!button.disabled)
        OnButtonClick(button.id);
}

void BoardInterface::CharTyped(char ch)
{
    if (app.DebugKeysEnabled() && !board.field->Loading())
        board.editor->CharTyped(ch);
}

void BoardInterface::ShowMap()
{
    PlayerProfile* p = app.CurrentProfile();
    if (!p)
        return;
    bool click = board.field->mode == PlayMode::Click;
    int level = p->Progress(board.field->mode).level;
    if (level > (click ? kLastClickLevel : kLastDragLevel)) {
        app.ShowGameComplete();
        return;
    }
    app.FadeOutAllMusic(kMusicFade);
    app.FadeInSong(kMapSong, kMusicFade, true);
    app.ShowMapScreen(level);
}

void BoardInterface::SkipLevel()
{
    PlayerProfile* p = app.CurrentProfile();
    if (!p)
        return;
    FishField& field = *board.field;
    p->shufflesLeft = field.ShufflesLeft();
    p->placeCount = board.deck->placeCount;
    if (field.mode == PlayMode::Editor) {
        ++field.level.number;
        app.SavePlayers();
        board.StartLevelFile(field.mode, field.level.number, LevelPath(field.mode, field.level.number));
        return;
    }
    bool click = field.mode == PlayMode::Click;
    int old = field.level.number;
    ModeProgress progress = p->Progress(field.mode);
    progress.score = field.Score();
    ++progress.level;
    // The progress is saved either way, so a game completed by skipping is
    // not lost when the sequence after it is left early.
    app.SavePlayers();
    if (old >= (click ? kLastClickLevel : kLastDragLevel)) {
        app.ShowGameComplete();
        return;
    }
    ++field.level.number;
    board.StartLevel(field.mode);
}

void BoardInterface::SetUndoEnabled(bool enabled)
{
    if (undoButton)
        undoButton->SetDisabled(!enabled);
}

void BoardInterface::SetReshuffleButton(bool enabled, const std::string& label)
{
    if (!reshuffleButton)
        return;
    reshuffleButton->SetDisabled(!enabled);
    reshuffleButton->label = label;
}

} // namespace Zorvin
