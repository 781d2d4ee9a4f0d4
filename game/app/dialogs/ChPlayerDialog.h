#pragma once

// ChPlayerDialog: the change-player dialog (number 1005). A list of
// "[ Новый игрок ]" and the player names, and the buttons "Выбрать",
// "Удалить" and "Изменить". Clicking the first line adds a player, a double
// click on a name or "Выбрать" makes that player current and closes; there
// is no cancel. Reaches the players and the other dialogs through its
// PlayerDialogHost; owned by the application while open.

#include <memory>
#include <string>

#include "framework/widgets/ListListener.h"
#include "framework/widgets/controls/Dialog.h"

namespace Zorvin {

class DialogButton;
class ListWidget;
class PlayerDialogHost;

class ChPlayerDialog : public Dialog, public ListListener {
public:
    enum { IdSelect = 0, IdDelete = 1, IdRename = 2 };

    ChPlayerDialog(PlayerDialogHost& host, const std::string& dialogHeader);
    ~ChPlayerDialog() override;

    // Lists the players of the host in their order and selects the current
    // one.
    void FillList();

    void Resize(int newX, int newY, int newWidth, int newHeight) override;
    void OnButtonClick(int buttonId) override;
    void ListClicked(int listId, int line, int clickCount) override;

    ListWidget& List() { return *list; }

private:
    // Up and Down move through the list ("[ Новый игрок ]" included),
    // Enter on the list chooses the player (or asks for a new one) as a
    // double click does; Escape closes and keeps the current player.
    bool KeyForStop(Widget* stop, int key) override;
    void OnEscapeKey() override;

    void SelectPlayerLine(int line);
    void MakeCurrentAndClose(int line);
    void AddPlayer();
    void RenamePlayer(int line);
    void DeletePlayer(int line);
    bool IsPlayerLine(int line) const;

    PlayerDialogHost& host;
    std::unique_ptr<ListWidget> list;
    std::unique_ptr<DialogButton> buttons[3];
    // The selected player line, kept while the "new player" line is clicked.
    int playerLine = -1;
};

} // namespace Zorvin
