#include "capture/NativeMessaging.h"

#include <cstdint>
#include <cstring>
#include <istream>
#include <ostream>

FrameRead ReadFrame(std::istream& in, std::string& message, size_t limit)
{
    message.clear();
    char header[4];
    in.read(header, 4);
    if (in.gcount() == 0) return FrameRead::End;
    if (in.gcount() < 4) return FrameRead::Cut;
    uint32_t length = 0;
    std::memcpy(&length, header, 4);
    if (length > limit) {
        // Dropped in pieces, so that a huge frame never takes its size in memory.
        char piece[64 * 1024];
        for (uint32_t left = length; left > 0;) {
            const auto want = std::streamsize(left < sizeof piece ? left : sizeof piece);
            in.read(piece, want);
            if (in.gcount() < want) return FrameRead::Cut;
            left -= uint32_t(want);
        }
        return FrameRead::TooLarge;
    }
    message.resize(length);
    in.read(message.data(), std::streamsize(length));
    if (size_t(in.gcount()) < length) {
        message.clear();
        return FrameRead::Cut;
    }
    return FrameRead::Ok;
}

bool WriteFrame(std::ostream& out, std::string_view message)
{
    if (message.size() > kMaxAnswerBytes) return false;
    const auto length = uint32_t(message.size());
    char header[4];
    std::memcpy(header, &length, 4);
    out.write(header, 4);
    out.write(message.data(), std::streamsize(message.size()));
    out.flush();
    return bool(out);
}
