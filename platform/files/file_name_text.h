#pragma once
#include <string>

namespace tunekist {

// The text a person sees for a file name or path held as raw file-system bytes, in UTF-8. Bytes
// that are valid UTF-8 are their own text. Any other name is read byte by byte as Windows-1252,
// the five bytes it leaves undefined as their Latin-1 characters, so that a name copied from an
// older Windows disk ("Caf\xe9") reads as it was written ("Café"). Every name has exactly one text.
std::string FileNameText(const std::string& bytes);

}  // namespace tunekist
