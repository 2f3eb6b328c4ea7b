#include "tests/reliability/bad_inputs.h"

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <functional>
#include <random>
#include <stdexcept>
#include <vector>

#include "tests/support/test_audio.h"

namespace tunekist::test {
namespace {

// Runs a program without a shell; its output goes nowhere.
void Run(std::vector<std::string> arguments) {
    const pid_t child = fork();
    if (child < 0) throw std::runtime_error("cannot start " + arguments[0]);
    if (child == 0) {
        std::vector<char*> argv;
        for (std::string& argument : arguments) argv.push_back(argument.data());
        argv.push_back(nullptr);
        freopen("/dev/null", "w", stdout);
        freopen("/dev/null", "w", stderr);
        execvp(argv[0], argv.data());
        _exit(127);
    }
    int status = 0;
    waitpid(child, &status, 0);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) throw std::runtime_error(arguments[0] + " failed");
}

std::string ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Writes through a temporary name, so that a test never sees half a file.
void MakeWith(const std::string& path, const std::string& extension,
              const std::function<void(const std::string&)>& make) {
    const std::string temporary = path + ".making" + extension;
    make(temporary);
    std::filesystem::rename(temporary, path);
}

}  // namespace

std::string OneSecondSong() { return CachedTone(1.0, 440); }

void WriteEmptyFile(const std::string& path) { WriteBytes(path, ""); }

void WriteTextFile(const std::string& path) {
    WriteBytes(path, "Dit is geen liedje maar een boodschappenlijst:\nmelk\nbrood\nkaas\n");
}

void WriteJpegFile(const std::string& path) {
    MakeWith(path, ".jpg", [](const std::string& out) { Run({"convert", "-size", "64x48", "plasma:fractal", out}); });
}

void WriteWaveFile(const std::string& path) {
    MakeWith(path, ".wav", [](const std::string& out) {
        Run({"sox", "-n", "-r", "44100", "-c", "2", "-b", "16", out, "synth", "1", "sine", "440"});
    });
}

void WriteOggFile(const std::string& path) {
    MakeWith(path, ".ogg", [](const std::string& out) {
        Run({"sox", "-n", "-r", "44100", "-c", "2", out, "synth", "1", "sine", "440"});
    });
}

void WriteSongCutInItsMiddle(const std::string& path) {
    const std::string song = CachedTone(2.0, 440);
    WriteTruncatedCopy(song, path, std::filesystem::file_size(song) / 2);
}

void WriteSongCutInItsFirstFrame(const std::string& path) { WriteTruncatedCopy(OneSecondSong(), path, 200); }

void WriteSongBehindHugeTag(const std::string& path) {
    constexpr std::uint32_t kTagBytes = 20 * 1024 * 1024;
    // ID3v2.3 header: the size as four 7-bit bytes; the body is one big padding of zeros.
    std::string tag = {'I', 'D', '3', 3, 0, 0,
                       static_cast<char>((kTagBytes >> 21) & 0x7F), static_cast<char>((kTagBytes >> 14) & 0x7F),
                       static_cast<char>((kTagBytes >> 7) & 0x7F), static_cast<char>(kTagBytes & 0x7F)};
    tag.resize(10 + kTagBytes, '\0');
    WriteBytes(path, tag + ReadAll(OneSecondSong()));
}

void WriteRandomBytes(const std::string& path) {
    std::mt19937 random(20240607);
    std::string bytes(64 * 1024, '\0');
    for (char& byte : bytes) byte = static_cast<char>(random() & 0xFF);
    WriteBytes(path, bytes);
}

void MakeFifo(const std::string& path) {
    if (mkfifo(path.c_str(), 0644) != 0) throw std::runtime_error("cannot make a FIFO");
}

void MakeFolder(const std::string& path) { std::filesystem::create_directory(path); }

void MakeDanglingLink(const std::string& path) {
    std::filesystem::create_symlink(path + ".gone", path);
}

}  // namespace tunekist::test
