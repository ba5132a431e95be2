#include "backends/win32/WinClockWindow.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "app/ClockTooltip.h"
#include "backends/win32/GdiObjectCount.h"
#include "backends/win32/WinClockFixture.h"

namespace halyard {
namespace {

using testing::DistinctColours;
using testing::Pump;
using testing::ScreenPixels;
using testing::UnitsToPixels;
using testing::WindowText;

RECT RectInParent(HWND child) {
  RECT r{};
  GetWindowRect(child, &r);
  MapWindowPoints(nullptr, GetParent(child), reinterpret_cast<POINT*>(&r), 2);
  return r;
}

void ExpectRect(const RECT& actual, const RECT& expected) {
  EXPECT_EQ(actual.left, expected.left);
  EXPECT_EQ(actual.top, expected.top);
  EXPECT_EQ(actual.right, expected.right);
  EXPECT_EQ(actual.bottom, expected.bottom);
}

LOGFONTW FontOf(HWND window) {
  LOGFONTW font{};
  auto handle = reinterpret_cast<HFONT>(SendMessageW(window, WM_GETFONT, 0, 0));
  if (handle) GetObjectW(handle, sizeof font, &font);
  return font;
}

struct ColourAnswer {
  COLORREF text = 0;
  int mode = 0;
  COLORREF back = 0;
  HBRUSH brush = nullptr;
};

// Asks the dialog for colours the way a control does before it paints.
ColourAnswer AskColours(HWND dialog, UINT message, HWND control) {
  HDC dc = CreateCompatibleDC(nullptr);
  ColourAnswer answer;
  answer.brush = reinterpret_cast<HBRUSH>(
      SendMessageW(dialog, message, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(control)));
  answer.text = GetTextColor(dc);
  answer.mode = GetBkMode(dc);
  answer.back = GetBkColor(dc);
  DeleteDC(dc);
  return answer;
}

COLORREF BrushColour(HBRUSH brush) {
  LOGBRUSH info{};
  GetObjectW(brush, sizeof info, &info);
  return info.lbColor;
}

class WinClockWindowTest : public testing::WinClockFixture {};

TEST_F(WinClockWindowTest, HasTheFixedTopmostShapeInDialogUnits) {
  const LONG style = GetWindowLongW(dialog, GWL_STYLE);
  EXPECT_EQ(style & WS_CAPTION, WS_CAPTION);
  EXPECT_TRUE(style & WS_SYSMENU);
  EXPECT_TRUE(style & WS_MINIMIZEBOX);
  EXPECT_FALSE(style & WS_MAXIMIZEBOX);
  EXPECT_FALSE(style & WS_THICKFRAME);
  EXPECT_FALSE(style & WS_VISIBLE) << "created hidden";
  EXPECT_TRUE(GetWindowLongW(dialog, GWL_EXSTYLE) & WS_EX_TOPMOST);
  EXPECT_EQ(WindowText(dialog), "HALYARD");
  EXPECT_STREQ(FontOf(dialog).lfFaceName, L"MS Sans Serif");

  RECT client{};
  GetClientRect(dialog, &client);
  const RECT whole = UnitsToPixels(window->Dpi(), 0, 0, 220, 300);
  EXPECT_EQ(client.right, whole.right);
  EXPECT_EQ(client.bottom, whole.bottom);
  EXPECT_GT(client.bottom, client.right) << "portrait, not 300 x 220";

  ASSERT_NE(face, nullptr);
  ASSERT_NE(label, nullptr);
  ExpectRect(RectInParent(face), UnitsToPixels(window->Dpi(), 0, 0, 220, 250));
  ExpectRect(RectInParent(label), UnitsToPixels(window->Dpi(), 0, 250, 220, 50));
  EXPECT_EQ(static_cast<DWORD>(GetWindowLongW(face, GWL_STYLE)), 0x5001000Du);
  EXPECT_EQ(static_cast<DWORD>(GetWindowLongW(label, GWL_STYLE)), 0x50000201u);
  wchar_t className[32] = {};
  GetClassNameW(label, className, 32);
  EXPECT_EQ(lstrcmpiW(className, L"Static"), 0);

  const DialogUnits units = window->Units();
  EXPECT_EQ(units.ToPixelsX(220), whole.right);
  EXPECT_EQ(units.ToPixelsY(300), whole.bottom);
  const TextExtent faceSize = window->ControlClientSize(kClockFaceId);
  EXPECT_EQ(FaceCanvas().Pixels().Width(), faceSize.width);
  EXPECT_EQ(FaceCanvas().Pixels().Height(), faceSize.height);

  const LOGFONTW labelFont = FontOf(label);
  EXPECT_STREQ(labelFont.lfFaceName, L"Arial");
  EXPECT_EQ(labelFont.lfHeight, FontPixelHeight(20, window->Dpi()));
  EXPECT_EQ(labelFont.lfWeight, FW_BOLD);
  EXPECT_EQ(WindowText(label), "") << "no text before the first repaint";
}

TEST_F(WinClockWindowTest, LabelTextAndColoursFollowTheMinute) {
  clock.Set(12, 15, 0);
  Initialise();
  EXPECT_NE(ClockTimerHandle(), 0u);
  EXPECT_GT(DistinctColours(FaceCanvas().Pixels()), 2u) << "face drawn before showing";
  EXPECT_EQ(WindowText(label), "SILENT 500 kHz CW");
  ColourAnswer answer = AskColours(dialog, WM_CTLCOLORSTATIC, label);
  EXPECT_EQ(answer.text, 0xFFFFFFu);
  EXPECT_EQ(answer.mode, OPAQUE);
  EXPECT_EQ(answer.back, 255u);
  EXPECT_EQ(BrushColour(answer.brush), 255u);

  window->SetHandler(&ClockWindowHandler);
  clock.Set(12, 31, 0);
  SendMessageW(dialog, WM_TIMER, kClockTimerId, 0);
  EXPECT_EQ(WindowText(label), "SILENT 2182 kHz PH");
  EXPECT_EQ(BrushColour(AskColours(dialog, WM_CTLCOLORSTATIC, label).brush), 0xFF901Eu);

  clock.Set(12, 33, 0);
  SendMessageW(dialog, WM_TIMER, kClockTimerId, 0);
  EXPECT_EQ(WindowText(label), DefaultClockOptions().BannerText);
  EXPECT_EQ(AskColours(dialog, WM_CTLCOLORSTATIC, label).back, 0u);

  // The window's own colours: dial colour on the background colour.
  answer = AskColours(dialog, WM_CTLCOLORDLG, dialog);
  EXPECT_EQ(answer.text, 0xFFFFFFu);
  EXPECT_EQ(BrushColour(answer.brush), 0u);
}

// The countdown in the real label, and a period's start with alert=both
// (MessageBeep and FlashWindowEx on the dialog) that leaves the clock running.
TEST_F(WinClockWindowTest, CountdownInTheLabelAndAnAlertAtThePeriodStart) {
  CurrentClockSettings().countdown = true;
  CurrentClockSettings().alert = AlertMode::Both;
  clock.Set(14, 14, 58);
  Initialise();
  EXPECT_EQ(WindowText(label), "500 kHz CW IN 0:02");
  EXPECT_EQ(AskColours(dialog, WM_CTLCOLORSTATIC, label).back, 0u);  // the banner's background
  window->SetHandler(&ClockWindowHandler);
  for (const int second : {59, 60}) {
    clock.Set(14, 14, second);
    SendMessageW(dialog, WM_TIMER, kClockTimerId, 0);
    Pump(dialog);
  }
  EXPECT_EQ(WindowText(label), "SILENT 500 kHz CW");
  clock.Set(14, 18, 0);
  SendMessageW(dialog, WM_TIMER, kClockTimerId, 0);
  Pump(dialog);
  EXPECT_EQ(WindowText(label), "2182 kHz PH IN 12:00");
  EXPECT_TRUE(IsWindow(dialog));
}

// A file with a byte-order mark holds UTF-8, whatever the ANSI code page;
// without the mark the same bytes are code-page text, as they always were.
TEST(WinClockWindowTexts, AMarkedFileShowsItsBannerAsUtf8) {
  const std::string file = "\xEF\xBB\xBF&H000000\n&HFFFFFF\n&HFFFFFF\nLINE\n&H00FF00\n&HFF901E\n&HFFFFFF\nkHz\n\xC3\x85land Radio";
  for (const bool marked : {true, false}) {
    const ClockOptions options = ParseClockOptions(marked ? file : file.substr(3));
    WinClockWindow window;
    ASSERT_EQ(PrepareClockWindow(window, options), &window);
    window.SetControlText(kStatusLabelId, options.BannerText);
    wchar_t text[64] = {};
    GetWindowTextW(GetDlgItem(window.Handle(), kStatusLabelId), text, 64);
    if (marked) {
      EXPECT_STREQ(text, L"\x00C5land Radio");
    } else {
      EXPECT_STRNE(text, L"\x00C5land Radio");
    }
  }
}

TEST_F(WinClockWindowTest, ColourValuesFollowTheControlRules) {
  struct Case {
    std::int32_t text, background;
    COLORREF wantText;
    int wantMode;
    COLORREF wantBack;  // ignored when transparent
    HBRUSH wantBrush;   // null: the window's own solid brush of wantBack
  };
  const COLORREF windowText = GetSysColor(COLOR_WINDOWTEXT);
  const COLORREF face3d = GetSysColor(COLOR_3DFACE);
  const auto hollow = static_cast<HBRUSH>(GetStockObject(HOLLOW_BRUSH));
  const Case cases[] = {
      {0x12ABCDEF, 0x7F00FF00, 0xABCDEF, OPAQUE, 0x00FF00, nullptr},  // low 24 bits
      {-1, -2, windowText, TRANSPARENT, 0, hollow},
      {-7, -1, windowText, OPAQUE, face3d, GetSysColorBrush(COLOR_3DFACE)},
      {0, -3, 0, OPAQUE, face3d, GetSysColorBrush(COLOR_3DFACE)},
      {0, 0, 0, OPAQUE, 0, nullptr},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.text << ", " << c.background);
    ASSERT_TRUE(window->SetControlColors(kStatusLabelId, c.text, c.background));
    const ColourAnswer answer = AskColours(dialog, WM_CTLCOLORSTATIC, label);
    EXPECT_EQ(answer.text, c.wantText);
    EXPECT_EQ(answer.mode, c.wantMode);
    if (c.wantMode == OPAQUE) {
      EXPECT_EQ(answer.back, c.wantBack);
    }
    if (c.wantBrush) {
      EXPECT_EQ(answer.brush, c.wantBrush);
    } else {
      EXPECT_EQ(BrushColour(answer.brush), c.wantBack);
    }
  }
  EXPECT_FALSE(window->SetControlColors(999, 0, 0));
  EXPECT_FALSE(window->SetControlText(999, "x"));
  EXPECT_EQ(window->FindCanvas(999), nullptr);
}

TEST_F(WinClockWindowTest, ANewBackgroundReplacesTheBrushInsteadOfLeakingIt) {
  ASSERT_TRUE(window->SetControlColors(kStatusLabelId, 0xFFFFFF, 255));
  const HBRUSH first = window->ControlColors(kStatusLabelId)->OwnBrush();
  ASSERT_NE(first, nullptr);
  ASSERT_TRUE(window->SetControlColors(kStatusLabelId, 0xFFFFFF, 0xFF901E));
  const HBRUSH second = window->ControlColors(kStatusLabelId)->OwnBrush();
  EXPECT_EQ(GetObjectType(first), 0u) << "the replaced brush was deleted";
  EXPECT_EQ(GetObjectType(second), static_cast<DWORD>(OBJ_BRUSH));
  ASSERT_TRUE(window->SetControlColors(kStatusLabelId, 0xFFFFFF, 0xFF901E));
  EXPECT_EQ(window->ControlColors(kStatusLabelId)->OwnBrush(), second) << "same colour, same brush";

  const std::uint32_t before = CountGdiObjects();
  ASSERT_GT(before, 0u);
  for (int i = 0; i < 2000; ++i) {
    window->SetControlColors(kStatusLabelId, 0xFFFFFF, i % 3 == 0 ? -2 : i % 3 == 1 ? 255 : -1);
    AskColours(dialog, WM_CTLCOLORSTATIC, label);
  }
  window->SetControlColors(kStatusLabelId, 0xFFFFFF, 0xFF901E);
  EXPECT_EQ(CountGdiObjects(), before);
}

TEST_F(WinClockWindowTest, OnlyTheClockTimerRepaints) {
  window->SetHandler(&ClockWindowHandler);
  Initialise();
  const std::string banner = WindowText(label);
  clock.Set(12, 16, 0);
  MarkFace();
  SendMessageW(dialog, WM_TIMER, kClockTimerId + 1, 0);
  EXPECT_TRUE(FaceIsMarked());
  EXPECT_EQ(WindowText(label), banner);

  SendMessageW(dialog, WM_TIMER, kClockTimerId, 0);
  EXPECT_FALSE(FaceIsMarked());
  EXPECT_EQ(WindowText(label), "SILENT 500 kHz CW");
}

TEST_F(WinClockWindowTest, ClockChangesAndRestoringRepaintAtOnce) {
  window->SetHandler(&ClockWindowHandler);
  MarkFace();
  SendMessageW(dialog, WM_TIMECHANGE, 0, 0);
  EXPECT_TRUE(FaceIsMarked()) << "no clock timer yet, so nothing to repaint";

  Initialise();
  MarkFace();
  SendMessageW(dialog, WM_TIMECHANGE, 0, 0);
  EXPECT_FALSE(FaceIsMarked());

  MarkFace();
  SendMessageW(dialog, WM_SIZE, SIZE_RESTORED, 0);
  EXPECT_TRUE(FaceIsMarked()) << "a restore without a minimise is an ordinary size event";
  SendMessageW(dialog, WM_SIZE, SIZE_MINIMIZED, 0);
  EXPECT_TRUE(FaceIsMarked());
  SendMessageW(dialog, WM_SIZE, SIZE_RESTORED, 0);
  EXPECT_FALSE(FaceIsMarked());
}

TEST_F(WinClockWindowTest, ControlsShowTheCanvasAndTheLabelColours) {
  window->SetHandler(&ClockWindowHandler);
  clock.Set(9, 45, 10);
  Initialise();
  window->Show();
  Pump(dialog);
  UpdateWindow(dialog);
  EXPECT_TRUE(ScreenPixels(face) == FaceCanvas().Pixels()) << "WM_DRAWITEM copies the picture";
  const Picture shown = ScreenPixels(label);
  EXPECT_EQ(shown.Get(0, 0), ColorRefToPixel(255)) << "label background from WM_CTLCOLORSTATIC";
  EXPECT_GT(DistinctColours(shown), 1u) << "label text painted";

  // A repaint reaches the screen before DrawClock returns.
  clock.Set(9, 46, 11);
  SendMessageW(dialog, WM_TIMER, kClockTimerId, 0);
  EXPECT_TRUE(ScreenPixels(face) == FaceCanvas().Pixels());
}

TEST_F(WinClockWindowTest, DpiChangeRebuildsTheFaceAndTheLabelFont) {
  window->SetHandler(&ClockWindowHandler);
  Initialise();
  RECT frame{};
  GetWindowRect(dialog, &frame);
  RECT suggested{frame.left, frame.top, frame.left + 2 * (frame.right - frame.left),
                 frame.top + 2 * (frame.bottom - frame.top)};
  SendMessageW(dialog, WM_DPICHANGED, MAKEWPARAM(192, 192), reinterpret_cast<LPARAM>(&suggested));
  Pump(dialog);

  EXPECT_EQ(window->Dpi(), 192);
  EXPECT_EQ(FaceCanvas().Dpi(), 192);
  const TextExtent faceSize = window->ControlClientSize(kClockFaceId);
  EXPECT_EQ(FaceCanvas().Pixels().Width(), faceSize.width);
  EXPECT_EQ(FaceCanvas().Pixels().Height(), faceSize.height);
  EXPECT_GT(DistinctColours(FaceCanvas().Pixels()), 2u) << "repainted after the rebuild";
  EXPECT_EQ(FontOf(label).lfHeight, FontPixelHeight(20, 192));
  ExpectRect(RectInParent(label), UnitsToPixels(192, 0, 250, 220, 50));
  RECT client{};
  GetClientRect(dialog, &client);
  EXPECT_EQ(client.right, 660);  // as the Linux window at 192 dpi
  EXPECT_EQ(client.bottom, 975);
}

// The face's tooltip: the standard control, over the face, asking for its
// lines each time it is about to show.
TEST_F(WinClockWindowTest, TheFaceTooltipAsksForItsLinesWhenItShows) {
  window->SetFaceTooltip([] { return std::vector<std::string>{"System clock: unknown", "Next: a second line"}; });
  HWND tooltip = window->TooltipHandle();
  ASSERT_NE(tooltip, nullptr);
  EXPECT_EQ(SendMessageW(tooltip, TTM_GETTOOLCOUNT, 0, 0), 1);
  TTTOOLINFOW tool{};
  tool.cbSize = TTTOOLINFOW_V2_SIZE;
  ASSERT_TRUE(SendMessageW(tooltip, TTM_ENUMTOOLSW, 0, reinterpret_cast<LPARAM>(&tool)));
  ExpectRect(tool.rect, RectInParent(face));

  NMTTDISPINFOW request{};
  request.hdr.hwndFrom = tooltip;
  request.hdr.idFrom = static_cast<UINT_PTR>(kClockFaceId);
  request.hdr.code = TTN_GETDISPINFOW;
  SendMessageW(dialog, WM_NOTIFY, static_cast<WPARAM>(kClockFaceId), reinterpret_cast<LPARAM>(&request));
  ASSERT_NE(request.lpszText, nullptr);
  EXPECT_EQ(std::wstring(request.lpszText), L"System clock: unknown\r\nNext: a second line");
}

std::string TooltipShown(HWND tooltip) {
  wchar_t text[512] = {};
  GetWindowTextW(tooltip, text, 512);
  char narrow[1024] = {};
  WideCharToMultiByte(CP_ACP, 0, text, -1, narrow, sizeof narrow, nullptr, nullptr);
  return narrow;
}

// The second time in a real window: below the dial of the face drawn before it
// shows, and in the tooltip, whose lines follow the ticks while it is open.
TEST_F(WinClockWindowTest, TheSecondTimeShowsAndTheOpenTooltipFollowsTheTicks) {
  clock.Set(14, 5, 9);
  Initialise();
  const Picture plain = FaceCanvas().Pixels();
  CurrentClockSettings().secondTime = "Nepal Standard Time";
  Initialise();
  const Picture& shown = FaceCanvas().Pixels();
  int changedTop = shown.Height(), changed = 0;
  for (int y = 0; y < shown.Height(); ++y) {
    for (int x = 0; x < shown.Width(); ++x) {
      if (shown.Get(x, y) == plain.Get(x, y)) continue;
      changedTop = std::min(changedTop, y);
      ++changed;
    }
  }
  EXPECT_GT(changed, 50) << "no second legend";
  EXPECT_GT(changedTop, shown.Height() / 2 + shown.Width() / 2 - 10) << "the legend reaches into the dial";

  window->SetHandler(&ClockWindowHandler);
  window->SetFaceTooltip(&CurrentClockTooltipLines);
  window->Show();
  HWND tooltip = window->TooltipHandle();
  ASSERT_NE(tooltip, nullptr);
  RECT area{};
  GetWindowRect(face, &area);
  SetCursorPos((area.left + area.right) / 2, (area.top + area.bottom) / 2);
  POINT over{(area.left + area.right) / 2, (area.top + area.bottom) / 2};
  ScreenToClient(dialog, &over);
  const auto until = [&](auto done) {
    for (int i = 0; i < 300 && !done(); ++i) {
      Pump(dialog);
      Sleep(10);
    }
    return done();
  };
  // The pointer comes to rest on the face; every move starts the wait again.
  SendMessageW(dialog, WM_MOUSEMOVE, 0, MAKELPARAM(over.x, over.y));
  ASSERT_TRUE(until([&] { return IsWindowVisible(tooltip) != FALSE; })) << "the tooltip did not show";
  EXPECT_NE(TooltipShown(tooltip).find("Nepal Standard Time: 19:50:09 +0545 (UTC+05:45)"), std::string::npos)
      << TooltipShown(tooltip);

  clock.Set(14, 5, 10);
  SendMessageW(dialog, WM_TIMER, kClockTimerId, 0);
  EXPECT_TRUE(until([&] { return TooltipShown(tooltip).find("19:50:10 +0545") != std::string::npos; }))
      << "the open tooltip kept its old lines: " << TooltipShown(tooltip);
}

// --- ending the window through the message loop ---

// A loop that fails to end would hang the whole run: end it from outside instead.
void CALLBACK GiveUp(HWND, UINT, UINT_PTR timer, DWORD) {
  KillTimer(nullptr, timer);
  if (HWND dialog = FindWindowW(nullptr, L"HALYARD")) DestroyWindow(dialog);
  ADD_FAILURE() << "the loop did not end by itself";
}

void RunGuarded(WinClockWindow& window, ClockEventHandler handler) {
  const UINT_PTR guard = SetTimer(nullptr, 0, 30000, &GiveUp);
  window.RunEventLoop(handler);
  KillTimer(nullptr, guard);
}

std::vector<std::uint32_t> g_messages;
std::vector<std::uint32_t> g_commands;

std::int32_t RecordingHandler(WindowHandle window, std::uint32_t message, std::uint32_t wParam,
                              std::int32_t lParam) {
  g_messages.push_back(message);
  if (message == kEventCommand) g_commands.push_back(wParam);
  return ClockWindowHandler(window, message, wParam, lParam);
}

bool Saw(const std::vector<std::uint32_t>& seen, std::uint32_t value) {
  return std::find(seen.begin(), seen.end(), value) != seen.end();
}

// Escape reaches the handler as the cancel command through the loop's dialog
// keyboard handling; the close command (close box, Alt+F4) becomes the close
// event, which the default dialog handling of a modeless dialog turns into the
// same cancel command. Either way the window is destroyed and the loop ends.
TEST_F(WinClockWindowTest, EscapeAndTheCloseCommandEndTheLoop) {
  for (const bool escape : {true, false}) {
    SCOPED_TRACE(escape ? "Escape" : "SC_CLOSE");
    if (!escape) {
      window = std::make_unique<WinClockWindow>();
      ASSERT_NE(PrepareClockWindow(*window, CurrentClockOptions()), nullptr);
      dialog = window->Handle();
    }
    g_messages.clear();
    g_commands.clear();
    Initialise();
    window->Show();
    if (escape) {
      PostMessageW(dialog, WM_KEYDOWN, VK_ESCAPE, 0x00010001);
    } else {
      PostMessageW(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
    }
    RunGuarded(*window, &RecordingHandler);
    EXPECT_FALSE(IsWindow(dialog));
    EXPECT_TRUE(Saw(g_commands, IDCANCEL));
    EXPECT_TRUE(Saw(g_messages, kEventClose));
    EXPECT_TRUE(Saw(g_messages, kEventDestroy));
    EXPECT_EQ(window->FindCanvas(kClockFaceId), nullptr) << "the canvas goes with the window";
    window->ReleaseFonts();
    EXPECT_EQ(window->LabelFont(), nullptr);
  }
}

}  // namespace
}  // namespace halyard
