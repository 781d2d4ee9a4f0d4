#include "game/app/profiles/DataFolder.h"

#include <cstdlib>

namespace Zorvin {

std::string DataFolder::Locate()
{
    // A relative XDG_DATA_HOME is invalid and must be ignored; so is a
    // relative HOME, which would scatter the files around the working folder.
    std::string base;
    const char* xdg = std::getenv("XDG_DATA_HOME");
    const char* home = std::getenv("HOME");
    if (xdg && xdg[0] == '/')
        base = xdg;
    else if (home && home[0] == '/')
        base = std::string(home) + "/.local/share";
    else
        return {};
    while (base.size() > 1 && base.back() == '/')
        base.pop_back();
    if (base == "/")
        base.clear();
    return base + "/Wendmoor/Korvelt/";
}

} // namespace Zorvin
