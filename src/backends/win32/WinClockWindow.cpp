#include "backends/win32/WinClockWindow.h"

#include <algorithm>
#include <chrono>
#include <climits>
#include <cstdio>
#include <string>
#include <vector>

#include "backends/win32/WinDialogTemplate.h"
#include "platform/window/ClockWindowIds.h"
#include "platform/window/WindowPlacer.h"
#include "platform/window/WindowScale.h"

namespace halyard {

namespace {

constexpr DWORD kWindowStyle = WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | DS_SETFONT |
                               DS_NOFAILCREATE | DS_3DLOOK | DS_CENTER;
constexpr DWORD kFaceStyle = WS_CHILD | WS_VISIBLE | WS_TABSTOP | SS_OWNERDRAW;
constexpr DWORD kLabelStyle = WS_CHILD | WS_VISIBLE | SS_CENTER | SS_CENTERIMAGE;
constexpr WORD kIconResource = 201;
// Posted to ourselves after a DPI change, so that the dialog manager's own
// rescaling has happened before the controls are laid out again.
constexpr UINT kRelayoutMessage = WM_APP + 1;

// Texts are in the ANSI code page, or UTF-8 where the options file said so.
std::wstring ToWide(std::string_view text, bool utf8 = false) {
  if (text.empty()) return {};
  const UINT codePage = utf8 ? CP_UTF8 : CP_ACP;
  const int size = static_cast<int>(text.size());
  const int length = MultiByteToWideChar(codePage, 0, text.data(), size, nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(length > 0 ? length : 0), L'\0');
  if (length > 0) MultiByteToWideChar(codePage, 0, text.data(), size, wide.data(), length);
  return wide;
}

using DpiForWindowFunction = UINT(WINAPI*)(HWND);

// GetDpiForWindow exists from Windows 10 1607 on; older systems have one resolution.
DpiForWindowFunction DpiForWindow() {
  static const auto function = reinterpret_cast<DpiForWindowFunction>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"), "GetDpiForWindow")));
  return function;
}

}  // namespace

namespace {
std::uint64_t g_wakeUps = 0;
}  // namespace

WinClockWindow::WinClockWindow() = default;
WinClockWindow::WinClockWindow(Pacing pacing) : pacing_(std::move(pacing)) {}

std::uint64_t WinClockWindow::WakeUps() { return g_wakeUps; }

WinClockWindow::~WinClockWindow() {
  handler_ = nullptr;
  if (hwnd_ != nullptr && IsWindow(hwnd_)) DestroyWindow(hwnd_);
  if (labelFont_) DeleteObject(labelFont_);
  if (bigIcon_) DestroyIcon(bigIcon_);
  if (smallIcon_) DestroyIcon(smallIcon_);
}

// --- building the window ---

WindowHandle WinClockWindow::CreateHiddenWindow(std::string_view caption, std::int32_t widthUnits,
                                                std::int32_t heightUnits) {
  if (hwnd_ != nullptr) return nullptr;
  WinDialogTemplate dialog;
  dialog.style = kWindowStyle;
  dialog.exStyle = WS_EX_TOPMOST;
  dialog.cx = static_cast<std::int16_t>(widthUnits);
  dialog.cy = static_cast<std::int16_t>(heightUnits);
  dialog.fontPoints = static_cast<std::uint16_t>(kDialogFontPoints);
  dialog.fontFace.assign(kDialogFontFace.begin(), kDialogFontFace.end());
  const std::vector<std::uint16_t> words = dialog.Words();
  // hwnd_ is set from WM_INITDIALOG, inside this call.
  CreateDialogIndirectParamW(GetModuleHandleW(nullptr),
                             reinterpret_cast<LPCDLGTEMPLATEW>(words.data()), nullptr,
                             &WinClockWindow::DialogProc, reinterpret_cast<LPARAM>(this));
  if (hwnd_ == nullptr) return nullptr;
  dpi_ = Dpi();
  SetWindowTextW(hwnd_, ToWide(caption).c_str());
  PlaceWindow();
  return this;
}

TextExtent WinClockWindow::OuterSize(const DialogUnits& units) const {
  const TextExtent client = units.SizeToPixels({kWindowWidthUnits, kWindowHeightUnits});
  RECT r{0, 0, client.width, client.height};
  AdjustWindowRectEx(&r, static_cast<DWORD>(GetWindowLongW(hwnd_, GWL_STYLE)), FALSE,
                     static_cast<DWORD>(GetWindowLongW(hwnd_, GWL_EXSTYLE)));
  return {r.right - r.left, r.bottom - r.top};
}

RECT WinClockWindow::MapUnits(const DialogRect& rect) const {
  const PixelRect r = units_.ToPixels(rect);
  return {r.left, r.top, r.right, r.bottom};
}

namespace {
PixelRect ToPixelRect(const RECT& r) {
  return {static_cast<std::int32_t>(r.left), static_cast<std::int32_t>(r.top), static_cast<std::int32_t>(r.right),
          static_cast<std::int32_t>(r.bottom)};
}

BOOL CALLBACK AddWorkArea(HMONITOR monitor, HDC, LPRECT, LPARAM list) {
  MONITORINFO info{};
  info.cbSize = sizeof info;
  if (GetMonitorInfoW(monitor, &info)) {
    auto& areas = *reinterpret_cast<std::vector<PixelRect>*>(list);
    // The primary monitor first, as on X11.
    if (info.dwFlags & MONITORINFOF_PRIMARY) {
      areas.insert(areas.begin(), ToPixelRect(info.rcWork));
    } else {
      areas.push_back(ToPixelRect(info.rcWork));
    }
  }
  return TRUE;
}

PixelRect WorkAreaOf(HMONITOR monitor) {
  MONITORINFO info{};
  info.cbSize = sizeof info;
  if (monitor == nullptr || !GetMonitorInfoW(monitor, &info)) {
    return {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  }
  return ToPixelRect(info.rcWork);
}
}  // namespace

void WinClockWindow::PlaceWindow() {
  const WindowPlacer placer(placement_, memory_);
  const std::int32_t screenDpi = Dpi();

  // The monitor it opens on: the primary one for a geometry, which counts from
  // its work area; the one nearest a remembered place; else the one the dialog
  // manager chose.
  const PixelRect primaryWork = WorkAreaOf(MonitorFromPoint({0, 0}, MONITOR_DEFAULTTOPRIMARY));
  HMONITOR monitor = MonitorFromWindow(hwnd_, MONITOR_DEFAULTTOPRIMARY);
  if (placer.Geometry()) {
    monitor = MonitorFromPoint({0, 0}, MONITOR_DEFAULTTOPRIMARY);
  } else if (const auto& remembered = placer.Remembered()) {
    monitor = MonitorFromPoint({remembered->x, remembered->y}, MONITOR_DEFAULTTONEAREST);
  }
  const PixelRect work = WorkAreaOf(monitor);
  const TextExtent room{work.right - work.left, work.bottom - work.top};
  layoutDpi_ = placer.FitScreen(placer.LayoutDpi(screenDpi), screenDpi, room,
                                [&](std::int32_t dpi) { return OuterSize(DialogUnits::ForDpi(dpi)); });
  // The layout's own units, not those the dialog manager measured from the
  // template's font: the font behind that name differs from system to system
  // and does not grow in proportion with the resolution (see DialogUnits.h).
  units_ = DialogUnits::ForDpi(layoutDpi_);
  const TextExtent outer = OuterSize(units_);
  RECT frame{};
  GetWindowRect(hwnd_, &frame);
  const bool resized = outer.width != frame.right - frame.left || outer.height != frame.bottom - frame.top;

  std::vector<PixelRect> workAreas;
  if (placer.Remembered()) EnumDisplayMonitors(nullptr, nullptr, &AddWorkArea, reinterpret_cast<LPARAM>(&workAreas));
  if (workAreas.empty()) workAreas.push_back(primaryWork);
  std::optional<PixelPoint> position = placer.ChosenPosition(outer, primaryWork, outer, workAreas);
  if (!position && resized) position = CentredPosition(outer, work);
  if (resized || position) {
    UINT flags = SWP_NOZORDER | SWP_NOACTIVATE;
    if (!resized) flags |= SWP_NOSIZE;
    if (!position) flags |= SWP_NOMOVE;
    SetWindowPos(hwnd_, nullptr, position ? position->x : 0, position ? position->y : 0, outer.width, outer.height,
                 flags);
  }
}

void WinClockWindow::NoteMove() {
  RECT frame{};
  if (!memory_ || !GetWindowRect(hwnd_, &frame) || IsIconic(hwnd_)) return;
  const auto now = std::chrono::milliseconds(GetTickCount64());
  memory_->Moved({frame.left, frame.top}, now);
  if (const auto due = memory_->Due()) {
    const auto wait = std::chrono::ceil<std::chrono::milliseconds>(*due - now).count();
    SetTimer(hwnd_, kPositionTimerId, static_cast<UINT>(wait > 1 ? wait : 1), nullptr);
  }
}

HWND WinClockWindow::AddControl(std::int32_t id, DialogRect rect, DWORD style) {
  if (hwnd_ == nullptr || GetDlgItem(hwnd_, id) != nullptr) return nullptr;
  const RECT r = MapUnits(rect);
  return CreateWindowExW(0, L"STATIC", L"", style, r.left, r.top, r.right - r.left,
                         r.bottom - r.top, hwnd_,
                         reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                         GetModuleHandleW(nullptr), nullptr);
}

bool WinClockWindow::AddFaceControl(std::int32_t id, DialogRect rect) {
  if (face_) return false;
  HWND control = AddControl(id, rect, kFaceStyle);
  if (control == nullptr) return false;
  faceId_ = id;
  faceRect_ = rect;
  face_ = std::make_unique<WinFaceControl>(control, LayoutDpi());
  return true;
}

bool WinClockWindow::AddLabelControl(std::int32_t id, DialogRect rect) {
  if (AddControl(id, rect, kLabelStyle) == nullptr) return false;
  labels_[id] = Label{rect, false};
  return true;
}

void WinClockWindow::SetIcons(IconRenderer /*renderIcon*/) {  // the icon is a resource here
  if (hwnd_ == nullptr || bigIcon_ != nullptr) return;
  HINSTANCE instance = GetModuleHandleW(nullptr);
  // The one large image is scaled down by the system to each size asked for.
  bigIcon_ = static_cast<HICON>(
      LoadImageW(instance, MAKEINTRESOURCEW(kIconResource), IMAGE_ICON, 32, 32, LR_DEFAULTCOLOR));
  smallIcon_ = static_cast<HICON>(
      LoadImageW(instance, MAKEINTRESOURCEW(kIconResource), IMAGE_ICON, 16, 16, LR_DEFAULTCOLOR));
  if (bigIcon_) SendMessageW(hwnd_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(bigIcon_));
  if (smallIcon_) SendMessageW(hwnd_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon_));
}

void WinClockWindow::SetLabelFont(std::int32_t id, const FontSpec& font) {
  const auto label = labels_.find(id);
  if (label == labels_.end()) return;
  FontSpec spec = font;
  if (spec.face.size() > 31) spec.face.resize(31);
  label->second.usesFont = true;
  if (labelFont_ == nullptr || !(spec == labelFontSpec_)) {
    labelFontSpec_ = spec;
    hasLabelFont_ = true;
    RealiseLabelFont();
  } else {
    SendMessageW(GetDlgItem(hwnd_, id), WM_SETFONT, reinterpret_cast<WPARAM>(labelFont_), TRUE);
  }
}

void WinClockWindow::RealiseLabelFont() {
  if (!hasLabelFont_ || hwnd_ == nullptr) return;
  LOGFONTW logFont{};
  logFont.lfHeight = FontPixelHeight(labelFontSpec_.points, LayoutDpi());
  logFont.lfEscapement = labelFontSpec_.angle;
  logFont.lfOrientation = labelFontSpec_.angle;
  logFont.lfWeight = (labelFontSpec_.style & FontSpec::kBold) ? FW_BOLD : FW_NORMAL;
  logFont.lfCharSet = labelFontSpec_.charset;
  logFont.lfPitchAndFamily = labelFontSpec_.pitchAndFamily;
  const std::wstring face = ToWide(labelFontSpec_.face);
  face.copy(logFont.lfFaceName, LF_FACESIZE - 1);
  HFONT fresh = CreateFontIndirectW(&logFont);
  if (fresh == nullptr) return;  // the labels keep the font they have
  for (const auto& [id, label] : labels_) {
    if (label.usesFont) {
      SendMessageW(GetDlgItem(hwnd_, id), WM_SETFONT, reinterpret_cast<WPARAM>(fresh), TRUE);
    }
  }
  // No label uses the old font any more.
  if (labelFont_) DeleteObject(labelFont_);
  labelFont_ = fresh;
}

void WinClockWindow::SetWindowColors(std::int32_t textColor, std::int32_t backgroundColor) {
  if (windowColors_.Set(textColor, backgroundColor) && hwnd_ != nullptr) {
    InvalidateRect(hwnd_, nullptr, TRUE);
  }
}

TextExtent WinClockWindow::ControlClientSize(std::int32_t id) {
  HWND control = hwnd_ != nullptr ? GetDlgItem(hwnd_, id) : nullptr;
  RECT client{};
  if (control == nullptr || !GetClientRect(control, &client)) return {};
  return {client.right - client.left, client.bottom - client.top};
}

DialogUnits WinClockWindow::Units() { return hwnd_ != nullptr ? units_ : DialogUnits::ForDpi(Dpi()); }

std::int32_t WinClockWindow::Dpi() const {
  if (dpi_ > 0) return dpi_;
  if (hwnd_ != nullptr) {
    if (const auto dpiForWindow = DpiForWindow()) {
      if (const UINT dpi = dpiForWindow(hwnd_)) return static_cast<std::int32_t>(dpi);
    }
  }
  HDC screen = GetDC(nullptr);
  const int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSY) : 0;
  if (screen) ReleaseDC(nullptr, screen);
  return dpi > 0 ? dpi : kDefaultDpi;
}

void WinClockWindow::BringToForeground() {
  if (hwnd_ != nullptr) SetForegroundWindow(hwnd_);
}

void WinClockWindow::Show() {
  if (hwnd_ != nullptr) ShowWindow(hwnd_, SW_SHOW);
}

void WinClockWindow::ReleaseFonts() {
  // A font still selected into a living label is left alone.
  if (hwnd_ != nullptr && IsWindow(hwnd_)) return;
  if (labelFont_) DeleteObject(labelFont_);
  labelFont_ = nullptr;
}

// --- the tooltip over the face ---

RECT WinClockWindow::FaceArea() const {
  RECT area{};
  HWND face = face_ ? face_->Handle() : nullptr;
  if (face == nullptr) return area;
  GetWindowRect(face, &area);
  MapWindowPoints(nullptr, hwnd_, reinterpret_cast<POINT*>(&area), 2);
  return area;
}

void WinClockWindow::SetFaceTooltip(TooltipLinesProvider provider) {
  if (hwnd_ == nullptr || tooltip_ != nullptr || provider == nullptr || !face_) return;
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES};
  InitCommonControlsEx(&controls);
  tooltip_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP,
                             CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, hwnd_, nullptr,
                             GetModuleHandleW(nullptr), nullptr);
  if (tooltip_ == nullptr) return;
  tooltipLines_ = provider;
  // The face is a plain static control, which lets the mouse through to the
  // dialog: the tool is the face's rectangle of the dialog, with the text asked for on showing.
  TTTOOLINFOW tool{};
  tool.cbSize = TTTOOLINFOW_V2_SIZE;
  tool.uFlags = TTF_SUBCLASS;
  tool.hwnd = hwnd_;
  tool.uId = static_cast<UINT_PTR>(faceId_);
  tool.rect = FaceArea();
  tool.lpszText = LPSTR_TEXTCALLBACKW;
  SendMessageW(tooltip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
  // A width limit makes it a multi-line tooltip; long enough lines never wrap.
  SendMessageW(tooltip_, TTM_SETMAXTIPWIDTH, 0, 2000);
  // Several lines take longer to read than the usual five seconds.
  SendMessageW(tooltip_, TTM_SETDELAYTIME, TTDT_AUTOPOP, MAKELPARAM(30000, 0));
}

std::wstring WinClockWindow::TooltipText() const {
  std::wstring text;
  if (tooltipLines_ != nullptr) {
    for (const std::string& line : tooltipLines_()) {
      if (!text.empty()) text += L"\r\n";
      text += ToWide(line);
    }
  }
  return text;
}

void WinClockWindow::AnswerTooltip(NMTTDISPINFOW& request) {
  tooltipText_ = TooltipText();
  request.hinst = nullptr;
  request.lpszText = tooltipText_.data();
}

void WinClockWindow::RefreshTooltip() {
  if (tooltip_ == nullptr || !IsWindowVisible(tooltip_) || TooltipText() == tooltipText_) return;
  // Asking for the text again: the control calls back and redraws the tip it shows.
  TTTOOLINFOW tool{};
  tool.cbSize = TTTOOLINFOW_V2_SIZE;
  tool.hwnd = hwnd_;
  tool.uId = static_cast<UINT_PTR>(faceId_);
  tool.lpszText = LPSTR_TEXTCALLBACKW;
  SendMessageW(tooltip_, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&tool));
}

// --- the message loop ---

void WinClockWindow::RunEventLoop(ClockEventHandler handler) {
  handler_ = handler;
  MSG message{};
  while (hwnd_ != nullptr && IsWindow(hwnd_)) {
    if (!(pacing_.polling ? PollAndDispatch(message) : WaitAndDispatch(message))) break;
  }
  handler_ = nullptr;
}

bool WinClockWindow::PollAndDispatch(MSG& message) {
  ++g_wakeUps;
  if (!PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (clockTimerArmed_ && WaitForSingleObject(clockTimer_.Handle(), 0) == WAIT_OBJECT_0) TakeClockTick();
    Sleep(1);
    return true;
  }
  if (message.message == WM_QUIT) return false;
  Dispatch(message);
  return true;
}

bool WinClockWindow::WaitAndDispatch(MSG& message) {
  if (!clockTimer_.Valid()) {
    // Blocks until there is something to do: no wake-ups while idle.
    const BOOL got = GetMessageW(&message, nullptr, 0, 0);
    if (got == 0) {
      PostQuitMessage(static_cast<int>(message.wParam));  // leave it for an outer loop
      return false;
    }
    if (got < 0) return false;
    ++g_wakeUps;
    Dispatch(message);
    return true;
  }
  // Messages first, then a wait for the next message or the clock's tick.
  if (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (message.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(message.wParam));
      return false;
    }
    Dispatch(message);
    return true;
  }
  const HANDLE timer = clockTimer_.Handle();
  const DWORD woke = MsgWaitForMultipleObjectsEx(1, &timer, INFINITE, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
  ++g_wakeUps;
  if (woke == WAIT_FAILED) return false;
  if (woke == WAIT_OBJECT_0 && clockTimerArmed_) TakeClockTick();
  return true;
}

void WinClockWindow::TakeClockTick() {
  // The tick reaches the dialog as the message timer's would.
  clockTimerArmed_ = false;
  OnMessage(WM_TIMER, kClockTimerId, 0);
}

void WinClockWindow::Dispatch(MSG& message) {
  if (!IsDialogMessageW(hwnd_, &message)) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
}

INT_PTR CALLBACK WinClockWindow::DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    auto* self = reinterpret_cast<WinClockWindow*>(lParam);
    self->hwnd_ = hwnd;
    SetWindowLongPtrW(hwnd, DWLP_USER, lParam);
  }
  auto* self = reinterpret_cast<WinClockWindow*>(GetWindowLongPtrW(hwnd, DWLP_USER));
  if (self == nullptr) return FALSE;  // before WM_INITDIALOG, after WM_NCDESTROY
  return self->OnMessage(message, wParam, lParam);
}

void WinClockWindow::Deliver(UINT message, WPARAM wParam, LPARAM lParam) {
  if (handler_ == nullptr) return;
  handler_(this, message, static_cast<std::uint32_t>(wParam),
           static_cast<std::int32_t>(static_cast<std::uint32_t>(lParam)));
}

void WinClockWindow::Tick() {
  if (tickTimerRunning_) Deliver(WM_TIMER, tickTimerId_, 0);
}

INT_PTR WinClockWindow::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  // The handler always answers 0: what it does not consume gets the default handling.
  Deliver(message, wParam, lParam);
  if (message == WM_TIMER && wParam == kClockTimerId && tickTimerRunning_ && IsWindow(hwnd_)) {
    KeepClockTimerInPhase();
    RefreshTooltip();
  }
  if (message == WM_TIMER && wParam == kPositionTimerId) {  // the window's own, one shot
    KillTimer(hwnd_, kPositionTimerId);
    if (memory_) memory_->WriteIfDue(std::chrono::milliseconds(GetTickCount64()));
    return TRUE;
  }
  switch (message) {
    case WM_CTLCOLORDLG:
      if (HBRUSH brush = windowColors_.Apply(reinterpret_cast<HDC>(wParam))) {
        return reinterpret_cast<INT_PTR>(brush);
      }
      return FALSE;
    case WM_CTLCOLORSTATIC: {
      const auto colors = controlColors_.find(GetDlgCtrlID(reinterpret_cast<HWND>(lParam)));
      if (colors == controlColors_.end()) return FALSE;
      HBRUSH brush = colors->second.Apply(reinterpret_cast<HDC>(wParam));
      return reinterpret_cast<INT_PTR>(brush);
    }
    case WM_DRAWITEM: {
      const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
      if (face_ && item != nullptr && item->hwndItem == face_->Handle()) {
        face_->Paint(*item);
        return TRUE;
      }
      return FALSE;
    }
    case WM_NOTIFY: {
      auto* header = reinterpret_cast<NMHDR*>(lParam);
      if (tooltip_ != nullptr && header != nullptr && header->hwndFrom == tooltip_ && header->code == TTN_GETDISPINFOW) {
        AnswerTooltip(*reinterpret_cast<NMTTDISPINFOW*>(lParam));
        return TRUE;
      }
      return FALSE;
    }
    case WM_TIMECHANGE:
      // The clock jumped: show the new time now, not at the next tick.
      Tick();
      return FALSE;
    case WM_SIZE:
      if (wParam == SIZE_MINIMIZED) {
        minimised_ = true;
      } else if (wParam == SIZE_RESTORED && minimised_) {
        // Ticks drawn while minimised never reached the screen.
        minimised_ = false;
        Tick();
      }
      return FALSE;
    case WM_DPICHANGED: {
      if (LOWORD(wParam) != 0) dpi_ = LOWORD(wParam);
      if (const auto* suggested = reinterpret_cast<const RECT*>(lParam)) dpiRect_ = *suggested;
      PostMessageW(hwnd_, kRelayoutMessage, 0, 0);
      return FALSE;  // the dialog manager rescales its font first
    }
    case kRelayoutMessage:
      OnDpiChanged();
      return TRUE;
    case WM_MOVE:
      if (memory_) NoteMove();
      return FALSE;
    case WM_DESTROY:
      if (memory_) {
        NoteMove();
        memory_->Flush();
      }
      return FALSE;
    case WM_NCDESTROY:
      OnDestroyed();
      return FALSE;
    default:
      return FALSE;
  }
}

void WinClockWindow::OnDpiChanged() {
  // The same scale of the new monitor's resolution, at the suggested corner.
  layoutDpi_ = ScaledDpi(Dpi(), placement_.scale);
  units_ = DialogUnits::ForDpi(layoutDpi_);
  const TextExtent outer = OuterSize(units_);
  const UINT keep = dpiRect_.right > dpiRect_.left ? 0 : SWP_NOMOVE;
  SetWindowPos(hwnd_, nullptr, dpiRect_.left, dpiRect_.top, outer.width, outer.height,
               SWP_NOZORDER | SWP_NOACTIVATE | keep);
  PlaceControls();
  if (face_) face_->Rebuild(LayoutDpi());
  RealiseLabelFont();
  Tick();
}

void WinClockWindow::PlaceControls() {
  auto place = [this](std::int32_t id, const DialogRect& rect) {
    const RECT r = MapUnits(rect);
    SetWindowPos(GetDlgItem(hwnd_, id), nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
  };
  if (face_) place(faceId_, faceRect_);
  for (const auto& [id, label] : labels_) place(id, label.rect);
  if (tooltip_ != nullptr) {
    TTTOOLINFOW tool{};
    tool.cbSize = TTTOOLINFOW_V2_SIZE;
    tool.hwnd = hwnd_;
    tool.uId = static_cast<UINT_PTR>(faceId_);
    tool.rect = FaceArea();
    SendMessageW(tooltip_, TTM_NEWTOOLRECTW, 0, reinterpret_cast<LPARAM>(&tool));
  }
}

void WinClockWindow::OnDestroyed() {
  SetWindowLongPtrW(hwnd_, DWLP_USER, 0);
  // The canvas, its picture and the brushes live exactly as long as the window.
  face_.reset();
  tooltip_ = nullptr;  // an owned window: gone with the dialog
  controlColors_.clear();
  windowColors_.Clear();
  tickTimerRunning_ = false;
  clockTimer_.Cancel();
  clockTimerArmed_ = false;
}

// --- what the handler and the face use ---

void WinClockWindow::RequestAttention(Attention kind) {
  if (hwnd_ == nullptr) return;
  if (kind == Attention::Bell) {
    MessageBeep(MB_OK);
    return;
  }
  FLASHWINFO flash{};
  flash.cbSize = sizeof flash;
  flash.hwnd = hwnd_;
  flash.dwFlags = kind == Attention::Flash ? FLASHW_ALL | FLASHW_TIMERNOFG : FLASHW_STOP;
  FlashWindowEx(&flash);
}

Canvas* WinClockWindow::FindCanvas(std::int32_t controlId) {
  return face_ && controlId == faceId_ ? &face_->Surface() : nullptr;
}

bool WinClockWindow::SetControlText(std::int32_t controlId, std::string_view text) {
  HWND control = hwnd_ != nullptr ? GetDlgItem(hwnd_, controlId) : nullptr;
  if (control == nullptr) return false;
  newText_.clear();
  if (!text.empty()) {
    const int size = static_cast<int>(std::min<std::size_t>(text.size(), INT_MAX));
    const UINT codePage = hasLabelFont_ && labelFontSpec_.utf8Text ? CP_UTF8 : CP_ACP;
    const int length = MultiByteToWideChar(codePage, 0, text.data(), size, nullptr, 0);
    newText_.resize(static_cast<std::size_t>(std::max(length, 0)));
    if (length > 0) MultiByteToWideChar(codePage, 0, text.data(), size, newText_.data(), length);
  }
  // A static control repaints on every new text, even the same one: a tick
  // that leaves the status line as it is must not touch it.
  const int shown = GetWindowTextLengthW(control);
  if (shown >= 0 && static_cast<std::size_t>(shown) == newText_.size()) {
    oldText_.resize(newText_.size() + 1);
    GetWindowTextW(control, oldText_.data(), shown + 1);
    if (std::wstring_view(oldText_.data(), newText_.size()) == newText_) return true;
  }
  SetWindowTextW(control, newText_.c_str());
  const auto colors = controlColors_.find(controlId);
  if (colors != controlColors_.end() && colors->second.Transparent()) {
    RepaintControl(control, true);  // the old text is not painted over
  }
  return true;
}

bool WinClockWindow::SetControlColors(std::int32_t controlId, std::int32_t textColor,
                                      std::int32_t backgroundColor) {
  HWND control = hwnd_ != nullptr ? GetDlgItem(hwnd_, controlId) : nullptr;
  if (control == nullptr) return false;
  WinControlColors& colors = controlColors_[controlId];
  // The control may already have painted the new text in the old colours.
  if (colors.Set(textColor, backgroundColor)) RepaintControl(control, colors.Transparent());
  return true;
}

void WinClockWindow::RepaintControl(HWND control, bool transparent) {
  if (!transparent) {
    InvalidateRect(control, nullptr, TRUE);
    return;
  }
  // A transparent control shows its parent: repaint the parent's area behind it.
  RECT area{};
  GetWindowRect(control, &area);
  MapWindowPoints(nullptr, hwnd_, reinterpret_cast<POINT*>(&area), 2);
  RedrawWindow(hwnd_, &area, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

const WinControlColors* WinClockWindow::ControlColors(std::int32_t controlId) const {
  const auto colors = controlColors_.find(controlId);
  return colors != controlColors_.end() ? &colors->second : nullptr;
}

std::uint32_t WinClockWindow::StartTimer(std::uint32_t timerId, std::uint32_t periodMs) {
  if (hwnd_ == nullptr) return 0;
  const UINT_PTR handle =
      timerId == kClockTimerId && clockTimer_.Valid() ? timerId : SetTimer(hwnd_, timerId, periodMs, nullptr);
  if (handle != 0) {
    tickTimerId_ = timerId;
    tickTimerRunning_ = true;
    if (timerId == kClockTimerId) KeepClockTimerInPhase();
  }
  return static_cast<std::uint32_t>(handle);
}

void WinClockWindow::KeepClockTimerInPhase() {
  // The same timer, re-armed so that its next tick falls just after the next
  // half-second of the wall clock: a new second shows within milliseconds.
  const std::chrono::milliseconds delay = pacing_.nextTick ? pacing_.nextTick() : DelayToNextTick(PlatformClock());
  if (clockTimer_.Valid()) {
    clockTimerArmed_ = clockTimer_.Arm(delay);
  } else {
    SetTimer(hwnd_, kClockTimerId, static_cast<UINT>(delay.count()), nullptr);
  }
}

void WinClockWindow::StopTimer(std::uint32_t handle) {
  if (handle == kClockTimerId && clockTimer_.Valid()) {
    clockTimer_.Cancel();
    clockTimerArmed_ = false;
  } else if (hwnd_ != nullptr) {
    KillTimer(hwnd_, handle);
  }
  if (handle == tickTimerId_) tickTimerRunning_ = false;
}

void WinClockWindow::EndWindow() {
  if (hwnd_ == nullptr || !IsWindow(hwnd_)) return;
  SendMessageW(hwnd_, WM_CLOSE, 0, 0);
  if (IsWindow(hwnd_)) DestroyWindow(hwnd_);
}

std::unique_ptr<ClockWindowPlatform> MakeClockWindowPlatform() {
  return std::make_unique<WinClockWindow>();
}

}  // namespace halyard
