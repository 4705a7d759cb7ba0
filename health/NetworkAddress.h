#pragma once
#include <string>

// True for an address on this machine or its own network, which no page on the web may
// send a request to: loopback (127/8, ::1), private (10/8, 172.16/12, 192.168/16,
// fc00::/7), link-local (169.254/16, fe80::/10), unspecified (0.0.0.0/8, ::), and the
// same addresses written as IPv6 (::ffff:127.0.0.1). An address that cannot be read
// counts as local, so that nothing unknown is ever reached through a redirect.
bool IsLocalAddress(const std::string& address);
