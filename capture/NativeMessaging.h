#pragma once
#include <cstddef>
#include <iosfwd>
#include <string>
#include <string_view>

// Browsers' native messaging: each message is UTF-8 JSON after its length, 32 bits in the
// machine's byte order, on standard input and output.

// The largest message the host takes; a browser sends at most 4 GiB, and nothing of ours
// needs more than a page's texts.
constexpr size_t kMaxMessageBytes = 4u << 20;
// The largest answer a browser takes from a host.
constexpr size_t kMaxAnswerBytes = 1u << 20;

enum class FrameRead {
    Ok,        // message holds the frame
    End,       // the input ended between frames: the browser closed it
    TooLarge,  // over the limit: its bytes were read and dropped, the next frame may follow
    Cut,       // the input ended inside a frame
};

// Reads one frame, holding at most limit bytes of it.
FrameRead ReadFrame(std::istream& in, std::string& message, size_t limit = kMaxMessageBytes);
// Writes one frame and flushes it; false when the output failed or the message is over
// kMaxAnswerBytes (nothing is written then).
bool WriteFrame(std::ostream& out, std::string_view message);
