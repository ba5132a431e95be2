// Hostile datagrams of every length where a time server's reply is expected:
// the reader never reads outside the datagram, and what it accepts keeps its
// own promises. The datagram's own origin field is also taken as the request
// sent, so that the checks behind the origin are reached.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

#include "platform/time/SntpPacket.h"
#include "platform/time/SntpSample.h"

using namespace halyard;

namespace {

std::uint64_t Origin(std::span<const std::uint8_t> bytes) {
  std::uint64_t value = 0;
  for (std::size_t i = 24; i < 32 && i < bytes.size(); ++i) value = (value << 8) | bytes[i];
  return value;
}

void Check(std::span<const std::uint8_t> bytes, std::uint64_t sent) {
  const SntpReply reply = ParseSntpReply(bytes, sent);
  if (reply.kind == SntpReply::Kind::Rejected) {
    if (reply.rejection.empty()) std::abort();
    return;
  }
  if (bytes.size() < kSntpPacketSize || Origin(bytes) != sent) std::abort();
  if (reply.kind == SntpReply::Kind::KissOfDeath && reply.kissCode.size() != 4) std::abort();
  if (reply.kind != SntpReply::Kind::Time) return;
  if (reply.transmit == 0 || reply.stratum < 1 || reply.stratum > 15) std::abort();
  if (!(reply.rootDelay < kSntpSaneRootSeconds) || !(reply.rootDispersion < kSntpSaneRootSeconds)) std::abort();
  // Whatever the server's times, the measurement is finite and its uncertainty a bound.
  const SntpSample sample = MeasureSample(sent, reply.receive, reply.transmit, sent + (1ull << 28), reply.rootDelay,
                                          reply.rootDispersion);
  if (!std::isfinite(sample.clockMinusServer) || !std::isfinite(sample.delay) || !(sample.uncertainty > 0)) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::span<const std::uint8_t> bytes(data, size);
  Check(bytes, 0x0123456789ABCDEFull);
  Check(bytes, Origin(bytes));
  return 0;
}
