#pragma once
#include <string>

// True for an address that is not public, which no page on the web may send a request
// to: loopback (127/8, ::1), private (10/8, 172.16/12, 192.168/16, fc00::/7, fec0::/10),
// link-local (169.254/16, fe80::/10), unspecified (0.0.0.0/8, ::), a provider's shared
// network (100.64/10), testing and protocol ranges (198.18/15, 192.0.0/24), multicast,
// reserved and broadcast (224/4, 240/4, ff00::/8), and any of these inside an IPv6
// address (::ffff:127.0.0.1, ::127.0.0.1, 64:ff9b::10.0.0.1, 2002:0a00:0001::). An
// address that cannot be read counts as local, so that nothing unknown is ever reached
// through a redirect.
bool IsLocalAddress(const std::string& address);
