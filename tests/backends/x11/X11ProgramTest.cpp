// The halyard program under the test X server, as a user, a window manager
// and a screenshot tool see it.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <sstream>
#include <optional>
#include <set>
#include <string>
#include <thread>

#include "TestDisplay.h"
#include "backends/freetype/FreeTypeTextEngine.h"
#include "backends/posix/PngFile.h"
#include "platform/canvas/Rasterizer.h"
#include "platform/window/DialogUnits.h"
#include "support/ChildProcess.h"
#include "support/WindowShot.h"

#include <X11/Xlib.h>
#include <X11/keysym.h>

namespace halyard {
namespace {

using testing::Spawn;
using testing::TestDisplay;
using testing::WaitForExit;
using Clock = std::chrono::system_clock;

std::string EnvPath(const char* name) {
  const char* value = std::getenv(name);
  return value != nullptr ? value : "";
}

std::string UtcText(Clock::time_point t) {
  const std::time_t seconds = Clock::to_time_t(t);
  std::tm utc{};
  gmtime_r(&seconds, &utc);
  char text[16];
  std::snprintf(text, sizeof text, "%02d:%02d:%02d", utc.tm_hour, utc.tm_min, utc.tm_sec);
  return text;
}

int MillisecondOfSecond(Clock::time_point t) {
  return static_cast<int>(std::chrono::duration_cast<std::chrono::milliseconds>(t.time_since_epoch()).count() % 1000);
}

std::string FileText(const std::string& path) {
  std::ifstream in(path);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

// Whether a process has a file of that name mapped, such as a library it loaded.
bool Maps(pid_t pid, const std::string& fileName) {
  return FileText("/proc/" + std::to_string(pid) + "/maps").find("/" + fileName) != std::string::npos;
}

std::size_t DistinctColours(const Picture& picture) {
  std::set<std::uint32_t> colours(picture.Data(), picture.Data() + picture.Width() * picture.Height());
  return colours.size();
}

class X11ProgramTest : public ::testing::Test {
 protected:
  void SetUp() override {
    binary_ = EnvPath("HALYARD_BINARY");
    render_ = EnvPath("HALYARD_RENDER");
    if (!testing::X11TestsRequested() || binary_.empty()) GTEST_SKIP() << "needs scripts/x11-tests.sh";
    ASSERT_NE(display_.Get(), nullptr);
    savedResources_ = display_.Resources();
    display_.WatchRoot();
  }
  void TearDown() override {
    if (pid_ > 0) {
      kill(pid_, SIGKILL);
      waitpid(pid_, nullptr, 0);
    }
    if (display_.Get() != nullptr) display_.SetResources(savedResources_);
  }

  // Starts the clock and waits for its window; also checks the first frame on screen.
  unsigned long Start(const std::vector<std::string>& args = {}, const std::string& errPath = "") {
    // The pointer rests in a far corner: a window mapped under it would get
    // an EnterNotify and, after the rest, a tooltip over the compared face.
    Display* display = display_.Get();
    display_.MovePointer(DisplayWidth(display, DefaultScreen(display)) - 1,
                         DisplayHeight(display, DefaultScreen(display)) - 1);
    const auto started = std::chrono::steady_clock::now();
    std::vector<std::string> command{binary_};
    command.insert(command.end(), args.begin(), args.end());
    pid_ = Spawn(command, "", errPath);
    EXPECT_GT(pid_, 0);
    const unsigned long window = display_.WaitForMappedWindow(pid_, 15000);
    if (window == 0) return 0;
    const Picture first = display_.Capture(window);
    const auto mapped = std::chrono::steady_clock::now();
    std::printf("[ info     ] from start to the first mapped window: %lld ms\n",
                static_cast<long long>(std::chrono::duration_cast<std::chrono::milliseconds>(mapped - started).count()));
    // Not blank: the face, its sectors, hands and the label's text are all there.
    EXPECT_GE(DistinctColours(first), 5u) << "the first mapped frame is blank";
    return window;
  }

  int Stop(int seconds = 10) {
    const std::optional<int> status = WaitForExit(pid_, seconds);
    pid_ = -1;
    return status.value_or(-1);
  }

  // What the screen shows equals halyard-render's picture for the second
  // shown. The second is pinned by capturing late in a second (the last tick,
  // at most half a second old, fell in the same second) and checking that
  // the second did not change during the capture; one retry otherwise. On a
  // loaded machine the clock's tick can come later than that: a second
  // capture in the same second shows whether the screen caught up, and only a
  // picture still wrong then fails. A clock set `ahead` (whole seconds) is
  // compared with the render of the time it shows, drawn with `renderArgs`
  // too. Returns the time compared.
  std::string ExpectScreenMatchesRender(unsigned long window, int dpi, std::chrono::seconds ahead = {},
                                        const std::vector<std::string>& renderArgs = {}) {
    if (render_.empty()) {
      [] { GTEST_SKIP() << "HALYARD_RENDER not set"; }();
      return "";
    }
    std::string failure = "the second changed during every capture";
    for (int attempt = 0; attempt < 2; ++attempt) {
      while (MillisecondOfSecond(Clock::now()) < 650 || MillisecondOfSecond(Clock::now()) > 800) {
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
      }
      const auto before = Clock::now();
      const Picture shown = display_.Capture(window);
      std::this_thread::sleep_for(std::chrono::milliseconds(100));
      const Picture later = display_.Capture(window);
      const auto after = Clock::now();
      const std::string time = UtcText(before + ahead);
      if (time != UtcText(after + ahead)) continue;

      const std::string png = ::testing::TempDir() + "halyard-render-" + std::to_string(getpid()) + ".png";
      std::vector<std::string> command{render_, "--time", time, "--dpi", std::to_string(dpi), "-o", png};
      command.insert(command.end(), renderArgs.begin(), renderArgs.end());
      const pid_t renderer = Spawn(command);
      if (WaitForExit(renderer, 30) != 0) {
        ADD_FAILURE() << "halyard-render failed";
        return "";
      }
      Picture expected;
      std::string error;
      if (!ReadPng(png, expected, &error)) {
        ADD_FAILURE() << error;
        return "";
      }
      std::remove(png.c_str());
      if (later == expected) {
        if (!(shown == expected)) std::printf("[ info     ] at %s the screen caught up after a late tick\n", time.c_str());
        return time;
      }

      const auto differing = [&](const Picture& picture) {
        int count = 0;
        for (int y = 0; y < std::min(picture.Height(), expected.Height()); ++y) {
          for (int x = 0; x < std::min(picture.Width(), expected.Width()); ++x) {
            count += picture.Get(x, y) != expected.Get(x, y);
          }
        }
        return std::to_string(count);
      };
      // Whether the window's own picture is wrong or only the screen is stale:
      // the server repaints the window from the picture the clock keeps there.
      XClearArea(display_.Get(), window, 0, 0, 0, 0, False);
      XSync(display_.Get(), False);
      const Picture kept = display_.Capture(window);
      const std::string saved = ::testing::TempDir() + "halyard-screen-" + time + ".png";
      WritePng(saved, later, nullptr);
      failure = "at " + time + " the screen (" + saved + ", " + std::to_string(later.Width()) + "x" +
                std::to_string(later.Height()) + ") differs from the render in " + differing(later) +
                " pixels; the window repainted from the clock's picture differs in " + differing(kept);
    }
    ADD_FAILURE() << failure;
    return "";
  }

  // The WM_HINTS flags of a window; 0 when it has none.
  unsigned long WmHintsFlags(unsigned long window) {
    const auto hints = display_.GetProperty(window, "WM_HINTS");
    return hints && !hints->items.empty() ? hints->items[0] : 0;
  }

  std::string binary_;
  std::string render_;
  pid_t pid_ = -1;
  TestDisplay display_;
  std::string savedResources_;
};

TEST_F(X11ProgramTest, WindowPropertiesScreenAndEscape) {
  display_.SetResources("");  // no Xft.dpi: 96
  const unsigned long window = Start();
  ASSERT_NE(window, 0u);
  // Without a named zone the zone module and its library stay out of the clock.
  EXPECT_FALSE(Maps(pid_, "halyard-zones.so"));
  EXPECT_FALSE(Maps(pid_, "libdate-tz.so.3"));
  auto bytes = [&](const char* name) { return display_.GetProperty(window, name).value_or(testing::TestDisplay::Property{}); };
  auto items = [&](const char* name) { return bytes(name).items; };

  const auto geometry = display_.WindowGeometry(window);
  EXPECT_EQ(geometry.width, 330);
  EXPECT_EQ(geometry.height, 488);
  EXPECT_EQ(bytes("WM_NAME").type, "STRING");
  EXPECT_EQ(bytes("WM_NAME").bytes, "HALYARD");
  EXPECT_EQ(bytes("_NET_WM_NAME").type, "UTF8_STRING");
  EXPECT_EQ(bytes("_NET_WM_NAME").bytes, "HALYARD");
  EXPECT_EQ(bytes("WM_CLASS").bytes, std::string("halyard\0Halyard\0", 16));
  EXPECT_EQ(items("_NET_WM_STATE"), (std::vector<unsigned long>{display_.Intern("_NET_WM_STATE_ABOVE")}));
  EXPECT_EQ(items("_NET_WM_PID"), (std::vector<unsigned long>{static_cast<unsigned long>(pid_)}));
  const auto protocols = items("WM_PROTOCOLS");
  EXPECT_NE(std::find(protocols.begin(), protocols.end(), display_.Intern("WM_DELETE_WINDOW")), protocols.end());

  // WM_SIZE_HINTS: flags, x, y, width, height, min width/height, max width/height, ...
  const auto size = items("WM_NORMAL_HINTS");
  ASSERT_GE(size.size(), 9u);
  constexpr unsigned long kMinSize = 16, kMaxSize = 32;
  EXPECT_EQ(size[0] & (kMinSize | kMaxSize), kMinSize | kMaxSize);
  EXPECT_EQ(std::vector<unsigned long>(size.begin() + 5, size.begin() + 9),
            (std::vector<unsigned long>{330, 488, 330, 488}));

  // Motif functions: minimise allowed, resize and maximise not.
  const auto motif = items("_MOTIF_WM_HINTS");
  ASSERT_EQ(motif.size(), 5u);
  constexpr unsigned long kResize = 2, kMinimise = 8, kMaximise = 16;
  EXPECT_EQ(motif[1] & (kResize | kMinimise | kMaximise), kMinimise);

  const auto icon = items("_NET_WM_ICON");
  std::set<unsigned long> iconSizes;
  for (std::size_t i = 0; i + 2 <= icon.size(); i += 2 + icon[i] * icon[i + 1]) {
    ASSERT_LE(i + 2 + icon[i] * icon[i + 1], icon.size()) << "a truncated icon";
    iconSizes.insert(icon[i]);
  }
  EXPECT_TRUE(iconSizes.count(16) && iconSizes.count(32)) << "the sizes a panel and a switcher use";

  ExpectScreenMatchesRender(window, 96);

  display_.SendKey(window, XK_Escape);
  EXPECT_EQ(Stop(), 0);
}

TEST_F(X11ProgramTest, At144DpiTheWindowScalesAndTheCloseBoxEndsIt) {
  display_.SetResources("Xft.dpi:\t144\n");
  const unsigned long window = Start();
  ASSERT_NE(window, 0u);
  const auto geometry = display_.WindowGeometry(window);
  EXPECT_EQ(geometry.width, 495);
  EXPECT_EQ(geometry.height, 750);
  ExpectScreenMatchesRender(window, 144);

  display_.SendDeleteWindow(window);
  EXPECT_EQ(Stop(), 0);
}

// At each resolution and scale the window has the size of the layout's units
// there; from its pixels, the dial keeps out of the legend's text cell, the
// status text stays inside its line and the window inside the work area; and
// the screen shows what halyard-render draws at that resolution or scale.
TEST_F(X11ProgramTest, AtEveryResolutionAndScaleTheWholeFaceShowsAndTheWindowFits) {
  struct Case {
    int xftDpi;
    const char* scale;  // nullptr: none given
    int layoutDpi, width, height;
  };
  for (const Case& c : {Case{72, nullptr, 72, 275, 375}, Case{120, nullptr, 120, 440, 600},
                        Case{144, nullptr, 144, 495, 750}, Case{192, nullptr, 192, 660, 975},
                        Case{96, "0.75", 72, 275, 375}, Case{96, "1.25", 120, 440, 600},
                        Case{96, "1.5", 144, 495, 750}}) {
    SCOPED_TRACE("Xft.dpi " + std::to_string(c.xftDpi) + (c.scale ? std::string(", scale ") + c.scale : ""));
    display_.SetResources("Xft.dpi:\t" + std::to_string(c.xftDpi) + "\n");
    const std::vector<std::string> scale = c.scale ? std::vector<std::string>{"--scale", c.scale} : std::vector<std::string>{};
    const unsigned long window = Start(scale);
    ASSERT_NE(window, 0u);
    const auto geometry = display_.WindowGeometry(window);
    EXPECT_EQ(geometry.width, c.width);
    EXPECT_EQ(geometry.height, c.height);

    // Between two ticks, so that the picture is a whole one.
    while (MillisecondOfSecond(Clock::now()) < 650) std::this_thread::sleep_for(std::chrono::milliseconds(5));
    const Picture shown = display_.Capture(window);
    FreeTypeTextEngine font;  // the legend's font, measured here: its cell starts 5 rows down
    ASSERT_TRUE(font.SetFont(ClockFontSpec(), c.layoutDpi));
    EXPECT_EQ(testing::WhatCrowdsTheLegend(shown, 5 + font.Metrics().height), "");
    EXPECT_EQ(testing::WhereTheStatusTextIsCut(shown, DialogUnits::ForDpi(c.layoutDpi).ToPixels(kLabelRectUnits)), "");
    Display* display = display_.Get();
    int x = 0, y = 0;
    Window child = 0;
    XTranslateCoordinates(display, window, DefaultRootWindow(display), 0, 0, &x, &y, &child);
    PixelRect work{0, 0, DisplayWidth(display, 0), DisplayHeight(display, 0)};
    if (const auto area = display_.GetProperty(DefaultRootWindow(display), "_NET_WORKAREA"); area && area->items.size() >= 4) {
      const auto& a = area->items;
      work = {static_cast<int>(a[0]), static_cast<int>(a[1]), static_cast<int>(a[0] + a[2]), static_cast<int>(a[1] + a[3])};
    }
    EXPECT_EQ(testing::HowItLeaves({x, y, x + geometry.width, y + geometry.height}, work), "");

    ExpectScreenMatchesRender(window, c.xftDpi, {}, scale);
    display_.SendKey(window, XK_Escape);
    EXPECT_EQ(Stop(), 0);
  }
}

// Scale 2 lays the window out at twice the resolution: drawn afresh at
// 192 dpi, the picture halyard-render makes with the same scale.
TEST_F(X11ProgramTest, Scale2DrawsTheWindowAtTwiceTheResolution) {
  display_.SetResources("");
  const unsigned long window = Start({"--scale", "2"});
  ASSERT_NE(window, 0u);
  const auto geometry = display_.WindowGeometry(window);
  EXPECT_EQ(geometry.width, 660);
  EXPECT_EQ(geometry.height, 975);
  ExpectScreenMatchesRender(window, 96, {}, {"--scale", "2"});
  ExpectScreenMatchesRender(window, 192);  // the same picture as the clock at 192 dpi
  display_.SendKey(window, XK_Escape);
  EXPECT_EQ(Stop(), 0);
}

// Xft.dpi 500 asks for a window of 1705x2550: fit-screen gives the largest that fits.
TEST_F(X11ProgramTest, AWindowTooLargeForTheScreenIsMadeToFit) {
  display_.SetResources("Xft.dpi:\t500\n");
  const unsigned long window = Start();
  ASSERT_NE(window, 0u);
  const auto geometry = display_.WindowGeometry(window);
  std::printf("[ info     ] at Xft.dpi 500: %dx%d at %d,%d\n", geometry.width, geometry.height, geometry.x, geometry.y);
  Display* display = display_.Get();
  EXPECT_TRUE(geometry.x >= 0 && geometry.y >= 0 && geometry.x + geometry.width <= DisplayWidth(display, 0) &&
              geometry.y + geometry.height <= DisplayHeight(display, 0));
  EXPECT_GT(geometry.height, DisplayHeight(display, 0) * 9 / 10) << "the largest that fits";
  display_.SendKey(window, XK_Escape);
  EXPECT_EQ(Stop(), 0);
}

// The face's tooltip: nothing until the pointer rests on the face, then a
// small window below the pointer with the sync line and the silent period; gone when it leaves.
TEST_F(X11ProgramTest, TheTooltipShowsTheSyncLineAfterThePointerRestsOnTheFace) {
  display_.SetResources("");
  display_.MovePointer(0, 0);
  const unsigned long window = Start();
  ASSERT_NE(window, 0u);
  const auto geometry = display_.WindowGeometry(window);
  const int x = geometry.x + 60, y = geometry.y + 200;  // over the dial
  display_.MovePointer(x, y);
  const unsigned long tooltip = display_.WaitForMappedWindow(pid_, 5000);
  ASSERT_NE(tooltip, 0u) << "no tooltip after the pointer rested";
  EXPECT_TRUE(display_.OverrideRedirect(tooltip));
  const auto text = display_.GetProperty(tooltip, "_NET_WM_NAME");
  ASSERT_TRUE(text.has_value());
  EXPECT_EQ(text->bytes.rfind("System clock: ", 0), 0u) << text->bytes;
  const std::size_t period = text->bytes.find('\n') + 1;  // then the silent period, in force or next
  EXPECT_TRUE(text->bytes.compare(period, 13, "Next: SILENT ") == 0 || text->bytes.compare(period, 7, "SILENT ") == 0)
      << text->bytes;
  const auto where = display_.WindowGeometry(tooltip);
  EXPECT_EQ(where.x, x);
  EXPECT_GT(where.y, y) << "below the pointer, not under it";
  const Picture shown = display_.Capture(tooltip);
  EXPECT_GE(DistinctColours(shown), 3u) << "paper, edge and text";
  WritePng(::testing::TempDir() + "halyard-tooltip.png", shown, nullptr);

  display_.MovePointer(0, 0);  // off the clock
  EXPECT_TRUE(display_.WaitForDestroyedWindow(tooltip, 5000)) << "the tooltip stayed after the pointer left";
  display_.SendKey(window, XK_Escape);
  EXPECT_EQ(Stop(), 0);
}

// The second time of the system's zone, under TZ=Europe/Berlin: the screen
// shows what halyard-render draws with the same setting, and the tooltip's
// line for it follows the ticks while the tooltip is open.
TEST_F(X11ProgramTest, TheSecondTimeShowsAsRenderedAndTheOpenTooltipStaysCurrent) {
  display_.SetResources("");
  // The clock and halyard-render inherit TZ; it is put back when the test ends.
  struct TzGuard {
    std::optional<std::string> saved = std::getenv("TZ") ? std::optional<std::string>(std::getenv("TZ")) : std::nullopt;
    ~TzGuard() { saved ? setenv("TZ", saved->c_str(), 1) : unsetenv("TZ"); }
  } tz;
  setenv("TZ", "Europe/Berlin", 1);
  const unsigned long window = Start({"--second-time", "local"});
  ASSERT_NE(window, 0u);
  EXPECT_FALSE(Maps(pid_, "halyard-zones.so")) << "the system's zone needs no zone module";
  ExpectScreenMatchesRender(window, 96, {}, {"--second-time", "local"});

  const auto geometry = display_.WindowGeometry(window);
  display_.MovePointer(geometry.x + 60, geometry.y + 200);  // over the dial
  const unsigned long tooltip = display_.WaitForMappedWindow(pid_, 5000);
  ASSERT_NE(tooltip, 0u) << "no tooltip after the pointer rested";
  const auto lastLine = [&] {
    const auto text = display_.GetProperty(tooltip, "_NET_WM_NAME");
    return text ? text->bytes.substr(text->bytes.rfind('\n') + 1) : std::string();
  };
  const std::string first = lastLine();
  const bool winter = first.size() == 31 && first.compare(15, 16, " CET (UTC+01:00)") == 0;
  const bool summer = first.size() == 32 && first.compare(15, 17, " CEST (UTC+02:00)") == 0;
  EXPECT_TRUE(first.rfind("Local: ", 0) == 0 && (winter || summer)) << first;
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(3);
  while (lastLine() == first && std::chrono::steady_clock::now() < deadline) {
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  EXPECT_NE(lastLine(), first) << "the open tooltip kept the time it opened with";
  display_.SendKey(window, XK_Escape);
  EXPECT_EQ(Stop(), 0);
}

// A named zone: the clock loads the zone module, with the shared C++ runtime
// beside its own, and shows what halyard-render draws.
TEST_F(X11ProgramTest, ANamedZoneLoadsTheZoneModuleAndShowsAsRendered) {
  display_.SetResources("");
  const unsigned long window = Start({"--second-time", "Asia/Kathmandu"});
  ASSERT_NE(window, 0u);
  EXPECT_TRUE(Maps(pid_, "halyard-zones.so"));
  ExpectScreenMatchesRender(window, 96, {}, {"--second-time", "Asia/Kathmandu"});
  display_.SendKey(window, XK_Escape);
  EXPECT_EQ(Stop(), 0);
}

// The test build of the clock, set a few seconds before 14:15 UTC with the
// countdown on and alert=flash: the status line counts down as halyard-render
// draws it, and when 14:15:00 shows the window asks for attention (the
// urgency hint) until it gets the focus.
TEST_F(X11ProgramTest, CountdownShowsAndTheAlertFlagsThePeriodStart) {
  const std::string testClock = EnvPath("HALYARD_TEST_CLOCK_BINARY");
  if (testClock.empty()) GTEST_SKIP() << "HALYARD_TEST_CLOCK_BINARY not set";
  using namespace std::chrono;
  display_.SetResources("");
  const auto now = floor<seconds>(Clock::now());
  const seconds ahead = floor<days>(now) + hours{14} + minutes{14} + seconds{48} - now;
  setenv("HALYARD_TEST_CLOCK_OFFSET", std::to_string(ahead.count()).c_str(), 1);
  binary_ = testClock;
  const unsigned long window = Start({"--countdown=on", "--alert=flash"});
  unsetenv("HALYARD_TEST_CLOCK_OFFSET");
  ASSERT_NE(window, 0u);
  constexpr unsigned long kUrgency = 1ul << 8;  // XUrgencyHint
  EXPECT_EQ(WmHintsFlags(window) & kUrgency, 0u) << "urgent before the period";

  const std::string compared = ExpectScreenMatchesRender(window, 96, ahead, {"--countdown"});
  EXPECT_TRUE(compared >= "14:14:48" && compared < "14:15:00") << "compared at " << compared << ", not before the period";

  while (UtcText(Clock::now() + ahead) < "14:15:01") std::this_thread::sleep_for(milliseconds(50));
  const auto deadline = steady_clock::now() + seconds{3};
  while ((WmHintsFlags(window) & kUrgency) == 0 && steady_clock::now() < deadline) {
    std::this_thread::sleep_for(milliseconds(20));
  }
  EXPECT_NE(WmHintsFlags(window) & kUrgency, 0u) << "no urgency hint at " << UtcText(Clock::now() + ahead);

  // The user activates the window: the request goes.
  XSetInputFocus(display_.Get(), window, RevertToPointerRoot, CurrentTime);
  XFlush(display_.Get());
  const auto focusDeadline = steady_clock::now() + seconds{3};
  while ((WmHintsFlags(window) & kUrgency) != 0 && steady_clock::now() < focusDeadline) {
    std::this_thread::sleep_for(milliseconds(20));
  }
  EXPECT_EQ(WmHintsFlags(window) & kUrgency, 0u) << "still urgent after the focus came";
  display_.SendKey(window, XK_Escape);
  EXPECT_EQ(Stop(), 0);
}

// The repaints of a running clock, each drawing and sending only what
// changed, through an hour's and a minute's change and a whole sweep of the
// second hand over both hands, the sectors and every mark: every second the
// screen shows what halyard-render draws. Midway the tooltip opens over the
// face and closes again, and the face it uncovered comes back whole.
TEST_F(X11ProgramTest, EverySecondOfAMinuteAndMoreShowsAsRendered) {
  const std::string testClock = EnvPath("HALYARD_TEST_CLOCK_BINARY");
  if (testClock.empty()) GTEST_SKIP() << "HALYARD_TEST_CLOCK_BINARY not set";
  using namespace std::chrono;
  display_.SetResources("");
  const auto now = floor<seconds>(Clock::now());
  const seconds ahead = ceil<hours>(now + seconds{10}) - seconds{8} - now;  // HH:59:52 now
  setenv("HALYARD_TEST_CLOCK_OFFSET", std::to_string(ahead.count()).c_str(), 1);
  binary_ = testClock;
  const unsigned long window = Start();
  unsetenv("HALYARD_TEST_CLOCK_OFFSET");
  ASSERT_NE(window, 0u);
  const auto end = now + ahead + seconds{8 + 62};  // HH+1:01:02
  bool tooltipShown = false;
  int compared = 0;
  while (Clock::now() + ahead < end && !HasFailure()) {
    if (!tooltipShown && Clock::now() + ahead > end - seconds{35}) {
      const auto geometry = display_.WindowGeometry(window);
      display_.MovePointer(geometry.x + 60, geometry.y + 200);  // over the dial
      const unsigned long tooltip = display_.WaitForMappedWindow(pid_, 5000);
      ASSERT_NE(tooltip, 0u) << "no tooltip after the pointer rested";
      display_.MovePointer(DisplayWidth(display_.Get(), 0) - 1, DisplayHeight(display_.Get(), 0) - 1);
      ASSERT_TRUE(display_.WaitForDestroyedWindow(tooltip, 5000));
      tooltipShown = true;
    }
    compared += !ExpectScreenMatchesRender(window, 96, ahead).empty();
  }
  EXPECT_GE(compared, 55) << "seconds compared";
  display_.SendKey(window, XK_Escape);
  EXPECT_EQ(Stop(), 0);
}

TEST_F(X11ProgramTest, TerminationSignalsEndTheClockWithStatusZero) {
  for (const int signal : {SIGTERM, SIGINT}) {
    ASSERT_NE(Start(), 0u);
    kill(pid_, signal);
    EXPECT_EQ(Stop(), 0) << "signal " << signal;
  }
}

TEST_F(X11ProgramTest, HelpAndVersionPrintAndEndWithoutAWindow) {
  const std::string out = ::testing::TempDir() + "halyard-out-" + std::to_string(getpid());
  struct Case {
    const char* argument;
    const char* start;  // what the output starts with
  };
  for (const Case& c : {Case{"--help", "usage: halyard "}, Case{"--version", "halyard 1."}}) {
    const pid_t pid = Spawn({binary_, c.argument}, out);
    ASSERT_EQ(WaitForExit(pid, 10), 0) << c.argument;
    const std::string printed = FileText(out);
    EXPECT_TRUE(printed.starts_with(c.start)) << c.argument << ": " << printed;
  }
  std::remove(out.c_str());
}

// Without an X server the clock says so in one line on stderr and ends with status 1.
TEST_F(X11ProgramTest, WithoutADisplayTheClockSaysSoInOneLineAndEndsWithStatusOne) {
  const std::string err = ::testing::TempDir() + "halyard-no-display-" + std::to_string(getpid());
  const std::string display = EnvPath("DISPLAY");
  for (const char* value : {static_cast<const char*>(nullptr), ":4242"}) {
    if (value != nullptr) setenv("DISPLAY", value, 1); else unsetenv("DISPLAY");
    const pid_t pid = Spawn({binary_}, "", err);
    setenv("DISPLAY", display.c_str(), 1);
    EXPECT_EQ(WaitForExit(pid, 10), 1) << (value ? value : "no DISPLAY");
    const std::string said = FileText(err);
    if (value != nullptr) {
      EXPECT_EQ(said, "halyard: cannot open display ':4242'\n");
    } else {
      EXPECT_TRUE(!said.empty() && said.find('\n') == said.size() - 1) << said;
    }
  }
  std::remove(err.c_str());
}

// The X server goes away under the running clock (a server of its own, which
// scripts/x11-tests.sh starts for this): the clock ends with status 1.
TEST_F(X11ProgramTest, WhenItsServerGoesAwayTheClockEndsWithStatusOne) {
  const std::string doomed = EnvPath("HALYARD_X11_DOOMED_DISPLAY");
  const pid_t server = std::atoi(EnvPath("HALYARD_X11_DOOMED_PID").c_str());
  if (doomed.empty() || server <= 0) GTEST_SKIP() << "needs a server of its own from scripts/x11-tests.sh";
  const std::string display = EnvPath("DISPLAY");
  setenv("DISPLAY", doomed.c_str(), 1);
  pid_ = Spawn({binary_}, "", "/dev/null");
  setenv("DISPLAY", display.c_str(), 1);
  std::this_thread::sleep_for(std::chrono::seconds(1));
  kill(server, SIGTERM);
  EXPECT_EQ(Stop(5), 1);
}

// On an 8-bit palette screen the clock takes a TrueColor visual of its own and
// shows the face, never an all-black window.
TEST_F(X11ProgramTest, OnAPaletteScreenTheWindowIsTrueColourAndShowsTheFace) {
  const std::string palette = EnvPath("HALYARD_X11_PALETTE_DISPLAY");
  if (palette.empty()) GTEST_SKIP() << "needs the 8-bit server of scripts/x11-tests.sh";
  const std::string display = EnvPath("DISPLAY");
  setenv("DISPLAY", palette.c_str(), 1);
  TestDisplay screen;
  ASSERT_NE(screen.Get(), nullptr);
  screen.WatchRoot();
  pid_ = Spawn({binary_}, "", "/dev/null");
  setenv("DISPLAY", display.c_str(), 1);
  const unsigned long window = screen.WaitForMappedWindow(pid_, 15000);
  ASSERT_NE(window, 0u);
  XWindowAttributes attributes{};
  XGetWindowAttributes(screen.Get(), window, &attributes);
  EXPECT_EQ(attributes.visual->c_class, TrueColor);
  std::this_thread::sleep_for(std::chrono::milliseconds(500));
  EXPECT_GE(DistinctColours(screen.Capture(window)), 4u);
  kill(pid_, SIGTERM);
  EXPECT_EQ(Stop(), 0);
}

TEST_F(X11ProgramTest, UnknownArgumentsAndAnUnreadableFileAreNamedAndTheClockStarts) {
  const std::string dir = ::testing::TempDir() + "halyard-args-" + std::to_string(getpid());
  const std::string fifo = dir + "-fifo";  // exists, but is not a file the clock reads
  const std::string err = dir + "-err";
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  display_.SetResources("");  // no Xft.dpi: 96
  const unsigned long window = Start({"--bogus", "stray", "--options", fifo, "--scale=9"}, err);
  ASSERT_NE(window, 0u) << "the window must appear whatever the arguments";
  ExpectScreenMatchesRender(window, 96);
  display_.SendKey(window, XK_Escape);
  EXPECT_EQ(Stop(), 0);
  // Each problem is one line of its own; the platform may add lines of its own (a font fallback).
  const std::string said = FileText(err);
  for (const std::string& line : std::vector<std::string>{"halyard: unknown argument '--bogus': ignored\n",
                                  "halyard: unknown argument 'stray': ignored\n",
                                  "halyard: cannot read " + fifo + ": using the defaults\n",
                                  "halyard: --scale=9: bad value '9' for scale (expected 0.5 to 4): using the default 1\n"}) {
    const std::size_t at = said.find(line);
    EXPECT_TRUE(at != std::string::npos && (at == 0 || said[at - 1] == '\n') && said.find(line, at + 1) == std::string::npos)
        << "once on stderr: " << line << "stderr was:\n" << said;
  }
  std::remove(fifo.c_str());
  std::remove(err.c_str());
}

// Under a window manager (openbox, started by scripts/x11-tests.sh), which
// frames the window and places it by its hints.
class X11WindowManagerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    binary_ = EnvPath("HALYARD_BINARY");
    if (!testing::X11TestsRequested() || binary_.empty() || EnvPath("HALYARD_X11_WM") != "1") {
      GTEST_SKIP() << "needs scripts/x11-tests.sh and a window manager";
    }
    ASSERT_NE(display_.Get(), nullptr);
    Display* display = display_.Get();
    screen_ = {DisplayWidth(display, DefaultScreen(display)), DisplayHeight(display, DefaultScreen(display))};
    state_ = ::testing::TempDir() + "halyard-state-" + std::to_string(getpid());
    setenv("XDG_STATE_HOME", state_.c_str(), 1);
    display_.SetResources("");
  }
  void TearDown() override {
    if (pid_ > 0) {
      kill(pid_, SIGKILL);
      waitpid(pid_, nullptr, 0);
    }
    std::remove((state_ + "/halyard/position").c_str());
  }

  // Starts the clock; its window once the window manager shows it, or 0.
  unsigned long Start(const std::vector<std::string>& args, const std::string& errPath = "") {
    std::vector<std::string> command{binary_};
    command.insert(command.end(), args.begin(), args.end());
    pid_ = Spawn(command, "", errPath);
    const unsigned long window = display_.WaitForClient(pid_, 15000);
    if (window != 0) std::this_thread::sleep_for(std::chrono::milliseconds(300));  // placed and drawn
    return window;
  }

  int Stop(unsigned long window) {
    display_.SendKey(window, XK_Escape);
    const std::optional<int> status = WaitForExit(pid_, 10);
    pid_ = -1;
    return status.value_or(-1);
  }

  // The window with its frame, on the root window: left, top, right, bottom.
  PixelRect Frame(unsigned long window) const {
    int x = 0, y = 0;
    Window child = 0;
    XTranslateCoordinates(display_.Get(), window, DefaultRootWindow(display_.Get()), 0, 0, &x, &y, &child);
    const auto size = display_.WindowGeometry(window);
    const auto extents = display_.GetProperty(window, "_NET_FRAME_EXTENTS");
    std::vector<unsigned long> e = extents ? extents->items : std::vector<unsigned long>{};
    e.resize(4);
    return {x - static_cast<int>(e[0]), y - static_cast<int>(e[2]), x + size.width + static_cast<int>(e[1]),
            y + size.height + static_cast<int>(e[3])};
  }

  std::string SavedPosition() const { return FileText(state_ + "/halyard/position"); }

  std::string binary_;
  std::string state_;
  pid_t pid_ = -1;
  TestDisplay display_;
  TextExtent screen_{};
};

TEST_F(X11WindowManagerTest, GeometryPutsTheFrameWhereAsked) {
  if (screen_.height < 1000) GTEST_SKIP() << "for a screen of 1000 rows or more";
  unsigned long window = Start({"--geometry", "-0-0"});
  ASSERT_NE(window, 0u);
  PixelRect frame = Frame(window);
  std::printf("[ info     ] -0-0 on %dx%d: frame %d,%d-%d,%d\n", screen_.width, screen_.height, frame.left, frame.top,
              frame.right, frame.bottom);
  EXPECT_EQ(frame.right, screen_.width);
  EXPECT_EQ(frame.bottom, screen_.height);
  EXPECT_EQ(Stop(window), 0);

  window = Start({"-geometry", "+10+20"});
  ASSERT_NE(window, 0u);
  frame = Frame(window);
  std::printf("[ info     ] +10+20: frame %d,%d-%d,%d\n", frame.left, frame.top, frame.right, frame.bottom);
  EXPECT_EQ(frame.left, 10);
  EXPECT_EQ(frame.top, 20);
  EXPECT_EQ(Stop(window), 0);
}

TEST_F(X11WindowManagerTest, ARememberedPositionSurvivesARestartAndComesBackOnScreen) {
  if (screen_.height < 1000) GTEST_SKIP() << "for a screen of 1000 rows or more";
  unsigned long window = Start({"--remember-position=on"});
  ASSERT_NE(window, 0u);
  // As a user's drag ends: the window manager moves the frame and tells the client.
  XMoveWindow(display_.Get(), window, 200, 150);
  XFlush(display_.Get());
  PixelRect moved = Frame(window);
  for (int i = 0; i < 250 && !(moved.left == 200 && moved.top == 150); ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    moved = Frame(window);
  }
  EXPECT_EQ(Stop(window), 0);
  EXPECT_EQ(SavedPosition(), std::to_string(moved.left) + " " + std::to_string(moved.top) + "\n");

  window = Start({"--remember-position", "on"});
  ASSERT_NE(window, 0u);
  const PixelRect restored = Frame(window);
  std::printf("[ info     ] moved to %d,%d; after a restart %d,%d\n", moved.left, moved.top, restored.left, restored.top);
  EXPECT_EQ(restored, moved);
  EXPECT_EQ(Stop(window), 0);

  // A position left on a monitor that is gone: the window comes back whole.
  std::ofstream(state_ + "/halyard/position") << "5000 5000\n";
  window = Start({"--remember-position=on"});
  ASSERT_NE(window, 0u);
  const PixelRect back = Frame(window);
  std::printf("[ info     ] saved at 5000,5000 on %dx%d: frame %d,%d-%d,%d\n", screen_.width, screen_.height, back.left,
              back.top, back.right, back.bottom);
  EXPECT_TRUE(back.left >= 0 && back.top >= 0 && back.right <= screen_.width && back.bottom <= screen_.height);
  EXPECT_EQ(Stop(window), 0);
}

TEST_F(X11WindowManagerTest, OnASmallScreenTheWindowShrinksToFit) {
  if (screen_.height >= 488) GTEST_SKIP() << "for a screen lower than the window";
  const std::string err = state_ + "-err";
  const unsigned long window = Start({}, err);
  ASSERT_NE(window, 0u);
  const PixelRect frame = Frame(window);
  const auto client = display_.WindowGeometry(window);
  std::printf("[ info     ] on %dx%d: window %dx%d, frame %d,%d-%d,%d\n", screen_.width, screen_.height, client.width,
              client.height, frame.left, frame.top, frame.right, frame.bottom);
  EXPECT_TRUE(frame.left >= 0 && frame.top >= 0 && frame.right <= screen_.width && frame.bottom <= screen_.height);
  // The status line, the window's last sixth, shows its text.
  const Picture shown = display_.Capture(window);
  std::set<std::uint32_t> colours;
  for (int y = shown.Height() * 5 / 6; y < shown.Height(); ++y) {
    for (int x = 0; x < shown.Width(); ++x) colours.insert(shown.Get(x, y));
  }
  EXPECT_GE(colours.size(), 2u) << "no status line";
  EXPECT_EQ(Stop(window), 0);
  const std::string said = FileText(err);
  EXPECT_NE(said.find("does not fit the"), std::string::npos) << said;
  // One line of the clock's own (a sanitizer may add its report).
  std::size_t lines = 0;
  for (std::size_t at = said.find("halyard: "); at != std::string::npos; at = said.find("halyard: ", at + 1)) ++lines;
  EXPECT_EQ(lines, 1u) << said;
  std::remove(err.c_str());
}

}  // namespace
}  // namespace halyard
