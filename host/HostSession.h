#pragma once
#include <functional>
#include <iosfwd>
#include <string>

class Clock;

// Where the host works: the data file the window uses, whether a window has it open now,
// and the clock that dates what is saved.
struct HostEnvironment {
    std::string dataPath;
    std::function<bool()> windowOpen;
    std::string version;
    Clock& clock;
};

// Answers the browser's messages on in with frames on out until the browser closes in; a
// message that cannot be read gets an error answer and changes nothing. Nothing but frames
// is ever written to out. 0 when the browser closed the input; 1 when it was cut or out failed.
int RunHost(std::istream& in, std::ostream& out, const HostEnvironment& environment);
