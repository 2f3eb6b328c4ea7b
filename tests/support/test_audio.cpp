#include "tests/support/test_audio.h"

#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <vector>

namespace tunekist::test {

namespace {

// Runs a program without a shell, so paths need no quoting; its output goes nowhere.
void RunProgram(std::vector<std::string> arguments) {
    std::vector<char*> argv;
    for (auto& argument : arguments) argv.push_back(argument.data());
    argv.push_back(nullptr);
    const pid_t child = fork();
    if (child < 0) throw std::runtime_error("fork failed");
    if (child == 0) {
        std::freopen("/dev/null", "w", stdout);
        std::freopen("/dev/null", "w", stderr);
        execvp(argv[0], argv.data());
        _exit(127);
    }
    int status = 0;
    while (waitpid(child, &status, 0) < 0) {}
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        throw std::runtime_error(arguments[0] + " failed making test audio");
    }
}

std::string Number(double value) {
    std::ostringstream text;
    text.precision(17);
    text << value;
    return text.str();
}

std::string UniqueSuffix() { return ".tmp" + std::to_string(getpid()); }

void GenerateTone(const std::string& path, double seconds, double hz, const ToneOptions& options) {
    const std::string wav = path + UniqueSuffix() + ".wav";
    const std::string mp3 = path + UniqueSuffix() + ".mp3";
    // Sox's synth length in samples ("NNNs") makes the sample count exact.
    const auto samples = static_cast<long long>(seconds * options.sampleRate + 0.5);
    // The rate and channels go before -n: they describe the generated input, so sox neither
    // synthesises at its default rate nor resamples. -R makes sox's dither repeatable, so tests
    // that make the same song at once (in parallel processes) make the same bytes, and a reader
    // never sees one copy replaced by a different one.
    RunProgram({"sox", "-R", "-r", std::to_string(options.sampleRate), "-c", std::to_string(options.channels), "-n",
                "-b", "16", wav, "synth", std::to_string(samples) + "s", "sine", Number(hz), "vol",
                Number(options.amplitude)});
    std::vector<std::string> lame = {"lame", "--quiet"};
    if (options.vbr) {
        lame.insert(lame.end(), {"-V", std::to_string(options.vbrQuality)});
    } else {
        lame.insert(lame.end(), {"-b", std::to_string(options.bitrateKbps)});
    }
    if (!options.lameTag) lame.push_back("-t");
    lame.insert(lame.end(), {wav, mp3});
    RunProgram(lame);
    std::filesystem::remove(wav);
    std::filesystem::rename(mp3, path);
}

}  // namespace

std::string CachedTone(double seconds, double hz, const ToneOptions& options) {
    std::ostringstream name;
    name << "tone_" << Number(seconds) << "s_" << Number(hz) << "hz_" << options.sampleRate << "_" << options.channels
         << "ch_"
         << (options.vbr ? "v" + std::to_string(options.vbrQuality) : "b" + std::to_string(options.bitrateKbps))
         << (options.lameTag ? "_tag" : "_notag") << "_a" << Number(options.amplitude) << ".mp3";
    std::filesystem::create_directories(TUNEKIST_TEST_AUDIO_DIR);
    const std::string path = TUNEKIST_TEST_AUDIO_DIR "/" + name.str();
    if (!std::filesystem::exists(path)) GenerateTone(path, seconds, hz, options);
    return path;
}

std::string ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteBytes(const std::string& path, const std::string& bytes) {
    const std::string temporary = path + UniqueSuffix();
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        if (!out) throw std::runtime_error("cannot write " + path);
    }
    std::filesystem::rename(temporary, path);
}

}  // namespace tunekist::test
