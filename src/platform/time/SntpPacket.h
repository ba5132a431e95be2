// The 48-byte packet a time server and its client exchange (client mode 3,
// server mode 4), built and read without any I/O.
#pragma once

#include <array>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

namespace halyard {

inline constexpr std::size_t kSntpPacketSize = 48;
using SntpRequest = std::array<std::uint8_t, kSntpPacketSize>;

// Timestamps as the packet carries them: seconds since 1900 in the high 32
// bits, the fraction in the low 32. They wrap every 136 years, so two of them
// are only ever compared by their difference (see NtpDifference).
std::uint64_t NtpTimestamp(std::chrono::sys_time<std::chrono::nanoseconds> t);
// later - earlier in seconds, right for any two instants less than 68 years apart.
double NtpDifference(std::uint64_t later, std::uint64_t earlier);

// A request: version 4, client mode, and `transmit` as its transmit timestamp.
// The transmit timestamp is a random number, not the time: it gives away
// nothing of this clock and a forged reply cannot guess it.
SntpRequest BuildSntpRequest(std::uint64_t transmit);

// Root delay and root dispersion at or beyond this are no time: the server's
// own error could be anything.
inline constexpr double kSntpSaneRootSeconds = 16.0;

struct SntpReply {
  enum class Kind {
    Time,             // every check passed: receive and transmit are the server's T2 and T3
    NotSynchronised,  // the server answered but has no time to give (leap indicator 3)
    KissOfDeath,      // stratum 0: `kissCode` says what the server wants of this client
    Rejected,         // not an answer to the request sent, or not a sane one: `rejection` says why
  };
  Kind kind = Kind::Rejected;
  std::string kissCode;   // KissOfDeath: "RATE", "DENY", "RSTR" or another four letters
  std::string rejection;  // Rejected: in a few words
  int stratum = 0;
  double rootDelay = 0;       // seconds
  double rootDispersion = 0;  // seconds
  std::uint64_t receive = 0;   // T2
  std::uint64_t transmit = 0;  // T3
};

// Reads a datagram that came back for a request whose transmit timestamp was
// `sentTransmit`. Any length and any bytes are safe; extension fields and a
// MAC after the first 48 bytes are ignored.
SntpReply ParseSntpReply(std::span<const std::uint8_t> datagram, std::uint64_t sentTransmit);

}  // namespace halyard
