#include "backends/x11/X11ClockWindow.h"

#include <poll.h>
#include <time.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <optional>
#include <vector>

#include "options/Reporter.h"
#include "platform/window/ClockWindowIds.h"
#include "backends/freetype/FreeTypeTextEngine.h"
#include "backends/soft/SoftRasterizer.h"
#include "backends/x11/ScreenDpi.h"
#include "backends/x11/TerminationSignals.h"
#include "backends/x11/WindowImage.h"
#include "backends/x11/WindowManagerHints.h"
#include "backends/x11/X11ScreenLayout.h"
#include "backends/x11/X11Tooltip.h"
#include "platform/window/WindowPlacer.h"
#include "backends/x11/XErrorTrap.h"

// Last: Xlib's macros (Status, None, Bool) would clash with the portable headers.
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/keysym.h>

namespace halyard {

namespace {
std::uint64_t g_wakeUps = 0;

// What the window listens to; a tooltip adds the pointer's comings and goings.
constexpr long kWindowEvents = KeyPressMask | StructureNotifyMask | ExposureMask;
constexpr long kPointerEvents = PointerMotionMask | EnterWindowMask | LeaveWindowMask | ButtonPressMask;

// The sizes offered to the window manager; it scales from the nearest.
constexpr std::array<std::int32_t, 6> kIconSizes{16, 24, 32, 48, 64, 128};
}  // namespace

struct X11ClockWindow::Atoms {
  Atom wmProtocols, wmDeleteWindow, netWmPing, netWmName, netWmIconName, utf8String, netWmState,
      netWmStateAbove, motifWmHints, netWmIcon, netWmPid, netWmWindowType, netWmWindowTypeNormal,
      netWorkarea, netCurrentDesktop, netActiveWindow;

  explicit Atoms(Display* display) {
    const char* names[] = {"WM_PROTOCOLS", "WM_DELETE_WINDOW", "_NET_WM_PING", "_NET_WM_NAME",
                           "_NET_WM_ICON_NAME", "UTF8_STRING", "_NET_WM_STATE", "_NET_WM_STATE_ABOVE",
                           "_MOTIF_WM_HINTS", "_NET_WM_ICON", "_NET_WM_PID", "_NET_WM_WINDOW_TYPE",
                           "_NET_WM_WINDOW_TYPE_NORMAL", "_NET_WORKAREA", "_NET_CURRENT_DESKTOP",
                           "_NET_ACTIVE_WINDOW"};
    Atom* slots[] = {&wmProtocols, &wmDeleteWindow, &netWmPing, &netWmName, &netWmIconName, &utf8String,
                     &netWmState, &netWmStateAbove, &motifWmHints, &netWmIcon, &netWmPid, &netWmWindowType,
                     &netWmWindowTypeNormal, &netWorkarea, &netCurrentDesktop, &netActiveWindow};
    constexpr int kCount = sizeof names / sizeof names[0];
    Atom atoms[kCount];
    // One round trip for all of them.
    XInternAtoms(display, const_cast<char**>(names), kCount, False, atoms);
    for (int i = 0; i < kCount; ++i) *slots[i] = atoms[i];
  }
};

std::unique_ptr<ClockWindowPlatform> MakeClockWindowPlatform() { return X11ClockWindow::Connect(); }

namespace {
// The screen's default visual when it is true colour, else the deepest
// TrueColor visual the screen offers (an 8-bit PseudoColor desktop usually
// has one); null when there is none.
Visual* TrueColorVisual(Display* display, int screen, int& depth) {
  Visual* standard = DefaultVisual(display, screen);
  if (standard->c_class == TrueColor) {
    depth = DefaultDepth(display, screen);
    return standard;
  }
  for (const int wanted : {24, 32, 16, 15, 8}) {
    XVisualInfo info{};
    if (XMatchVisualInfo(display, screen, wanted, TrueColor, &info) != 0) {
      depth = info.depth;
      return info.visual;
    }
  }
  return nullptr;
}
}  // namespace

std::unique_ptr<X11ClockWindow> X11ClockWindow::Connect(const char* displayName) {
  Display* display = XOpenDisplay(displayName);
  if (display == nullptr) {
    const char* name = XDisplayName(displayName);
    if (name == nullptr || *name == '\0') {
      Reporter::Report("cannot open display: DISPLAY is not set");
    } else {
      Reporter::Report("cannot open display '" + std::string(name) + "'");
    }
    return nullptr;
  }
  int depth = 0;
  if (TrueColorVisual(display, DefaultScreen(display), depth) == nullptr) {
    // Drawing on a visual that is not true colour gives an all-black window.
    Reporter::Report("display depth/visual not supported (no TrueColor visual)");
    XCloseDisplay(display);
    return nullptr;
  }
  return std::make_unique<X11ClockWindow>(display);
}


X11ClockWindow::X11ClockWindow(Display* display)
    : display_(display),
      screen_(DefaultScreen(display)),
      atoms_(std::make_unique<Atoms>(display)),
      dpi_(ScreenDpi(display)),
      units_(DialogUnits::ForDpi(dpi_)) {
  InstallXErrorHandlers();
  TerminationSignals::Install();
}

X11ClockWindow::~X11ClockWindow() {
  tooltip_.reset();
  face_.canvas.reset();
  face_.text.reset();
  label_.text.reset();
  image_.reset();
  if (window_ != 0) XDestroyWindow(display_, window_);
  if (colormap_ != 0) XFreeColormap(display_, colormap_);
  XCloseDisplay(display_);
}

std::uint64_t X11ClockWindow::WakeUps() { return g_wakeUps; }

const Picture& X11ClockWindow::Frame() const {
  static const Picture kNone;
  return image_ ? image_->Frame() : kNone;
}

std::chrono::nanoseconds X11ClockWindow::Now() {
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC, &now);
  return std::chrono::seconds(now.tv_sec) + std::chrono::nanoseconds(now.tv_nsec);
}

namespace {
int GravityOf(const PlacementGeometry& geometry) {
  if (geometry.fromRight) return geometry.fromBottom ? SouthEastGravity : NorthEastGravity;
  return geometry.fromBottom ? SouthWestGravity : NorthWestGravity;
}
}  // namespace

bool X11ClockWindow::PlaceWindow(std::string_view caption, TextExtent units) {
  const WindowPlacer placer(placement_, memory_);
  const std::int32_t screenDpi = dpi_;
  dpi_ = placer.LayoutDpi(screenDpi);
  units_ = DialogUnits::ForDpi(dpi_);
  client_ = units_.SizeToPixels(units);
  if (client_.width <= 0 || client_.height <= 0) return false;

  const X11ScreenLayout layout(display_, screen_);
  // As XWMGeometry does, a geometry counts from the screen's edges.
  const PixelRect screen{0, 0, DisplayWidth(display_, screen_), DisplayHeight(display_, screen_)};
  // The monitor the window opens on: the one at the asked place, else the primary one.
  const PixelRect primary = layout.Monitors().front();
  const PixelPoint anchor = placer.Geometry() ? placer.Geometry()->TopLeft(client_, screen)
                                              : placer.Remembered().value_or(PixelPoint{primary.left, primary.top});
  const PixelRect area = layout.WorkAreaAt(anchor);
  position_ = CentredPosition(client_, area);
  if (!CreateBareWindow()) return false;
  SetWindowProperties(caption);
  SetSizeHints();  // a fixed size is drawn with a frame of its own

  // The frame is known only once the window and its decorations exist: it
  // is made at the size asked for, then made smaller if need be before
  // anyone sees it.
  const FrameExtents frame =
      placer.FrameMatters() ? X11ScreenLayout::Frame(display_, screen_, window_, true) : FrameExtents{};
  const auto outer = [&](TextExtent client) {
    return TextExtent{client.width + frame.left + frame.right, client.height + frame.top + frame.bottom};
  };
  const TextExtent room{area.right - area.left, area.bottom - area.top};
  const std::int32_t fitting = placer.FitScreen(dpi_, screenDpi, room, [&](std::int32_t dpi) {
    return outer(DialogUnits::ForDpi(dpi).SizeToPixels(units));
  });
  if (fitting < dpi_) {
    dpi_ = fitting;
    units_ = DialogUnits::ForDpi(dpi_);
    client_ = units_.SizeToPixels(units);
    position_ = CentredPosition(client_, area);
    XMoveResizeWindow(display_, window_, position_.x, position_.y, static_cast<unsigned>(client_.width),
                      static_cast<unsigned>(client_.height));
  }
  const PixelPoint centred = position_;
  // A geometry's corner is the window's, the window manager keeping the
  // corner its gravity names when it adds the frame; with north-west gravity
  // a window manager puts its frame's corner where the window's would have
  // been, which is the corner that was saved.
  if (const auto chosen = placer.ChosenPosition(client_, screen, outer(client_), layout.Monitors())) {
    position_ = *chosen;
    positionFlags_ = USPosition;
    if (placer.Geometry()) gravity_ = GravityOf(*placer.Geometry());
  }
  if (!(position_ == centred)) XMoveWindow(display_, window_, position_.x, position_.y);
  SetSizeHints();
  return true;
}

bool X11ClockWindow::CreateBareWindow() {
  int depth = DefaultDepth(display_, screen_);
  Visual* visual = TrueColorVisual(display_, screen_, depth);
  if (visual == nullptr) return false;
  if (visual != DefaultVisual(display_, screen_) && colormap_ == 0) {
    colormap_ = XCreateColormap(display_, RootWindow(display_, screen_), visual, AllocNone);
  }
  XSetWindowAttributes attributes{};
  attributes.background_pixmap = None;  // until the kept picture takes over
  attributes.border_pixel = 0;
  attributes.colormap = colormap_ != 0 ? colormap_ : DefaultColormap(display_, screen_);
  attributes.event_mask = kWindowEvents;
  window_ = XCreateWindow(display_, RootWindow(display_, screen_), position_.x, position_.y,
                          static_cast<unsigned>(client_.width), static_cast<unsigned>(client_.height), 0, depth,
                          InputOutput, visual, CWBackPixmap | CWBorderPixel | CWColormap | CWEventMask,
                          &attributes);
  visual_ = visual;
  depth_ = depth;
  return window_ != 0;
}

WindowHandle X11ClockWindow::CreateHiddenWindow(std::string_view caption, std::int32_t widthUnits,
                                                std::int32_t heightUnits) {
  if (window_ != 0 || destroyed_) return nullptr;  // one window per run
  if (!PlaceWindow(caption, {widthUnits, heightUnits})) return nullptr;
  Visual* visual = static_cast<Visual*>(visual_);
  const int depth = depth_;
  image_ = std::make_unique<WindowImage>(display_, window_, visual, depth, client_.width, client_.height);
  Picture& frame = image_->Frame();
  frame.FillRect(frame.Bounds(), ColorRefToPixel(system_.buttonFace));
  pending_ = frame.Bounds();
  return this;
}

void X11ClockWindow::SetWindowProperties(std::string_view caption) {
  // WM_NAME in the ICCCM encodings, converted from the locale's bytes.
  const std::string title(caption);
  char* list[] = {const_cast<char*>(title.c_str())};
  XTextProperty name{};
  if (XmbTextListToTextProperty(display_, list, 1, XStdICCTextStyle, &name) >= Success) {
    XSetWMName(display_, window_, &name);
    XSetWMIconName(display_, window_, &name);
    XFree(name.value);
  } else {
    XStoreName(display_, window_, title.c_str());
  }
  const std::string utf8 = LocaleToUtf8(caption);
  for (const Atom property : {atoms_->netWmName, atoms_->netWmIconName}) {
    XChangeProperty(display_, window_, property, atoms_->utf8String, 8, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(utf8.data()), static_cast<int>(utf8.size()));
  }

  char resName[] = "halyard";
  char resClass[] = "Halyard";
  XClassHint classHint{resName, resClass};
  XSetClassHint(display_, window_, &classHint);

  XWMHints wmHints{};
  wmHints.flags = InputHint | StateHint;
  wmHints.input = True;
  wmHints.initial_state = NormalState;
  XSetWMHints(display_, window_, &wmHints);

  const MotifWmHints motif = MotifWmHints::FixedSizeWindow();
  const long motifData[5] = {static_cast<long>(motif.flags), static_cast<long>(motif.functions),
                             static_cast<long>(motif.decorations), motif.inputMode,
                             static_cast<long>(motif.status)};
  XChangeProperty(display_, window_, atoms_->motifWmHints, atoms_->motifWmHints, 32, PropModeReplace,
                  reinterpret_cast<const unsigned char*>(motifData), 5);

  // Set before mapping, the state is where the window manager reads it from.
  const long above = static_cast<long>(atoms_->netWmStateAbove);
  XChangeProperty(display_, window_, atoms_->netWmState, XA_ATOM, 32, PropModeReplace,
                  reinterpret_cast<const unsigned char*>(&above), 1);
  const long normal = static_cast<long>(atoms_->netWmWindowTypeNormal);
  XChangeProperty(display_, window_, atoms_->netWmWindowType, XA_ATOM, 32, PropModeReplace,
                  reinterpret_cast<const unsigned char*>(&normal), 1);

  const long pid = static_cast<long>(getpid());
  XChangeProperty(display_, window_, atoms_->netWmPid, XA_CARDINAL, 32, PropModeReplace,
                  reinterpret_cast<const unsigned char*>(&pid), 1);
  char host[HOST_NAME_MAX + 1] = {};
  if (gethostname(host, sizeof host - 1) == 0) {
    char* hosts[] = {host};
    XTextProperty machine{};
    if (XStringListToTextProperty(hosts, 1, &machine) != 0) {
      XSetWMClientMachine(display_, window_, &machine);
      XFree(machine.value);
    }
  }

  Atom protocols[] = {atoms_->wmDeleteWindow, atoms_->netWmPing};
  XSetWMProtocols(display_, window_, protocols, 2);
}

bool X11ClockWindow::AddFaceControl(std::int32_t id, DialogRect rect) {
  if (window_ == 0) return false;
  face_.id = id;
  Picture& frame = image_->Frame();
  face_.rect = Intersect(units_.ToPixels(rect), frame.Bounds());
  face_.canvas.reset();
  face_.text = std::make_unique<FreeTypeTextEngine>();
  // The face is drawn straight into its part of the window's picture.
  face_.canvas = std::make_unique<Canvas>(std::make_unique<SoftRasterizer>(frame.Part(face_.rect), face_.text.get()),
                                         this, dpi_, system_);
  pending_ = Union(pending_, face_.rect);
  return true;
}

bool X11ClockWindow::AddLabelControl(std::int32_t id, DialogRect rect) {
  if (window_ == 0) return false;
  label_.id = id;
  // Not cut to the client area: like a dialog's static control, the text is
  // centred in the whole control, whose last row may fall outside (192 dpi).
  label_.rect = units_.ToPixels(rect);
  label_.shown.clear();
  label_.changed = true;
  return true;
}

void X11ClockWindow::SetIcons(IconRenderer renderIcon) {
  if (window_ == 0 || renderIcon == nullptr) return;
  std::vector<Picture> icons;
  for (const std::int32_t size : kIconSizes) icons.push_back(renderIcon(std::make_unique<SoftRasterizer>(size, size)));
  const std::vector<unsigned long> data = NetWmIconData(icons);
  if (data.empty()) return;
  XChangeProperty(display_, window_, atoms_->netWmIcon, XA_CARDINAL, 32, PropModeReplace,
                  reinterpret_cast<const unsigned char*>(data.data()), static_cast<int>(data.size()));
}

void X11ClockWindow::SetLabelFont(std::int32_t id, const FontSpec& font) {
  if (id != label_.id || label_.id < 0) return;
  if (!label_.text) label_.text = std::make_unique<FreeTypeTextEngine>();
  if (!label_.text->SetFont(font, dpi_) && !noFontSaid_) {
    // With no font at all the clock still runs, but a face without its time
    // text must not pass for a working one. (A fallback font is named by the
    // text engine itself.)
    noFontSaid_ = true;
    Reporter::Report("no usable font: neither fontconfig nor the fallback fonts give one, so the face shows no "
                     "text (install fonts-liberation)");
  }
  label_.changed = true;
}

void X11ClockWindow::SetWindowColors(std::int32_t textColor, std::int32_t backgroundColor) {
  windowText_ = textColor;
  windowBackground_ = backgroundColor;
  if (window_ != 0 && image_) PaintBackground();
}

void X11ClockWindow::PaintBackground() {
  // The window's own background, under whatever the controls leave uncovered.
  // The face keeps its part of the picture: only the bands around it are filled.
  const std::uint32_t pixel = WindowPixel(system_);
  image_->PrepareToDraw();
  Picture& frame = image_->Frame();
  const PixelRect all = frame.Bounds();
  const PixelRect face = face_.rect;
  if (!face_.canvas || face.Empty()) {
    frame.FillRect(all, pixel);
  } else {
    frame.FillRect({all.left, all.top, all.right, face.top}, pixel);
    frame.FillRect({all.left, face.top, face.left, face.bottom}, pixel);
    frame.FillRect({face.right, face.top, all.right, face.bottom}, pixel);
    frame.FillRect({all.left, face.bottom, all.right, all.bottom}, pixel);
  }
  label_.changed = label_.id >= 0;
  pending_ = all;
}

TextExtent X11ClockWindow::ControlClientSize(std::int32_t id) { return ControlSize(id); }

void X11ClockWindow::BringToForeground() {
  if (window_ == 0 || !mapped_) return;  // Show() maps it raised
  XRaiseWindow(display_, window_);
  // Ask an EWMH window manager to activate it, as an application request.
  XEvent event{};
  event.xclient.type = ClientMessage;
  event.xclient.window = window_;
  event.xclient.message_type = atoms_->netActiveWindow;
  event.xclient.format = 32;
  event.xclient.data.l[0] = 1;
  event.xclient.data.l[1] = CurrentTime;
  XSendEvent(display_, RootWindow(display_, screen_), False, SubstructureRedirectMask | SubstructureNotifyMask,
             &event);
  XFlush(display_);
}

void X11ClockWindow::Show() {
  if (window_ == 0) return;
  SendPending();  // the pixmap holds the finished picture before the window appears
  XMapRaised(display_, window_);
  // A window manager installs the colormap of the window in focus; without one,
  // the true-colour map this window needed on a palette screen is put in place
  // here, or the face would show in the palette's colours.
  if (colormap_ != 0) XInstallColormap(display_, colormap_);
  XFlush(display_);
  mapped_ = true;
}

std::uint32_t X11ClockWindow::StartTimer(std::uint32_t timerId, std::uint32_t periodMs) {
  if (window_ == 0 || destroyed_) return 0;
  const std::uint32_t handle = timers_.Start(timerId, periodMs, Now());
  if (handle == kClockTimerId) KeepClockTimerInPhase();
  return handle;
}

void X11ClockWindow::KeepClockTimerInPhase() {
  // The clock's ticks fall just after each half-second of the wall clock, so a
  // new second shows within milliseconds; the monotonic clock measures the wait.
  timers_.Rearm(kClockTimerId, DelayToNextTick(PlatformClock()), Now());
}

void X11ClockWindow::StopTimer(std::uint32_t handle) { timers_.Stop(handle); }

void X11ClockWindow::EndWindow() {
  if (ending_ || destroyed_) return;
  ending_ = true;
  if (memory_ && mapped_) memory_->Moved(FramePosition(), Now());
  Dispatch(kEventClose, 0, 0);
  DestroyWindow(false);
}

void X11ClockWindow::DestroyWindow(bool alreadyGone) {
  if (destroyed_) return;
  destroyed_ = true;
  // The handler sees the destroy event while the window still exists, as on Windows.
  Dispatch(kEventDestroy, 0, 0);
  timers_ = TimerSchedule{};
  if (memory_) memory_->Flush();
  if (tooltip_) tooltip_->Hide();
  if (Canvas* face = face_.canvas.get()) {
    // The face drew into the window's picture, which goes now: it keeps a
    // picture of its own for whatever is drawn until the fonts are released.
    face->Rebuild(std::make_unique<SoftRasterizer>(Picture(face->Pixels()), face_.text.get()), dpi_);
  }
  if (alreadyGone && image_) image_->ForgetWindow();
  image_.reset();
  if (!alreadyGone && window_ != 0) XDestroyWindow(display_, window_);
  window_ = 0;
  mapped_ = false;
  XFlush(display_);
}

void X11ClockWindow::RequestAttention(Attention kind) {
  if (window_ == 0 || destroyed_) return;
  switch (kind) {
    case Attention::Bell:
      XBell(display_, 0);
      XFlush(display_);
      break;
    case Attention::Flash:
      SetUrgent(true);
      break;
    case Attention::StopFlash:
      SetUrgent(false);
      break;
  }
}

void X11ClockWindow::SetUrgent(bool urgent) {
  if (window_ == 0 || destroyed_ || urgent == urgent_) return;
  urgent_ = urgent;
  // ICCCM: the urgency hint, kept with the other WM_HINTS fields.
  XWMHints* current = XGetWMHints(display_, window_);
  XWMHints hints = current != nullptr ? *current : XWMHints{};
  if (current != nullptr) XFree(current);
  if (urgent) hints.flags |= XUrgencyHint;
  else hints.flags &= ~XUrgencyHint;
  XSetWMHints(display_, window_, &hints);
  // EWMH: a mapped window's state is changed by asking the window manager.
  if (mapped_) {
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = window_;
    event.xclient.message_type = atoms_->netWmState;
    event.xclient.format = 32;
    event.xclient.data.l[0] = urgent ? 1 : 0;  // _NET_WM_STATE_ADD or _REMOVE
    event.xclient.data.l[1] = static_cast<long>(XInternAtom(display_, "_NET_WM_STATE_DEMANDS_ATTENTION", False));
    event.xclient.data.l[3] = 1;  // from an application
    XSendEvent(display_, RootWindow(display_, screen_), False, SubstructureRedirectMask | SubstructureNotifyMask,
               &event);
  }
  // Focus events are wanted only while asking: the user's activation ends it.
  const long events = (tooltip_ ? kWindowEvents | kPointerEvents : kWindowEvents) | (urgent ? FocusChangeMask : 0);
  XSelectInput(display_, window_, events);
  XFlush(display_);
}

void X11ClockWindow::Present(const Picture& picture, const PixelRect& area) {
  const PixelRect face = face_.rect;
  if (window_ == 0 || face_.id < 0) return;
  const PixelRect source = Intersect(area, picture.Bounds());
  if (source.Empty()) return;
  const PixelRect target = Intersect(
      {source.left + face.left, source.top + face.top, source.right + face.left, source.bottom + face.top}, face);
  Picture& frame = image_->Frame();
  if (picture.Data() != frame.Row(face.top) + face.left) {
    // Not the face's own view of the frame (nothing else presents today): copied.
    const auto count = static_cast<std::size_t>(target.right - target.left);
    for (std::int32_t y = target.top; y < target.bottom; ++y) {
      std::copy_n(picture.Row(y - face.top) + (target.left - face.left), count, frame.Row(y) + target.left);
    }
  }
  pending_ = Union(pending_, target);
  // The label was set just before the face is presented: one upload for both.
  SendPending();
}

void X11ClockWindow::BeforeDrawing() {
  // The face draws straight into the memory the server reads the window from.
  if (image_) image_->PrepareToDraw();
}

void X11ClockWindow::ComposeLabel() {
  if (label_.id < 0 || label_.rect.Empty() || !image_) {
    label_.changed = false;
    return;
  }
  image_->PrepareToDraw();
  PaintLabel(image_->Frame(), system_);
  pending_ = Union(pending_, label_.rect);
}

void X11ClockWindow::SendPending() {
  if (window_ == 0 || !image_) return;
  if (label_.changed) ComposeLabel();
  if (pending_.Empty()) return;
  image_->Send(image_->Frame(), pending_);
  pending_ = {};
}

void X11ClockWindow::Dispatch(std::uint32_t message, std::uint32_t wParam, std::int32_t lParam) {
  if (handler_ == nullptr) return;
  // Whatever the handler draws waits, just before, for the server to have
  // read the picture (BeforeDrawing); a tick that draws nothing does not wait.
  handler_(this, message, wParam, lParam);
}

void X11ClockWindow::SetFaceTooltip(TooltipLinesProvider provider) {
  if (window_ == 0 || destroyed_ || provider == nullptr) return;
  tooltip_ = std::make_unique<X11Tooltip>(display_, screen_, window_, dpi_, provider);
  XSelectInput(display_, window_, kWindowEvents | kPointerEvents);
}

void X11ClockWindow::FollowPointer(const XEvent& event) {
  switch (tooltip_->OnEvent(event, face_.rect)) {
    case X11Tooltip::RestTimer::Restart:
      timers_.Start(kTooltipTimerId, kTooltipDelayMs, Now());
      break;
    case X11Tooltip::RestTimer::Stop:
      timers_.Stop(kTooltipTimerId);
      break;
    case X11Tooltip::RestTimer::Keep:
      break;
  }
}

void X11ClockWindow::HandleEvent(XEvent& event) {
  if (tooltip_ && event.xany.window == window_) FollowPointer(event);
  switch (event.type) {
    case KeyPress:
      if (event.xkey.window == window_ && XLookupKeysym(&event.xkey, 0) == XK_Escape) {
        // What a dialog's keyboard handling makes of Escape: the cancel command.
        Dispatch(kEventCommand, kCancelCommand, 0);
      }
      break;
    case ClientMessage:
      if (event.xclient.window != window_ || event.xclient.message_type != atoms_->wmProtocols ||
          event.xclient.format != 32) {
        break;
      }
      if (static_cast<Atom>(event.xclient.data.l[0]) == atoms_->wmDeleteWindow) {
        EndWindow();
      } else if (static_cast<Atom>(event.xclient.data.l[0]) == atoms_->netWmPing) {
        const Window root = RootWindow(display_, screen_);
        event.xclient.window = root;
        XSendEvent(display_, root, False, SubstructureRedirectMask | SubstructureNotifyMask, &event);
      }
      break;
    case DestroyNotify:
      // Destroyed by someone else (xkill-like tools, a window manager's kill).
      if (event.xdestroywindow.window == window_) DestroyWindow(true);
      break;
    case MapNotify:
      if (event.xmap.window == window_) mapped_ = true;
      break;
    case Expose:
      // The server fills an uncovered area from the shared picture as it
      // handles the uncovering, which can fall while a repaint draws into it;
      // now, between repaints, the area is filled again from a whole picture.
      if (event.xexpose.window == window_ && image_ && image_->SharedPixmap()) {
        XClearArea(display_, window_, event.xexpose.x, event.xexpose.y, static_cast<unsigned>(event.xexpose.width),
                   static_cast<unsigned>(event.xexpose.height), False);
      }
      break;
    case FocusIn:
      if (event.xfocus.window == window_ && event.xfocus.detail != NotifyPointer) SetUrgent(false);
      break;
    case ConfigureNotify:
      // Moved by the user or the window manager (which sends a synthetic one for a framed move).
      if (memory_ && event.xconfigure.window == window_) NoteMove();
      break;
    default:
      break;
  }
}

void X11ClockWindow::RunEventLoop(ClockEventHandler handler) {
  handler_ = handler;
  const int connection = ConnectionNumber(display_);
  bool readable = true;  // the socket may hold events: only then is it read
  while (!destroyed_) {
    // XPending also sends what is buffered, so the server is never left waiting.
    // The library's queue is looked at without its lock (QLength): this is the
    // display's only thread, and an idle tick then makes no library call.
    while (!destroyed_ && (readable || QLength(display_) > 0) && XPending(display_) > 0) {
      XEvent event;
      XNextEvent(display_, &event);
      HandleEvent(event);
    }
    if (destroyed_) break;
    if (TerminationSignals::Requested()) {
      TerminationSignals::Clear();
      EndWindow();
      break;
    }
    const auto now = Now();
    const unsigned long firstRequest = NextRequest(display_);
    while (!destroyed_) {
      const auto id = timers_.TakeDue(now);
      if (!id) break;
      if (*id == kTooltipTimerId) {  // one shot, the window's own
        timers_.Stop(*id);
        if (tooltip_) tooltip_->Show();
        continue;
      }
      if (*id == kPositionTimerId) {  // likewise
        timers_.Stop(*id);
        if (memory_) memory_->WriteIfDue(now);
        continue;
      }
      Dispatch(kEventTimer, *id, 0);
      if (*id == kClockTimerId && !destroyed_) {
        KeepClockTimerInPhase();
        if (tooltip_) tooltip_->Refresh();  // its lines follow the face
      }
    }
    if (destroyed_) break;
    SendPending();
    // Sending may have read events into the library's queues (XCB reads while
    // it writes), where the socket no longer shows them: check them last. A
    // tick that made no request (an idle tick) flushes and reads nothing.
    if (NextRequest(display_) != firstRequest) {
      if (XPending(display_) > 0) continue;
    } else if (QLength(display_) > 0) {
      continue;
    }

    pollfd watch{connection, POLLIN, 0};
    timespec timeout{};
    const timespec* wait = nullptr;
    if (const auto left = timers_.TimeUntilNext(Now())) {
      timeout.tv_sec = static_cast<time_t>(left->count() / 1'000'000'000);
      timeout.tv_nsec = static_cast<long>(left->count() % 1'000'000'000);
      wait = &timeout;
    }
    // Signals are let in only here: they interrupt the wait and nothing else.
    readable = ppoll(&watch, 1, wait, TerminationSignals::WaitMask()) > 0 && (watch.revents & ~POLLOUT) != 0;
    ++g_wakeUps;
  }
}

void X11ClockWindow::SetSizeHints() {
  // Fixed size: the minimum and the maximum are the size itself.
  XSizeHints sizeHints{};
  // A position the user chose (geometry, or where the window was left) is
  // USPosition, which window managers keep; offsets from the right or bottom
  // carry the gravity that keeps that corner where asked once framed.
  sizeHints.flags = (positionFlags_ != 0 ? positionFlags_ : PPosition) | PSize | PMinSize | PMaxSize;
  if (gravity_ != NorthWestGravity) sizeHints.flags |= PWinGravity;
  sizeHints.win_gravity = gravity_;
  sizeHints.x = position_.x;
  sizeHints.y = position_.y;
  sizeHints.width = sizeHints.min_width = sizeHints.max_width = client_.width;
  sizeHints.height = sizeHints.min_height = sizeHints.max_height = client_.height;
  XSetWMNormalHints(display_, window_, &sizeHints);
}

PixelPoint X11ClockWindow::FramePosition() {
  const Window root = RootWindow(display_, screen_);
  int x = 0, y = 0;
  Window child = None;
  if (window_ == 0 || !XTranslateCoordinates(display_, window_, root, 0, 0, &x, &y, &child)) return {};
  const FrameExtents frame = X11ScreenLayout::Frame(display_, screen_, window_, false);
  return {x - frame.left, y - frame.top};
}

void X11ClockWindow::NoteMove() {
  const auto now = Now();
  memory_->Moved(FramePosition(), now);
  if (const auto due = memory_->Due()) {
    const auto wait = std::chrono::ceil<std::chrono::milliseconds>(*due - now).count();
    timers_.Start(kPositionTimerId, static_cast<std::uint32_t>(wait > 1 ? wait : 1), now);
  }
}

void X11ClockWindow::ReleaseFonts() {
  // The fonts belong to the controls; they go once the window is gone.
  if (!destroyed_) return;
  face_.canvas.reset();
  face_.text.reset();
  label_.text.reset();
}

}  // namespace halyard
