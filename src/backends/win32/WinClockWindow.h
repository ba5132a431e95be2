// The clock's window on Windows: a modeless dialog from an in-memory template,
// with an owner-drawn face and a static text label, driven by the portable
// handler through a blocking message loop.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <chrono>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <optional>
#include <string_view>

#include "platform/window/ClockWindowPlatform.h"
#include "platform/window/PositionMemory.h"
#include "platform/window/WindowHost.h"
#include "platform/window/WindowPlacement.h"
#include "backends/win32/WaitableTickTimer.h"
#include "backends/win32/WinControlColors.h"
#include "backends/win32/WinFaceControl.h"

namespace halyard {

class WinClockWindow final : public ClockWindowPlatform, public WindowHost {
 public:
  // How the message loop waits and when the clock's timer fires next. The
  // clock's own: a blocking wait, and ticks just after each half-second of the
  // wall clock. Test programs choose others (the full-speed program, a
  // measure of what blocking saves).
  struct Pacing {
    // The wait before the next tick; empty: in phase with the wall clock.
    std::function<std::chrono::milliseconds()> nextTick;
    // Polls for messages every millisecond instead of blocking.
    bool polling = false;
  };

  WinClockWindow();
  explicit WinClockWindow(Pacing pacing);
  ~WinClockWindow() override;
  WinClockWindow(const WinClockWindow&) = delete;
  WinClockWindow& operator=(const WinClockWindow&) = delete;

  // ClockWindowPlatform
  void SetPlacement(const WindowPlacement& placement) override { placement_ = placement; }
  WindowHandle CreateHiddenWindow(std::string_view caption, std::int32_t widthUnits,
                                  std::int32_t heightUnits) override;
  bool AddFaceControl(std::int32_t id, DialogRect rect) override;
  bool AddLabelControl(std::int32_t id, DialogRect rect) override;
  void SetIcons(IconRenderer renderIcon) override;
  void SetLabelFont(std::int32_t id, const FontSpec& font) override;
  void SetWindowColors(std::int32_t textColor, std::int32_t backgroundColor) override;
  TextExtent ControlClientSize(std::int32_t id) override;
  DialogUnits Units() override;
  void BringToForeground() override;
  void Show() override;
  void RunEventLoop(ClockEventHandler handler) override;
  void ReleaseFonts() override;
  void SetFaceTooltip(TooltipLinesProvider provider) override;

  // WindowHost
  Canvas* FindCanvas(std::int32_t controlId) override;
  bool SetControlText(std::int32_t controlId, std::string_view text) override;
  bool SetControlColors(std::int32_t controlId, std::int32_t textColor,
                        std::int32_t backgroundColor) override;
  std::uint32_t StartTimer(std::uint32_t timerId, std::uint32_t periodMs) override;
  void StopTimer(std::uint32_t handle) override;
  void EndWindow() override;
  // Bell: MessageBeep. Flash: the caption and taskbar button flash until the
  // window comes to the foreground or StopFlash; the focus stays where it is.
  void RequestAttention(Attention kind) override;

  // Events reach `handler` from now on; RunEventLoop sets it too.
  void SetHandler(ClockEventHandler handler) { handler_ = handler; }

  HWND Handle() const { return hwnd_; }
  // Times a loop came back from waiting (one per message taken), over the process.
  static std::uint64_t WakeUps();
  // What WM_CTLCOLORSTATIC answers for `controlId`, or null.
  const WinControlColors* ControlColors(std::int32_t controlId) const;
  HFONT LabelFont() const { return labelFont_; }
  // The common-controls tooltip over the face, once SetFaceTooltip made it.
  HWND TooltipHandle() const { return tooltip_; }
  // Dots per inch of the window's monitor.
  std::int32_t Dpi() const;
  // The resolution the layout is drawn at: the monitor's, times the scale
  // setting, or less where fit-screen made the window smaller.
  std::int32_t LayoutDpi() const { return layoutDpi_ > 0 ? layoutDpi_ : Dpi(); }

 private:
  static INT_PTR CALLBACK DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  INT_PTR OnMessage(UINT message, WPARAM wParam, LPARAM lParam);
  void Deliver(UINT message, WPARAM wParam, LPARAM lParam);
  // Repaints at once, as the clock timer would.
  void Tick();
  void KeepClockTimerInPhase();
  // Takes one message, or waits for the next message or clock tick; false to leave the loop.
  bool WaitAndDispatch(MSG& message);
  // The same, looking every millisecond instead of waiting.
  bool PollAndDispatch(MSG& message);
  void Dispatch(MSG& message);
  void TakeClockTick();
  HWND AddControl(std::int32_t id, DialogRect rect, DWORD style);
  void PlaceControls();
  // Makes the label font for the window's present resolution and gives it to the labels.
  void RealiseLabelFont();
  void RepaintControl(HWND control, bool transparent);
  void OnDpiChanged();
  // The face's rectangle in the dialog's client area, where the tooltip answers.
  RECT FaceArea() const;
  // Fills the tooltip's text when it is about to show.
  void AnswerTooltip(NMTTDISPINFOW& request);
  // The provider's lines as the tooltip shows them.
  std::wstring TooltipText() const;
  // While the tooltip shows, its lines follow the face: new ones are shown at once.
  void RefreshTooltip();
  void OnDestroyed();
  // Scale, fit-screen, geometry and remember-position, once the dialog exists.
  void PlaceWindow();
  // The outer size of the window laid out with `units`.
  TextExtent OuterSize(const DialogUnits& units) const;
  RECT MapUnits(const DialogRect& rect) const;
  void NoteMove();

  HWND hwnd_ = nullptr;
  ClockEventHandler handler_ = nullptr;
  Pacing pacing_;
  bool minimised_ = false;
  std::uint32_t tickTimerId_ = 0;
  bool tickTimerRunning_ = false;
  // The clock's timer 100, when the system gives a waitable timer; else a message timer.
  WaitableTickTimer clockTimer_;
  bool clockTimerArmed_ = false;

  std::int32_t faceId_ = -1;
  DialogRect faceRect_{};
  std::unique_ptr<WinFaceControl> face_;
  struct Label {
    DialogRect rect;
    bool usesFont = false;
  };
  std::map<std::int32_t, Label> labels_;
  std::map<std::int32_t, WinControlColors> controlColors_;
  // Kept between calls so that setting a control's text does not allocate once warm.
  std::wstring newText_;
  std::wstring oldText_;
  WinControlColors windowColors_;

  FontSpec labelFontSpec_{};
  bool hasLabelFont_ = false;
  HFONT labelFont_ = nullptr;
  HWND tooltip_ = nullptr;  // owned by the dialog, which destroys it
  TooltipLinesProvider tooltipLines_ = nullptr;
  std::wstring tooltipText_;  // what the tooltip shows, kept while it does
  HICON bigIcon_ = nullptr;
  HICON smallIcon_ = nullptr;
  std::int32_t dpi_ = 0;  // the window's resolution, as WM_DPICHANGED last told it
  WindowPlacement placement_;
  std::int32_t layoutDpi_ = 0;  // 0: the monitor's, until the window is placed
  DialogUnits units_;           // at layoutDpi_
  std::unique_ptr<PositionMemory> memory_;  // with remember-position
  RECT dpiRect_{};
};

}  // namespace halyard
