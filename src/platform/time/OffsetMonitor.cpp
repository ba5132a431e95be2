#include "platform/time/OffsetMonitor.h"

#include <array>
#include <condition_variable>
#include <mutex>
#include <random>
#include <thread>
#include <vector>

#include "platform/time/SntpPacket.h"
#include "platform/time/SntpSchedule.h"

namespace halyard {

struct OffsetMonitor::Shared {
  ServerName server;
  std::unique_ptr<SntpTransport> transport;
  SystemClock* clock = nullptr;

  std::mutex mutex;
  std::condition_variable changed;
  OffsetStatus status;
  SntpSchedule schedule;
  bool stop = false;
  bool firstBurstDone = false;
  bool finished = false;
};

namespace {

using Steady = std::chrono::steady_clock;

// What one burst brought back.
struct BurstResult {
  bool opened = false;
  std::string address;
  std::string failure;
  std::vector<SntpSample> samples;
  bool notSynchronised = false;
  std::string kissCode;
  std::chrono::sys_time<std::chrono::milliseconds> bestAtUtc{};
  Steady::time_point bestAt{};
};

// Sleeps until `until`; false when the monitor is stopping.
bool WaitUntil(OffsetMonitor::Shared& shared, Steady::time_point until) {
  std::unique_lock lock(shared.mutex);
  return !shared.changed.wait_until(lock, until, [&] { return shared.stop; });
}

std::uint64_t RandomTransmit(std::mt19937_64& random) {
  std::uint64_t value = 0;
  while (value == 0) value = random();
  return value;
}

BurstResult RunBurst(OffsetMonitor::Shared& shared, std::mt19937_64& random) {
  BurstResult result;
  SntpTransport& transport = *shared.transport;
  result.opened = transport.Open(shared.server, result.address, result.failure);
  if (!result.opened) return result;
  std::array<std::uint8_t, 1024> buffer{};
  const Steady::time_point start = Steady::now();
  double bestDelay = 0;
  for (int i = 0; i < OffsetMonitor::kBurstSamples; ++i) {
    const Steady::time_point sendAt = start + i * OffsetMonitor::kSampleSpacing;
    const Steady::time_point deadline = sendAt + OffsetMonitor::kSampleSpacing;
    if (!WaitUntil(shared, sendAt)) break;
    const std::uint64_t transmit = RandomTransmit(random);
    const SntpRequest request = BuildSntpRequest(transmit);
    const std::uint64_t t1 = NtpTimestamp(shared.clock->Read().utc);
    if (!transport.Send(request)) continue;
    for (;;) {
      const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Steady::now());
      if (left.count() <= 0) break;
      const std::optional<std::size_t> length = transport.Receive(buffer, left);
      const ClockReading received = shared.clock->Read();
      if (!length) break;
      const SntpReply reply = ParseSntpReply(std::span(buffer.data(), *length), transmit);
      if (reply.kind == SntpReply::Kind::Rejected) continue;  // not ours: keep waiting for the answer
      if (reply.kind == SntpReply::Kind::NotSynchronised) result.notSynchronised = true;
      if (reply.kind == SntpReply::Kind::KissOfDeath) result.kissCode = reply.kissCode;
      if (reply.kind == SntpReply::Kind::Time) {
        const SntpSample sample = MeasureSample(t1, reply.receive, reply.transmit, NtpTimestamp(received.utc),
                                                reply.rootDelay, reply.rootDispersion);
        if (result.samples.empty() || sample.delay < bestDelay) {
          bestDelay = sample.delay;
          result.bestAtUtc = received.utc;
          result.bestAt = Steady::now();
        }
        result.samples.push_back(sample);
      }
      break;
    }
    // A server that has said it has no time, or wants less, is not asked again in this burst.
    if (result.notSynchronised || !result.kissCode.empty()) break;
  }
  transport.Close();
  return result;
}

// The status a burst leaves, from the one before it.
OffsetStatus Conclude(const OffsetStatus& before, const BurstResult& burst,
                      std::chrono::sys_time<std::chrono::milliseconds> startUtc) {
  OffsetStatus status = before;
  status.detail.clear();
  if (burst.opened) status.address = burst.address;
  const bool wasSilent = before.state == OffsetStatus::State::NoAnswer || before.state == OffsetStatus::State::NoAddress;
  const auto silence = [&](OffsetStatus::State state) {
    if (!wasSilent) status.silentSince = std::chrono::floor<std::chrono::seconds>(startUtc);
    status.state = state;
  };
  if (const std::optional<SntpSample> best = BestOfBurst(burst.samples)) {
    status.state = OffsetStatus::State::Measured;
    status.sample = *best;
    status.measuredAt = burst.bestAt;
    status.measuredAtUtc = burst.bestAtUtc;
  } else if (!burst.opened) {
    silence(OffsetStatus::State::NoAddress);
    status.detail = burst.failure;
  } else if (burst.kissCode == "DENY" || burst.kissCode == "RSTR") {
    status.state = OffsetStatus::State::Refused;
    status.detail = burst.kissCode;
  } else if (burst.notSynchronised) {
    status.state = OffsetStatus::State::NotSynchronised;
  } else if (!burst.kissCode.empty()) {
    // RATE (or a code this client does not know): an answer, but no time;
    // the last measurement, if any, stands until the next burst.
    if (before.state == OffsetStatus::State::Measuring) silence(OffsetStatus::State::NoAnswer);
  } else {
    silence(OffsetStatus::State::NoAnswer);
  }
  return status;
}

void Work(std::shared_ptr<OffsetMonitor::Shared> shared) {
  std::random_device entropy;
  std::mt19937_64 random((std::uint64_t{entropy()} << 32) ^ entropy());
  for (;;) {
    {
      std::unique_lock lock(shared->mutex);
      const std::optional<Steady::time_point> next = shared->schedule.NextBurst();
      if (!next) break;
      // Asked to measure again early (the clock was set): the wait starts over.
      shared->changed.wait_until(lock, *next, [&] { return shared->stop || shared->schedule.NextBurst() != next; });
      if (shared->stop) break;
      if (shared->schedule.NextBurst() != next) continue;
      shared->schedule.BurstStarted(Steady::now());
    }
    const auto startUtc = shared->clock->Read().utc;
    const BurstResult burst = RunBurst(*shared, random);
    std::lock_guard lock(shared->mutex);
    if (shared->stop) break;
    if (!burst.kissCode.empty()) shared->schedule.Kiss(burst.kissCode);
    shared->status = Conclude(shared->status, burst, startUtc);
    shared->firstBurstDone = true;
    shared->changed.notify_all();
  }
  std::lock_guard lock(shared->mutex);
  shared->firstBurstDone = true;
  shared->finished = true;
  shared->changed.notify_all();
}

}  // namespace

OffsetMonitor::OffsetMonitor(ServerName server, std::string label, std::unique_ptr<SntpTransport> transport,
                             SystemClock& clock)
    : shared_(std::make_shared<Shared>()) {
  shared_->server = std::move(server);
  shared_->transport = std::move(transport);
  shared_->clock = &clock;
  shared_->status.server = std::move(label);
  std::thread(Work, shared_).detach();
}

OffsetMonitor::~OffsetMonitor() {
  // The worker holds its own share of the state: if a name lookup keeps it
  // busy, the clock does not wait for it to end, only for it to notice.
  std::unique_lock lock(shared_->mutex);
  shared_->stop = true;
  shared_->changed.notify_all();
  shared_->changed.wait_for(lock, std::chrono::seconds{1}, [&] { return shared_->finished; });
}

OffsetStatus OffsetMonitor::Status() {
  const ClockReading reading = shared_->clock->Read();
  std::lock_guard lock(shared_->mutex);
  if (SystemClockSetSince(shared_->status, reading.utc, Steady::now())) {
    shared_->status.state = OffsetStatus::State::Measuring;
    shared_->status.detail = "the system clock was set";
    shared_->schedule.AskSoon();
    shared_->changed.notify_all();
  }
  return shared_->status;
}

OffsetStatus OffsetMonitor::WaitForFirstBurst(std::chrono::steady_clock::duration limit) {
  std::unique_lock lock(shared_->mutex);
  shared_->changed.wait_for(lock, limit, [&] { return shared_->firstBurstDone; });
  return shared_->status;
}

}  // namespace halyard
