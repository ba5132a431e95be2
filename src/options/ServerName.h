// A time server as the operator writes it: a host name or address with an
// optional port, "ntp.example", "192.0.2.7:123", "[2001:db8::1]:123", "::1".
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace halyard {

inline constexpr std::uint16_t kNtpPort = 123;

struct ServerName {
  std::string host;  // a name or an address, without brackets
  std::uint16_t port = kNtpPort;

  bool operator==(const ServerName&) const = default;
};

// None when the text is not a host with an optional port: an empty host, a
// port that is not 1 to 65535, a blank or a character no host name has.
std::optional<ServerName> ParseServerName(std::string_view text);

}  // namespace halyard
