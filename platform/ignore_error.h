#pragma once

namespace tunekist {

// Runs one statement of a procedure whose statements each ignore their own errors: a failing
// statement is skipped and the procedure goes on with the next one. Each ignored statement is its
// own call, so the intent is visible where it happens and nothing is swallowed by accident.
template <class Statement>
void IgnoreError(Statement&& statement) noexcept {
    try {
        statement();
    } catch (...) {}
}

}  // namespace tunekist
