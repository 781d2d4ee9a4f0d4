#pragma once

// ResourceManager: every image, sound and font of the game, reached by
// identifier. The game names no asset file in its code: an XML manifest lists
// each resource with an identifier, a file path and loading options, grouped
// into named groups. The manager reads the manifest once, loads a group at a
// time (all at once, or one resource per call so that a loading bar can
// advance) and hands out the loaded objects by identifier. It owns every
// resource it loaded; the application owns the manager. Failures are kept as
// the first error text only, so the message shown is the root cause.

#include <cstdint>
#include <exception>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "framework/graphics/SharedImage.h"

namespace Zorvin {

class Font;
class MemoryImage;
class ResourceHost;
class XMLParser;
struct XMLNode;

// Raised by the lookups of an identifier that is unknown or not loaded; it
// carries the manager's (first) error text.
class ResourceManagerException : public std::exception {
public:
    explicit ResourceManagerException(std::string text) : errorText(std::move(text)) {}
    const char* what() const noexcept override { return errorText.c_str(); }
    const std::string& GetErrorText() const { return errorText; }

private:
    std::string errorText;
};

class ResourceManager {
public:
    // What every record of the manifest has: its group, its path (with the
    // default path prefix applied), all attributes of its element, and
    // whether the program supplies it itself ("!program").
    struct BaseRes {
        virtual ~BaseRes() = default;
        // Releases what was loaded; the record stays and may load again.
        virtual void DeleteResource() {}
        std::string group;
        std::string path;
        std::map<std::string, std::string> attributes;
        bool fromProgram = false;
    };

    // Animation of an image as the manifest describes it.
    struct AnimDescription {
        int type = 0; // 0 none, 1 once, 2 ping-pong, 3 loop
        int frameDelay = 1;
        int beginDelay = 0;
        int endDelay = 0;
        std::vector<int> perFrameDelays;
        std::vector<int> frameMap;
    };

    struct ImageRes : BaseRes {
        void DeleteResource() override
        {
            image.Release();
            unfinished.Release();
        }
        SharedImageRef image;
        // A newly loaded image whose alpha step failed: a retry finishes it
        // rather than taking it from the shared table as it is.
        SharedImageRef unfinished;
        std::string alphaImage;
        std::string alphaGrid;
        std::string variant;
        bool palletize = true;
        bool a4r4g4b4 = false;
        bool a8r8g8b8 = false;
        bool ddsurface = false;
        bool purgeBits = false;
        bool minsubdivide = false;
        bool findAlpha = true;
        uint32_t alphaColor = 0xFFFFFF;
        int rows = 1;
        int cols = 1;
        AnimDescription anim;
    };

    struct SoundRes : BaseRes {
        void DeleteResource() override { soundId = -1; }
        int soundId = -1;
        double volume = -1; // -1: not given
        int pan = 0;        // 0: not given
    };

    struct FontRes : BaseRes {
        ~FontRes() override;
        void DeleteResource() override;
        std::unique_ptr<Font> font;
        // The glyph image given by "image"; shared with the fonts that
        // duplicate this one, which draw from it too.
        std::shared_ptr<MemoryImage> fontImage;
        std::string imagePath;
        std::string tags;
    };

    using ResMap = std::map<std::string, std::unique_ptr<BaseRes>>;

    // The host loads images, fonts and sounds; without one no image or font
    // loads, and sounds count as loaded without a sound (a silent game).
    explicit ResourceManager(ResourceHost* host = nullptr);
    ResourceManager(const ResourceManager&) = delete;
    ResourceManager& operator=(const ResourceManager&) = delete;

    // Releases what the group's records loaded; the group is no longer loaded.
    virtual void DeleteResources(const std::string& group);
    // Releases the records of one map that belong to the group (all of them
    // for an empty group).
    virtual void DeleteResourcesIn(ResMap& map, const std::string& group);
    // Loads one image through the shared images, applies its alpha image or
    // alpha grid when it is newly loaded, then its options.
    virtual bool LoadImageResource(ImageRes& res);
    // Loads one font: from its descriptor with a glyph image, as a copy of
    // another font ("!ref:"), or from its descriptor alone; adds its tags.
    virtual bool LoadFontResource(FontRes& res);
    virtual ~ResourceManager();
    // Loads the next resource of the current group that is not loaded yet,
    // images in identifier order, then sounds, then fonts. False when none is
    // left or on an error.
    virtual bool LoadNextImage();
    virtual bool LoadNextSound();
    virtual bool LoadNextFont();
    virtual bool LoadNextResource();
    // Starts step-wise loading of a group (every group when empty).
    virtual void StartLoadResources(const std::string& group);
    // Loads a whole group; resources already loaded are skipped, so loading
    // a group again retries only what failed. Clears an earlier error first.
    virtual bool LoadResources(const std::string& group);
    // The loaded resource of an identifier. An unknown identifier or one
    // that is not loaded records an error and throws ResourceManagerException
    // with the first error text.
    virtual SharedImageRef GetImageOrThrow(const std::string& id);
    virtual int GetSoundOrThrow(const std::string& id);
    virtual Font* GetFontOrThrow(const std::string& id);

    // A loaded font, or null; no error.
    Font* FindFont(const std::string& id);
    bool IsGroupLoaded(const std::string& group) const { return loadedGroups.count(group) != 0; }

    // Reads the manifest: groups and their records, nothing is loaded yet.
    // Returns false with the error text (and its line and file) on the first
    // problem. Backslashes in the name are folder separators.
    bool ParseManifest(const std::string& fileName);
    // The same for a manifest already in memory, reported as `fileName`.
    bool ParseManifestText(const std::string& fileName, const std::string& text);

    bool HadError() const { return hadError; }
    const std::string& GetErrorText() const { return errorText; }

    // Records of each kind, by identifier (byte order).
    const ResMap& GetImageMap() const { return images; }
    const ResMap& GetSoundMap() const { return sounds; }
    const ResMap& GetFontMap() const { return fonts; }

    // Images, sounds and fonts of the group that are loaded from files (the
    // loading bar's total); for an empty group, every record.
    int GetNumResources(const std::string& group) const;

    // Whether "!program" resources may be looked up before the program
    // supplied them (they then come back empty).
    bool allowMissingProgramResources = false;
    // Whether 3D drawing is on when the manifest is read ("nobits3d" and
    // "nobits2d" depend on it).
    bool is3D = false;

protected:
    // Records the first error only. While a manifest is being read the line
    // and file are appended.
    bool Fail(const std::string& message);

private:
    bool ParseOpenedManifest();
    bool ParseManifestBody();
    bool ParseGroup();
    bool ParseResource(const XMLNode& node);
    // The path, identifier, group and attributes common to every kind; the
    // record joins the map, or null is returned after recording the error.
    BaseRes* AddRecord(std::unique_ptr<BaseRes> record, const XMLNode& node, ResMap& map);
    bool ParseImage(ImageRes& res, const XMLNode& node);
    // Refuses delays and frame lists whose total time would overflow.
    bool CheckAnimation(const AnimDescription& anim);
    void ParseSound(SoundRes& res, const XMLNode& node);
    void ParseFont(FontRes& res, const XMLNode& node);
    // Reads the next node; at the end of the input or on a read error the
    // error is recorded and false returned.
    bool ReadGroupNode(XMLNode& node);

    // Walks a map from `pos` to the next record of the current group that
    // still needs loading.
    ResMap::iterator NextToLoad(ResMap& map, ResMap::iterator pos, bool (*loaded)(const BaseRes&));

    ResourceHost* host;
    ResMap images;
    ResMap sounds;
    ResMap fonts;
    std::set<std::string> loadedGroups;
    std::string loadingGroup;
    ResMap::iterator imagePos;
    ResMap::iterator soundPos;
    ResMap::iterator fontPos;
    int nextSoundId = 0;
    bool hadError = false;
    std::string errorText;
    std::unique_ptr<XMLParser> reader;
    std::string currentGroup;
    std::string defaultPath;
    std::string defaultIdPrefix;
};

} // namespace Zorvin
