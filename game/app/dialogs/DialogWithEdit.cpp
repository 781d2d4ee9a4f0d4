#include "game/app/dialogs/DialogWithEdit.h"

#include "framework/core/Cp1251.h"
#include "framework/core/KeyCodes.h"
#include "framework/graphics/Font.h"
#include "framework/graphics/Graphics.h"
#include "framework/app/ZorvinAppBase.h"
#include "framework/widgets/WidgetManager.h"
#include "framework/widgets/controls/DialogButton.h"
#include "framework/widgets/controls/EditWidget.h"
#include "game/app/dialogs/DialogStyle.h"
#include "game/app/dialogs/PlayerDialogHost.h"
#include "game/app/profiles/PlayerName.h"
#include "game/shared/Res.h"
#include "game/shared/DialogIds.h"

namespace Zorvin {

DialogWithEdit::DialogWithEdit(const std::string& dialogHeader, const std::string& labelText,
                               const std::string& suggested, PlayerDialogHost* host)
    : Dialog(IMAGE_W_SMALL, IM_B_DIALOG, DialogNameOrGameOver, true, dialogHeader, "", "", ButtonsNone), label(labelText),
      dialogHost(host)
{
    contentInsets = {23, 20, 23, 20};
    spaceAfterHeader = 30;
    SetHeaderFont(FONT_DEFAULT);
    SetBodyFont(FONT_DEFAULT);
    SetColor(ColorHeader, Color::Black);
    SetColor(ColorLines, Color::Black);

    okButton = std::make_unique<DialogButton>(IMAGE_BUTTON_NORMAL, IdOk, this);
    okButton->label = "Ok";
    cancelButton = std::make_unique<DialogButton>(IMAGE_BUTTON_NORMAL, IdCancel, this);
    cancelButton->label = W("Отмена");
    for (DialogButton* b : {okButton.get(), cancelButton.get()}) {
        if (FONT_DEFAULT)
            b->SetFont(FONT_DEFAULT);
        b->colors = {Color::White, Color::White};
        AddChild(b);
    }

    edit = std::make_unique<EditWidget>(0, this);
    if (FONT_DEFAULT)
        edit->SetFont(FONT_DEFAULT);
    edit->maxChars = PlayerName::MaxLength;
    edit->SetText(suggested);
    AddChild(edit.get());
}

DialogWithEdit::~DialogWithEdit()
{
    RemoveChild(okButton.get());
    RemoveChild(cancelButton.get());
    RemoveChild(edit.get());
}

void DialogWithEdit::Resize(int newX, int newY, int newWidth, int newHeight)
{
    Dialog::Resize(newX, newY, newWidth, newHeight);
    int buttonH = IMAGE_BUTTON_NORMAL ? IMAGE_BUTTON_NORMAL->height : 30;
    // Above the frame's lower border, with a little parchment beneath.
    int buttonY = GetFrameRect().Bottom() - DialogFrameBorder - 6 - buttonH;
    okButton->Resize(newWidth / 2 - 120, buttonY, 100, buttonH);
    cancelButton->Resize(newWidth / 2 + 20, buttonY, 100, buttonH);
    int fontH = edit->GetFont() ? edit->GetFont()->GetHeight() : 16;
    edit->Resize(FieldLeft(), FieldTop(), newWidth - 2 * FieldLeft(), fontH + 10);
}

void DialogWithEdit::Draw(Graphics* g)
{
    Dialog::Draw(g);
    g->SetFont(GetLinesFont());
    g->SetColor(GetColor(ColorLines));
    g->WriteString(label, FieldLeft(), FieldTop() - 5);
}

// The frame is drawn inside the content insets and its border takes the
// background insets, so the label and the field start inside the border,
// and below the header.
int DialogWithEdit::FieldLeft() const { return contentInsets.left + backgroundInsets.left; }

int DialogWithEdit::FieldTop() const { return 85; }

void DialogWithEdit::Answer(int value, const std::string& text)
{
    result = value;
    if (answer)
        *answer = text;
}

void DialogWithEdit::OnButtonClick(int buttonId)
{
    if (dialogHost)
        dialogHost->PlayClick();
    if (buttonId == IdOk && !PlayerName::IsBlank(edit->GetText()))
        Answer(1, edit->GetText());
    else if (buttonId == IdCancel)
        Answer(0, "");
}

void DialogWithEdit::EditWidgetText(int, const std::string& text)
{
    // The Enter that opened this dialog from the keyboard (on a list line
    // or a button) arrives here as a typed character too, while the key is
    // still held and before the field saw it go down: it does not answer.
    bool heldFromBefore = !enterPressedInField && manager != nullptr && manager->IsKeyDown(KeyEnter);
    enterPressedInField = false;
    if (heldFromBefore)
        return;
    if (!PlayerName::IsBlank(text))
        Answer(1, text);
}

bool DialogWithEdit::AllowKey(int, int key)
{
    if (key == KeyEnter)
        enterPressedInField = true;
    if (key != KeyEscape)
        return true;
    OnButtonClick(IdCancel);
    return false;
}

bool DialogWithEdit::AllowChar(int, char ch) { return !filterNames || PlayerName::AllowCharacter(ch); }

bool DialogWithEdit::AllowText(int, const std::string& text) { return !filterNames || PlayerName::AllowText(text); }

bool DialogWithEdit::AskAndWait(ZorvinAppBase& app, std::unique_ptr<DialogWithEdit> dialog, std::string& name)
{
    std::string text;
    DialogWithEdit* d = dialog.get();
    d->answer = &text;
    app.AddDialog(DialogNameOrGameOver, std::move(dialog));
    if (WidgetManager* wm = app.GetWidgetManager())
        wm->SetFocusWidget(&d->Edit());
    if (d->RunUntilAnswered() != 1 || PlayerName::IsBlank(text))
        return false;
    name = text;
    return true;
}

} // namespace Zorvin
