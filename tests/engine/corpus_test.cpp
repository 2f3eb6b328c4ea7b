// Every file of the real-world corpus either gets its exact decoded length or a clean EngineError.
// One test walks the whole table: a process per file would cost more than measuring it.
#include <gtest/gtest.h>

#include "platform/engine/mpg123_decoder.h"
#include "platform/engine/real_engine.h"
#include "tests/support/corpus.h"

namespace tunekist {
namespace {

TEST(Corpus, EveryFileLastsItsFullDecodeOrFailsCleanly) {
    if (!test::HaveCorpus()) GTEST_SKIP() << test::NoCorpus();
    for (const test::CorpusFile& file : test::ReadCorpusTable()) {
        SCOPED_TRACE(file.name);
        const std::string path = test::kCorpus + "/" + file.name;
        IMediaControl engine = MakeRealEngineFactory()();
        try {
            engine->RenderFile(path);
        } catch (const EngineError& error) {
            // Only a file in which the reference decoder found no sample may be refused.
            EXPECT_TRUE(file.seconds.empty() || std::stod(file.seconds) == 0.0) << error.what();
            EXPECT_GT(std::string(error.what()).size(), 0u);
            continue;
        }
        Mpg123Decoder decoder(path);
        const double rate = static_cast<double>(decoder.SampleRate());
        EXPECT_EQ(engine->get_Duration(), static_cast<double>(decoder.DecodeLength()) / rate);
        if (!file.seconds.empty()) {
            // The reference is written with six decimals; one sample frame of slack covers that.
            EXPECT_NEAR(engine->get_Duration(), std::stod(file.seconds), 1.0 / rate + 1e-6);
        }
    }
}

}  // namespace
}  // namespace tunekist
