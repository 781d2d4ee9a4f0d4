#include "game/app/GameFolderLookup.h"

#include <cstdlib>
#include <filesystem>

#ifndef KORVELT_CONFIGURED_DATA_DIR
#define KORVELT_CONFIGURED_DATA_DIR ""
#endif

namespace Zorvin {

namespace {

// The file every game folder has; the resource manager reads it first.
constexpr const char* ManifestFile = "properties/resources.xml";

} // namespace

bool GameFolderLookup::HoldsGameData(const std::string& folder)
{
    std::error_code ec;
    return std::filesystem::is_regular_file(std::filesystem::path(folder) / ManifestFile, ec);
}

std::string GameFolderLookup::ConfiguredFolder()
{
    return KORVELT_CONFIGURED_DATA_DIR;
}

GameFolderLookup GameFolderLookup::Search(const char* dataDirVariable, const std::string& program,
                                          const std::string& configured)
{
    namespace fs = std::filesystem;
    std::vector<fs::path> places;
    if (dataDirVariable != nullptr && *dataDirVariable != '\0')
        places.push_back(dataDirVariable);
    if (!program.empty()) {
        fs::path bin = fs::path(program).parent_path();
        places.push_back(bin);
        places.push_back(bin.parent_path() / "share" / "korvelt");
    }
    if (!configured.empty())
        places.push_back(configured);

    GameFolderLookup lookup;
    for (const fs::path& place : places) {
        std::error_code ec;
        fs::path absolute = fs::absolute(place, ec);
        const fs::path& shown = ec ? place : absolute;
        lookup.tried.push_back(shown.lexically_normal().string());
        if (HoldsGameData(shown.string())) {
            lookup.folder = lookup.tried.back();
            break;
        }
    }
    return lookup;
}

GameFolderLookup GameFolderLookup::ForThisProgram()
{
    std::error_code ec;
    std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", ec);
    return Search(std::getenv("KORVELT_DATA_DIR"), ec ? std::string() : program.string(), ConfiguredFolder());
}

std::string GameFolderLookup::ErrorText() const
{
    std::string text = "The game's data (";
    text += ManifestFile;
    text += ") was not found. Looked in:";
    for (const std::string& place : tried)
        text += "\n  " + place;
    text += "\nSet KORVELT_DATA_DIR to the folder that holds it.";
    return text;
}

} // namespace Zorvin
