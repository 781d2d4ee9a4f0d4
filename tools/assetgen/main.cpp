// assetgen: writes every picture, font, sound, music module, level and the
// manifest the game needs into the game folder, and the review pictures
// (contact sheet, mock-ups) into a folder of their own (by default
// "assets-review" beside the game folder).
//
//   assetgen --out DIR [--review DIR] [--only STEP[,STEP...]] [--verbose] [--list]

#include "tools/assetgen/AssetStep.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <sstream>

using namespace Zorvin::AssetGen;

int main(int argc, char** argv)
{
    AssetContext ctx;
    std::vector<std::string> only;
    bool list = false;
    for (int i = 1; i < argc; ++i) {
        if (!std::strcmp(argv[i], "--out") && i + 1 < argc) ctx.outDir = argv[++i];
        else if (!std::strcmp(argv[i], "--review") && i + 1 < argc) ctx.reviewDir = argv[++i];
        else if (!std::strcmp(argv[i], "--only") && i + 1 < argc) {
            std::stringstream ss(argv[++i]);
            std::string s;
            while (std::getline(ss, s, ',')) only.push_back(s);
        } else if (!std::strcmp(argv[i], "--verbose")) ctx.verbose = true;
        else if (!std::strcmp(argv[i], "--list")) list = true;
        else {
            std::fprintf(stderr, "usage: assetgen --out DIR [--review DIR] [--only STEP,...] [--verbose] [--list]\n");
            return 2;
        }
    }
    auto steps = AssetSteps();
    std::sort(steps.begin(), steps.end(), [](const auto& a, const auto& b) { return a.name < b.name; });
    if (list) {
        for (auto& s : steps) std::printf("%s\n", s.name.c_str());
        return 0;
    }
    if (ctx.outDir.empty()) {
        std::fprintf(stderr, "assetgen: --out DIR is required\n");
        return 2;
    }
    if (ctx.reviewDir.empty())
        ctx.reviewDir = (std::filesystem::absolute(ctx.outDir).lexically_normal().parent_path() / "assets-review").string();
    std::error_code ec;
    std::filesystem::create_directories(ctx.outDir, ec);
    std::filesystem::create_directories(ctx.reviewDir, ec);
    for (auto& s : steps) {
        if (!only.empty() && std::find(only.begin(), only.end(), s.name) == only.end())
            continue;
        auto t0 = std::chrono::steady_clock::now();
        if (!s.run(ctx)) {
            std::fprintf(stderr, "assetgen: step %s failed\n", s.name.c_str());
            return 1;
        }
        double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count();
        if (ctx.verbose) std::printf("assetgen: %s %.0f ms\n", s.name.c_str(), ms);
    }
    return 0;
}
