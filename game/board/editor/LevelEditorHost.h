#pragma once

// LevelEditorHost: what the level editor needs from the running application:
// a modal question for the name of the file to save the level to. The game
// application asks with its text-entry dialog; tools and tests answer
// directly. The board panel's host provides it, so the editor never reaches
// into the application itself.

#include <string>

namespace Zorvin {

class LevelEditorHost {
public:
    virtual ~LevelEditorHost() = default;

    // Shows a text-entry question with `header`, `label` and the suggested
    // entry, and waits for the answer. True with `name` set when it was
    // confirmed with a non-empty text; false when cancelled.
    virtual bool AskFileName(const std::string& header, const std::string& label, const std::string& suggested,
                             std::string& name) = 0;
};

} // namespace Zorvin
