#include "game/app/screens/LogoScript.h"

#include "framework/graphics/Graphics.h"
#include "framework/graphics/MemoryImage.h"
#include "framework/resources/ResourceHost.h"
#include "framework/resources/XMLParser.h"
#include "game/board/LevelFile.h"

namespace Zorvin {

namespace {

constexpr const char* BeforeLoading = "LogoAppearence/BeforeStartLoading";
constexpr const char* InLogoStep = "LogoAppearence/BeforeStartLoading/ShowLogo";
constexpr const char* OnLoading = "LogoAppearence/OnTitleLoading";
constexpr const char* OnTitle = "LogoAppearence/OnTitle";

// A missing or malformed number reads as 0.
int ToInt(const std::string& text)
{
    int value = 0;
    return StringToInt(text, value) ? value : 0;
}

std::unique_ptr<LogoImage> MakeImage(ResourceHost& images, const XMLNode& node)
{
    auto picture = std::make_unique<LogoImage>();
    picture->left = ToInt(node.GetAttribute("left"));
    picture->top = ToInt(node.GetAttribute("top"));
    picture->centred = node.GetAttribute("center") == "1";
    const std::string& name = node.GetAttribute("name");
    if (!name.empty())
        picture->image = images.LoadDisplayImage(name);
    return picture;
}

std::unique_ptr<LogoStep> MakeStep(const XMLNode& node)
{
    auto step = std::make_unique<LogoStep>();
    step->time = ToInt(node.GetAttribute("time"));
    const std::string& colour = node.GetAttribute("backcolor");
    if (!colour.empty()) {
        // "r,g,b": missing parts read as 0, extra parts are ignored.
        int* channels[3] = {&step->red, &step->green, &step->blue};
        size_t start = 0;
        for (int i = 0; i < 3 && start <= colour.size(); ++i) {
            size_t comma = colour.find(',', start);
            std::string part = colour.substr(start, comma == std::string::npos ? std::string::npos : comma - start);
            *channels[i] = ToInt(part);
            if (comma == std::string::npos)
                break;
            start = comma + 1;
        }
    }
    return step;
}

} // namespace

void LogoImage::Draw(Graphics* g) const
{
    if (!image)
        return;
    if (centred)
        g->DrawImage(image.get(), left - image->GetWidth() / 2, top - image->GetHeight() / 2);
    else
        g->DrawImage(image.get(), left, top);
}

bool LogoScript::Read(ResourceHost& images, const std::string& path, int parts, Contents& out)
{
    XMLParser parser;
    if (!parser.OpenFile(path))
        return false;
    XMLNode node;
    while (parser.ReadNode(node)) {
        if (node.type != XMLNode::TYPE_START)
            continue;
        if ((parts & LogoSteps) && node.section == BeforeLoading && node.value == "ShowLogo") {
            out.steps.push_back(MakeStep(node));
        } else if ((parts & LogoSteps) && node.section == InLogoStep && node.value == "Image") {
            // A picture before any step has no screen to show on.
            if (!out.steps.empty())
                out.steps.back()->images.push_back(MakeImage(images, node));
        } else if ((parts & LoadingImages) && node.section == OnLoading && node.value == "Image") {
            out.loadingImages.push_back(MakeImage(images, node));
        } else if ((parts & TitleImages) && node.section == OnTitle && node.value == "Image") {
            out.titleImages.push_back(MakeImage(images, node));
        }
    }
    return true;
}

} // namespace Zorvin
