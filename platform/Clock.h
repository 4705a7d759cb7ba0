#pragma once

// Local broken-down time at whole seconds.
struct LocalTime {
    int year = 1899, month = 12, day = 30;
    int hour = 0, minute = 0, second = 0;
    bool operator==(const LocalTime&) const = default;
};

// The current local date and time.
class Clock {
public:
    virtual ~Clock() = default;
    virtual LocalTime Now() = 0;
};

// The system's local time, at whole seconds.
class SystemClock : public Clock {
public:
    LocalTime Now() override;
};
