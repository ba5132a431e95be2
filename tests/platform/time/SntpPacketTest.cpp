#include "platform/time/SntpPacket.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

namespace halyard {
namespace {

constexpr std::uint64_t kSent = 0x0123456789ABCDEFull;

// A sound reply to the request with transmit timestamp kSent.
std::vector<std::uint8_t> Reply() {
  std::vector<std::uint8_t> p(kSntpPacketSize, 0);
  p[0] = (0 << 6) | (4 << 3) | 4;  // no leap warning, version 4, server
  p[1] = 2;                        // stratum
  p[6] = 0x01;                     // root delay 1/256 s
  p[10] = 0x02;                    // root dispersion 2/256 s
  for (int i = 0; i < 8; ++i) {
    p[24 + i] = static_cast<std::uint8_t>(kSent >> (56 - 8 * i));  // origin
    p[32 + i] = static_cast<std::uint8_t>(0xE8 + i);                // receive
    p[40 + i] = static_cast<std::uint8_t>(0xE9 + i);                // transmit
  }
  return p;
}

void Stratum0(std::vector<std::uint8_t>& p, const char* code) {
  p[1] = 0;
  for (int i = 0; i < 4; ++i) p[12 + i] = static_cast<std::uint8_t>(code[i]);
}

TEST(SntpPacket, RequestIsVersion4ClientWithOnlyTheTransmitTimestamp) {
  const SntpRequest request = BuildSntpRequest(kSent);
  EXPECT_EQ(request[0], 0x23);
  for (std::size_t i = 1; i < 40; ++i) EXPECT_EQ(request[i], 0) << i;
  EXPECT_EQ(ParseSntpReply(request, kSent).kind, SntpReply::Kind::Rejected);  // a request is no reply
  std::vector<std::uint8_t> echoed(request.begin(), request.end());
  // Copied as a server copies it, it is the origin the reply must carry.
  std::vector<std::uint8_t> reply = Reply();
  std::copy(echoed.begin() + 40, echoed.end(), reply.begin() + 24);
  EXPECT_EQ(ParseSntpReply(reply, kSent).kind, SntpReply::Kind::Time);
}

TEST(SntpPacket, TimestampsAndDifferencesAcrossTheEraBoundary) {
  using namespace std::chrono;
  EXPECT_EQ(NtpTimestamp(sys_time<nanoseconds>{}), 2'208'988'800ull << 32);
  EXPECT_EQ(NtpTimestamp(sys_time<nanoseconds>{milliseconds{500}}), (2'208'988'800ull << 32) | 0x80000000u);
  // 2036-02-07 06:28:16 UTC: the seconds field wraps to 0.
  const sys_time<nanoseconds> wrap{seconds{2'085'978'496}};
  EXPECT_EQ(NtpTimestamp(wrap), 0u);
  EXPECT_DOUBLE_EQ(NtpDifference(NtpTimestamp(wrap + milliseconds{250}), NtpTimestamp(wrap - seconds{2})), 2.25);
  EXPECT_DOUBLE_EQ(NtpDifference(NtpTimestamp(wrap - seconds{2}), NtpTimestamp(wrap + milliseconds{250})), -2.25);
}

TEST(SntpPacket, EachRuleOfAcceptance) {
  using Kind = SntpReply::Kind;
  struct Row {
    const char* what;
    std::function<void(std::vector<std::uint8_t>&)> change;
    Kind kind;
  };
  const Row rows[] = {
      {"sound", [](auto&) {}, Kind::Time},
      {"version 3", [](auto& p) { p[0] = (3 << 3) | 4; }, Kind::Time},
      {"extension fields after the header", [](auto& p) { p.resize(68, 0xFF); }, Kind::Time},
      {"stratum 15", [](auto& p) { p[1] = 15; }, Kind::Time},
      {"root dispersion just under 16 s", [](auto& p) { p[9] = 0x0F; p[10] = 0xFF; p[11] = 0xFF; }, Kind::Time},
      {"47 bytes", [](auto& p) { p.resize(47); }, Kind::Rejected},
      {"empty", [](auto& p) { p.clear(); }, Kind::Rejected},
      {"client mode", [](auto& p) { p[0] = (4 << 3) | 3; }, Kind::Rejected},
      {"broadcast mode", [](auto& p) { p[0] = (4 << 3) | 5; }, Kind::Rejected},
      {"version 2", [](auto& p) { p[0] = (2 << 3) | 4; }, Kind::Rejected},
      {"version 5", [](auto& p) { p[0] = (5 << 3) | 4; }, Kind::Rejected},
      {"another origin", [](auto& p) { p[31] ^= 1; }, Kind::Rejected},
      {"stratum 16", [](auto& p) { p[1] = 16; }, Kind::Rejected},
      {"stratum 255", [](auto& p) { p[1] = 255; }, Kind::Rejected},
      {"transmit timestamp zero", [](auto& p) { std::fill(p.begin() + 40, p.begin() + 48, 0); }, Kind::Rejected},
      {"root delay 16 s", [](auto& p) { p[4] = 0; p[5] = 0x10; }, Kind::Rejected},
      {"root dispersion 16 s", [](auto& p) { p[8] = 0; p[9] = 0x10; }, Kind::Rejected},
      {"leap indicator 3", [](auto& p) { p[0] |= 3 << 6; }, Kind::NotSynchronised},
      {"leap 3, stratum 0, no kiss code", [](auto& p) { p[0] |= 3 << 6; p[1] = 0; }, Kind::NotSynchronised},
      {"stratum 0, no kiss code, leap 0", [](auto& p) { p[1] = 0; }, Kind::Rejected},
      {"RATE", [](auto& p) { Stratum0(p, "RATE"); }, Kind::KissOfDeath},
      {"DENY with leap 3", [](auto& p) { Stratum0(p, "DENY"); p[0] |= 3 << 6; }, Kind::KissOfDeath},
      {"DENY to another request", [](auto& p) { Stratum0(p, "DENY"); p[24] ^= 0x80; }, Kind::Rejected},
  };
  for (const Row& row : rows) {
    std::vector<std::uint8_t> packet = Reply();
    row.change(packet);
    EXPECT_EQ(ParseSntpReply(packet, kSent).kind, row.kind) << row.what;
  }
  const SntpReply sound = ParseSntpReply(Reply(), kSent);
  EXPECT_EQ(sound.receive, 0xE8E9EAEBECEDEEEFull);
  EXPECT_EQ(sound.transmit, 0xE9EAEBECEDEEEFF0ull);
  EXPECT_DOUBLE_EQ(sound.rootDelay, 1 / 256.0);
  EXPECT_DOUBLE_EQ(sound.rootDispersion, 2 / 256.0);
  std::vector<std::uint8_t> rstr = Reply();
  Stratum0(rstr, "RSTR");
  EXPECT_EQ(ParseSntpReply(rstr, kSent).kissCode, "RSTR");
}

}  // namespace
}  // namespace halyard
