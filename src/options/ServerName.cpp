#include "options/ServerName.h"

#include <algorithm>
#include <charconv>

namespace halyard {
namespace {

// Names are at most 253 characters; the rest covers IPv6 text with a zone ("fe80::1%eth0").
constexpr std::size_t kLongestHost = 253;

bool HostCharacter(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' || c == '.' ||
         c == '_' || c == ':' || c == '%';
}

std::optional<std::uint16_t> ParsePort(std::string_view text) {
  unsigned value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (text.empty() || error != std::errc() || end != text.data() + text.size() || value < 1 || value > 65535) {
    return std::nullopt;
  }
  return static_cast<std::uint16_t>(value);
}

}  // namespace

std::optional<ServerName> ParseServerName(std::string_view text) {
  ServerName server;
  std::string_view host = text;
  if (text.starts_with('[')) {
    const std::size_t close = text.find(']');
    if (close == std::string_view::npos) return std::nullopt;
    host = text.substr(1, close - 1);
    const std::string_view rest = text.substr(close + 1);
    if (!rest.empty()) {
      if (!rest.starts_with(':')) return std::nullopt;
      const std::optional<std::uint16_t> port = ParsePort(rest.substr(1));
      if (!port) return std::nullopt;
      server.port = *port;
    }
  } else if (std::count(text.begin(), text.end(), ':') == 1) {
    // One colon is a port; more make an IPv6 address written without brackets.
    const std::size_t colon = text.find(':');
    host = text.substr(0, colon);
    const std::optional<std::uint16_t> port = ParsePort(text.substr(colon + 1));
    if (!port) return std::nullopt;
    server.port = *port;
  }
  if (host.empty() || host.size() > kLongestHost || !std::all_of(host.begin(), host.end(), HostCharacter)) {
    return std::nullopt;
  }
  server.host = std::string(host);
  return server;
}

}  // namespace halyard
