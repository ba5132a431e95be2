// The clock's window on an X server: one top-level window whose client area
// is a face (a software-drawn canvas) above a one-line label, composed into
// one picture kept on the server. Events reach the portable handler with the
// numbers a Windows dialog would give them.
#pragma once

#include <chrono>
#include <cstdint>
#include <memory>
#include <string>

#include "platform/canvas/Canvas.h"
#include "platform/window/ClockWindowPlatform.h"
#include "platform/window/DrawnControls.h"
#include "platform/window/WindowHost.h"
#include "platform/window/PositionMemory.h"
#include "platform/window/WindowPlacement.h"
#include "backends/x11/TimerSchedule.h"

// Xlib's own declarations of these, so that this header does not bring in
// <X11/Xlib.h>, whose Status macro breaks portable headers included after it.
typedef struct _XDisplay Display;
typedef union _XEvent XEvent;

namespace halyard {

class WindowImage;
class X11Tooltip;

class X11ClockWindow final : public ClockWindowPlatform, public DrawnControls, public CanvasPresenter {
 public:
  // Connects to `displayName` (null: $DISPLAY); null when no server answers.
  static std::unique_ptr<X11ClockWindow> Connect(const char* displayName = nullptr);

  explicit X11ClockWindow(Display* display);  // takes the connection over
  ~X11ClockWindow() override;
  X11ClockWindow(const X11ClockWindow&) = delete;
  X11ClockWindow& operator=(const X11ClockWindow&) = delete;

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
  DialogUnits Units() override { return units_; }
  void BringToForeground() override;
  void Show() override;
  void RunEventLoop(ClockEventHandler handler) override;
  void ReleaseFonts() override;
  void SetFaceTooltip(TooltipLinesProvider provider) override;

  // WindowHost, beside the controls' calls (DrawnControls)
  std::uint32_t StartTimer(std::uint32_t timerId, std::uint32_t periodMs) override;
  void StopTimer(std::uint32_t handle) override;
  void EndWindow() override;
  // Bell: the server's bell. Flash: the urgency hint and, for a mapped window,
  // the window manager asked for _NET_WM_STATE_DEMANDS_ATTENTION; both go when
  // the window gets the focus or on StopFlash.
  void RequestAttention(Attention kind) override;

  // CanvasPresenter: the face's picture reaches the screen.
  void Present(const Picture& picture, const PixelRect& area) override;
  void BeforeDrawing() override;

  // --- for tests and diagnostics ---
  Display* XDisplay() const { return display_; }
  unsigned long XWindow() const { return window_; }  // an Xlib Window
  std::int32_t Dpi() const { return dpi_; }
  bool Destroyed() const { return destroyed_; }
  // The client area as last composed (what the server was sent); empty once the window is gone.
  const Picture& Frame() const;
  const WindowImage* Image() const { return image_.get(); }
  const X11Tooltip* Tooltip() const { return tooltip_.get(); }
  // How often the event loop has woken from its wait, over the process.
  static std::uint64_t WakeUps();

 private:
  struct Atoms;

  void SetWindowProperties(std::string_view caption);
  // Makes the window at the layout resolution, size and place the settings
  // ask for (WindowPlacer); false when no window can be made.
  bool PlaceWindow(std::string_view caption, TextExtent units);
  void SetSizeHints();
  bool CreateBareWindow();  // at position_, client_ in size, not mapped
  // The top-left corner of the window's frame on the root window.
  PixelPoint FramePosition();
  void NoteMove();
  void Dispatch(std::uint32_t message, std::uint32_t wParam, std::int32_t lParam);
  void HandleEvent(XEvent& event);
  void DestroyWindow(bool alreadyGone);
  void KeepClockTimerInPhase();
  void PaintBackground();
  void ComposeLabel();
  void SendPending();
  void FollowPointer(const XEvent& event);
  void SetUrgent(bool urgent);
  static std::chrono::nanoseconds Now();

  Display* display_;
  int screen_;
  unsigned long colormap_ = 0;  // ours, when the window's visual is not the screen's default
  std::unique_ptr<Atoms> atoms_;
  std::int32_t dpi_;
  DialogUnits units_;
  SystemColors system_{};
  unsigned long window_ = 0;  // Window
  bool destroyed_ = false;
  bool ending_ = false;
  bool mapped_ = false;
  TextExtent client_{};
  WindowPlacement placement_;
  PixelPoint position_{};      // where the window is created
  long positionFlags_ = 0;     // PPosition, or USPosition for one the user chose
  int gravity_ = 1;            // NorthWestGravity; another for offsets from the right or bottom
  std::unique_ptr<PositionMemory> memory_;  // with remember-position
  void* visual_ = nullptr;  // the window's Visual
  int depth_ = 0;
  std::unique_ptr<WindowImage> image_;  // holds the client area's picture
  PixelRect pending_{};  // composed but not yet sent

  bool noFontSaid_ = false;  // the missing font is named once

  TimerSchedule timers_;
  ClockEventHandler handler_ = nullptr;
  std::unique_ptr<X11Tooltip> tooltip_;
  bool urgent_ = false;  // asking for attention
};

}  // namespace halyard
