#include "framework/font/FontData.h"

#include "framework/font/FontHost.h"
#include "framework/graphics/MemoryImage.h"

#include <algorithm>
#include <cctype>

namespace Zorvin {

namespace {

std::string Upper(std::string s)
{
    for (char& c : s)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return s;
}

int ClampByte(int v) { return std::clamp(v, 0, 255); }

// Commands and the number of values each takes, its own name included.
const std::map<std::string, size_t>& CommandSizes()
{
    static const std::map<std::string, size_t> sizes = {
        {"CREATEHORZSPANRECTLIST", 4}, {"SETDEFAULTPOINTSIZE", 2}, {"SETCHARMAP", 3},
        {"CREATELAYER", 2},            {"CREATELAYERFROM", 3},     {"LAYERREQUIRETAGS", 3},
        {"LAYEREXCLUDETAGS", 3},       {"LAYERPOINTRANGE", 4},     {"LAYERSETPOINTSIZE", 3},
        {"LAYERSETIMAGE", 3},          {"LAYERSETDRAWMODE", 3},    {"LAYERSETCOLORMULT", 3},
        {"LAYERSETCOLORADD", 3},       {"LAYERSETASCENT", 3},      {"LAYERSETASCENTPADDING", 3},
        {"LAYERSETLINESPACINGOFFSET", 3}, {"LAYERSETOFFSET", 3},   {"LAYERSETCHARWIDTHS", 4},
        {"LAYERSETSPACING", 3},        {"LAYERSETIMAGEMAP", 4},    {"LAYERSETCHAROFFSETS", 4},
        {"LAYERSETKERNINGPAIRS", 4},   {"LAYERSETBASEORDER", 3},   {"LAYERSETCHARORDERS", 4},
    };
    return sizes;
}

} // namespace

FontData::FontData(FontHost* fontHost) : host(fontHost ? fontHost : &FontHost::Default())
{
    for (int i = 0; i < 256; ++i)
        charMap[i] = static_cast<unsigned char>(i);
}

FontData::~FontData() = default;

FontLayer* FontData::FindLayer(const std::string& name) const
{
    auto it = layerMap.find(Upper(name));
    return it == layerMap.end() ? nullptr : it->second;
}

bool FontData::Begin(const std::string& name, MemoryImage* image)
{
    fileName = name;
    fontImage = image;
    errorPrefix = "Font Descriptor Error in " + name + "\r\n";
    return true;
}

bool FontData::Finish(bool ok)
{
    loaded = ok;
    if (!ok)
        host->ReportFontError(GetErrorText());
    return ok;
}

bool FontData::Load(const std::string& name, MemoryImage* image)
{
    Begin(name, image);
    return Finish(LoadDescriptor(name));
}

bool FontData::LoadText(const std::string& text, const std::string& name, MemoryImage* image)
{
    Begin(name, image);
    size_t sep = name.find_last_of("\\/");
    descriptorFolder = sep == std::string::npos ? "" : name.substr(0, sep + 1);
    return Finish(LoadDescriptorText(text));
}

MemoryImage* FontData::LoadImage(const std::string& name)
{
    // Image names are relative to the descriptor's folder; a name that
    // already works from the current folder is accepted too.
    std::unique_ptr<MemoryImage> image;
    bool absolute = !name.empty() && (name[0] == '/' || name[0] == '\\');
    if (!absolute && !descriptorFolder.empty())
        image = host->LoadFontImage(descriptorFolder + name);
    if (!image)
        image = host->LoadFontImage(name);
    if (!image)
        return nullptr;
    ownedImages.push_back(std::move(image));
    return ownedImages.back().get();
}

bool FontData::GetLayer(const DataElement& element, FontLayer*& out)
{
    std::string name;
    if (!GetName(element, name))
        return false;
    out = FindLayer(name);
    if (!out)
        return Error("Undefined Layer");
    return true;
}

bool FontData::GetColor(const DataElement& element, Color& out)
{
    std::vector<int> c;
    if (!GetIntList(element, c))
        return false;
    if (c.size() != 3 && c.size() != 4)
        return Error("Invalid Paramater Type");
    out = Color(ClampByte(c[0]), ClampByte(c[1]), ClampByte(c[2]), c.size() == 4 ? ClampByte(c[3]) : 255);
    return true;
}

bool FontData::HandleCommand(const ListDataElement& params)
{
    const auto& p = params.elements;
    const std::string cmd = Upper(static_cast<const SingleDataElement&>(*p[0]).string);
    auto size = CommandSizes().find(cmd);
    if (size == CommandSizes().end())
        return Error("Unknown Command");
    if (p.size() != size->second)
        return Error("Invalid Number of Parameters");

    if (cmd == "CREATEHORZSPANRECTLIST")
        return CreateHorzSpanRectList(params);
    if (cmd == "SETDEFAULTPOINTSIZE")
        return GetInt(*p[1], defaultPointSize);
    if (cmd == "SETCHARMAP") {
        std::vector<unsigned char> from, to;
        if (!GetCharList(*p[1], from) || !GetCharList(*p[2], to))
            return false;
        if (from.size() != to.size())
            return Error("List Size Mismatch");
        for (size_t i = 0; i < from.size(); ++i)
            charMap[from[i]] = to[i];
        return true;
    }
    if (cmd == "CREATELAYER" || cmd == "CREATELAYERFROM") {
        std::string name;
        if (!GetName(*p[1], name))
            return false;
        FontLayer* source = nullptr;
        if (cmd == "CREATELAYERFROM" && !GetLayer(*p[2], source))
            return false;
        if (FindLayer(name))
            return Error("Layer Already Exists");
        auto layer = source ? std::make_unique<FontLayer>(*source) : std::make_unique<FontLayer>();
        layer->name = name;
        if (!source)
            layer->image = fontImage;
        layerMap[Upper(name)] = layer.get();
        layers.push_back(std::move(layer));
        return true;
    }

    // Everything else changes an existing layer.
    FontLayer* layer;
    if (!GetLayer(*p[1], layer))
        return false;
    return HandleLayerCommand(cmd, params, *layer);
}

bool FontData::CreateHorzSpanRectList(const ListDataElement& params)
{
    // Rectangles cut side by side from one strip, one per width.
    const auto& p = params.elements;
    std::string name;
    std::vector<int> rect, widths;
    if (!GetName(*p[1], name) || !GetIntList(*p[2], rect) || !GetIntList(*p[3], widths))
        return false;
    if (rect.size() != 4)
        return Error("Invalid Paramater Type");
    auto list = std::make_unique<ListDataElement>();
    long long x = rect[0];
    for (int w : widths) {
        auto r = std::make_unique<ListDataElement>();
        for (long long v : {x, (long long)rect[1], (long long)w, (long long)rect[3]})
            r->elements.push_back(std::make_unique<SingleDataElement>(std::to_string(v), true));
        list->elements.push_back(std::move(r));
        x += w;
    }
    return SetDefine(name, std::move(list));
}

// The commands that change one existing layer.
bool FontData::HandleLayerCommand(const std::string& cmd, const ListDataElement& params, FontLayer& layerRef)
{
    const auto& p = params.elements;
    FontLayer* layer = &layerRef;
    if (cmd == "LAYERREQUIRETAGS" || cmd == "LAYEREXCLUDETAGS") {
        std::vector<std::string> tags;
        if (!GetStringList(*p[2], tags))
            return false;
        for (std::string& t : tags)
            t = Upper(t);
        (cmd == "LAYERREQUIRETAGS" ? layer->requiredTags : layer->excludedTags) = std::move(tags);
        return true;
    }
    if (cmd == "LAYERPOINTRANGE")
        return GetInt(*p[2], layer->minPointSize) && GetInt(*p[3], layer->maxPointSize);
    if (cmd == "LAYERSETPOINTSIZE")
        return GetInt(*p[2], layer->pointSize);
    if (cmd == "LAYERSETIMAGE") {
        std::string name;
        if (!GetString(*p[2], name))
            return false;
        MemoryImage* image = LoadImage(name);
        if (!image)
            return Error("Failed to Load Image");
        layer->image = image;
        return true;
    }
    if (cmd == "LAYERSETDRAWMODE")
        return GetInt(*p[2], layer->drawMode);
    if (cmd == "LAYERSETCOLORMULT")
        return GetColor(*p[2], layer->colorMult);
    if (cmd == "LAYERSETCOLORADD")
        return GetColor(*p[2], layer->colorAdd);
    if (cmd == "LAYERSETASCENT")
        return GetInt(*p[2], layer->ascent);
    if (cmd == "LAYERSETASCENTPADDING")
        return GetInt(*p[2], layer->ascentPadding);
    if (cmd == "LAYERSETLINESPACINGOFFSET")
        return GetInt(*p[2], layer->lineSpacingOffset);
    if (cmd == "LAYERSETSPACING")
        return GetInt(*p[2], layer->spacing);
    if (cmd == "LAYERSETBASEORDER")
        return GetInt(*p[2], layer->baseOrder);
    if (cmd == "LAYERSETOFFSET") {
        std::vector<int> pt;
        if (!GetIntList(*p[2], pt))
            return false;
        if (pt.size() != 2)
            return Error("Invalid Paramater Type");
        layer->offset = Point(pt[0], pt[1]);
        return true;
    }
    if (cmd == "LAYERSETKERNINGPAIRS") {
        std::vector<std::string> pairs;
        std::vector<int> offsets;
        if (!GetStringList(*p[2], pairs) || !GetIntList(*p[3], offsets))
            return false;
        if (pairs.size() != offsets.size())
            return Error("List Size Mismatch");
        for (const std::string& pair : pairs)
            if (pair.size() != 2)
                return Error("Invalid Paramater Type");
        for (size_t i = 0; i < pairs.size(); ++i) {
            auto first = static_cast<unsigned char>(pairs[i][0]), second = static_cast<unsigned char>(pairs[i][1]);
            layer->chars[first].kerningOffsets[second] = static_cast<int8_t>(std::clamp(offsets[i], -128, 127));
        }
        return true;
    }

    return HandleCharListCommand(cmd, params, *layer);
}

// Per-character lists: characters, then one value (or tuple) per character.
bool FontData::HandleCharListCommand(const std::string& cmd, const ListDataElement& params, FontLayer& layerRef)
{
    const auto& p = params.elements;
    FontLayer* layer = &layerRef;
    std::vector<unsigned char> chars;
    if (!GetCharList(*p[2], chars))
        return false;
    if (cmd == "LAYERSETIMAGEMAP" || cmd == "LAYERSETCHAROFFSETS") {
        const bool map = cmd == "LAYERSETIMAGEMAP";
        std::vector<std::vector<int>> tuples;
        if (!GetIntTupleList(*p[3], map ? 4 : 2, tuples))
            return false;
        if (tuples.size() != chars.size())
            return Error("List Size Mismatch");
        if (!map) {
            for (size_t i = 0; i < chars.size(); ++i)
                layer->chars[chars[i]].offset = Point(tuples[i][0], tuples[i][1]);
            return true;
        }
        if (!layer->image)
            return Error("Layer image not set");
        const Rect bounds(0, 0, layer->image->GetWidth(), layer->image->GetHeight());
        for (const auto& t : tuples) {
            // 64-bit sums: x + width must not wrap around to look inside.
            if (t[0] < 0 || t[1] < 0 || t[2] < 0 || t[3] < 0 || (long long)t[0] + t[2] > bounds.width ||
                (long long)t[1] + t[3] > bounds.height)
                return Error("Image rectangle out of bounds");
        }
        for (size_t i = 0; i < chars.size(); ++i)
            layer->chars[chars[i]].imageRect = Rect(tuples[i][0], tuples[i][1], tuples[i][2], tuples[i][3]);
        return true;
    }
    std::vector<int> values;
    if (!GetIntList(*p[3], values))
        return false;
    if (values.size() != chars.size())
        return Error("List Size Mismatch");
    for (size_t i = 0; i < chars.size(); ++i) {
        if (cmd == "LAYERSETCHARWIDTHS")
            layer->chars[chars[i]].width = values[i];
        else
            layer->chars[chars[i]].order = values[i];
    }
    return true;
}

} // namespace Zorvin
