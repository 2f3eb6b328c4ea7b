#include "bench/data_sets.h"

#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <stdexcept>

#include "bench/child_process.h"

namespace tunekist::bench {

namespace {

namespace fs = std::filesystem;

constexpr int kSongSeconds = 240;

void Run(const std::vector<std::string>& arguments) {
    if (RunChild(arguments).exitCode != 0) throw std::runtime_error(arguments.front() + " failed making bench data");
}

// Makes `target` with `make(temporary)` unless it is there; the rename keeps half files out.
template <typename Make>
void MakeOnce(const std::string& target, Make make) {
    if (fs::exists(target)) return;
    const std::string temporary = target + ".part" + std::to_string(getpid()) + fs::path(target).extension().string();
    make(temporary);
    fs::rename(temporary, target);
}

std::string SongName(int index) {
    char name[32];
    std::snprintf(name, sizeof name, "song%04d.mp3", index);
    return name;
}

DataSet CopiesOf(const std::string& source, const std::string& folder, const std::string& name, int songs) {
    DataSet set{name, folder, {}};
    fs::create_directories(folder);
    for (int i = 1; i <= songs; ++i) {
        const std::string path = folder + "/" + SongName(i);
        if (!fs::exists(path) || fs::file_size(path) != fs::file_size(source)) {
            fs::copy_file(source, path, fs::copy_options::overwrite_existing);
        }
        set.files.push_back(path);
    }
    return set;
}

DataSet MixOf(const DataSet& tagged, const DataSet& untagged, const std::string& folder) {
    DataSet set{"mix", folder, {}};
    fs::create_directories(folder);
    for (std::size_t i = 0; i < tagged.files.size(); ++i) {
        const std::string& source = (i % 2 == 0 ? tagged : untagged).files[i];
        const std::string path = folder + "/" + SongName(static_cast<int>(i) + 1);
        if (!fs::exists(path) || !fs::equivalent(path, source)) {
            fs::remove(path);
            fs::create_hard_link(source, path);
        }
        set.files.push_back(path);
    }
    return set;
}

}  // namespace

DataSets MakeDataSets(const std::string& folder, int songs) {
    const std::string sources = folder + "/sources";
    fs::create_directories(sources);
    const std::string wav = sources + "/song.wav";
    MakeOnce(wav, [](const std::string& path) {
        // -R: the same noise on every run.
        Run({"sox", "-R", "-n", "-r", "44100", "-c", "2", "-b", "16", path, "synth", std::to_string(kSongSeconds),
             "pinknoise", "sine", "220", "vol", "0.3"});
    });
    DataSets data;
    data.taggedSource = sources + "/tagged.mp3";
    data.untaggedSource = sources + "/untagged.mp3";
    MakeOnce(data.taggedSource, [&](const std::string& path) { Run({"lame", "--quiet", "-b", "128", wav, path}); });
    // --abr gives frames of varying size averaging 128 kb/s; -t writes no Xing/Info tag at all.
    MakeOnce(data.untaggedSource,
             [&](const std::string& path) { Run({"lame", "--quiet", "--abr", "128", "-t", wav, path}); });
    data.sets.push_back(CopiesOf(data.taggedSource, folder + "/tagged", "tagged", songs));
    data.sets.push_back(CopiesOf(data.untaggedSource, folder + "/untagged", "untagged", songs));
    data.sets.push_back(MixOf(data.sets[0], data.sets[1], folder + "/mix"));
    return data;
}

}  // namespace tunekist::bench
