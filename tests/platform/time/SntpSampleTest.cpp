#include "platform/time/SntpSample.h"

#include <gtest/gtest.h>

#include "platform/time/SntpPacket.h"

namespace halyard {
namespace {

using namespace std::chrono;

// Instants as offsets in milliseconds from one moment.
std::uint64_t At(double ms) {
  return NtpTimestamp(sys_time<nanoseconds>{seconds{1'800'000'000}} + nanoseconds{static_cast<std::int64_t>(ms * 1e6)});
}

TEST(SntpSample, OffsetDelayAndUncertainty) {
  struct Row {
    const char* what;
    double t1, t2, t3, t4;  // ms
    double rootDelay, rootDispersion;
    double clockMinusServer, delay, uncertainty;  // s
  };
  const Row rows[] = {
      {"server 2.5 s ahead, 20 ms each way", 0, 2520, 2521, 41, 0, 0, -2.5, 0.040, 0.021},
      {"clock 0.3 s fast, server took 5 ms", 0, -290, -285, 25, 0, 0, 0.3, 0.020, 0.011},
      {"one way 30 ms, the other 10 ms", 0, 30, 30, 40, 0, 0, -0.010, 0.040, 0.021},
      {"root delay and dispersion count", 0, 10, 10, 20, 0.050, 0.007, 0.0, 0.020, 0.043},
      {"a whole-millisecond clock sees a negative delay", 0, 0.4, 0.6, 0, 0, 0, -0.0005, -0.0002, 0.001},
  };
  for (const Row& row : rows) {
    const SntpSample s = MeasureSample(At(row.t1), At(row.t2), At(row.t3), At(row.t4), row.rootDelay, row.rootDispersion);
    EXPECT_NEAR(s.clockMinusServer, row.clockMinusServer, 1e-8) << row.what;
    EXPECT_NEAR(s.delay, row.delay, 1e-8) << row.what;
    EXPECT_NEAR(s.uncertainty, row.uncertainty, 1e-8) << row.what;
    EXPECT_GE(s.uncertainty, std::max(s.delay, 0.0) / 2 + row.rootDispersion) << row.what;
  }
}

TEST(SntpSample, TheLeastDelayWinsAndTheLimitWeighsTheUncertainty) {
  EXPECT_FALSE(BestOfBurst({}));
  const SntpSample burst[] = {{-2.4, 0.300, 0.151}, {-2.5, 0.002, 0.002}, {-2.6, 0.150, 0.076}};
  EXPECT_DOUBLE_EQ(BestOfBurst(burst)->clockMinusServer, -2.5);
  struct Row {
    double offset, uncertainty, limit;
    bool beyond;
  };
  const Row rows[] = {
      {-2.5, 0.002, 0.5, true}, {0.6, 0.05, 0.5, true},  {0.6, 0.1, 0.5, false},
      {0.5, 0.0, 0.5, false},   {-0.55, 0.1, 0.5, false}, {0.3, 0.001, 0.5, false},
  };
  for (const Row& row : rows) {
    EXPECT_EQ(OffsetBeyondLimit({row.offset, 0, row.uncertainty}, row.limit), row.beyond)
        << row.offset << " +/- " << row.uncertainty;
  }
}

}  // namespace
}  // namespace halyard
