#pragma once

// GameFolderLookup: finds the folder that holds the game's data (the
// resource manifest properties/resources.xml and everything it names), so
// the game starts the same from its build folder, from an installed
// package, or from an install moved elsewhere, whatever the working folder.
// GameApp asks it once at start-up and changes into the folder it found.
//
// The places, in order:
//   1. the folder KORVELT_DATA_DIR names (when set and not empty);
//   2. the program's own folder (the build folder, where assetgen writes);
//   3. ../share/korvelt next to the program's real location (an install
//      under any prefix, also one moved after installing);
//   4. the data folder chosen when the game was built (KORVELT_DATA_DIR in
//      CMake, by default <prefix>/share/korvelt).

#include <string>
#include <vector>

namespace Zorvin {

class GameFolderLookup {
public:
    // Searches the places above. `dataDirVariable` is the environment
    // variable's value (nullptr when unset), `program` the program's real
    // path (as /proc/self/exe gives it), `configured` the build's choice.
    static GameFolderLookup Search(const char* dataDirVariable, const std::string& program,
                                   const std::string& configured);
    // The same for the running program, with its environment and build.
    static GameFolderLookup ForThisProgram();
    // The data folder chosen when the game was built ("" when none).
    static std::string ConfiguredFolder();
    // Whether the folder holds the game's data (its resource manifest).
    static bool HoldsGameData(const std::string& folder);

    bool Found() const { return !folder.empty(); }
    const std::string& Folder() const { return folder; }
    // Names every place looked in, for the start-up error.
    std::string ErrorText() const;

private:
    std::string folder;
    std::vector<std::string> tried;
};

} // namespace Zorvin
