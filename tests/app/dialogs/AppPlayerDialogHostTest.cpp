#include "game/app/dialogs/AppPlayerDialogHost.h"

#include <gtest/gtest.h>

#include "framework/core/FileUtil.h"
#include "game/app/dialogs/DialogWithEdit.h"
#include "game/app/dialogs/HighscoresWnd.h"
#include "game/app/profiles/HighScoreTable.h"
#include "game/app/profiles/PlayerList.h"
#include "game/shared/DialogIds.h"
#include "tests/framework/app/AppTestSupport.h"

using namespace Zorvin;
using namespace ZorvinTest;

// The end-of-game entry through the application's own steps: the typed
// name arrives as window messages while the name question waits.
TEST(AppPlayerDialogHost, HighScoreEntryTakesTheTypedNameAndSavesTheHighlightedRow)
{
    FakeClock clock;
    FakeWindowSystem window;
    FakePresenter presenter;
    FakeServices services;
    TestApp app(&clock);
    app.width = 800;
    app.height = 600;
    app.SetWindowSystem(&window);
    app.SetPresenter(&presenter);
    app.SetSystemServices(&services);
    app.Initialize();
    app.running = true;

    ZorvinTest::TempFolder dir;
    PlayerList players(dir.path + "/");
    players.AddPlayer("Anna");
    players.currentPlayer = 0;
    HighScoreTable table(dir.path + "/");
    AppPlayerDialogHost host(app, players);

    EXPECT_EQ(host.EnterHighScore(table, 0, 999), -1); // below "Ares": no question
    EXPECT_EQ(app.GetDialogCount(), 0);

    // The suggested "Anna" is selected, so typing replaces it; "." is refused.
    for (char ch : std::string("Zo.e\r"))
        window.pending.push_back({MessageWindow::Main, MessageKind::Char, static_cast<unsigned char>(ch), 0});
    EXPECT_EQ(host.EnterHighScore(table, 0, 1500), 9);
    EXPECT_EQ(table.highScoresMode0[9], (HighScoreEntry{"Zoe", 1500}));
    EXPECT_EQ(table.highScoresMode2[9].name, "Ares");
    EXPECT_EQ(app.FindDialog(DialogNameOrGameOver), nullptr);
    auto* shown = dynamic_cast<HighscoresWnd*>(app.FindDialog(DialogHighScores));
    ASSERT_NE(shown, nullptr);
    EXPECT_EQ(shown->highlightRow, 9);
    std::string bytes;
    ASSERT_TRUE(FileUtil::ReadFile(table.FilePath(), bytes));
    EXPECT_EQ(bytes, table.Encode());
    app.CloseDialog(DialogHighScores);
}
