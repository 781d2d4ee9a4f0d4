#include "platform/SdlSystemServices.h"

#include "framework/core/Cp1251.h"
#include "framework/core/FileUtil.h"
#include "platform/SdlWindowSystem.h"

#include <SDL.h>

#include <atomic>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <dirent.h>
#include <functional>
#include <set>
#include <spawn.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char** environ;

namespace Zorvin {

bool SdlSystemServices::CanShowMessageBoxes() const
{
    const char* driver = SDL_GetCurrentVideoDriver();
    return driver != nullptr && SDL_strcmp(driver, "dummy") != 0 && SDL_strcmp(driver, "offscreen") != 0;
}

namespace {

// The processes this one started that are still there (from /proc).
std::set<pid_t> ChildProcesses()
{
    std::set<pid_t> children;
    const pid_t self = ::getpid();
    DIR* proc = ::opendir("/proc");
    if (proc == nullptr)
        return children;
    while (dirent* entry = ::readdir(proc)) {
        pid_t pid = static_cast<pid_t>(std::atoi(entry->d_name));
        if (pid <= 0)
            continue;
        std::string stat;
        if (!FileUtil::ReadFile(std::string("/proc/") + entry->d_name + "/stat", stat, 4096))
            continue;
        // "pid (name) state ppid ...": the name may hold spaces and brackets.
        size_t close = stat.rfind(')');
        char state = 0;
        int parent = 0;
        if (close != std::string::npos && std::sscanf(stat.c_str() + close + 1, " %c %d", &state, &parent) == 2 &&
            parent == self)
            children.insert(pid);
    }
    ::closedir(proc);
    return children;
}

// SDL's message box, taken down once `dismiss` answers true. Returns 0 when
// the player answered, 1 when it was dismissed, -1 when it could not be
// shown.
int ShowDismissibleBox(const SDL_MessageBoxData& data, int& pressed, const std::function<bool()>& dismiss)
{
    // SDL shows the box from a process of its own and waits for it; a
    // watcher ends that process when the box is to be dismissed, which
    // ends SDL's wait. Processes that were there before are left alone.
    std::set<pid_t> before = ChildProcesses();
    std::atomic<bool> boxUp{true};
    std::atomic<bool> dismissed{false};
    std::thread watcher([&] {
        while (boxUp) {
            if (dismiss()) {
                dismissed = true;
                for (pid_t pid : ChildProcesses())
                    if (before.count(pid) == 0)
                        ::kill(pid, SIGKILL);
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
    });
    int result = SDL_ShowMessageBox(&data, &pressed);
    boxUp = false;
    watcher.join();
    return dismissed ? 1 : (result == 0 ? 0 : -1);
}

} // namespace

int SdlSystemServices::ShowMessageBox(const std::string& text, const std::string& title, int flags)
{
    std::string utf8Text = Cp1251ToUtf8(text);
    std::string utf8Title = Cp1251ToUtf8(title);
    bool yesNo = (flags & MB_YESNO) != 0;
    const int dismissedAnswer = yesNo ? IDNO : IDOK;
    if (CanShowMessageBoxes()) {
        SDL_MessageBoxButtonData buttons[2];
        int count = 0;
        if (yesNo) {
            buttons[count++] = {SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT, IDYES, "Yes"};
            buttons[count++] = {SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT, IDNO, "No"};
        } else {
            buttons[count++] = {SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT | SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT,
                                IDOK, "OK"};
        }
        SDL_MessageBoxData data{};
        data.flags = (flags & MB_ICONERROR) ? SDL_MESSAGEBOX_ERROR : SDL_MESSAGEBOX_INFORMATION;
        data.window = windowSystem != nullptr ? windowSystem->GetWindow() : nullptr;
        data.title = utf8Title.c_str();
        data.message = utf8Text.c_str();
        data.numbuttons = count;
        data.buttons = buttons;
        int pressed = -1;
        if (DismissRequested())
            return dismissedAnswer;
        int result = HasDismissCheck() ? ShowDismissibleBox(data, pressed, [this] { return DismissRequested(); })
                                       : SDL_ShowMessageBox(&data, &pressed);
        if (result > 0)
            return dismissedAnswer;
        if (result == 0 && pressed >= 0)
            return pressed;
    }
    // No desktop to show it on: the text still reaches the player's terminal.
    std::fprintf(stderr, "%s: %s\n", utf8Title.c_str(), utf8Text.c_str());
    return yesNo ? IDNO : IDOK;
}

void SdlSystemServices::SetClipboardText(const std::string& text)
{
    SDL_SetClipboardText(Cp1251ToUtf8(text).c_str());
}

std::string SdlSystemServices::GetClipboardText()
{
    if (!SDL_HasClipboardText())
        return std::string();
    char* utf8 = SDL_GetClipboardText();
    if (utf8 == nullptr)
        return std::string();
    std::string text = Utf8ToCp1251(utf8);
    SDL_free(utf8);
    return text;
}

bool SdlSystemServices::OpenUrl(const std::string& url)
{
    // Only web addresses are handed to the desktop, never local commands.
    if (url.rfind("http://", 0) != 0 && url.rfind("https://", 0) != 0)
        return false;
    pid_t pid = 0;
    char* const argv[] = {const_cast<char*>("xdg-open"), const_cast<char*>(url.c_str()), nullptr};
    if (posix_spawnp(&pid, "xdg-open", nullptr, nullptr, argv, environ) != 0)
        return false;
    // xdg-open hands the address on and ends quickly; reap it.
    int status = 0;
    if (waitpid(pid, &status, 0) < 0)
        return true;
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

} // namespace Zorvin
