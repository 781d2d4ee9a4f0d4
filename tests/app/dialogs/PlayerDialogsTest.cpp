#include "game/app/dialogs/ChPlayerDialog.h"
#include "game/app/dialogs/DialogWithEdit.h"
#include "game/app/dialogs/HighscoresWnd.h"

#include <gtest/gtest.h>

#include <deque>

#include "framework/core/Cp1251.h"
#include "framework/graphics/MemoryImage.h"
#include "framework/widgets/WidgetManager.h"
#include "framework/widgets/controls/EditWidget.h"
#include "framework/widgets/controls/ListWidget.h"
#include "game/app/dialogs/PlayerDialogHost.h"
#include "game/app/profiles/HighScoreTable.h"
#include "game/app/profiles/PlayerList.h"
#include "game/shared/Res.h"
#include "tests/app/profiles/ProfileTestSupport.h"
#include "tests/framework/font/TestFont.h"

using namespace Zorvin;

namespace {

// Answers the name questions from a script and records everything else.
class FakeHost : public PlayerDialogHost {
public:
    explicit FakeHost(const std::string& folder) : players(folder) {}
    PlayerList& Players() override { return players; }
    void PlayClick() override { ++clicks; }
    bool AskName(const std::string& header, const std::string&, const std::string& suggested,
                 std::string& name) override
    {
        asked.push_back(header + "|" + suggested);
        if (names.empty())
            return false;
        name = names.front();
        names.pop_front();
        return true;
    }
    void ShowMessage(int id, const std::string& header, const std::string& text) override
    {
        messages.push_back(std::to_string(id) + "|" + header + "|" + text);
    }
    bool Confirm(const std::string& text) override
    {
        messages.push_back("?" + text);
        return confirm;
    }
    void CloseDialog(Dialog* d) override { closed.push_back(d); }
    void OpenStatistics() override {}

    PlayerList players;
    std::deque<std::string> names;
    std::vector<std::string> asked, messages;
    std::vector<Dialog*> closed;
    bool confirm = true;
    int clicks = 0;
};

} // namespace

TEST(PlayerDialogs, NameFieldRefusesFilteredCharactersLongNamesAndEmptyAnswers)
{
    WidgetManager wm(nullptr);
    wm.ResizeRoot(800, 600);
    std::string answer = "unchanged";
    DialogWithEdit d("Header", "Name", "", nullptr);
    d.answer = &answer;
    d.Resize(222, 202, 356, 196);
    wm.AddChild(&d);
    wm.SetFocusWidget(&d.Edit());

    d.OnButtonClick(DialogWithEdit::IdOk); // empty: not accepted
    d.EditWidgetText(0, "");
    EXPECT_EQ(d.result, Dialog::NoResult);
    // Nor spaces only, plain or no-break: a blank line in the player list
    // and a greeting without a name.
    for (const std::string blank : {"   ", "\xA0 \xA0"}) {
        d.Edit().SetText(blank);
        d.OnButtonClick(DialogWithEdit::IdOk);
        wm.CharTyped(13); // Enter
        EXPECT_EQ(d.result, Dialog::NoResult);
    }
    EXPECT_EQ(answer, "unchanged");
    d.Edit().SetText("");

    for (char ch : std::string("a.b/\\\x01:c"))
        wm.CharTyped(ch);
    EXPECT_EQ(d.Edit().GetText(), "abc");
    for (char ch : std::string("defghijklmn"))
        wm.CharTyped(ch);
    EXPECT_EQ(d.Edit().GetText(), "abcdefghijkl"); // the 13th character is refused

    wm.CharTyped(13); // Enter
    EXPECT_EQ(d.result, 1);
    EXPECT_EQ(answer, "abcdefghijkl");
    d.OnButtonClick(DialogWithEdit::IdCancel);
    EXPECT_EQ(d.result, 0);
    EXPECT_EQ(answer, "");
    wm.RemoveChild(&d);
}

TEST(PlayerDialogs, ChangePlayerAddsRefusesAndDeletesLikeItsMessagesSay)
{
    FakeHost host(ProfileTest::TempFolder("chplayer"));
    PlayerList& players = host.players;
    players.AddPlayer("Anna");
    players.AddPlayer("Bob");
    players.currentPlayer = 1;
    ChPlayerDialog d(host, W("Изменение игрока"));
    d.Resize(200, 150, 400, 300);
    d.FillList();
    ListWidget& list = d.List();
    ASSERT_EQ(list.GetLineCount(), 3);
    EXPECT_EQ(list.selectIdx, 2);

    // A click and a double click on the first line ask once; the new
    // player is listed, selected and saved, but not yet current.
    host.names = {"Cy"};
    list.SetSelect(0); // what the list itself does on a click
    d.ListClicked(0, 0, 1);
    d.ListClicked(0, 0, 2);
    ASSERT_EQ(host.asked.size(), 1u);
    EXPECT_EQ(host.asked[0], W("Новый игрок") + "|New Player");
    EXPECT_EQ(list.GetStringAt(3), "Cy");
    EXPECT_EQ(list.selectIdx, 3);
    EXPECT_EQ(players.currentPlayer, 1);
    PlayerList saved(players.Folder());
    saved.LoadPlayers();
    EXPECT_EQ(saved.Count(), 3);

    // A name that exists is refused, for a new player and for a rename.
    host.names = {"Anna", "Bob"};
    d.ListClicked(0, 0, 1);
    d.OnButtonClick(ChPlayerDialog::IdRename);
    ASSERT_EQ(host.messages.size(), 2u);
    EXPECT_EQ(host.messages[0], "100|" + W("Не могу добавить такого игрока!") + "|" + W("Игрок с таким именем уже есть."));
    EXPECT_EQ(host.messages[1], "100|" + W("Не могу изменить имя игрока!") + "|" + W("Такое имя уже есть."));
    EXPECT_EQ(players.Count(), 3);
    EXPECT_EQ(list.selectIdx, 3); // the failed add kept the selection

    // Deleting the selected last line selects the new last line.
    d.OnButtonClick(ChPlayerDialog::IdDelete);
    EXPECT_EQ(host.messages.back(), "?" + W("Вы уверены что хотите удалить игрока с именем 'Cy'?"));
    EXPECT_EQ(players.Count(), 2);
    EXPECT_EQ(list.GetLineCount(), 3);
    EXPECT_EQ(list.selectIdx, 2);

    // With the first line selected "Выбрать" does nothing: the game must
    // always have a current player.
    list.SetSelect(0);
    d.OnButtonClick(ChPlayerDialog::IdSelect);
    EXPECT_TRUE(host.closed.empty());
    EXPECT_EQ(players.currentPlayer, 1);

    // A double click on a player chooses and closes.
    d.ListClicked(0, 1, 2);
    EXPECT_EQ(players.currentPlayer, 0);
    ASSERT_EQ(host.closed.size(), 1u);
    EXPECT_EQ(host.clicks, 3);
}

TEST(PlayerDialogs, ChangePlayerLimits)
{
    FakeHost host(ProfileTest::TempFolder("chplayer"));
    host.players.AddPlayer("Solo");
    host.players.currentPlayer = 0;
    ChPlayerDialog d(host, "");
    d.Resize(200, 150, 400, 300);
    d.FillList();
    d.OnButtonClick(ChPlayerDialog::IdDelete);
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0], "111||" + W("Пожалуйста создайте еще одного игрока прежде чем удалить этого."));
    EXPECT_EQ(host.players.Count(), 1);

    for (int i = 0; i < 8; ++i)
        host.players.AddPlayer("P" + std::to_string(i));
    d.FillList();
    d.ListClicked(0, 0, 1);
    EXPECT_TRUE(host.asked.empty());
    EXPECT_EQ(host.messages.back(),
              "100|" + W("Список игроков заполнен!") + "|" + W("Пожалуйста удалите игрока прежде чем добавить нового."));
}

TEST(PlayerDialogs, HighScoreWindowShowsTheNewRowGreenInItsModeOnly)
{
    Testing::TestFont font;
    Font* savedFont = FONT_DEFAULT;
    FONT_DEFAULT = &font;
    FakeHost host("");
    HighScoreTable table;
    {
        HighscoresWnd w(host, table, 0);
        w.highlightRow = table.Insert(0, "Neo", 4500);
        ASSERT_EQ(w.highlightRow, 6);
        MemoryImage screen(800, 600);
        Graphics g(&screen);
        w.Draw(&g);
        std::vector<std::string> green;
        int plainRows = 0;
        for (const auto& c : font.calls) {
            if (c.color == HighscoresWnd::NewRowInk)
                green.push_back(std::to_string(c.x) + "," + std::to_string(c.y) + ":" + c.text);
            else if (c.color == HighscoresWnd::RowInk && c.x == 50)
                ++plainRows;
        }
        EXPECT_EQ(green, (std::vector<std::string>{"410,250:7.", "440,250:Neo", "650,250:4500"}));
        EXPECT_EQ(plainRows, 10); // the click-mode column has no green row
    }
    FONT_DEFAULT = savedFont;
}
