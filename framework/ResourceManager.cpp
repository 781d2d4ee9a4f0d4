#include "framework/ResourceManager.h"

#include "framework/XMLParser.h"

#include <algorithm>
#include <cstdio>
#include <strings.h>

namespace Zorvin {

namespace {

// Numbers in the manifest are read the way the C library's scanf reads them:
// leading text that forms a number counts, anything else leaves the default.
int ScanInt(const std::string& text, int fallback)
{
    int v;
    return std::sscanf(text.c_str(), "%d", &v) == 1 ? v : fallback;
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

} // namespace

ResourceManager::ResourceManager() = default;

ResourceManager::~ResourceManager()
{
    for (ResMap* map : {&images, &sounds, &fonts})
        for (auto& [id, res] : *map)
            res->DeleteResource();
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
