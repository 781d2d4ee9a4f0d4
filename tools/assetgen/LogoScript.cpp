#include "tools/assetgen/LogoScript.h"

#include "tools/assetgen/AssetIo.h"
#include "tools/assetgen/AssetStep.h"

namespace Zorvin::AssetGen {

namespace {
// The studio logo stays 2.5 seconds (250 updates) on deep sea blue.
constexpr const char* kStudioLogo = "images/logo_big.png";
constexpr const char* kLoadingArt = "images/loading_art.png";
constexpr const char* kWordmark = "images/loader_korvelt.png";
} // namespace

std::vector<std::string> LogoScriptPictures() { return {kStudioLogo, kLoadingArt, kWordmark}; }

std::string BuildLogoScript()
{
    std::string s;
    s += "<?xml version=\"1.0\"?>\n";
    s += "<LogoAppearence>\n";
    s += "  <BeforeStartLoading>\n";
    s += "    <ShowLogo time=\"250\" backcolor=\"8,26,38\">\n";
    s += std::string("      <Image name=\"") + kStudioLogo + "\" left=\"400\" top=\"290\" center=\"1\"/>\n";
    s += "    </ShowLogo>\n";
    s += "  </BeforeStartLoading>\n";
    s += "  <OnTitleLoading>\n";
    s += std::string("    <Image name=\"") + kLoadingArt + "\" left=\"400\" top=\"160\" center=\"1\"/>\n";
    s += "  </OnTitleLoading>\n";
    s += "  <OnTitle>\n";
    s += std::string("    <Image name=\"") + kWordmark + "\" left=\"400\" top=\"48\" center=\"1\"/>\n";
    s += "  </OnTitle>\n";
    s += "</LogoAppearence>\n";
    return s;
}

namespace {
AssetStep logosStep("logos", [](const AssetContext& ctx) {
    return WriteFileAtomic(ctx.outDir + "/properties/logos.xml", BuildLogoScript());
});
} // namespace

} // namespace Zorvin::AssetGen
