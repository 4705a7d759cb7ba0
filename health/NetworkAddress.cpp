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
           (a[0] == 192 && a[1] == 168) || (a[0] == 169 && a[1] == 254) ||
           (a[0] == 100 && (a[1] & 0xC0) == 64) ||           // 100.64/10, a provider's shared network
           (a[0] == 198 && (a[1] & 0xFE) == 18) ||           // 198.18/15, for testing networks
           (a[0] == 192 && a[1] == 0 && a[2] == 0) ||        // 192.0.0/24, for protocols
           (a[0] & 0xF0) == 224 || (a[0] & 0xF0) == 240;     // multicast, reserved and broadcast
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
    static const unsigned char kNat64[12] = {0, 0x64, 0xFF, 0x9B, 0, 0, 0, 0, 0, 0, 0, 0};
    if (std::memcmp(bytes, kZero, 15) == 0 && (bytes[15] == 0 || bytes[15] == 1)) return true;  // :: and ::1
    // An IPv4 address inside: mapped (::ffff:a.b.c.d), compatible (::a.b.c.d), NAT64
    // (64:ff9b::a.b.c.d) or 6to4 (2002:AABB:CCDD::) reaches what that address reaches.
    if (std::memcmp(bytes, kMapped, 12) == 0 || std::memcmp(bytes, kZero, 12) == 0 ||
        std::memcmp(bytes, kNat64, 12) == 0)
        return IsLocalIpv4(bytes + 12);
    if (bytes[0] == 0x20 && bytes[1] == 0x02) return IsLocalIpv4(bytes + 2);
    if (bytes[0] == 0x00 && bytes[1] == 0x64 && bytes[2] == 0xFF && bytes[3] == 0x9B && bytes[4] == 0 && bytes[5] == 1)
        return true;                                                                             // 64:ff9b:1::/48
    if ((bytes[0] & 0xFE) == 0xFC) return true;                                                  // fc00::/7
    if (bytes[0] == 0xFE && (bytes[1] & 0xC0) == 0x80) return true;                               // fe80::/10
    if (bytes[0] == 0xFE && (bytes[1] & 0xC0) == 0xC0) return true;                               // fec0::/10
    if (bytes[0] == 0xFF) return true;                                                           // multicast
    return false;
}
