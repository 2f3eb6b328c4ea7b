#pragma once
// Proof that a file's Xing/Info tag tells the truth about its Layer III stream, so that its
// promised length can be used without walking every frame. The tag's byte count must end inside
// the file, exactly where a frame consistent with the first one ends. A file cut short, or one
// whose tag was copied from elsewhere, fails the proof and is measured frame by frame.

#include "platform/engine/file_reader.h"

namespace tunekist {

// True when the tag at the start of the stream provably covers the whole stream.
bool TagCoversWholeStream(const FileReader& reader);

}  // namespace tunekist
