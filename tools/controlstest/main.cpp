// korvelt-controlstest: the application base on the real desktop with one of
// each standard control: image and plain buttons, a dialog button, a link, a
// checkbox, a slider, an edit field, a two-column list and a dialog. What the
// controls report is written on the screen. Ctrl+Alt+D then F11 saves a
// screenshot into "_screenshots". Options:
//   --seconds N   end after N seconds

#include "framework/core/KeyCodes.h"
#include "framework/widgets/ButtonListener.h"
#include "framework/widgets/controls/ButtonWidget.h"
#include "framework/widgets/controls/Checkbox.h"
#include "framework/widgets/CheckboxListener.h"
#include "framework/core/Cp1251.h"
#include "framework/widgets/controls/Dialog.h"
#include "framework/widgets/controls/DialogButton.h"
#include "framework/widgets/EditListener.h"
#include "framework/widgets/controls/EditWidget.h"
#include "framework/graphics/Graphics.h"
#include "framework/widgets/controls/HyperlinkWidget.h"
#include "framework/widgets/ListListener.h"
#include "framework/widgets/controls/ListWidget.h"
#include "framework/graphics/MemoryImage.h"
#include "framework/widgets/controls/Slider.h"
#include "framework/widgets/SliderListener.h"
#include "framework/font/SysFont.h"
#include "framework/widgets/WidgetManager.h"
#include "framework/app/ZorvinAppBase.h"
#include "platform/SdlPlatform.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

using namespace Zorvin;

namespace {

// Small pieces of art drawn in code, in the game's bronze and marble.
void Bevel(MemoryImage& img, int x, int y, int w, int h, Color top, Color body, Color edge)
{
    Graphics g(&img);
    g.SetColor(edge);
    g.FillRect(x, y, w, h);
    g.SetColor(body);
    g.FillRect(x + 2, y + 2, w - 4, h - 4);
    g.SetColor(top);
    g.FillRect(x + 2, y + 2, w - 4, (h - 4) / 2);
}

void MakeButtonStrip(MemoryImage& img, int w, int h)
{
    // Three states side by side: normal, over, down.
    img.Create(w * 3, h);
    Bevel(img, 0, 0, w, h, Color(200, 150, 80), Color(160, 110, 50), Color(70, 45, 20));
    Bevel(img, w, 0, w, h, Color(230, 185, 110), Color(190, 135, 65), Color(90, 60, 25));
    Bevel(img, 2 * w, 0, w, h, Color(140, 95, 40), Color(120, 80, 35), Color(60, 40, 15));
}

void MakeFrame(MemoryImage& img, int size, Color outer, Color inner)
{
    img.Create(size, size);
    Graphics g(&img);
    g.SetColor(outer);
    g.FillRect(0, 0, size, size);
    g.SetColor(inner);
    g.FillRect(4, 4, size - 8, size - 8);
    g.SetColor(Color(255, 230, 170));
    g.DrawRect(2, 2, size - 5, size - 5);
}

void MakeCheckbox(MemoryImage& img)
{
    // Unchecked and checked cels side by side.
    img.Create(40, 20);
    Bevel(img, 0, 0, 20, 20, Color(250, 244, 228), Color(236, 226, 200), Color(110, 80, 40));
    Bevel(img, 20, 0, 20, 20, Color(250, 244, 228), Color(236, 226, 200), Color(110, 80, 40));
    Graphics g(&img);
    g.SetColor(Color(40, 110, 60));
    for (int i = 0; i < 3; i++) {
        g.DrawLine(24 + i, 10, 28 + i, 15);
        g.DrawLine(28 + i, 15, 35 + i, 4);
    }
}

void MakeSlider(MemoryImage& track, MemoryImage& thumb)
{
    track.Create(30, 8);
    Bevel(track, 0, 0, 30, 8, Color(120, 90, 50), Color(90, 65, 35), Color(50, 35, 15));
    thumb.Create(16, 22);
    Bevel(thumb, 0, 0, 16, 22, Color(240, 200, 120), Color(200, 150, 70), Color(80, 50, 20));
}

class Backdrop : public Widget {
public:
    void Draw(Graphics* g) override
    {
        // A sea-blue gradient with a marble panel.
        for (int y = 0; y < height; y += 4) {
            g->SetColor(Color(20, 50 + y / 12, 90 + y / 8));
            g->FillRect(0, y, width, 4);
        }
        g->SetColor(Color(236, 230, 214));
        g->FillRect(20, 20, 470, 560);
        g->SetColor(Color(120, 90, 50));
        g->DrawRect(20, 20, 469, 559);
        g->SetFont(font);
        g->SetColor(Color(60, 40, 20));
        g->WriteString(W("Стандартные элементы управления"), 40, 52);
        g->SetColor(Color(90, 70, 40));
        int y = 520;
        g->WriteString(W("Последнее событие: ") + status, 40, y);
    }
    Font* font = nullptr;
    std::string status;
};

class ControlsApp : public ZorvinAppBase, public CheckboxListener, public SliderListener, public EditListener,
                    public ListListener {
public:
    ControlsApp()
        : button(1, this), plain(2, this), dialogButton(nullptr, 3, this), link(4, this), check(nullptr, nullptr, 5, this),
          slider(nullptr, nullptr, 6, this), edit(7, this), names(8, nullptr, this), scores(9, nullptr, this)
    {
        productName = "KorveltControlsTest";
        title = "Korvelt controls test";
        width = 800;
        height = 600;
        onlyAllowOneCopyToRun = false;
        autoStartLoadingThread = false;
    }
    ~ControlsApp() override
    {
        CloseDialog(100);
        ReleaseDeferredDeletions();
        for (Widget* w : {static_cast<Widget*>(&backdrop), static_cast<Widget*>(&button), static_cast<Widget*>(&plain),
                          static_cast<Widget*>(&dialogButton), static_cast<Widget*>(&link),
                          static_cast<Widget*>(&check), static_cast<Widget*>(&slider), static_cast<Widget*>(&edit),
                          static_cast<Widget*>(&names), static_cast<Widget*>(&scores)})
            widgetManager->RemoveChild(w);
    }

    void OnInitialized() override
    {
        MakeButtonStrip(buttonStrip, 150, 36);
        MakeFrame(frame, 24, Color(110, 75, 30), Color(170, 120, 55));
        MakeFrame(dialogFrame, 48, Color(90, 60, 25), Color(238, 228, 204));
        MakeCheckbox(checkImage);
        MakeSlider(track, thumb);
        titleFont = std::make_unique<SysFont>("SansSerif", 14, true);
        bodyFont = std::make_unique<SysFont>("SansSerif", 11);

        startTick = Now();
        backdrop.Resize(0, 0, width, height);
        backdrop.font = bodyFont.get();
        widgetManager->AddChild(&backdrop);

        button.label = W("Начать игру");
        button.buttonImage = button.overImage = button.downImage = &buttonStrip;
        button.normalRect = Rect(0, 0, 150, 36);
        button.overRect = Rect(150, 0, 150, 36);
        button.downRect = Rect(300, 0, 150, 36);
        button.overAlphaFadeInSpeed = 0.1;
        button.overAlphaSpeed = 0.05;
        button.SetFont(titleFont.get());
        button.SetColor(0, Color(255, 245, 220));
        button.SetColor(1, Color(255, 255, 255));
        Place(&button, 40, 80, 150, 36);

        plain.label = W("Обычная кнопка");
        plain.SetColor(0, Color(0, 0, 0));
        plain.SetColor(1, Color(120, 40, 0));
        Place(&plain, 210, 80, 150, 36);

        dialogButton.componentImage = &frame;
        dialogButton.label = W("Кнопка диалога");
        Place(&dialogButton, 40, 130, 170, 34);

        link.label = W("Ссылка на сайт");
        link.SetFont(bodyFont.get());
        link.colorNormal = Color(30, 70, 150);
        link.colorOver = Color(180, 60, 20);
        Place(&link, 230, 130, 140, 30);

        check.checkedImage = check.uncheckedImage = &checkImage;
        check.uncheckedRect = Rect(0, 0, 20, 20);
        check.checkedRect = Rect(20, 0, 20, 20);
        check.SetChecked(true, false);
        Place(&check, 40, 185, 20, 20);

        slider.trackImage = &track;
        slider.thumbImage = &thumb;
        slider.SetValue(0.6);
        Place(&slider, 80, 184, 260, 24);

        edit.SetFont(bodyFont.get());
        edit.maxChars = 24;
        edit.SetText(W("Гелиос"));
        edit.SetColor(EditWidget::ColorOutline, Color(120, 90, 50));
        edit.SetColor(EditWidget::ColorHilite, Color(150, 104, 42));
        Place(&edit, 40, 230, 300, 26);

        names.LinkRight(&scores);
        names.itemHeight = scores.itemHeight = 20;
        const char* rows[][2] = {{"Афина", "12 400"}, {"Гелиос", "9 850"}, {"Посейдон", "7 300"},
                                 {"Артемида", "5 120"}, {"Гермес", "2 045"}, {"Деметра", "1 990"}};
        for (auto& r : rows) {
            names.AddLine(W(r[0]));
            scores.AddLine(W(r[1]));
        }
        names.SetColor(W("Гелиос"), Color(160, 40, 20));
        Place(&names, 40, 280, 220, 128);
        Place(&scores, 259, 280, 100, 128);
        names.SetSelect(0);

        auto dialog = std::make_unique<Dialog>(
            &dialogFrame, &frame, 100, false, W("Выход из игры"),
            W("Вы действительно хотите выйти? Несохранённый прогресс уровня будет потерян."), "", Dialog::ButtonsYesNo);
        Dialog* d = dialog.get();
        d->SetHeaderFont(titleFont.get());
        d->SetBodyFont(bodyFont.get());
        d->SetColor(Dialog::ColorHeader, Color(90, 50, 10));
        d->SetColor(Dialog::ColorLines, Color(50, 35, 20));
        d->SetColor(Dialog::ColorButtonText, Color(255, 245, 220));
        d->SetColor(Dialog::ColorButtonTextHilite, Color(255, 255, 255));
        d->dialogListener = this;
        AddDialog(100, std::move(dialog));
        d->Resize(500, 160, 280, d->GetPreferredHeight(280));
    }

    void Place(Widget* w, int x, int y, int wd, int ht)
    {
        w->Resize(x, y, wd, ht);
        widgetManager->AddChild(w);
    }
    void Report(const std::string& what)
    {
        backdrop.status = what;
        backdrop.MarkDirty();
    }

    void OnButtonClick(int id) override { Report(W("нажата кнопка ") + std::to_string(id)); }
    void OnDialogButtonClick(int dialogId, int buttonId) override
    {
        Report(W("диалог ") + std::to_string(dialogId) + W(", кнопка ") + std::to_string(buttonId));
    }
    void OnCheckboxChanged(int, bool checked) override { Report(checked ? W("флажок установлен") : W("флажок снят")); }
    void OnSliderMoved(int, double value) override
    {
        Report(W("ползунок ") + std::to_string(int(std::lround(value * 100))) + "%");
    }
    void EditWidgetText(int, const std::string& text) override { Report(W("введено: ") + text); }
    void ListClicked(int, int line, int clicks) override
    {
        Report(W("строка ") + std::to_string(line) + (clicks == 2 ? W(", двойной щелчок") : std::string()));
    }
    void UpdateFrame() override
    {
        ZorvinAppBase::UpdateFrame();
        if (seconds > 0 && Now() - startTick > static_cast<uint32_t>(seconds) * 1000)
            Shutdown();
    }
    bool DebugKeyDown(int key) override
    {
        if (key == KeyF11) {
            std::string file = TakeScreenshot();
            std::printf("screenshot: %s\n", file.empty() ? "(failed)" : file.c_str());
            std::fflush(stdout);
            return true;
        }
        return ZorvinAppBase::DebugKeyDown(key);
    }

    int seconds = 0;
    uint32_t startTick = 0;
    MemoryImage buttonStrip, frame, dialogFrame, checkImage, track, thumb;
    std::unique_ptr<Font> titleFont, bodyFont;
    Backdrop backdrop;
    ButtonWidget button, plain;
    DialogButton dialogButton;
    HyperlinkWidget link;
    Checkbox check;
    Slider slider;
    EditWidget edit;
    ListWidget names, scores;
};

} // namespace

int main(int argc, char** argv)
{
    auto platform = SdlPlatform::Open(false);
    if (!platform)
        return 1;
    ControlsApp app;
    platform->Attach(app);
    for (int i = 1; i < argc; ++i)
        if (std::strcmp(argv[i], "--seconds") == 0 && i + 1 < argc)
            app.seconds = std::atoi(argv[++i]);
    app.SetCommandLine("korvelt-controlstest");
    app.Initialize();
    app.Run();
    return 0;
}
