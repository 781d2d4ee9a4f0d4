#include "game/app/screens/TitleScreen.h"

#include "framework/core/Cp1251.h"
#include "framework/core/KeyCodes.h"
#include "framework/graphics/Font.h"
#include "framework/graphics/Graphics.h"
#include "framework/widgets/WidgetManager.h"
#include "framework/widgets/controls/HyperlinkWidget.h"
#include "game/app/screens/TitleScreenHost.h"
#include "game/shared/Res.h"

namespace Zorvin {

namespace {
const Color LinkHover(71, 210, 29);
constexpr int ScreenMiddle = 400;
constexpr int TitleTop = 330;
constexpr int BarTop = 450;
constexpr int LinkTop = 500;
} // namespace

TitleScreen::TitleScreen(TitleScreenHost& screenHost) : host(screenHost) {}

TitleScreen::~TitleScreen() { delete startLink; }

void TitleScreen::CreateStartLink()
{
    startLink = new HyperlinkWidget(StartLinkId, this);
    startLink->label = W("Начать игру");
    startLink->SetFont(FONT_DEFAULT);
    startLink->colorNormal = Color(255, 255, 255);
    startLink->colorOver = LinkHover;
    logoMode = true;
}

void TitleScreen::ReadLogoScript(const std::string& path)
{
    LogoScript::Contents contents;
    if (!LogoScript::Read(host.GetImageLoader(), path, LogoScript::LogoSteps | LogoScript::LoadingImages, contents)) {
        loadingMode = true;
        MarkDirty();
        return;
    }
    steps = std::move(contents.steps);
    loadingImages = std::move(contents.loadingImages);
    // The first logo shows with the first frame, not when its time is up.
    MarkDirty();
}

void TitleScreen::EnableStartLink()
{
    if (startLink == nullptr)
        return;
    startLink->SetVisible(true);
    startLink->SetDisabled(false);
    // The keyboard starts the game too.
    if (manager != nullptr && manager->GetFocusWidget() == nullptr)
        manager->SetFocusWidget(this);
    MarkDirty();
}

void TitleScreen::OnAttach(WidgetManager* manager)
{
    Widget::OnAttach(manager);
    if (startLink == nullptr)
        return;
    startLink->SetVisible(false);
    startLink->SetDisabled(true);
    int w = FONT_DEFAULT != nullptr ? FONT_DEFAULT->StringWidth(startLink->label) : 0;
    int h = FONT_DEFAULT != nullptr ? FONT_DEFAULT->GetHeight() : 0;
    startLink->Resize(ScreenMiddle - w / 2, LinkTop, w, h + 4);
    startLink->ShowHandCursor(true);
    manager->AddChild(startLink);
}

void TitleScreen::OnDetach(WidgetManager* manager)
{
    Widget::OnDetach(manager);
    if (startLink != nullptr)
        manager->RemoveChild(startLink);
}

void TitleScreen::Update()
{
    Widget::Update();
    // The loading thread only counts; the bar is redrawn from here, on the
    // primary thread, whenever its drawn width would change.
    if (loadingMode && BarWidth() != drawnBarWidth)
        MarkDirty();
    if (steps.empty()) {
        if (logoMode || !loadingMode) {
            logoMode = false;
            loadingMode = true;
            MarkDirty();
        }
        return;
    }
    if (--steps.front()->time > 0)
        return;
    steps.erase(steps.begin());
    MarkDirty();
}

int TitleScreen::BarWidth()
{
    if (IMAGE_LOADER_BAR == nullptr)
        return 0;
    return static_cast<int>(host.LoadingProgress() * IMAGE_LOADER_BAR->GetWidth());
}

void TitleScreen::Draw(Graphics* g)
{
    if (logoMode && !loadingMode) {
        if (steps.empty())
            return;
        const LogoStep& step = *steps.front();
        g->SetColor(Color(step.red, step.green, step.blue));
        g->FillRect(0, 0, width, height);
        for (const auto& picture : step.images)
            picture->Draw(g);
        return;
    }
    if (loadingMode) {
        DrawLoadingDisplay(g);
        return;
    }
    g->SetColor(Color(0, 0, 0));
    g->FillRect(0, 0, width, height);
}

void TitleScreen::DrawLoadingDisplay(Graphics* g)
{
    g->SetColor(Color(0, 0, 0));
    g->FillRect(0, 0, width, height);
    if (IMAGE_LOADER_KORVELT != nullptr)
        g->DrawImage(IMAGE_LOADER_KORVELT, ScreenMiddle - IMAGE_LOADER_KORVELT->GetWidth() / 2, TitleTop);
    drawnBarWidth = BarWidth();
    if (drawnBarWidth > 0) {
        int barWidth = IMAGE_LOADER_BAR->GetWidth();
        g->DrawImage(IMAGE_LOADER_BAR, ScreenMiddle - barWidth / 2, BarTop,
                     Rect(0, 0, drawnBarWidth, IMAGE_LOADER_BAR->GetHeight()));
    }
    if ((startLink == nullptr || !startLink->visible) && FONT_DEFAULT != nullptr) {
        std::string text = W("Загрузка...");
        g->SetFont(FONT_DEFAULT);
        g->SetColor(Color(255, 255, 255));
        g->DrawString(text, ScreenMiddle - FONT_DEFAULT->StringWidth(text) / 2, LinkTop);
    }
    for (const auto& picture : loadingImages)
        picture->Draw(g);
}

void TitleScreen::KeyDown(int key)
{
    Widget::KeyDown(key);
    if ((key == KeyEnter || key == KeySpace) && startLink != nullptr && startLink->visible && !startLink->disabled)
        OnButtonClick(StartLinkId);
}

void TitleScreen::OnButtonClick(int id)
{
    if (id != StartLinkId || startLink == nullptr)
        return;
    if (WidgetManager* screen = manager) {
        screen->RemoveChild(startLink);
        screen->RemoveChild(this);
    }
    HyperlinkWidget* link = startLink;
    startLink = nullptr;
    host.OnTitleScreenDone(this, link);
}

} // namespace Zorvin
