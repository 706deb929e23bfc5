#pragma once

#include <functional>

// The hourglass (11) for as long as the object lives, back to the normal pointer (0)
// afterwards, also when the operation in between throws.
class WaitPointer {
public:
    explicit WaitPointer(std::function<void(int)> setMousePointer)
        : m_set(std::move(setMousePointer)) {
        m_set(11);
    }
    ~WaitPointer() { m_set(0); }
    WaitPointer(const WaitPointer&) = delete;
    WaitPointer& operator=(const WaitPointer&) = delete;

private:
    std::function<void(int)> m_set;
};
