#include "game/app/dialogs/ChPlayerDialog.h"

#include "framework/core/Cp1251.h"
#include "framework/core/KeyCodes.h"

#include <algorithm>
#include "framework/graphics/Graphics.h"
#include "framework/graphics/Image.h"
#include "framework/widgets/controls/DialogButton.h"
#include "framework/widgets/controls/ListWidget.h"
#include "game/app/dialogs/DialogStyle.h"
#include "game/app/dialogs/PlayerDialogHost.h"
#include "game/app/profiles/PlayerList.h"
#include "game/shared/Res.h"
#include "game/shared/DialogIds.h"

namespace Zorvin {

namespace {

constexpr int ListTop = 80;
// Between the buttons, and between them and the list and the border.
constexpr int ButtonGap = 12;

// A dialog button whose whole frame changes with its state: normal, under
// the mouse, pressed.
class StateFrameButton : public DialogButton {
public:
    using DialogButton::DialogButton;
    void Draw(Graphics* g) override
    {
        Image* frame = IsButtonDown() ? IMAGE_BUTTON_DOWN : isOver ? IMAGE_BUTTON_OVER : IMAGE_BUTTON_NORMAL;
        componentImage = frame ? frame : IMAGE_BUTTON_NORMAL;
        DialogButton::Draw(g);
    }
};

} // namespace

ChPlayerDialog::ChPlayerDialog(PlayerDialogHost& dialogHost, const std::string& dialogHeader)
    : Dialog(IMAGE_DIALOG_BOX, IMAGE_BUTTON_NORMAL, DialogMenu, true, dialogHeader, "", "", ButtonsNone),
      host(dialogHost)
{
    contentInsets = {30, 30, 30, 20};
    spaceAfterHeader = 30;
    SetHeaderFont(FONT_DEFAULT);
    SetBodyFont(FONT_DEFAULT);
    SetColor(ColorHeader, Color::Black);
    SetColor(ColorLines, Color::Black);

    static const char* const labels[3] = {"Выбрать", "Удалить", "Изменить"};
    for (int i = 0; i < 3; ++i) {
        buttons[i] = std::make_unique<StateFrameButton>(IMAGE_BUTTON_NORMAL, i, this);
        buttons[i]->label = W(labels[i]);
        if (FONT_DEFAULT)
            buttons[i]->SetFont(FONT_DEFAULT);
        buttons[i]->colors = {Color::White, Color::White};
        AddChild(buttons[i].get());
    }

    list = std::make_unique<ListWidget>(0, FONT_DEFAULT, this);
    static const int listColors[6][3] = {{128, 128, 128}, {0, 0, 0},   {0, 0, 0},
                                         {0, 0, 255},     {255, 255, 255}, {190, 0, 80}};
    list->SetColors(listColors, 6);
    AddChild(list.get());
}

ChPlayerDialog::~ChPlayerDialog()
{
    RemoveChild(list.get());
    for (auto& b : buttons)
        RemoveChild(b.get());
}

void ChPlayerDialog::FillList()
{
    list->RemoveAll();
    list->AddLine(W("[ Новый игрок ]"));
    PlayerList& players = host.Players();
    for (int i = 0; i < players.Count(); ++i)
        list->AddLine(players.At(i).name);
    SelectPlayerLine(players.currentPlayer + 1);
}

void ChPlayerDialog::Resize(int newX, int newY, int newWidth, int newHeight)
{
    Dialog::Resize(newX, newY, newWidth, newHeight);
    int l = contentInsets.left, r = contentInsets.right;
    // The buttons stand in one row at the foot of the frame's body, centred
    // and clear of the border and its corner rosettes; the list starts
    // below the header and ends above them.
    Rect frame = GetFrameRect();
    int bodyBottom = frame.Bottom() - DialogFrameBorder;
    int buttonW = IMAGE_BUTTON_NORMAL ? IMAGE_BUTTON_NORMAL->width : 110;
    int buttonH = IMAGE_BUTTON_NORMAL ? IMAGE_BUTTON_NORMAL->height : 30;
    int buttonY = bodyBottom - ButtonGap - buttonH;
    int rowW = 3 * buttonW + 2 * ButtonGap;
    int rowX = frame.x + (frame.width - rowW) / 2;
    for (int i = 0; i < 3; ++i)
        buttons[i]->Resize(rowX + i * (buttonW + ButtonGap), buttonY, buttonW, buttonH);
    list->Resize(l + 20, ListTop, newWidth - r - l - 40, buttonY - ButtonGap - ListTop);
}

bool ChPlayerDialog::KeyForStop(Widget* stop, int key)
{
    if (stop != list.get())
        return false;
    int n = list->GetLineCount();
    int at = list->selectIdx;
    if (key == KeyArrowUp || key == KeyArrowDown) {
        int to = std::clamp(at + (key == KeyArrowUp ? -1 : 1), 0, std::max(0, n - 1));
        if (IsPlayerLine(to))
            SelectPlayerLine(to);
        else
            list->SetSelect(to);
        return true;
    }
    if (key == KeyEnter || key == KeySpace) {
        if (IsPlayerLine(at))
            MakeCurrentAndClose(at);
        else if (at == 0)
            AddPlayer();
        return true;
    }
    return false;
}

void ChPlayerDialog::OnEscapeKey()
{
    host.PlayClick();
    host.CloseDialog(this);
}

bool ChPlayerDialog::IsPlayerLine(int line) const { return line > 0 && line < list->GetLineCount(); }

void ChPlayerDialog::SelectPlayerLine(int line)
{
    playerLine = IsPlayerLine(line) ? line : -1;
    list->SetSelect(playerLine);
}

void ChPlayerDialog::MakeCurrentAndClose(int line)
{
    PlayerList& players = host.Players();
    players.currentPlayer = line - 1;
    players.SavePlayers();
    host.CloseDialog(this);
}

void ChPlayerDialog::OnButtonClick(int buttonId)
{
    host.PlayClick();
    // Only a player line can be chosen, renamed or deleted; with the
    // "new player" line or nothing selected the buttons do nothing, so the
    // game never goes on without a current player.
    int s = list->selectIdx;
    if (!IsPlayerLine(s))
        return;
    if (buttonId == IdSelect)
        MakeCurrentAndClose(s);
    else if (buttonId == IdRename)
        RenamePlayer(s);
    else if (buttonId == IdDelete)
        DeletePlayer(s);
}

void ChPlayerDialog::ListClicked(int, int line, int clickCount)
{
    if (IsPlayerLine(line)) {
        if (clickCount == 2)
            MakeCurrentAndClose(line);
        else if (clickCount == 1)
            SelectPlayerLine(line);
        return;
    }
    // The first line asks for a new player. A double click always follows
    // a single one, which has already asked, so only the single click counts.
    if (line == 0 && clickCount == 1) {
        list->SetSelect(playerLine);
        AddPlayer();
    }
}

void ChPlayerDialog::AddPlayer()
{
    PlayerList& players = host.Players();
    if (players.Count() >= PlayerList::MaxPlayers) {
        host.ShowMessage(DialogPlayerMessage, W("Список игроков заполнен!"), W("Пожалуйста удалите игрока прежде чем добавить нового."));
        return;
    }
    std::string name;
    if (!host.AskName(W("Новый игрок"), W("Имя"), "New Player", name))
        return;
    if (players.PlayerNameExists(name)) {
        host.ShowMessage(DialogPlayerMessage, W("Не могу добавить такого игрока!"), W("Игрок с таким именем уже есть."));
        return;
    }
    SelectPlayerLine(list->AddLine(name));
    players.AddPlayer(name);
    players.SavePlayers();
}

void ChPlayerDialog::RenamePlayer(int line)
{
    std::string name;
    if (!host.AskName(W("Изменить имя"), W("Имя"), list->GetStringAt(line), name))
        return;
    PlayerList& players = host.Players();
    if (players.PlayerNameExists(name)) {
        host.ShowMessage(DialogPlayerMessage, W("Не могу изменить имя игрока!"), W("Такое имя уже есть."));
        return;
    }
    if (players.RenamePlayer(line - 1, name))
        list->SetLine(line, name);
}

void ChPlayerDialog::DeletePlayer(int line)
{
    PlayerList& players = host.Players();
    if (players.Count() < 2) {
        host.ShowMessage(111, "", W("Пожалуйста создайте еще одного игрока прежде чем удалить этого."));
        return;
    }
    std::string name = list->GetStringAt(line);
    if (!host.Confirm(W("Вы уверены что хотите удалить игрока с именем '") + name + "'?"))
        return;
    if (!players.DeletePlayer(line - 1))
        return;
    list->RemoveLine(line);
    SelectPlayerLine(line < list->GetLineCount() ? line : list->GetLineCount() - 1);
}

} // namespace Zorvin
