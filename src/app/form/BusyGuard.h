#pragma once

namespace orna5 {

// Runs a handler's body at most once at a time: writing the controls can hide
// or disable the focused edit, and the focus change that follows must not
// start a second copy in the middle of the first.
class BusyGuard {
public:
    explicit BusyGuard(int& counter) : counter(counter) { ++counter; }
    ~BusyGuard() { --counter; }
    BusyGuard(const BusyGuard&) = delete;
    BusyGuard& operator=(const BusyGuard&) = delete;

private:
    int& counter;
};

} // namespace orna5
