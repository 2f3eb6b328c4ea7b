#pragma once
// Songs and folders handed to the program from outside its lists: named on its command line,
// passed on by a second launch, dropped onto the window. Each ends in what a person would do in
// the window, with every refusal that brings.
#include <string>
#include <vector>

#include "app/main_form.h"

namespace tunekist {

// Opens each of `paths` (raw file-system bytes, absolute or relative to the working folder), in
// order:
//  - a folder is chosen in Drive1 (the drive that holds it) and Dir1, which lists it;
//  - an MP3 file's folder is chosen the same way unless it is the folder listed, and then the
//    file's row is selected and added to the playlist as a click on it adds it;
//  - anything else (missing, unreadable, neither a folder nor a file named .mp3, not listed) is
//    refused with "Kan niet openen:", a line break and the path; the other paths still go in.
// While a song plays or is paused nothing changes: the refusal of the lists is shown once, and
// the paths not yet opened are dropped. Never throws.
void OpenPaths(Main& main, const std::vector<std::string>& paths);

}  // namespace tunekist
