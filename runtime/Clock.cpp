// System clock and the replaceable clock in force.
#include "Clock.h"

#include <chrono>
#include <ctime>
#include <thread>

namespace quorlet {
namespace {

class SystemClock : public TClock {
public:
    ClockTime Now() override
    {
        auto now = std::chrono::system_clock::now();
        std::time_t t = std::chrono::system_clock::to_time_t(now);
        std::tm tm{};
        localtime_r(&t, &tm);
        auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch()).count() % 1000;
        ClockTime c;
        c.year = tm.tm_year + 1900;
        c.month = tm.tm_mon + 1;
        c.day = tm.tm_mday;
        c.weekday = tm.tm_wday == 0 ? 7 : tm.tm_wday;
        c.hour = tm.tm_hour;
        c.minute = tm.tm_min;
        c.second = tm.tm_sec;
        c.millisecond = static_cast<int>(ms);
        return c;
    }
    void Sleep(int milliseconds) override { std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds)); }
};

TClock* g_clock = nullptr;

}  // namespace

TClock& Clock()
{
    static SystemClock system;
    return g_clock ? *g_clock : system;
}

void SetClock(TClock* clock) { g_clock = clock; }

}  // namespace quorlet
