// What a repaint costs, as ratios to the memory-bound floor: clearing the
// picture and copying it once, which every repaint must do anyway.
#include <benchmark/benchmark.h>

// The counting operator new below hands out malloc memory, so free is right.
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <new>
#include <vector>

#include "app/ClockWindowHandler.h"
#include "app/ClockWindowSetup.h"
#include "face/DrawClock.h"
#include "platform/canvas/LabelPicture.h"
#include "platform/time/TimeSource.h"
#include "backends/offscreen/OffscreenWindow.h"
#include "backends/freetype/FreeTypeTextEngine.h"
#include "backends/soft/SoftRasterizer.h"

namespace {
std::atomic<long> g_allocations{0};
}

void* operator new(std::size_t size) {
  g_allocations.fetch_add(1, std::memory_order_relaxed);
  if (void* p = std::malloc(size == 0 ? 1 : size)) return p;
  throw std::bad_alloc();
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }

namespace halyard {
namespace {

constexpr std::int32_t kWidth = 330;
constexpr std::int32_t kHeight = 406;

std::unique_ptr<TextEngine> MakeText() { return std::make_unique<FreeTypeTextEngine>(); }

// The floor: fill the picture and copy it to a screen-sized buffer.
void BM_ClearAndCopy(benchmark::State& state) {
  SoftRasterizer raster(kWidth, kHeight);
  Picture screen(kWidth, kHeight);
  for (auto _ : state) {
    raster.FillAll(0x000000);
    screen.Blit(raster.Pixels(), 0, 0);
    benchmark::DoNotOptimize(screen.Data());
  }
}
BENCHMARK(BM_ClearAndCopy);

// The floor for a whole repaint: the window's client area, face and label.
void BM_ClearAndCopyWindow(benchmark::State& state) {
  SoftRasterizer raster(kWidth, 488);
  Picture screen(kWidth, 488);
  for (auto _ : state) {
    raster.FillAll(0x000000);
    screen.Blit(raster.Pixels(), 0, 0);
    benchmark::DoNotOptimize(screen.Data());
  }
}
BENCHMARK(BM_ClearAndCopyWindow);

// A face-like scene straight on the rasterizer.
void BM_FaceLikeScene(benchmark::State& state) {
  FreeTypeTextEngine text;
  SoftRasterizer raster(kWidth, kHeight, &text);
  raster.SetFont(ClockFontSpec(), kDefaultDpi);
  Picture screen(kWidth, kHeight);
  const PixelPoint pie[] = {{165, 203}, {165, 52}, {181, 53}, {196, 57}, {212, 63}};
  auto scene = [&] {
    raster.FillAll(0x000000);
    raster.DrawText({78, 5}, "14:05:09 UTC", 0xFFFFFF, 0x000000, {78, 5, kWidth, 36});
    for (int i = 0; i < 60; ++i) {
      const int x = 165 + static_cast<int>(155 * std::cos(i * 6 * 3.14159265 / 180));
      const int y = 203 + static_cast<int>(155 * std::sin(i * 6 * 3.14159265 / 180));
      const int s = i % 5 == 0 ? 3 : 1;
      raster.RoundBox({x, y, x + s, y + s}, 0, 0, 3, 0xFFFFFF, std::nullopt);
    }
    for (int k = 0; k < 4; ++k) raster.Polygon(pie, 1, 0xFF901E, 0xFF901E, FillRule::Winding);
    raster.Line({165, 203}, {250, 120}, 8, 0xFFFFFF);
    raster.Line({165, 203}, {80, 90}, 5, 0xFFFFFF);
    raster.Line({165, 203}, {300, 260}, 2, 0xFFFFFF);
    raster.Ellipse({317, 200, 323, 206}, 5, 0x00FF00, std::nullopt);
    raster.Ellipse({157, 195, 173, 211}, 3, 0xFFFFFF, 0xFFFFFF);
    raster.Ellipse({163, 201, 167, 205}, 1, 0x808080, 0x808080);
    screen.Blit(raster.Pixels(), 0, 0);
  };
  scene();
  const long before = g_allocations.load();
  for (auto _ : state) {
    scene();
    benchmark::DoNotOptimize(screen.Data());
  }
  state.counters["allocs_per_repaint"] =
      static_cast<double>(g_allocations.load() - before) / static_cast<double>(state.iterations());
}
BENCHMARK(BM_FaceLikeScene);

// The whole repaint: DrawClock with the status line, then composing the window.
void BM_DrawClockWithLabel(benchmark::State& state) {
  OffscreenWindow window(kDefaultDpi, MakeText);
  const ClockOptions options = DefaultClockOptions();
  const WindowHandle handle = PrepareClockWindow(window, options);
  Picture screen(window.ClientSize().width, window.ClientSize().height);
  auto labelText = MakeText();
  labelText->SetFont(ClockFontSpec(), kDefaultDpi);
  int second = 0;
  char text[16];
  auto repaint = [&] {
    std::snprintf(text, sizeof text, "14:%02d:%02d", (second / 60) % 60, second % 60);
    ++second;
    DrawClock(handle, kClockFaceId, text, options);
    screen.Blit(*window.FacePicture(), 0, 0);
    PaintLabel(screen, window.LabelRect(), labelText.get(), window.LabelText(),
               ResolveLabelColors(window.LabelTextColor(), window.LabelBackgroundColor(), SystemColors{}));
  };
  for (int i = 0; i < 3600; ++i) repaint();  // warm every glyph and label text
  const long before = g_allocations.load();
  for (auto _ : state) {
    repaint();
    benchmark::DoNotOptimize(screen.Data());
  }
  state.counters["allocs_per_repaint"] =
      static_cast<double>(g_allocations.load() - before) / static_cast<double>(state.iterations());
}
BENCHMARK(BM_DrawClockWithLabel);

// A buffer larger than the caches: touching it between iterations leaves the
// face's memory cold, as after the half-second sleep between real ticks.
void EvictCaches() {
  static std::vector<std::uint8_t> flood(64u << 20);
  for (std::size_t i = 0; i < flood.size(); i += 64) flood[i] = static_cast<std::uint8_t>(flood[i] + 1);
  benchmark::DoNotOptimize(flood.data());
}

// The floor a tick is measured against: one copy of the face.
void BM_CopyFace(benchmark::State& state) {
  const bool cold = state.range(0) != 0;
  Picture face(kWidth, kHeight, 0x123456);
  Picture screen(kWidth, kHeight);
  for (auto _ : state) {
    if (cold) {
      state.PauseTiming();
      EvictCaches();
      state.ResumeTiming();
    }
    screen.Blit(face, 0, 0);
    benchmark::DoNotOptimize(screen.Data());
  }
}
BENCHMARK(BM_CopyFace)->ArgName("cold")->Arg(0)->Arg(1);

// A clock the benchmark steps: the handler reads it as it reads the system's.
class SteppedClock final : public SystemClock {
 public:
  ClockReading Read() override { return {now, std::chrono::seconds{0}}; }
  std::chrono::sys_time<std::chrono::milliseconds> now{};
};

// A real tick: the handler's timer event (reading the clock, the face's
// repaint, the silent-period alert), then the areas the face changed copied
// to a screen-sized picture as a window would send them. At x.0 a new second
// shows; at x.5 the same second shows again and nothing changes.
void BM_Tick(benchmark::State& state) {
  const bool halfSecond = state.range(0) != 0;
  const bool cold = state.range(1) != 0;
  OffscreenWindow window(kDefaultDpi, MakeText);
  CurrentClockOptions() = DefaultClockOptions();
  const WindowHandle handle = PrepareClockWindow(window, CurrentClockOptions());
  Canvas& face = *window.FindCanvas(kClockFaceId);
  Picture screen(kWidth, kHeight);
  SteppedClock clock;
  clock.now = std::chrono::sys_days{std::chrono::year{2026} / 3 / 14} + std::chrono::hours{14};
  SetHandlerClock(&clock);
  ClockWindowHandler(handle, kEventInitialise, 0, 0);
  std::int64_t changedPixels = 0;
  std::int64_t areas = 0;
  auto tick = [&] {
    clock.now += std::chrono::milliseconds{halfSecond ? 0 : 1000};
    ClockWindowHandler(handle, kEventTimer, kClockTimerId, 0);
    if (halfSecond) return;  // the same second again: nothing to send
    areas += static_cast<std::int64_t>(face.LastRedrawAreas().size());
    for (const PixelRect& area : face.LastRedrawAreas()) {
      const auto count = static_cast<std::size_t>(area.right - area.left);
      changedPixels += static_cast<std::int64_t>(count) * (area.bottom - area.top);
      for (std::int32_t y = area.top; y < area.bottom; ++y) {
        std::copy_n(face.Pixels().Row(y) + area.left, count, screen.Row(y) + area.left);
      }
    }
  };
  for (int i = 0; i < 3600; ++i) tick();  // warm every glyph and buffer
  const long before = g_allocations.load();
  changedPixels = 0;
  areas = 0;
  for (auto _ : state) {
    if (cold) {
      state.PauseTiming();
      EvictCaches();
      state.ResumeTiming();
    }
    tick();
    benchmark::DoNotOptimize(screen.Data());
  }
  SetHandlerClock(nullptr);
  state.counters["allocs_per_tick"] =
      static_cast<double>(g_allocations.load() - before) / static_cast<double>(state.iterations());
  state.counters["areas_per_tick"] = static_cast<double>(areas) / static_cast<double>(state.iterations());
  // The share of the face redrawn and sent per tick.
  state.counters["changed_share"] = static_cast<double>(changedPixels) /
                                    (static_cast<double>(state.iterations()) * kWidth * kHeight);
}
BENCHMARK(BM_Tick)->ArgNames({"half", "cold"})->ArgsProduct({{0, 1}, {0}});
// Cold, a fixed count: evicting the caches takes far longer than the tick.
BENCHMARK(BM_Tick)->ArgNames({"half", "cold"})->ArgsProduct({{0, 1}, {1}})->Iterations(400);

// Reading the platform clock, as every tick does twice: for the time it shows
// and for when the next tick falls.
void BM_ClockRead(benchmark::State& state) {
  const bool cold = state.range(0) != 0;
  SystemClock& clock = PlatformClock();
  for (auto _ : state) {
    if (cold) {
      state.PauseTiming();
      EvictCaches();
      state.ResumeTiming();
    }
    benchmark::DoNotOptimize(clock.Read());
  }
}
BENCHMARK(BM_ClockRead)->ArgName("cold")->Arg(0)->Arg(1);

}  // namespace
}  // namespace halyard

BENCHMARK_MAIN();
