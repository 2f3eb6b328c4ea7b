#pragma once
// Some procedures go on with their next statement whatever the previous one did. Each such
// statement is wrapped in its own IgnoreError call, so the intent shows where it happens and no
// exception is ever swallowed by accident elsewhere.

namespace tunekist {

// Runs `s` and drops any exception it throws.
template <class Statement>
void IgnoreError(Statement&& s) noexcept {
    try {
        s();
    } catch (...) {
    }
}

}  // namespace tunekist
