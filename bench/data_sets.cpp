#include "bench/data_sets.h"

#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <stdexcept>
#include <utility>

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

// Hard links to the first `count` files of `set`, in a folder of their own.
DataSet LinksTo(const DataSet& set, std::size_t count, const std::string& folder, const std::string& name) {
    DataSet links{name, folder, {}};
    fs::create_directories(folder);
    for (std::size_t i = 0; i < std::min(count, set.files.size()); ++i) {
        const std::string path = folder + "/" + SongName(static_cast<int>(i) + 1);
        if (!fs::exists(path) || !fs::equivalent(path, set.files[i])) {
            fs::remove(path);
            fs::create_hard_link(set.files[i], path);
        }
        links.files.push_back(path);
    }
    return links;
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
    MakeOnce(data.untaggedSource, [&](const std::string& path) {
        Run({"lame", "--quiet", "--abr", "128", "-t", wav, path});
    });
    data.sets.push_back(CopiesOf(data.taggedSource, folder + "/tagged", "tagged", songs));
    data.sets.push_back(CopiesOf(data.untaggedSource, folder + "/untagged", "untagged", songs));
    data.sets.push_back(MixOf(data.sets[0], data.sets[1], folder + "/mix"));
    data.untaggedFew = LinksTo(data.sets[1], 300, folder + "/untagged300", "untagged");
    data.emptyFolder = folder + "/empty";
    fs::create_directories(data.emptyFolder);
    // Each song at another sample rate: Next and a song's end each change the device.
    data.changeFolder = folder + "/change-rates";
    fs::create_directories(data.changeFolder);
    for (const auto& [name, rate] : {std::pair{"a", "44100"}, std::pair{"b", "48000"}, std::pair{"c", "22050"}}) {
        MakeOnce(data.changeFolder + "/" + name + ".mp3", [&](const std::string& path) {
            const std::string shortWav = path + ".wav";
            Run({"sox", "-R", "-n", "-r", rate, "-c", "2", "-b", "16", shortWav, "synth", "2", "sine", "440", "vol",
                 "0.3"});
            Run({"lame", "--quiet", "-b", "128", shortWav, path});
            fs::remove(shortWav);
        });
    }
    return data;
}

}  // namespace tunekist::bench
