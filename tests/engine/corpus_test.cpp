// Every file of the real-world corpus either gets its exact decoded length or a clean EngineError.
#include <gtest/gtest.h>

#include <cctype>

#include "platform/engine/mpg123_decoder.h"
#include "platform/engine/real_engine.h"
#include "tests/support/corpus.h"

namespace tunekist {
namespace {

using test::CorpusFile;
using test::kCorpus;

class Corpus : public ::testing::TestWithParam<CorpusFile> {};

TEST_P(Corpus, DurationIsTheFullDecodeOrACleanError) {
    if (!test::HaveCorpus()) GTEST_SKIP() << test::NoCorpus();
    const CorpusFile& file = GetParam();
    const std::string path = kCorpus + "/" + file.name;
    IMediaControl engine = MakeRealEngineFactory()();
    try {
        engine->RenderFile(path);
    } catch (const EngineError& error) {
        // Only a file in which the reference decoder found no sample may be refused.
        EXPECT_TRUE(file.seconds.empty() || std::stod(file.seconds) == 0.0) << error.what();
        EXPECT_GT(std::string(error.what()).size(), 0u);
        return;
    }
    Mpg123Decoder decoder(path);
    const double rate = static_cast<double>(decoder.SampleRate());
    EXPECT_EQ(engine->get_Duration(), static_cast<double>(decoder.DecodeLength()) / rate);
    if (!file.seconds.empty()) {
        // The reference is written with six decimals; one sample frame of slack covers that.
        EXPECT_NEAR(engine->get_Duration(), std::stod(file.seconds), 1.0 / rate + 1e-6);
    }
}

INSTANTIATE_TEST_SUITE_P(AllFiles, Corpus, ::testing::ValuesIn(test::ReadCorpusTable()), [](const auto& info) {
    std::string name = info.param.name;
    for (char& c : name) {
        if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
    }
    return name;
});

}  // namespace
}  // namespace tunekist
