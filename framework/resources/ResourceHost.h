#pragma once

// ResourceHost: what the resource manager needs from the application that
// owns it: shared image lookups, loading single image files, and the sound
// manager. The application implements it; FileResourceHost is the plain
// version that reads from disk, used by tools, tests and the game alike.
// The host outlives the manager.

#include <cstdint>
#include <memory>
#include <string>

#include "framework/graphics/SharedImage.h"

namespace Zorvin {

class FontHost;
class MemoryImage;
class SoundManager;

class ResourceHost {
public:
    virtual ~ResourceHost() = default;

    // The shared image of (file, variant), loaded when it is not shared yet
    // (then `created` is true). A file that exists only as an alpha image is
    // coloured with alphaColor. Empty when the file does not load.
    virtual SharedImageRef GetSharedImage(const std::string& file, const std::string& variant, bool& created,
                                          uint32_t alphaColor) = 0;
    // Reads an image file into a new image of its own; none when it does not
    // load.
    virtual std::unique_ptr<MemoryImage> LoadDisplayImage(const std::string& path) = 0;
    // The sound manager sounds are loaded into, or none (the game is silent).
    virtual SoundManager* GetSoundManager() = 0;
    // What image fonts load their glyph images through; none for the default.
    virtual FontHost* GetFontHost() { return nullptr; }
};

// Reads images from files through the image loader into its own shared
// image table, and uses the sound manager it is given.
class FileResourceHost : public ResourceHost {
public:
    explicit FileResourceHost(SoundManager* soundManager = nullptr) : soundManager(soundManager) {}

    SharedImageRef GetSharedImage(const std::string& file, const std::string& variant, bool& created,
                                  uint32_t alphaColor) override;
    std::unique_ptr<MemoryImage> LoadDisplayImage(const std::string& path) override;
    SoundManager* GetSoundManager() override { return soundManager; }

    SharedImageTable& GetSharedImages() { return sharedImages; }

private:
    SoundManager* soundManager;
    SharedImageTable sharedImages;
};

} // namespace Zorvin
