#include "game/app/screens/TitleWnd.h"

#include "framework/core/Cp1251.h"
#include "framework/core/KeyCodes.h"
#include "framework/graphics/Font.h"
#include "framework/graphics/Graphics.h"
#include "framework/widgets/FocusRing.h"
#include "framework/widgets/WidgetManager.h"
#include "framework/widgets/controls/ButtonWidget.h"
#include "game/app/screens/MainMenuHost.h"
#include "game/shared/Res.h"

#include <algorithm>

namespace Zorvin {

namespace {

// Size of an image less a few rows at the bottom (the buttons' shadows
// stay outside the clickable area); 0 x 0 while the image is missing.
Rect ButtonRect(int x, int y, Image* image, int trimBottom)
{
    if (image == nullptr)
        return Rect(x, y, 0, 0);
    return Rect(x, y, image->GetWidth(), image->GetHeight() - trimBottom);
}

// The lines under the mode buttons: dark brown ink on the parchment.
const Color kModeLineColor(74, 44, 20);

} // namespace

TitleWnd::TitleWnd(MainMenuHost& menuHost) : host(menuHost)
{
    CreateButtons();
    ReadTitleLogos();
}

TitleWnd::~TitleWnd()
{
    for (auto& button : buttons)
        RemoveChild(button.get());
}

void TitleWnd::CreateButtons()
{
    struct Spec {
        const char* label;
        Image* normal;
        Image* over;
        Image* down;
        Image* disabled;
        Rect rect;
    };
    const Spec specs[ButtonCount] = {
        {"Односторонняя игра", IMAGE_BIG_BUTTON, IMAGE_BIG_BUTTON_OVER, IMAGE_BIG_BUTTON_DOWN, nullptr,
         ButtonRect(313, 314, IMAGE_BIG_BUTTON, 4)},
        {"Двусторонняя игра", IMAGE_BIG_BUTTON, IMAGE_BIG_BUTTON_OVER, IMAGE_BIG_BUTTON_DOWN,
         IMAGE_BIG_BUTTON_DISABLE, ButtonRect(313, 378, IMAGE_BIG_BUTTON, 4)},
        {"", IM_B_CHANGE_PLAYER, IM_B_OVER_CHANGE_PLAYER, IM_B_OVER_CHANGE_PLAYER, nullptr,
         ButtonRect(285, 130, IM_B_CHANGE_PLAYER, 0)},
        {"Настройки", IM_B_DIALOG, IM_B_DIALOG_OVER, IM_B_DIALOG_DOWN, nullptr, ButtonRect(338, 444, IM_B_DIALOG, 2)},
        // The scores and the statistics side by side: the panel has no
        // room for another row.
        {"Рекорды", IM_B_DIALOG, IM_B_DIALOG_OVER, IM_B_DIALOG_DOWN, nullptr, ButtonRect(262, 478, IM_B_DIALOG, 2)},
        {"Выход", IM_B_DIALOG, IM_B_DIALOG_OVER, IM_B_DIALOG_DOWN, nullptr, ButtonRect(338, 512, IM_B_DIALOG, 2)},
        {"Статистика", IM_B_DIALOG, IM_B_DIALOG_OVER, IM_B_DIALOG_DOWN, nullptr,
         ButtonRect(406, 478, IM_B_DIALOG, 2)},
    };
    for (int id = 0; id < ButtonCount; ++id) {
        const Spec& s = specs[id];
        auto button = std::make_unique<ButtonWidget>(id, this);
        button->label = W(s.label);
        button->buttonImage = s.normal;
        button->overImage = s.over;
        button->downImage = s.down;
        button->disabledImage = s.disabled;
        if (!button->label.empty()) {
            button->SetFont(FONT_DEFAULT);
            button->SetColor(ButtonWidget::ColorLabelHilite, Color(255, 255, 255));
        }
        button->Resize(s.rect);
        button->ShowHandCursor(true);
        AddChild(button.get());
        buttons[id] = std::move(button);
    }
}

void TitleWnd::ReadTitleLogos()
{
    LogoScript::Contents contents;
    if (LogoScript::Read(host.GetImageLoader(), LogoScript::DefaultPath, LogoScript::TitleImages, contents))
        pictures = std::move(contents.titleImages);
}

void TitleWnd::Update()
{
    Widget::Update();
    // The player dialog may pick another player while the menu shows.
    if (host.CurrentPlayerName() != shownName)
        MarkDirty();
}

void TitleWnd::Draw(Graphics* g)
{
    if (IMAGE_TITLE != nullptr)
        g->DrawImage(IMAGE_TITLE, 0, 0);
    if (IMAGE_LOGO_SMALL != nullptr)
        g->DrawImage(IMAGE_LOGO_SMALL, 790 - IMAGE_LOGO_SMALL->GetWidth(), 460);
    for (const auto& picture : pictures)
        picture->Draw(g);
    DrawModeLines(g);
    std::string name = host.CurrentPlayerName();
    shownName = name;
    if (!name.empty() && FONT_DEFAULT != nullptr) {
        std::string text = W("Добро пожаловать, ") + name;
        g->SetFont(FONT_DEFAULT);
        g->SetColor(Color(0, 0, 0));
        g->DrawString(text, 400 - FONT_DEFAULT->StringWidth(text) / 2, 125);
    }
}

const char* TitleWnd::ModeLine(int id)
{
    // What each game is, for a player who has not played either yet.
    if (id == ClickModeButton)
        return "Щёлкайте камень в пару последнему";
    if (id == DragModeButton)
        return "Ставьте камни к двум концам цепи";
    return "";
}

void TitleWnd::DrawModeLines(Graphics* g)
{
    if (FONT_DEFAULT == nullptr)
        return;
    g->SetFont(FONT_DEFAULT);
    g->SetColor(kModeLineColor);
    for (int id : {ClickModeButton, DragModeButton}) {
        const ButtonWidget& b = *buttons[id];
        std::string line = W(ModeLine(id));
        int x = b.x + b.width / 2 - FONT_DEFAULT->StringWidth(line) / 2;
        g->DrawString(line, x, b.y + b.height + FONT_DEFAULT->GetAscent());
    }
}

void TitleWnd::OnButtonClick(int id)
{
    host.PlaySound(SOUND_CLICK);
    switch (id) {
    case ClickModeButton:
        host.StartGame(true);
        break;
    case DragModeButton:
        host.StartGame(false);
        break;
    case ChangePlayerButton:
        host.OpenChangePlayerDialog();
        break;
    case OptionsButton:
        host.OpenOptionsDialog();
        break;
    case HighScoresButton:
        host.OpenHighScores();
        break;
    case StatisticsButton:
        host.OpenStatistics();
        break;
    case ExitButton:
        host.ExitGame();
        break;
    default:
        break;
    }
}

} // namespace Zorvin

namespace Zorvin {

std::vector<ButtonWidget*> TitleWnd::KeyStops() const
{
    std::vector<Widget*> order;
    for (const auto& b : buttons)
        if (b && b->visible && !b->disabled)
            order.push_back(b.get());
    SortReadingOrder(order);
    std::vector<ButtonWidget*> stops;
    for (Widget* w : order)
        stops.push_back(static_cast<ButtonWidget*>(w));
    return stops;
}

void TitleWnd::SetKeyFocus(ButtonWidget* button)
{
    if (keyFocus)
        keyFocus->ShowFocusRing(false);
    keyFocus = button;
    if (keyFocus)
        keyFocus->ShowFocusRing(true);
}

void TitleWnd::KeyDown(int key)
{
    Widget::KeyDown(key);
    std::vector<ButtonWidget*> stops = KeyStops();
    if (stops.empty())
        return;
    auto at = std::find(stops.begin(), stops.end(), keyFocus);
    if (at == stops.end()) {
        // The first key shows where the keyboard is before it acts.
        if (key == KeyTab || key == KeyEnter || key == KeySpace || (key >= KeyArrowLeft && key <= KeyArrowDown))
            SetKeyFocus(GetButton(ClickModeButton)->disabled ? stops.front() : GetButton(ClickModeButton));
        return;
    }
    int n = static_cast<int>(stops.size()), i = static_cast<int>(at - stops.begin());
    bool shift = GetManager() && GetManager()->IsKeyDown(KeyShift);
    switch (key) {
    case KeyTab:
        SetKeyFocus(stops[(i + (shift ? n - 1 : 1)) % n]);
        break;
    case KeyArrowRight:
    case KeyArrowDown:
        SetKeyFocus(stops[(i + 1) % n]);
        break;
    case KeyArrowLeft:
    case KeyArrowUp:
        SetKeyFocus(stops[(i + n - 1) % n]);
        break;
    case KeyEnter:
    case KeySpace:
        OnButtonClick(keyFocus->id);
        break;
    default:
        break;
    }
}

void TitleWnd::LostFocus()
{
    Widget::LostFocus();
    SetKeyFocus(nullptr);
}

} // namespace Zorvin
