#include "game/app/dialogs/AppPlayerDialogHost.h"

#include "framework/app/ZorvinAppBase.h"
#include "framework/graphics/Image.h"
#include "framework/widgets/controls/EditWidget.h"
#include "framework/core/Cp1251.h"
#include "game/app/dialogs/DialogStyle.h"
#include "game/app/dialogs/DialogWithEdit.h"
#include "game/app/dialogs/HighscoresWnd.h"
#include "game/app/profiles/HighScoreTable.h"
#include "game/app/profiles/PlayerList.h"
#include "game/shared/Res.h"
#include "game/shared/DialogIds.h"

namespace Zorvin {

namespace {

// Size of IMAGE_W_SMALL, centred on the 800 x 600 screen.
void CentreSmall(Dialog* d)
{
    int w = IMAGE_W_SMALL ? IMAGE_W_SMALL->width : 356;
    int h = IMAGE_W_SMALL ? IMAGE_W_SMALL->height : 196;
    d->Resize(400 - w / 2, 300 - h / 2, w, h);
}

// The small message and question boxes of the player dialogs.
Dialog* SmallBox(ZorvinAppBase& app, int id, const std::string& header, const std::string& text, int buttonMode)
{
    auto d = std::make_unique<Dialog>(IMAGE_W_SMALL, IM_B_DIALOG, id, true, header, text,
                                      buttonMode == Dialog::ButtonsFooter ? "Ok" : "", buttonMode);
    d->contentInsets = {40, 40, 40, 40};
    d->SetHeaderFont(FONT_DEFAULT);
    d->SetBodyFont(FONT_DEFAULT);
    d->SetButtonFont(FONT_DEFAULT);
    d->SetColor(Dialog::ColorHeader, Color::Black);
    d->SetColor(Dialog::ColorLines, Color::Black);
    d->dialogListener = &app;
    // The frame is drawn inside the insets; the box grows with its text
    // (the name in the delete question can be long).
    const Insets& in = d->contentInsets;
    int w = IMAGE_W_SMALL ? IMAGE_W_SMALL->width : 356;
    int h = IMAGE_W_SMALL ? IMAGE_W_SMALL->height : 196;
    SizeToText(*d, w + in.left + in.right, h + in.top + in.bottom);
    return app.AddDialog(id, std::move(d));
}

} // namespace

void AppPlayerDialogHost::PlayClick() { app.PlaySound(SOUND_CLICK); }

bool AppPlayerDialogHost::AskName(const std::string& header, const std::string& label, const std::string& suggested,
                                  std::string& name)
{
    auto d = std::make_unique<DialogWithEdit>(header, label, suggested, this);
    CentreSmall(d.get());
    return DialogWithEdit::AskAndWait(app, std::move(d), name);
}

void AppPlayerDialogHost::ShowMessage(int dialogId, const std::string& header, const std::string& text)
{
    if (dialogId == DialogPlayerMessage)
        app.ShowDialog(DialogPlayerMessage, true, header, text, "Ok", Dialog::ButtonsFooter);
    else
        SmallBox(app, dialogId, header, text, Dialog::ButtonsFooter);
}

bool AppPlayerDialogHost::Confirm(const std::string& text)
{
    return SmallBox(app, 108, "", text, Dialog::ButtonsYesNo)->RunUntilAnswered() == Dialog::IdYes;
}

void AppPlayerDialogHost::CloseDialog(Dialog* dialog) { app.CloseDialog(dialog); }

int AppPlayerDialogHost::EnterHighScore(HighScoreTable& table, int mode, int score)
{
    if (!table.Qualifies(mode, score))
        return -1;
    app.AddDialog(DialogHighScores, std::make_unique<HighscoresWnd>(*this, table, mode));
    PlayerProfile* current = players.CurrentProfile();
    std::string name;
    if (!AskName(W("Введите ваше имя"), W("Ваши очки ") + std::to_string(score) + "!", current ? current->name : "",
                 name))
        return -1;
    int row = table.Insert(mode, name, score);
    // The window may have been closed while the name was asked.
    if (auto* window = dynamic_cast<HighscoresWnd*>(app.FindDialog(DialogHighScores)))
        window->highlightRow = row;
    table.SaveHighScores();
    return row;
}

} // namespace Zorvin
