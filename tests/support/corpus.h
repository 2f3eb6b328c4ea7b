#pragma once
// The real-world corpus of MP3 files, read where it lies (the folder the build names with
// TUNEKIST_CORPUS_DIR), and its table of expected results. A clone without that folder skips the
// corpus tests, saying where they looked.

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace tunekist::test {

inline const std::string kCorpus = TUNEKIST_CORPUS_DIR;

inline bool HaveCorpus() { return std::filesystem::is_regular_file(kCorpus + "/expected.tsv"); }

// The one line a skipped corpus test prints.
inline std::string NoCorpus() {
    return "no MP3 corpus at " + kCorpus + " (configure with -DTUNEKIST_CORPUS_DIR=<folder> to run this test)";
}

struct CorpusFile {
    std::string name;  // relative to the corpus folder
    std::int64_t bytes = 0;
    std::string seconds;  // libmpg123's gapless length, with six decimals; empty when it found none
};

// The rows of expected.tsv; none without a corpus.
inline std::vector<CorpusFile> ReadCorpusTable() {
    std::ifstream table(kCorpus + "/expected.tsv");
    std::vector<CorpusFile> files;
    std::string line;
    std::getline(table, line);  // column names
    while (std::getline(table, line)) {
        std::vector<std::string> columns;
        std::stringstream fields(line);
        for (std::string field; std::getline(fields, field, '\t');) columns.push_back(field);
        columns.resize(11);
        files.push_back({columns[0], std::stoll(columns[1]), columns[7]});
    }
    return files;
}

}  // namespace tunekist::test
