// Looks up every head word of a thesaurus through libmythes, the library office suites
// read .dat/.idx pairs with, and checks that each is found with the number of meanings
// its header gives, and that the encoding it reports is the .dat's encoding line. The
// head words and counts are read from the .dat itself.
// Build: g++ -O2 bench/mythes_lookup.cpp -o mythes_lookup $(pkg-config --cflags --libs mythes)
// Usage: mythes_lookup FILE.idx FILE.dat   (exit 0 when every head word is found right)
// The library's header uses FILE without including its header.
#include <cstdio>

#include <mythes.hxx>

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <map>
#include <set>
#include <string>

int main(int argc, char **argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: mythes_lookup FILE.idx FILE.dat\n");
        return 2;
    }
    std::ifstream dat(argv[2], std::ios::binary);
    if (!dat) {
        std::fprintf(stderr, "mythes_lookup: cannot read %s\n", argv[2]);
        return 2;
    }
    // Every head word with the counts its entries give (a word may head several).
    std::map<std::string, std::set<int>> expected;
    std::string line;
    std::string encodingLine;
    std::getline(dat, encodingLine);
    if (encodingLine.rfind("\xEF\xBB\xBF", 0) == 0)
        encodingLine.erase(0, 3);
    if (!encodingLine.empty() && encodingLine.back() == '\r')
        encodingLine.pop_back();
    long entries = 0;
    while (std::getline(dat, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        const size_t bar = line.find('|');
        const int n = bar == std::string::npos ? 0 : std::atoi(line.c_str() + bar + 1);
        if (bar != std::string::npos) {
            expected[line.substr(0, bar)].insert(n);
            ++entries;
        }
        for (int k = 0; k < n && std::getline(dat, line); ++k) {
        }
    }

    MyThes thesaurus(argv[1], argv[2]);
    // The name an application hands to its converter: the .idx's first line as it stands.
    const std::string encoding = thesaurus.get_th_encoding() ? thesaurus.get_th_encoding() : "";
    long right = 0, missing = 0, wrongCount = 0, duplicated = 0;
    for (const auto &[word, counts] : expected) {
        if (counts.size() > 1 || word.size() >= MAX_WD_LEN)
            ++duplicated;
        mentry *meanings = nullptr;
        const int n = thesaurus.Lookup(word.c_str(), static_cast<int>(word.size()), &meanings);
        if (n == 0 && counts.count(0) == 0) {
            if (missing++ < 5)
                std::fprintf(stderr, "not found: %s\n", word.c_str());
        } else if (counts.count(n) == 0) {
            if (wrongCount++ < 5)
                std::fprintf(stderr, "wrong count: %s (%d)\n", word.c_str(), n);
        } else {
            ++right;
        }
        thesaurus.CleanUpAfterLookup(&meanings, n);
    }
    std::printf("encoding\t%s (%s)\n", encoding.c_str(), encoding == encodingLine ? "as the .dat says" : "WRONG");
    std::printf("entries\t%ld\nhead words\t%zu\nfound with the right count\t%ld\nnot found\t%ld\n"
                "wrong count\t%ld\nrepeated head words\t%ld\n",
                entries, expected.size(), right, missing, wrongCount, duplicated);
    return missing == 0 && wrongCount == 0 && encoding == encodingLine ? 0 : 1;
}
