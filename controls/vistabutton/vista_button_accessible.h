#pragma once

namespace tunekist {

// Makes every VistaButton known to screen readers as a push button named by its caption (unless
// the host gave it a name of its own), with a "press" action that clicks it as a released Space
// would. Safe to call more than once.
void InstallVistaButtonAccessibility();

}  // namespace tunekist
