// korvelt-screentest: the application base on the real desktop with a test
// screen. Colour bars check the pixel format, the one-pixel grid checks
// that scaling stays sharp, the corner marks check that nothing is cut
// off, and a square follows the mouse (it turns white while a button is
// held) to check the mapping of pointer positions. Ctrl+Alt+D then F11
// saves a screenshot into "_screenshots". Options:
//   --seconds N   end after N seconds
//   --windowed / --fullscreen

#include "framework/core/KeyCodes.h"
#include "framework/graphics/Graphics.h"
#include "framework/graphics/MemoryImage.h"
#include "framework/widgets/WidgetManager.h"
#include "framework/app/ZorvinAppBase.h"
#include "platform/SdlPlatform.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

using namespace Zorvin;

namespace {

class TestScreen : public Widget {
public:
    void Draw(Graphics* g) override
    {
        g->SetColor(Color(24, 32, 48));
        g->FillRect(0, 0, width, height);
        static const Color bars[] = {Color(255, 255, 255), Color(255, 255, 0), Color(0, 255, 255), Color(0, 255, 0),
                                     Color(255, 0, 255),   Color(255, 0, 0),   Color(0, 0, 255),   Color(0, 0, 0)};
        for (int i = 0; i < 8; ++i) {
            g->SetColor(bars[i]);
            g->FillRect(40 + i * 90, 40, 90, 200);
        }
        // A one-pixel grid: any blur from scaling shows at once.
        g->SetColor(Color(200, 200, 200));
        for (int x = 40; x <= 760; x += 20)
            g->FillRect(x, 280, 1, 200);
        for (int y = 280; y <= 480; y += 20)
            g->FillRect(40, y, 721, 1);
        // A grey ramp.
        for (int x = 0; x < 720; ++x) {
            int v = x * 255 / 719;
            g->SetColor(Color(v, v, v));
            g->FillRect(40 + x, 500, 1, 40);
        }
        // Corner marks, exactly at the screen edges.
        g->SetColor(Color(255, 80, 0));
        for (int i = 0; i < 4; ++i) {
            int cx = (i & 1) ? width - 10 : 0;
            int cy = (i & 2) ? height - 10 : 0;
            g->FillRect(cx, cy, 10, 10);
        }
    }
};

class Pointer : public Widget {
public:
    Pointer() { mouseVisible = false; }
    void Draw(Graphics* g) override
    {
        g->SetColor(pressed ? Color(255, 255, 255) : Color(255, 200, 0));
        g->FillRect(0, 0, width, height);
        g->SetColor(Color(0, 0, 0));
        g->DrawRect(0, 0, width - 1, height - 1);
    }
    bool pressed = false;
};

class ScreenTestApp : public ZorvinAppBase {
public:
    // "--fullscreen": the test screen fills the desktop.
    void StartFullScreen() { SetStartWindowed(false); }

    ScreenTestApp()
    {
        productName = "KorveltScreenTest";
        title = "Korvelt screen test";
        width = 800;
        height = 600;
        onlyAllowOneCopyToRun = false;
        autoStartLoadingThread = false;
    }
    ~ScreenTestApp() override
    {
        widgetManager->RemoveChild(&pointer);
        widgetManager->RemoveChild(&screen);
    }
    void OnInitialized() override
    {
        screen.Resize(0, 0, width, height);
        pointer.Resize(0, 0, 16, 16);
        widgetManager->AddChild(&screen);
        widgetManager->AddChild(&pointer);
        startTick = Now();
    }
    void UpdateFrame() override
    {
        ZorvinAppBase::UpdateFrame();
        WidgetManager* wm = widgetManager.get();
        bool pressed = wm->actualDownButtons != 0;
        int px = wm->lastMouseX - 8, py = wm->lastMouseY - 8;
        if (px != pointer.x || py != pointer.y || pressed != pointer.pressed) {
            pointer.pressed = pressed;
            pointer.Move(px, py);
            pointer.MarkDirty();
        }
        if (seconds > 0 && Now() - startTick > static_cast<uint32_t>(seconds) * 1000)
            Shutdown();
    }
    bool DebugKeyDown(int key) override
    {
        if (key == KeyF11 && !GetWidgetManager()->IsKeyDown(KeyShift)) { // F11; Shift+F11 dumps the images
            std::string file = TakeScreenshot();
            std::printf("screenshot: %s\n", file.empty() ? "(failed)" : file.c_str());
            std::fflush(stdout);
            return true;
        }
        return ZorvinAppBase::DebugKeyDown(key);
    }

    int seconds = 0;
    uint32_t startTick = 0;
    TestScreen screen;
    Pointer pointer;
};

} // namespace

int main(int argc, char** argv)
{
    auto platform = SdlPlatform::Open(false);
    if (!platform)
        return 1;
    ScreenTestApp app;
    platform->Attach(app);
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--seconds") == 0 && i + 1 < argc)
            app.seconds = std::atoi(argv[++i]);
        else if (std::strcmp(argv[i], "--fullscreen") == 0)
            app.StartFullScreen();
    }
    app.SetCommandLine("korvelt-screentest");
    app.Initialize();
    app.Run();
    return 0;
}
