#pragma once
#include "platform/ui/desktop.h"

namespace tunekist {

// The application's pointer, event loop, file lengths and number formatting on Qt.
class QtDesktop : public Desktop {
public:
    // The longest a yield goes on handling events before the caller's work resumes.
    static constexpr int kYieldMilliseconds = 5;

    QtDesktop() = default;
    ~QtDesktop() override;
    QtDesktop(const QtDesktop&) = delete;
    QtDesktop& operator=(const QtDesktop&) = delete;

    // kHourglass shows the wait cursor over the whole application until kCustomPointer (or the
    // end of this object) restores the one before; repeating either value changes nothing.
    void SetMousePointer(int pointer) override;
    // Has the window system make the wait cursor now, without showing it: the first listing then
    // does not wait while the pointer theme is loaded (1 to 3 ms from memory, a disk read after a
    // reboot).
    static void PrepareHourglass();
    // Handles pending input, painting, timers and other events for at most kYieldMilliseconds,
    // then returns. What the user does in that time runs here, in the middle of the caller's work:
    // the caller must expect any of the window's handlers to have run.
    void DoEvents() override;
    std::int64_t FileLen(const std::string& path) const override;
    // The group separator of the default QLocale (the user's locale unless a program set another).
    std::string GroupSeparator() const override;

private:
    bool hourglass_ = false;
};

}  // namespace tunekist
