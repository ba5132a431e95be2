// Months of ticks in minutes: DrawClock a million times with the time moving a
// second per call, then check that memory stayed flat, that warm repaints
// allocated nothing, and that the last face equals a fresh rendering.
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <new>
#include <string>

#include "app/ClockWindowHandler.h"
#include "app/ClockWindowSetup.h"
#include "face/DrawClock.h"
#include "platform/canvas/LabelPicture.h"
#include "backends/offscreen/OffscreenWindow.h"
#include "backends/freetype/FreeTypeTextEngine.h"

// The counting operator new below hands out malloc memory, so free is right.
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"

namespace {
std::atomic<long> g_allocations{0};

long ResidentKilobytes() {
  std::ifstream status("/proc/self/status");
  std::string key;
  long value = 0;
  while (status >> key) {
    if (key == "VmRSS:") {
      status >> value;
      return value;
    }
    status.ignore(1 << 12, '\n');
  }
  return 0;
}
}  // namespace

void* operator new(std::size_t size) {
  g_allocations.fetch_add(1, std::memory_order_relaxed);
  if (void* p = std::malloc(size == 0 ? 1 : size)) return p;
  throw std::bad_alloc();
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }

int main(int argc, char** argv) {
  using namespace halyard;
  const long calls = argc > 1 ? std::atol(argv[1]) : 1'000'000;
  if (calls < 2000) {
    std::fprintf(stderr, "usage: halyard-soak [CALLS >= 2000]\n");
    return 2;
  }
  auto makeText = [] { return std::make_unique<FreeTypeTextEngine>(); };
  OffscreenWindow window(kDefaultDpi, makeText);
  const ClockOptions options = DefaultClockOptions();
  const WindowHandle handle = PrepareClockWindow(window, options);

  char text[16];
  auto timeAt = [&](long second) {
    std::snprintf(text, sizeof text, "%02ld:%02ld:%02ld", (second / 3600) % 24, (second / 60) % 60, second % 60);
    return text;
  };
  long rssAfterWarmUp = 0, allocationsAfterWarmUp = 0;
  for (long i = 0; i < calls; ++i) {
    DrawClock(handle, kClockFaceId, timeAt(i), options);
    if (i == 86'399 || (calls < 86'400 && i == 999)) {  // every second of a day drawn once: warm
      rssAfterWarmUp = ResidentKilobytes();
      allocationsAfterWarmUp = g_allocations.load();
    }
  }
  const long warmAllocations = g_allocations.load() - allocationsAfterWarmUp;
  const long rssAtEnd = ResidentKilobytes();
  const Picture last = window.Compose();

  OffscreenWindow fresh(kDefaultDpi, makeText);
  DrawClock(PrepareClockWindow(fresh, options), kClockFaceId, timeAt(calls - 1), options);
  const bool same = fresh.Compose() == last;

  const double growth = 100.0 * static_cast<double>(rssAtEnd - rssAfterWarmUp) / static_cast<double>(rssAfterWarmUp);
  std::printf("soak: %ld repaints (%.1f days of clock time); RSS %ld kB after warm-up, %ld kB at the end (%+.2f%%); "
              "%ld allocations after warm-up; last face %s a fresh rendering\n",
              calls, static_cast<double>(calls) / 86400.0, rssAfterWarmUp, rssAtEnd, growth, warmAllocations,
              same ? "equals" : "DIFFERS FROM");
  return (growth <= 1.0 && warmAllocations == 0 && same) ? 0 : 1;
}
