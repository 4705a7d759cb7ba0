#pragma once
#include "store/LinkDate.h"

// The current local date and time.
class Clock {
public:
    virtual ~Clock() = default;
    virtual LocalTime Now() = 0;
    CLinkDate NowDate() { return LinkDateFromLocal(Now()); }
};

// The system's local time, at whole seconds.
class SystemClock : public Clock {
public:
    LocalTime Now() override;
};
