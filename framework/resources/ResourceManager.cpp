// Sections:
//   - attribute helpers
//   - deleting resources
//   - loading groups and single resources (images, sounds, fonts)
//   - looking resources up
//   - errors and counts
//   - the manifest: groups and resources
//   - image, sound and font records

#include "framework/resources/ResourceManager.h"

#include "framework/graphics/AnimInfo.h"
#include "framework/graphics/Font.h"
#include "framework/font/ImageFont.h"
#include "framework/graphics/MemoryImage.h"
#include "framework/resources/ResourceHost.h"
#include "framework/audio/SoundManager.h"
#include "framework/resources/XMLParser.h"

#include <algorithm>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <strings.h>

namespace Zorvin {

namespace {

// Numbers in the manifest are read the way the C library's scanf reads them:
// leading text that forms a number counts, anything else leaves the default.
// Numbers beyond int are clamped into it, which the range checks then refuse.
int ScanInt(const std::string& text, int fallback)
{
    const char* begin = text.c_str();
    char* end = nullptr;
    long long v = std::strtoll(begin, &end, 10);
    if (end == begin)
        return fallback;
    return static_cast<int>(std::clamp<long long>(v, INT_MIN, INT_MAX));
}

// Upper bounds of the animation and grid numbers: far above any real image,
// low enough that cel sizes and total animation times stay inside int.
constexpr int kMaxGridCels = 1024;      // rows or cols
constexpr int kMaxFrameDelay = 100000;  // updates (1000 s)
constexpr int kMaxFrameList = 4096;     // entries of perframedelay / framemap

std::string RangeError(const char* attribute, int low, int high)
{
    return std::string("Attribute '") + attribute + "' out of range (" + std::to_string(low) + " to "
        + std::to_string(high) + ").";
}

std::vector<int> ScanIntList(const std::string& text)
{
    std::vector<int> out;
    size_t start = 0;
    for (;;) {
        size_t comma = text.find(',', start);
        out.push_back(ScanInt(text.substr(start, comma == std::string::npos ? std::string::npos : comma - start), 0));
        if (comma == std::string::npos)
            return out;
        start = comma + 1;
    }
}

std::string WithoutTrailingSlash(std::string s)
{
    if (!s.empty() && (s.back() == '\\' || s.back() == '/'))
        s.pop_back();
    return s;
}

// The file part of a path without folders and without its last extension.
std::string BaseName(const std::string& path)
{
    size_t slash = path.find_last_of("/\\");
    std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    size_t dot = name.rfind('.');
    return dot == std::string::npos ? name : name.substr(0, dot);
}

// Loaders get paths with "/" between folders, however the manifest wrote them.
std::string FilePath(std::string path)
{
    std::replace(path.begin(), path.end(), '\\', '/');
    return path;
}

// Tags are separated by commas, spaces, carriage returns, newlines or tabs.
std::vector<std::string> SplitTags(const std::string& text)
{
    std::vector<std::string> tags;
    std::string tag;
    for (char c : text + ",") {
        if (c == ',' || c == ' ' || c == '\r' || c == '\n' || c == '\t') {
            if (!tag.empty())
                tags.push_back(tag);
            tag.clear();
        } else {
            tag += c;
        }
    }
    return tags;
}

bool ImageLoaded(const ResourceManager::BaseRes& res)
{
    return static_cast<bool>(static_cast<const ResourceManager::ImageRes&>(res).image);
}

bool SoundLoaded(const ResourceManager::BaseRes& res)
{
    return static_cast<const ResourceManager::SoundRes&>(res).soundId != -1;
}

bool FontLoaded(const ResourceManager::BaseRes& res)
{
    return static_cast<const ResourceManager::FontRes&>(res).font != nullptr;
}

} // namespace

ResourceManager::FontRes::~FontRes() = default;

void ResourceManager::FontRes::DeleteResource()
{
    font.reset();
    fontImage.reset();
}

ResourceManager::ResourceManager(ResourceHost* host) : host(host)
{
    StartLoadResources("");
}

ResourceManager::~ResourceManager()
{
    for (ResMap* map : {&images, &sounds, &fonts})
        for (auto& [id, res] : *map)
            res->DeleteResource();
}

void ResourceManager::DeleteResources(const std::string& group)
{
    DeleteResourcesIn(images, group);
    DeleteResourcesIn(sounds, group);
    DeleteResourcesIn(fonts, group);
    loadedGroups.erase(group);
}

void ResourceManager::DeleteResourcesIn(ResMap& map, const std::string& group)
{
    for (auto& [id, res] : map)
        if (group.empty() || res->group == group)
            res->DeleteResource();
}

void ResourceManager::StartLoadResources(const std::string& group)
{
    loadingGroup = group;
    imagePos = images.begin();
    soundPos = sounds.begin();
    fontPos = fonts.begin();
}

bool ResourceManager::LoadResources(const std::string& group)
{
    hadError = false;
    errorText.clear();
    StartLoadResources(group);
    while (LoadNextResource()) {
    }
    if (hadError)
        return false;
    loadedGroups.insert(group);
    return true;
}

bool ResourceManager::LoadNextResource()
{
    return LoadNextImage() || LoadNextSound() || LoadNextFont();
}

ResourceManager::ResMap::iterator ResourceManager::NextToLoad(ResMap& map, ResMap::iterator pos,
                                                              bool (*loaded)(const BaseRes&))
{
    for (; pos != map.end(); ++pos) {
        const BaseRes& res = *pos->second;
        if (!loadingGroup.empty() && res.group != loadingGroup)
            continue;
        if (res.fromProgram || loaded(res))
            continue;
        break;
    }
    return pos;
}

bool ResourceManager::LoadNextImage()
{
    if (hadError)
        return false;
    imagePos = NextToLoad(images, imagePos, ImageLoaded);
    if (imagePos == images.end())
        return false;
    return LoadImageResource(static_cast<ImageRes&>(*imagePos->second));
}

bool ResourceManager::LoadNextSound()
{
    if (hadError)
        return false;
    soundPos = NextToLoad(sounds, soundPos, SoundLoaded);
    if (soundPos == sounds.end())
        return false;
    auto& res = static_cast<SoundRes&>(*soundPos->second);
    SoundManager* manager = host ? host->GetSoundManager() : nullptr;
    // Without a sound manager the game runs silently: the sound counts as
    // loaded so that its identifier still binds.
    if (manager && !manager->LoadSample(nextSoundId, FilePath(res.path)))
        return Fail("Failed to load sound: " + res.path);
    if (manager && res.volume >= 0)
        manager->SetSampleVolume(nextSoundId, res.volume);
    if (manager && res.pan != 0)
        manager->SetSamplePan(nextSoundId, res.pan);
    res.soundId = nextSoundId++;
    return true;
}

bool ResourceManager::LoadNextFont()
{
    if (hadError)
        return false;
    fontPos = NextToLoad(fonts, fontPos, FontLoaded);
    if (fontPos == fonts.end())
        return false;
    return LoadFontResource(static_cast<FontRes&>(*fontPos->second));
}

bool ResourceManager::LoadImageResource(ImageRes& res)
{
    bool created = false;
    SharedImageRef ref;
    if (host)
        ref = host->GetSharedImage(FilePath(res.path), res.variant, created, res.alphaColor);
    if (!ref)
        return Fail("Failed to load image: " + res.path);
    MemoryImage* image = ref.Get();
    if (res.unfinished.Get() == image)
        created = true;
    res.unfinished = ref;

    if (created && !res.alphaImage.empty()) {
        std::unique_ptr<MemoryImage> alpha = host->LoadDisplayImage(FilePath(res.alphaImage));
        if (!alpha)
            return Fail("Failed to load image: " + res.alphaImage);
        if (alpha->GetWidth() != image->GetWidth() || alpha->GetHeight() != image->GetHeight())
            return Fail("AlphaImage size mismatch between " + res.path + " and " + res.alphaImage);
        uint32_t* dst = image->GetBits();
        const uint32_t* src = alpha->GetBits();
        if (dst && src) {
            size_t n = static_cast<size_t>(image->GetWidth()) * image->GetHeight();
            for (size_t i = 0; i < n; ++i)
                dst[i] = (dst[i] & 0x00FFFFFF) | ((src[i] & 0xFF) << 24);
            image->CommitBits();
            image->BitsChanged();
        }
    }
    if (created && !res.alphaGrid.empty()) {
        std::unique_ptr<MemoryImage> grid = host->LoadDisplayImage(FilePath(res.alphaGrid));
        if (!grid)
            return Fail("Failed to load image: " + res.alphaGrid);
        int cellW = image->GetWidth() / res.cols;
        int cellH = image->GetHeight() / res.rows;
        if (grid->GetWidth() != cellW || grid->GetHeight() != cellH)
            return Fail("GridAlphaImage size mismatch between " + res.path + " and " + res.alphaGrid);
        uint32_t* dst = image->GetBits();
        const uint32_t* src = grid->GetBits();
        if (dst && src && cellW > 0 && cellH > 0) {
            const int w = image->GetWidth();
            for (int row = 0; row < res.rows; ++row)
                for (int col = 0; col < res.cols; ++col)
                    for (int y = 0; y < cellH; ++y) {
                        uint32_t* line = dst + static_cast<size_t>(row * cellH + y) * w + col * cellW;
                        const uint32_t* alpha = src + static_cast<size_t>(y) * cellW;
                        for (int x = 0; x < cellW; ++x)
                            line[x] = (line[x] & 0x00FFFFFF) | ((alpha[x] & 0xFF) << 24);
                    }
            image->CommitBits();
            image->BitsChanged();
        }
    }

    res.unfinished.Release();
    res.image = ref;
    image->purgeBits = res.purgeBits;
    // There is no separate display surface here; "ddsurface" stays recorded
    // on the record only.
    if (res.palletize && !image->Palletize())
        image->wantPal = true;
    if (res.a4r4g4b4)
        image->imageFlags |= MemoryImage::FlagUse16BitTexture;
    if (res.a8r8g8b8)
        image->imageFlags |= MemoryImage::FlagUse32BitTexture;
    if (res.minsubdivide)
        image->imageFlags |= MemoryImage::FlagMinimizeSubdivisions;
    if (res.anim.type != 0) {
        auto anim = std::make_unique<AnimInfo>();
        anim->animType = res.anim.type;
        anim->frameDelay = res.anim.frameDelay;
        anim->perFrameDelay = res.anim.perFrameDelays;
        anim->frameMap = res.anim.frameMap;
        anim->Compute(std::max(res.rows, res.cols), res.anim.beginDelay, res.anim.endDelay);
        image->animInfo = std::move(anim);
    }
    image->numRows = res.rows;
    image->numCols = res.cols;
    // Only drops the pixels when another form (the palette) can stand in.
    if (res.purgeBits)
        image->PurgeBits();
    return true;
}

bool ResourceManager::LoadFontResource(FontRes& res)
{
    FontHost* fontHost = host ? host->GetFontHost() : nullptr;
    std::unique_ptr<Font> font;
    std::shared_ptr<MemoryImage> fontImage;
    if (!res.imagePath.empty()) {
        std::unique_ptr<MemoryImage> image = host ? host->LoadDisplayImage(FilePath(res.imagePath)) : nullptr;
        if (!image)
            return Fail("Failed to load image: " + res.imagePath);
        fontImage = std::move(image);
        font = std::make_unique<ImageFont>(fontImage.get(), FilePath(res.path), fontHost);
    } else if (res.path.compare(0, 5, "!ref:") == 0) {
        std::string refId = res.path.substr(5);
        auto it = fonts.find(refId);
        auto* ref = it == fonts.end() ? nullptr : static_cast<FontRes*>(it->second.get());
        if (!ref || !ref->font)
            return Fail("Ref font not found: " + refId);
        font = ref->font->Duplicate();
        fontImage = ref->fontImage; // the duplicate draws from the same glyph image
    } else {
        font = std::make_unique<ImageFont>(FilePath(res.path), fontHost);
    }

    auto* imageFont = dynamic_cast<ImageFont*>(font.get());
    if (!font || (imageFont && !imageFont->IsLoaded()))
        return Fail("Failed to load font: " + res.path);
    if (imageFont)
        for (const std::string& tag : SplitTags(res.tags))
            imageFont->AddTag(tag);
    res.font = std::move(font);
    res.fontImage = std::move(fontImage);
    return true;
}

SharedImageRef ResourceManager::GetImageOrThrow(const std::string& id)
{
    auto it = images.find(id);
    if (it != images.end()) {
        auto& res = static_cast<ImageRes&>(*it->second);
        if (res.image)
            return res.image;
        if (res.fromProgram && allowMissingProgramResources)
            return SharedImageRef();
    }
    Fail("Image resource not found: " + id);
    throw ResourceManagerException(errorText);
}

int ResourceManager::GetSoundOrThrow(const std::string& id)
{
    auto it = sounds.find(id);
    if (it != sounds.end()) {
        auto& res = static_cast<SoundRes&>(*it->second);
        if (res.soundId != -1)
            return res.soundId;
        if (res.fromProgram && allowMissingProgramResources)
            return -1;
    }
    Fail("Sound resource not found: " + id);
    throw ResourceManagerException(errorText);
}

Font* ResourceManager::GetFontOrThrow(const std::string& id)
{
    auto it = fonts.find(id);
    if (it != fonts.end()) {
        auto& res = static_cast<FontRes&>(*it->second);
        if (res.font)
            return res.font.get();
        if (res.fromProgram && allowMissingProgramResources)
            return nullptr;
    }
    Fail("Font resource not found: " + id);
    throw ResourceManagerException(errorText);
}

Font* ResourceManager::FindFont(const std::string& id)
{
    auto it = fonts.find(id);
    return it == fonts.end() ? nullptr : static_cast<FontRes&>(*it->second).font.get();
}

bool ResourceManager::Fail(const std::string& message)
{
    if (hadError)
        return false;
    hadError = true;
    errorText = message;
    if (reader) {
        if (reader->GetLineNumber() > 0)
            errorText += " on Line " + std::to_string(reader->GetLineNumber());
        if (!reader->GetFileName().empty())
            errorText += " in File '" + reader->GetFileName() + "'";
    }
    return false;
}

int ResourceManager::GetNumResources(const std::string& group) const
{
    if (group.empty())
        return static_cast<int>(images.size() + sounds.size() + fonts.size());
    int n = 0;
    for (const ResMap* map : {&images, &sounds, &fonts})
        for (const auto& [id, res] : *map)
            if (res->group == group && !res->fromProgram)
                ++n;
    return n;
}

bool ResourceManager::ParseManifest(const std::string& fileName)
{
    reader = std::make_unique<XMLParser>();
    if (!reader->OpenFile(fileName))
        Fail("Resource file not found: " + fileName);
    return ParseOpenedManifest();
}

bool ResourceManager::ParseManifestText(const std::string& fileName, const std::string& text)
{
    reader = std::make_unique<XMLParser>();
    reader->OpenBuffer(fileName, text);
    return ParseOpenedManifest();
}

bool ResourceManager::ParseOpenedManifest()
{
    if (!reader->HasFailed() && !hadError) {
        XMLNode node;
        bool haveStart = false;
        while (reader->ReadNode(node)) {
            if (node.type == XMLNode::TYPE_START) {
                haveStart = true;
                break;
            }
        }
        if (haveStart && node.value == "ResourceManifest")
            ParseManifestBody();
        else if (!reader->HasFailed())
            Fail("Expecting ResourceManifest tag");
    }
    if (reader->HasFailed())
        Fail(reader->GetErrorText());
    reader.reset();
    return !hadError;
}

bool ResourceManager::ParseManifestBody()
{
    XMLNode node;
    while (!reader->HasFailed() && reader->ReadNode(node)) {
        if (node.type == XMLNode::TYPE_START) {
            if (node.value != "Resources")
                return Fail("Invalid Section '" + node.value + "'");
            currentGroup = node.GetAttribute("id");
            if (currentGroup.empty())
                return Fail("No id specified.");
            if (!ParseGroup())
                return false;
        } else if (node.type == XMLNode::TYPE_TEXT) {
            return Fail("Element Not Expected '" + node.value + "'");
        }
    }
    return !hadError;
}

bool ResourceManager::ReadGroupNode(XMLNode& node)
{
    if (reader->ReadNode(node))
        return true;
    // A manifest cut off inside a group is damaged, not complete.
    return Fail(reader->HasFailed() ? reader->GetErrorText() : "Unexpected End of File");
}

bool ResourceManager::ParseGroup()
{
    XMLNode node;
    for (;;) {
        if (!ReadGroupNode(node))
            return false;
        if (node.type == XMLNode::TYPE_START) {
            const std::string& name = node.value;
            if (name != "Image" && name != "Sound" && name != "Font" && name != "SetDefaults")
                return Fail("Invalid Section '" + name + "'");
            if (!ParseResource(node))
                return false;
            XMLNode end;
            if (!ReadGroupNode(end))
                return false;
            if (end.type != XMLNode::TYPE_END || end.value != name)
                return Fail("Unexpected element found.");
        } else if (node.type == XMLNode::TYPE_TEXT) {
            return Fail("Element Not Expected '" + node.value + "'");
        } else if (node.type == XMLNode::TYPE_END) {
            return true; // the end of the Resources element
        }
    }
}

bool ResourceManager::ParseResource(const XMLNode& node)
{
    if (node.value == "SetDefaults") {
        if (node.HasAttribute("path")) {
            // An empty default means no prefix, not the root folder.
            std::string p = WithoutTrailingSlash(node.GetAttribute("path"));
            defaultPath = p.empty() ? "" : p + "/";
        }
        if (node.HasAttribute("idprefix"))
            defaultIdPrefix = WithoutTrailingSlash(node.GetAttribute("idprefix"));
        return true;
    }
    if (node.value == "Image") {
        auto* image = static_cast<ImageRes*>(AddRecord(std::make_unique<ImageRes>(), node, images));
        return image && ParseImage(*image, node);
    }
    if (node.value == "Sound") {
        auto* sound = static_cast<SoundRes*>(AddRecord(std::make_unique<SoundRes>(), node, sounds));
        if (sound)
            ParseSound(*sound, node);
        return sound != nullptr;
    }
    auto* font = static_cast<FontRes*>(AddRecord(std::make_unique<FontRes>(), node, fonts));
    if (font)
        ParseFont(*font, node);
    return font != nullptr;
}

ResourceManager::BaseRes* ResourceManager::AddRecord(std::unique_ptr<BaseRes> record, const XMLNode& node,
                                                     ResMap& map)
{
    BaseRes& res = *record;
    const std::string& path = node.GetAttribute("path");
    if (path.empty()) {
        Fail("No path specified.");
        return nullptr;
    }
    res.attributes = node.attributes;
    res.fromProgram = path == "!program";
    res.path = path[0] == '!' ? path : defaultPath + path;
    std::string id = defaultIdPrefix + (node.HasAttribute("id") ? node.GetAttribute("id") : BaseName(path));
    res.group = currentGroup;
    if (map.count(id)) {
        Fail("Resource already defined.");
        return nullptr;
    }
    map.emplace(id, std::move(record));
    return &res;
}

bool ResourceManager::ParseImage(ImageRes& res, const XMLNode& node)
{
    res.palletize = !node.HasAttribute("nopal");
    res.a4r4g4b4 = node.HasAttribute("a4r4g4b4");
    res.a8r8g8b8 = node.HasAttribute("a8r8g8b8");
    res.minsubdivide = node.HasAttribute("minsubdivide");
    res.ddsurface = node.HasAttribute("ddsurface");
    res.purgeBits = node.HasAttribute("nobits") || (is3D && node.HasAttribute("nobits3d"))
        || (!is3D && node.HasAttribute("nobits2d"));
    res.findAlpha = !node.HasAttribute("noalpha");
    if (node.HasAttribute("alphaimage"))
        res.alphaImage = defaultPath + node.GetAttribute("alphaimage");
    if (node.HasAttribute("alphagrid"))
        res.alphaGrid = defaultPath + node.GetAttribute("alphagrid");
    if (node.HasAttribute("alphacolor")) {
        unsigned int color;
        if (std::sscanf(node.GetAttribute("alphacolor").c_str(), "%x", &color) == 1)
            res.alphaColor = color;
    }
    res.variant = node.GetAttribute("variant");
    // A grid needs at least one cel each way; the cel size divides by these.
    res.rows = std::max(1, ScanInt(node.GetAttribute("rows"), 1));
    res.cols = std::max(1, ScanInt(node.GetAttribute("cols"), 1));
    if (res.rows > kMaxGridCels)
        return Fail(RangeError("rows", 1, kMaxGridCels));
    if (res.cols > kMaxGridCels)
        return Fail(RangeError("cols", 1, kMaxGridCels));

    if (!node.HasAttribute("anim"))
        return true;
    const std::string& anim = node.GetAttribute("anim");
    if (strcasecmp(anim.c_str(), "none") == 0)
        return true;
    if (strcasecmp(anim.c_str(), "once") == 0)
        res.anim.type = 1;
    else if (strcasecmp(anim.c_str(), "pingpong") == 0)
        res.anim.type = 2;
    else if (strcasecmp(anim.c_str(), "loop") == 0)
        res.anim.type = 3;
    else
        return Fail("Invalid animation type.");
    res.anim.frameDelay = std::max(1, ScanInt(node.GetAttribute("framedelay"), 1));
    res.anim.beginDelay = ScanInt(node.GetAttribute("begindelay"), 0);
    res.anim.endDelay = ScanInt(node.GetAttribute("enddelay"), 0);
    if (node.HasAttribute("perframedelay"))
        res.anim.perFrameDelays = ScanIntList(node.GetAttribute("perframedelay"));
    if (node.HasAttribute("framemap"))
        res.anim.frameMap = ScanIntList(node.GetAttribute("framemap"));
    return CheckAnimation(res.anim);
}

bool ResourceManager::CheckAnimation(const AnimDescription& anim)
{
    const std::pair<const char*, int> delays[] = {
        {"framedelay", anim.frameDelay}, {"begindelay", anim.beginDelay}, {"enddelay", anim.endDelay}};
    for (const auto& [name, value] : delays)
        if (value > kMaxFrameDelay)
            return Fail(RangeError(name, 0, kMaxFrameDelay));
    if (anim.perFrameDelays.size() > size_t(kMaxFrameList))
        return Fail(std::string("Too many entries in 'perframedelay' (at most ") + std::to_string(kMaxFrameList) + ").");
    if (anim.frameMap.size() > size_t(kMaxFrameList))
        return Fail(std::string("Too many entries in 'framemap' (at most ") + std::to_string(kMaxFrameList) + ").");
    for (int d : anim.perFrameDelays)
        if (d > kMaxFrameDelay)
            return Fail(RangeError("perframedelay", 0, kMaxFrameDelay));
    return true;
}

void ResourceManager::ParseSound(SoundRes& res, const XMLNode& node)
{
    if (node.HasAttribute("volume")) {
        double v;
        if (std::sscanf(node.GetAttribute("volume").c_str(), "%lf", &v) == 1)
            res.volume = v;
    }
    if (node.HasAttribute("pan"))
        res.pan = ScanInt(node.GetAttribute("pan"), 0);
}

void ResourceManager::ParseFont(FontRes& res, const XMLNode& node)
{
    res.imagePath = node.GetAttribute("image");
    res.tags = node.GetAttribute("tags");
}

} // namespace Zorvin
