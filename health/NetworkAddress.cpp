#include "health/NetworkAddress.h"

#include <cstdint>
#include <cstring>

#ifdef _WIN32
#include <ws2tcpip.h>
#else
#include <arpa/inet.h>
#endif

namespace {

bool IsLocalIpv4(const unsigned char* a)
{
    return a[0] == 127 || a[0] == 10 || a[0] == 0 || (a[0] == 172 && (a[1] & 0xF0) == 16) ||
           (a[0] == 192 && a[1] == 168) || (a[0] == 169 && a[1] == 254);
}

}  // namespace

bool IsLocalAddress(const std::string& text)
{
    // Brackets and a zone ("fe80::1%eth0") are not part of the address itself.
    std::string address = text;
    if (address.size() > 2 && address.front() == '[' && address.back() == ']') address = address.substr(1, address.size() - 2);
    if (const size_t zone = address.find('%'); zone != std::string::npos) address.resize(zone);
    unsigned char bytes[16] = {};
    if (inet_pton(AF_INET, address.c_str(), bytes) == 1) return IsLocalIpv4(bytes);
    if (inet_pton(AF_INET6, address.c_str(), bytes) != 1) return true;
    static const unsigned char kZero[16] = {};
    static const unsigned char kMapped[12] = {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0xFF, 0xFF};
    if (std::memcmp(bytes, kMapped, 12) == 0) return IsLocalIpv4(bytes + 12);
    if (std::memcmp(bytes, kZero, 15) == 0 && (bytes[15] == 0 || bytes[15] == 1)) return true;  // :: and ::1
    if ((bytes[0] & 0xFE) == 0xFC) return true;                                                  // fc00::/7
    if (bytes[0] == 0xFE && (bytes[1] & 0xC0) == 0x80) return true;                               // fe80::/10
    return false;
}
