#pragma once
// What a screen reader hears as the value of the window's two gauges.

namespace tunekist {

// From now on the volume slider tells assistive technology the volume percentage its text shows
// (100 at full level, 0 at the bottom) instead of its position, and the progress bar tells the
// percentage its label shows. Calling it again changes nothing.
void InstallAccessibleValues();

}  // namespace tunekist
