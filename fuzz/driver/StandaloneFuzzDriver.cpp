// A small stand-in for libFuzzer's driver, so that every fuzz target also
// builds with g++ and runs as an ordinary test: it feeds the seed corpus,
// then a bounded number of mutated inputs, to LLVMFuzzerTestOneInput.
//
//   fuzz_X [-runs=N] [-seed=S] [-max_len=L] [corpus-dir-or-file ...]
//
// Any other "-flag=value" is accepted and ignored, so the same command lines
// work for both drivers. Inputs are deterministic for a given seed.

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

namespace {

using Bytes = std::vector<uint8_t>;

void AddFile(const std::filesystem::path& p, std::vector<Bytes>& corpus)
{
    std::ifstream in(p, std::ios::binary);
    if (!in)
        return;
    corpus.emplace_back(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void Run(const Bytes& b)
{
    // Copy into an exactly sized heap block so AddressSanitizer sees any
    // read past the end of the input.
    uint8_t* p = static_cast<uint8_t*>(std::malloc(b.size() ? b.size() : 1));
    if (!b.empty())
        std::memcpy(p, b.data(), b.size());
    LLVMFuzzerTestOneInput(p, b.size());
    std::free(p);
}

// One random edit of the kinds that find most reader faults: bit flips,
// interesting bytes, insertions, deletions, truncation and splicing.
void Mutate(Bytes& b, const std::vector<Bytes>& corpus, std::mt19937& rng, size_t maxLen)
{
    auto pick = [&](size_t n) { return n ? static_cast<size_t>(rng() % n) : 0; };
    static const uint8_t interesting[] = {0, 1, 0x7f, 0x80, 0xff, '<', '>', '"', '=', '/', '[', ']', '&', ';', '\n', ' ', '0', '9', 'x'};
    int edits = 1 + static_cast<int>(rng() % 4);
    for (int e = 0; e < edits; ++e) {
        switch (rng() % 7) {
        case 0: if (!b.empty()) b[pick(b.size())] ^= static_cast<uint8_t>(1u << (rng() % 8)); break;
        case 1: if (!b.empty()) b[pick(b.size())] = interesting[pick(sizeof interesting)]; break;
        case 2: if (b.size() < maxLen) b.insert(b.begin() + static_cast<long>(pick(b.size() + 1)), static_cast<uint8_t>(rng())); break;
        case 3: if (!b.empty()) b.erase(b.begin() + static_cast<long>(pick(b.size()))); break;
        case 4: if (!b.empty()) b.resize(pick(b.size())); break;
        case 5: if (!corpus.empty()) {
                    const Bytes& o = corpus[pick(corpus.size())];
                    if (!o.empty()) {
                        size_t from = pick(o.size()), len = 1 + pick(std::min<size_t>(64, o.size() - from));
                        size_t at = pick(b.size() + 1);
                        b.insert(b.begin() + static_cast<long>(at), o.begin() + static_cast<long>(from), o.begin() + static_cast<long>(from + len));
                    }
                }
                break;
        default: if (b.size() >= 2) { size_t i = pick(b.size()), j = pick(b.size()); std::swap(b[i], b[j]); } break;
        }
    }
    if (b.size() > maxLen)
        b.resize(maxLen);
}

} // namespace

int main(int argc, char** argv)
{
    long runs = 1000;
    unsigned seed = 1;
    size_t maxLen = 1 << 16;
    std::vector<Bytes> corpus;
    for (int i = 1; i < argc; ++i) {
        std::string a = argv[i];
        if (a.rfind("-runs=", 0) == 0) runs = std::strtol(a.c_str() + 6, nullptr, 10);
        else if (a.rfind("-seed=", 0) == 0) seed = static_cast<unsigned>(std::strtoul(a.c_str() + 6, nullptr, 10));
        else if (a.rfind("-max_len=", 0) == 0) maxLen = std::strtoul(a.c_str() + 9, nullptr, 10);
        else if (!a.empty() && a[0] == '-') continue;
        else if (std::filesystem::is_directory(a)) {
            std::vector<std::filesystem::path> files;
            for (auto& ent : std::filesystem::directory_iterator(a))
                if (ent.is_regular_file()) files.push_back(ent.path());
            std::sort(files.begin(), files.end());
            for (auto& f : files) AddFile(f, corpus);
        } else AddFile(a, corpus);
    }
    for (const Bytes& b : corpus)
        Run(b);
    std::mt19937 rng(seed);
    Bytes cur;
    for (long r = 0; r < runs; ++r) {
        if (corpus.empty() || rng() % 8 == 0)
            cur.clear();
        else
            cur = corpus[rng() % corpus.size()];
        Mutate(cur, corpus, rng, maxLen);
        Run(cur);
        // Keep some mutants as new seeds so edits can stack up.
        if (rng() % 16 == 0 && corpus.size() < 4096)
            corpus.push_back(cur);
    }
    std::printf("fuzz: %zu seeds, %ld mutated inputs, no crash\n", corpus.size(), runs);
    return 0;
}
