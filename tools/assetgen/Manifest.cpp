#include "tools/assetgen/Manifest.h"

#include "tools/assetgen/AssetIo.h"
#include "tools/assetgen/AssetStep.h"
#include "tools/assetgen/art/ImageCatalog.h"
#include "tools/assetgen/audio/SoundList.h"

#include <cstdio>
#include <cstring>
#include <sstream>

namespace Zorvin::AssetGen {

namespace {

// The image path without the "images/" folder, which SetDefaults supplies.
std::string ImageFileInFolder(const ImageEntry& e)
{
    std::string f = e.File();
    return f.substr(f.find('/') + 1);
}

void WriteImages(std::ostringstream& out, const char* group)
{
    out << "    <SetDefaults path=\"images\" idprefix=\"\"/>\n";
    for (const ImageEntry& e : ImageCatalog()) {
        if (std::strcmp(e.group, group) != 0) continue;
        out << "    <Image id=\"" << e.id << "\" path=\"" << ImageFileInFolder(e) << "\"";
        if (e.cols != 1 || e.rows != 1) out << " cols=\"" << e.cols << "\" rows=\"" << e.rows << "\"";
        if (e.anim) out << " anim=\"" << e.anim << "\" framedelay=\"" << e.frameDelay << "\"";
        out << "/>\n";
    }
}

void WriteSounds(std::ostringstream& out, const char* group)
{
    bool any = false;
    for (const SoundFileEntry& s : kSoundFiles) {
        if (std::strcmp(s.group, group) != 0) continue;
        if (!any) out << "    <SetDefaults path=\"" << kSoundFolder << "\" idprefix=\"\"/>\n";
        any = true;
        out << "    <Sound id=\"" << s.id << "\" path=\"" << s.stem << "\"/>\n";
    }
}

} // namespace

std::string BuildManifest()
{
    std::ostringstream out;
    out << "<?xml version=\"1.0\"?>\n";
    out << "<ResourceManifest>\n";
    out << "  <Resources id=\"Init\">\n";
    out << "    <Font id=\"FONT_DEFAULT\" path=\"" << kFontDescriptor << "\"/>\n";
    out << "  </Resources>\n";
    out << "  <Resources id=\"TitleScreen\">\n";
    WriteImages(out, "TitleScreen");
    WriteSounds(out, "TitleScreen");
    out << "  </Resources>\n";
    out << "  <Resources id=\"Game\">\n";
    WriteImages(out, "Game");
    WriteSounds(out, "Game");
    out << "  </Resources>\n";
    out << "</ResourceManifest>\n";
    return out.str();
}

namespace {
AssetStep manifestStep("manifest", [](const AssetContext& ctx) {
    return WriteFileAtomic(ctx.outDir + "/properties/resources.xml", BuildManifest());
});
} // namespace

} // namespace Zorvin::AssetGen
