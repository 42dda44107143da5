// The replaceable clock: local date and time for dated lines, and the pauses that wait on it.
#pragma once

#include <memory>

namespace quorlet {

struct ClockTime {
    int year = 2004, month = 1, day = 5;
    int weekday = 1;  // 1 = Monday ... 7 = Sunday
    int hour = 0, minute = 0, second = 0, millisecond = 0;
};

class TClock {
public:
    virtual ~TClock() = default;
    virtual ClockTime Now() = 0;
    virtual void Sleep(int milliseconds) = 0;
};

// A clock that stands still: every reading gives the same time and pauses return at once.
class FixedClock : public TClock {
public:
    explicit FixedClock(ClockTime time) : time_(time) {}
    ClockTime Now() override { return time_; }
    void Sleep(int milliseconds) override { slept_ += milliseconds; }
    int Slept() const { return slept_; }

private:
    ClockTime time_;
    int slept_ = 0;
};

TClock& Clock();
// Replaces the clock (nullptr restores the system clock); the caller keeps ownership.
void SetClock(TClock* clock);

}  // namespace quorlet
