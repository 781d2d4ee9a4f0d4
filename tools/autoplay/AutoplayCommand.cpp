#include "tools/autoplay/AutoplayCommand.h"

#include <ctime>
#include <cstdio>
#include <cstdlib>
#include <memory>

#include "game/board/headless/AutoPlayer.h"
#include "game/board/LevelFile.h"
#include "game/board/headless/SampleLayouts.h"

namespace Zorvin {

namespace {

bool ParseNumber(const std::string& text, long min, long max, long& value)
{
    if (text.empty())
        return false;
    char* end = nullptr;
    errno = 0;
    long v = std::strtol(text.c_str(), &end, 10);
    if (errno != 0 || *end != '\0' || v < min || v > max)
        return false;
    value = v;
    return true;
}

// A level file called "...LevelN.xml" is dealt as level N (level 1 deals
// its first move for sure); anything else as an ordinary level.
int LevelNumberOf(const std::string& path)
{
    const std::string suffix = ".xml";
    size_t at = path.rfind("Level");
    if (at == std::string::npos || path.size() < suffix.size() ||
        path.compare(path.size() - suffix.size(), suffix.size(), suffix) != 0)
        return 2;
    std::string digits = path.substr(at + 5, path.size() - suffix.size() - at - 5);
    long n = 0;
    if (digits.size() > 5 || !ParseNumber(digits, 1, 99999, n))
        return 2;
    return static_cast<int>(n);
}

} // namespace

const char* const kAutoplayUsage =
    "usage: korvelt-autoplay --mode drag|click [--level FILE [--save OUT]] [--deals N] [--seed S] [--pace fast|person]";

bool ParseAutoplayArgs(const std::vector<std::string>& args, AutoplayOptions& options, std::string& error)
{
    for (const std::string& a : args) {
        if (a == "--help" || a == "-h") {
            options.help = true;
            return true;
        }
    }
    bool haveMode = false;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a != "--mode" && a != "--level" && a != "--save" && a != "--deals" && a != "--seed" &&
            a != "--pace") {
            error = "unknown argument: " + a;
            return false;
        }
        if (i + 1 >= args.size()) {
            error = a + " needs a value";
            return false;
        }
        const std::string& v = args[++i];
        long n = 0;
        if (a == "--mode") {
            if (v == "drag")
                options.mode = PlayMode::Drag;
            else if (v == "click")
                options.mode = PlayMode::Click;
            else {
                error = "--mode must be drag or click";
                return false;
            }
            haveMode = true;
        } else if (a == "--level") {
            options.level = v;
        } else if (a == "--pace") {
            if (v != "fast" && v != "person") {
                error = "--pace must be fast or person";
                return false;
            }
            options.personsPace = v == "person";
        } else if (a == "--save") {
            options.save = v;
        } else if (a == "--deals") {
            if (!ParseNumber(v, 1, 10000000, n)) {
                error = "--deals must be a positive number";
                return false;
            }
            options.deals = static_cast<int>(n);
        } else {
            if (!ParseNumber(v, 0, 4294967295L, n)) {
                error = "--seed must be a number from 0 to 4294967295";
                return false;
            }
            options.seed = static_cast<unsigned>(n);
        }
    }
    if (!haveMode) {
        error = "--mode drag|click is required";
        return false;
    }
    if (!options.save.empty() && options.level.empty()) {
        error = "--save needs --level";
        return false;
    }
    return true;
}

int RunAutoplay(const AutoplayOptions& options, std::ostream& out, std::ostream& err, AutoplaySummary* summary)
{
    if (!options.level.empty()) {
        // The level as the game would read it.
        HeadlessHost host;
        BoardRules rules(host);
        rules.field->mode = options.mode;
        rules.field->BeginLevel(options.level);
        LevelFile level;
        if (!level.Read(options.level)) {
            err << "cannot read level file " << options.level << ": " << level.errorText << "\n";
            return 1;
        }
        ApplyLevel(level, 0, *rules.field, true);
        const FishField& f = *rules.field;
        // An empty file, random bytes or XML of something else read as a
        // level with no tiles, which every deal would "win".
        if (f.FishCount() == 0) {
            err << "level file " << options.level << " holds no tiles";
            if (!level.complete)
                err << " (" << level.errorText << ", line " << level.errorLine << ")";
            err << "\n";
            return 1;
        }
        out << "level: tiles=" << f.FishCount() << " layers=" << f.layers.size() << " types=" << f.level.typeCount
            << " cards=" << f.level.cardsInDeck << " shift=" << f.level.shiftX << "," << f.level.shiftY << "\n";
        // A developer's way to normalise a level file: the writer's layout of
        // what the reader took from it.
        if (!options.save.empty() && !SaveLevel(f, options.save)) {
            err << "cannot write level file " << options.save << "\n";
            return 1;
        }
    }

    srand(options.seed);
    const std::vector<SampleLayout>& samples = SampleLayouts();
    int levelNumber = options.level.empty() ? 2 : LevelNumberOf(options.level);
    AutoplaySummary s;
    double scoreSum = 0, movesSum = 0, updatesSum = 0;
    // Rules time: the processor time this process spends, not the wall
    // clock of a shared machine.
    std::clock_t startTime = std::clock();
    for (int d = 0; d < options.deals; ++d) {
        HeadlessHost host;
        host.profile.levelMode0 = host.profile.levelMode2 = levelNumber;
        BoardRules rules(host);
        host.onUpdate = [&rules] { rules.Update(); };
        FishField& field = *rules.field;
        field.mode = options.mode;
        field.level.number = levelNumber;
        std::string path = options.level;
        if (options.level.empty()) {
            const SampleLayout& layout = samples[d % samples.size()];
            field.levelReader = [&layout](FishField& f, const std::string&) {
                LoadSampleLayout(layout, f, rand() % 4);
                return true;
            };
            path = "sample/" + layout.name;
        }
        rules.StartLevelFile(path);
        AutoPlayer player(rules, host);
        if (options.personsPace)
            player.PlayAtPersonsPace(options.seed + static_cast<unsigned>(d));
        AutoPlayResult r = player.Play();
        ++s.deals;
        s.won += r.won;
        scoreSum += r.score;
        movesSum += r.moves;
        updatesSum += r.updates;
    }
    double seconds = double(std::clock() - startTime) / CLOCKS_PER_SEC;
    s.meanScore = s.deals ? scoreSum / s.deals : 0;
    s.meanMoves = s.deals ? movesSum / s.deals : 0;
    s.meanSeconds = s.deals ? updatesSum / s.deals / 100.0 : 0;
    s.dealsPerSecond = seconds > 0 ? s.deals / seconds : 0;

    char line[256];
    std::snprintf(line, sizeof line, "played %d deals: won %d (%.1f%%), mean score %.0f, mean moves %.1f, mean time %.0f s, %.0f deals/s",
                  s.deals, s.won, s.deals ? 100.0 * s.won / s.deals : 0.0, s.meanScore, s.meanMoves,
                  s.meanSeconds, s.dealsPerSecond);
    out << line << "\n";
    if (summary)
        *summary = s;
    return 0;
}

} // namespace Zorvin
