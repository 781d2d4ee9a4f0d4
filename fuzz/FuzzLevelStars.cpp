// Feeds arbitrary bytes to the star-threshold reader. A rejected file must
// leave no thresholds; an accepted one must hold only levels and scores in
// range, give every won level one to three stars, and read back the same
// from its own written form.

#include "game/shared/LevelStars.h"

#include <cstdint>
#include <cstdlib>
#include <string>

using namespace Zorvin;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    LevelStars stars;
    bool read = stars.Parse(std::string(reinterpret_cast<const char*>(data), size));
    if (!read) {
        if (!stars.Empty())
            std::abort();
        return 0;
    }
    for (const LevelStars::Entry& e : stars.Entries()) {
        if (e.level < 1 || e.level > LevelStars::kMaxLevel || e.twoStars < 0 || e.twoStars > e.threeStars ||
            e.threeStars > LevelStars::kMaxScore || e.mode == PlayMode::Editor)
            std::abort();
        for (int points : {0, e.twoStars, e.threeStars, LevelStars::kMaxScore}) {
            int n = stars.StarsFor(e.mode, e.level, points);
            if (n < 1 || n > LevelStars::kMaxStars)
                std::abort();
        }
    }
    LevelStars again;
    if (!again.Parse(LevelStars::Format(stars.Entries())) ||
        LevelStars::Format(again.Entries()) != LevelStars::Format(stars.Entries()))
        std::abort();
    return 0;
}
