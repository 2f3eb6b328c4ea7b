#pragma once

namespace tunekist {

// A repeating timer of the window; while enabled it raises its tick on the window's thread.
class Timer {
public:
    virtual ~Timer() = default;
    virtual bool Enabled() const = 0;
    virtual void SetEnabled(bool enabled) = 0;
};

}  // namespace tunekist
