#include "platform/time/SntpPacket.h"

namespace halyard {
namespace {

// 1900-01-01 to 1970-01-01.
constexpr std::int64_t kNtpEpochToUnix = 2'208'988'800;

constexpr int kVersion = 4;
constexpr int kModeClient = 3;
constexpr int kModeServer = 4;
constexpr int kLeapNotSynchronised = 3;
constexpr int kHighestStratum = 15;

std::uint32_t Word(std::span<const std::uint8_t> bytes, std::size_t at) {
  return (std::uint32_t{bytes[at]} << 24) | (std::uint32_t{bytes[at + 1]} << 16) | (std::uint32_t{bytes[at + 2]} << 8) |
         std::uint32_t{bytes[at + 3]};
}

std::uint64_t Timestamp(std::span<const std::uint8_t> bytes, std::size_t at) {
  return (std::uint64_t{Word(bytes, at)} << 32) | Word(bytes, at + 4);
}

// Root delay and dispersion: unsigned seconds in 16.16 fixed point.
double ShortSeconds(std::uint32_t word) { return static_cast<double>(word) / 65536.0; }

SntpReply Rejected(std::string why) {
  SntpReply reply;
  reply.rejection = std::move(why);
  return reply;
}

}  // namespace

std::uint64_t NtpTimestamp(std::chrono::sys_time<std::chrono::nanoseconds> t) {
  const std::int64_t nanos = t.time_since_epoch().count();
  std::int64_t seconds = nanos / 1'000'000'000;
  std::int64_t fraction = nanos % 1'000'000'000;
  if (fraction < 0) {
    fraction += 1'000'000'000;
    --seconds;
  }
  const auto era = static_cast<std::uint64_t>(seconds + kNtpEpochToUnix);  // wraps, as the packet does
  // fraction < 10^9 < 2^30, so the shifted value fits in 64 bits on every target
  const auto frac = (static_cast<std::uint64_t>(fraction) << 32) / 1'000'000'000;
  return (era << 32) + frac;
}

double NtpDifference(std::uint64_t later, std::uint64_t earlier) {
  return static_cast<double>(static_cast<std::int64_t>(later - earlier)) / 4294967296.0;
}

SntpRequest BuildSntpRequest(std::uint64_t transmit) {
  SntpRequest packet{};
  packet[0] = static_cast<std::uint8_t>((kVersion << 3) | kModeClient);  // leap indicator 0
  for (int i = 0; i < 8; ++i) packet[40 + i] = static_cast<std::uint8_t>(transmit >> (56 - 8 * i));
  return packet;
}

SntpReply ParseSntpReply(std::span<const std::uint8_t> datagram, std::uint64_t sentTransmit) {
  if (datagram.size() < kSntpPacketSize) return Rejected("short packet");
  const int leap = datagram[0] >> 6;
  const int version = (datagram[0] >> 3) & 7;
  const int mode = datagram[0] & 7;
  if (mode != kModeServer) return Rejected("not a server's reply");
  if (version != 3 && version != 4) return Rejected("version " + std::to_string(version));
  // Only an answer to this very request counts, a kiss-o'-death included:
  // otherwise anyone could stop the client or feed it a time.
  if (Timestamp(datagram, 24) != sentTransmit) return Rejected("not an answer to the request sent");

  SntpReply reply;
  reply.stratum = datagram[1];
  reply.rootDelay = ShortSeconds(Word(datagram, 4));
  reply.rootDispersion = ShortSeconds(Word(datagram, 8));
  if (reply.stratum == 0) {
    // A kiss code is four capitals or digits; an unsynchronised server may
    // send stratum 0 with an empty reference instead.
    std::string code;
    for (std::size_t i = 12; i < 16; ++i) {
      const char c = static_cast<char>(datagram[i]);
      if ((c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')) code += c;
    }
    if (code.size() == 4) {
      reply.kind = SntpReply::Kind::KissOfDeath;
      reply.kissCode = code;
      return reply;
    }
    if (leap != kLeapNotSynchronised) return Rejected("stratum 0 without a kiss code");
  }
  if (leap == kLeapNotSynchronised) {
    reply.kind = SntpReply::Kind::NotSynchronised;
    return reply;
  }
  if (reply.stratum > kHighestStratum) return Rejected("stratum " + std::to_string(reply.stratum));
  reply.receive = Timestamp(datagram, 32);
  reply.transmit = Timestamp(datagram, 40);
  if (reply.transmit == 0) return Rejected("no transmit time");
  if (reply.rootDelay >= kSntpSaneRootSeconds || reply.rootDispersion >= kSntpSaneRootSeconds) {
    return Rejected("root delay or dispersion too large");
  }
  reply.kind = SntpReply::Kind::Time;
  return reply;
}

}  // namespace halyard
