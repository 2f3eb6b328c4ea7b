#pragma once
// An engine that hands every call to a real one and notes, per file, what measuring it gave: the
// duration in seconds or the engine's error text. The song list shows only whole seconds; the
// scan tool also prints what they were rounded from.

#include <map>
#include <memory>
#include <string>
#include <variant>

#include "playback/media_engine.h"

namespace tunekist {

// Per path: the measured duration in seconds, or the text of the error RenderFile raised.
using MeasurementLog = std::map<std::string, std::variant<double, std::string>>;

// A factory of engines made by `engines` whose RenderFile results are noted in `log`, which must
// outlive every engine made.
EngineFactory MakeRecordingEngineFactory(EngineFactory engines, MeasurementLog& log);

}  // namespace tunekist
