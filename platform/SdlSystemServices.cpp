#include "platform/SdlSystemServices.h"

#include "framework/core/Cp1251.h"
#include "platform/SdlWindowSystem.h"

#include <SDL.h>

#include <cstdio>
#include <spawn.h>
#include <sys/wait.h>

extern char** environ;

namespace Zorvin {

bool SdlSystemServices::CanShowMessageBoxes() const
{
    const char* driver = SDL_GetCurrentVideoDriver();
    return driver != nullptr && SDL_strcmp(driver, "dummy") != 0 && SDL_strcmp(driver, "offscreen") != 0;
}

int SdlSystemServices::ShowMessageBox(const std::string& text, const std::string& title, int flags)
{
    std::string utf8Text = Cp1251ToUtf8(text);
    std::string utf8Title = Cp1251ToUtf8(title);
    bool yesNo = (flags & MB_YESNO) != 0;
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
        if (SDL_ShowMessageBox(&data, &pressed) == 0 && pressed >= 0)
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
