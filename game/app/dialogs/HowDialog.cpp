#include "game/app/dialogs/HowDialog.h"

#include <algorithm>
#include <vector>

#include "framework/core/Cp1251.h"
#include "framework/graphics/Font.h"
#include "framework/graphics/Graphics.h"
#include "framework/graphics/Image.h"
#include "framework/widgets/controls/ButtonWidget.h"
#include "framework/widgets/controls/Checkbox.h"
#include "game/app/dialogs/DialogStyle.h"
#include "game/app/dialogs/GameDialogHost.h"
#include "game/shared/PlayerProfile.h"
#include "game/shared/Res.h"

namespace Zorvin {

HowDialog::HowDialog(GameDialogHost& gameHost, Image* page)
    : Dialog(nullptr, IMAGE_BIG_BUTTON, DialogHowToPlay, true, "", "", "", ButtonsNone), host(gameHost),
      pageImage(page)
{
    StyleGameDialog(*this);
    dontShow = std::make_unique<Checkbox>(IMAGE_CHECKBOX, IMAGE_CHECKBOX, DontShowCheckboxId, this);
    int cw = IMAGE_CHECKBOX != nullptr ? IMAGE_CHECKBOX->GetWidth() / 2 : 20;
    int ch = IMAGE_CHECKBOX != nullptr ? IMAGE_CHECKBOX->GetHeight() : 20;
    dontShow->uncheckedRect = Rect(0, 0, cw, ch);
    dontShow->checkedRect = Rect(cw, 0, cw, ch);
    dontShow->Resize(290, 500, cw, ch);
    dontShow->doHandCursor = true;
    PlayerProfile* profile = host.GetCurrentProfile();
    dontShow->SetChecked(profile != nullptr && !profile->showHowToPlay, false);
    ButtonImages big{IMAGE_BIG_BUTTON, IMAGE_BIG_BUTTON_OVER, IMAGE_BIG_BUTTON_DOWN, nullptr};
    // The page has the dialogs' parchment frame: the button stands just
    // above its lower border rather than on it.
    int closeH = IMAGE_BIG_BUTTON != nullptr ? IMAGE_BIG_BUTTON->GetHeight() - 2 : 50;
    closeButton = MakeTextButton(CloseButtonId, W("Закрыть"), this, big, 310,
                                 std::min(550, 600 - DialogFrameBorder - 2 - closeH));
    AddChild(dontShow.get());
    AddChild(closeButton.get());
}

HowDialog::~HowDialog() = default;

HowDialog* HowDialog::Open(GameDialogHost& host)
{
    bool click = host.GetBoardMode() == PlayMode::Click;
    auto page = std::make_unique<HowDialog>(host, click ? IMAGE_HOW_TO_PLAY1 : IMAGE_HOW_TO_PLAY2);
    page->clickMode = click;
    page->Resize(0, 0, 800, 600);
    HowDialog* opened = page.get();
    host.OpenDialog(DialogHowToPlay, std::move(page));
    return opened;
}

void HowDialog::Draw(Graphics* g)
{
    Dialog::Draw(g);
    if (pageImage != nullptr)
        g->DrawImage(pageImage, 0, 0);
    // In the font and colour the dialog's own drawing left behind.
    g->WriteString(W("Не показывать больше"), dontShow->x + 30, dontShow->y + 20);
    DrawKeys(g);
}

void HowDialog::DrawKeys(Graphics* g)
{
    // Under the page's picture: the keys that play a level without the mouse.
    static const std::vector<const char*> kDragKeys = {"Стрелки — выбор, Enter — взять,", "влево/вправо — конец цепочки,",
                                                      "Esc — назад, D — колода,", "H — подсказка, R — тасовка,",
                                                      "Ctrl+Z — отмена"};
    static const std::vector<const char*> kClickKeys = {"Стрелки — выбор камня,", "Enter или пробел — взять,",
                                                       "D — колода, H — подсказка,", "R — тасовка, Ctrl+Z — отмена"};
    Font* font = g->GetFont();
    if (font == nullptr)
        return;
    int y = kKeysTop + font->GetAscent();
    for (const char* line : clickMode ? kClickKeys : kDragKeys) {
        g->WriteString(W(line), kKeysLeft, y);
        y += font->GetLineSpacing();
    }
}

Widget* HowDialog::DefaultKeyStop() { return closeButton.get(); }

void HowDialog::OnButtonClick(int buttonId)
{
    host.PlayClick();
    if (buttonId == CloseButtonId) {
        host.Close(this);
        ReturnFocus(host);
    }
}

void HowDialog::OnCheckboxChanged(int id, bool checked)
{
    (void)id;
    host.PlayClick();
    if (PlayerProfile* profile = host.GetCurrentProfile()) {
        profile->showHowToPlay = !checked;
        host.SavePlayers();
    }
}

} // namespace Zorvin
