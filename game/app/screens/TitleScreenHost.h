#pragma once

// TitleScreenHost: what the title and loading screen needs from the
// application, in one narrow interface. The game application implements it.

namespace Zorvin {

class ResourceHost;
class TitleScreen;
class Widget;

class TitleScreenHost {
public:
    virtual ~TitleScreenHost() = default;

    // What the logo script's pictures load through.
    virtual ResourceHost& GetImageLoader() = 0;
    // How far the loading thread has come, from 0 to 1.
    virtual double LoadingProgress() = 0;
    // The start link was clicked: the screen has taken itself and the link
    // off the screen; the host deletes both after this step and builds the
    // game's screens.
    virtual void OnTitleScreenDone(TitleScreen* screen, Widget* startLink) = 0;
};

} // namespace Zorvin
