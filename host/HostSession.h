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
    // Hands a message to the window that has the file; false when no window answered.
    std::function<bool(const std::string& message, std::string& answer)> askWindow;
    std::string version;
    Clock& clock;
};

// Answers the browser's messages on in with frames on out until the browser closes in; a
// message that cannot be read gets an error answer and changes nothing. Nothing but frames
// is ever written to out. With a window open on the file, that window answers (and takes a
// new link as its own change); with none, the host reads and writes the file. 0 when the browser closed the input; 1 when it was cut or out failed.
int RunHost(std::istream& in, std::ostream& out, const HostEnvironment& environment);
