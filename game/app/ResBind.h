#pragma once

// Binding the game's resource identifiers: after a group of the manifest has
// loaded, each identifier of the group is looked up in the resource manager
// and stored in its variable of the same name (game/board/Res.h). Each step
// returns false at the first identifier that cannot be resolved (unknown or
// not loaded); the manager's error text then says which. Images bind before
// sounds, each in byte order of their identifiers.

#include <string>
#include <vector>

namespace Zorvin {

class ResourceManager;

bool BindInitResources(ResourceManager& manager);        // group "Init"
bool BindTitleScreenResources(ResourceManager& manager); // group "TitleScreen"
bool BindGameResources(ResourceManager& manager);        // group "Game"

// Empties every identifier variable again (null images and font, sound -1),
// for when the resource manager that owned them is gone.
void ClearBoundResources();

// The identifiers a group binds, in binding order.
std::vector<std::string> BindingOrder(const std::string& group);

} // namespace Zorvin
