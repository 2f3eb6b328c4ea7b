// bench-taglib-lengths FOLDER: the peer baseline of the listing figures. Prints TagLib's length of
// every *.mp3 file of FOLDER in name order, one line per file (name, milliseconds, -1 when TagLib
// reads none). TagLib reads a few kilobytes per file and estimates the length from them.

#include <taglib/audioproperties.h>
#include <taglib/fileref.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: bench-taglib-lengths FOLDER\n");
        return 2;
    }
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(argv[1])) {
        std::string extension = entry.path().extension().string();
        std::transform(extension.begin(), extension.end(), extension.begin(),
                       [](unsigned char c) { return std::tolower(c); });
        if (entry.is_regular_file() && extension == ".mp3") names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    for (const std::string& name : names) {
        const TagLib::FileRef file((std::string(argv[1]) + "/" + name).c_str());
        const int milliseconds =
            file.isNull() || !file.audioProperties() ? -1 : file.audioProperties()->lengthInMilliseconds();
        std::printf("%s\t%d\n", name.c_str(), milliseconds);
    }
    return std::fflush(stdout) == 0 ? 0 : 1;
}
