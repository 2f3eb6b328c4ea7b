#pragma once
#include <cstdint>
#include <string>

namespace tunekist {

// The application-wide services the song list needs besides its controls.
class Desktop {
public:
    // The pointer values the program uses: the hourglass, and the custom pointer, which without a
    // picture of its own shows the standard arrow.
    static constexpr int kHourglass = 11;
    static constexpr int kCustomPointer = 99;

    virtual ~Desktop() = default;
    // Sets the pointer shown over every window of the program (kHourglass or kCustomPointer).
    virtual void SetMousePointer(int pointer) = 0;
    // Lets the window handle pending input, painting and other events for a short, bounded time,
    // then returns. Any of the window's handlers may run inside it.
    virtual void DoEvents() = 0;
    // The length in bytes of the file at `path` (raw file-system bytes); throws
    // std::runtime_error when it cannot be read.
    virtual std::int64_t FileLen(const std::string& path) const = 0;
    // The user's locale's separator between groups of thousands ("." in Dutch, "," in English).
    virtual std::string GroupSeparator() const = 0;
};

}  // namespace tunekist
