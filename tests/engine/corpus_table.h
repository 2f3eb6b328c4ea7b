#pragma once
// The corpus's table of expected results (expected.tsv beside the files), read where it lies.

#include <cstdint>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace tunekist::test {

struct CorpusFile {
    std::string name;      // relative to the corpus folder
    std::int64_t bytes = 0;
    std::string seconds;   // libmpg123's gapless length, with six decimals; empty when it found none
};

inline void PrintTo(const CorpusFile& value, std::ostream* out) { *out << value.name; }

inline std::vector<CorpusFile> ReadCorpusTable(const std::string& corpus) {
    std::ifstream table(corpus + "/expected.tsv");
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
