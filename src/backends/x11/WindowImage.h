// The window's picture on the X server, and the way pictures get there.
//
// The server keeps a pixmap of the whole client area and uses it as the
// window's background, so it repaints the window itself whenever the window
// is mapped or uncovered: the first frame on screen is the kept picture, and
// exposures need no round trip through the clock. A repaint puts the changed
// area into the pixmap and refreshes that area. Where the server offers
// shared-memory pixmaps, the pixmap is our memory and nothing is uploaded;
// else the area goes up through a shared-memory image (MIT-SHM), or with a
// plain XPutImage when the server cannot share memory with us.
//
// Where the screen's pixels have a picture's layout, the picture to draw into
// is the image's own memory (the shared segment when there is one), so the
// drawing itself is the last pass over the pixels before the server reads them.
#pragma once

#include <X11/Xlib.h>

#include <cstdint>
#include <memory>

#include "platform/canvas/Picture.h"

namespace halyard {

class WindowImage {
 public:
  // For `window` (created with `visual` and `depth`), `width` x `height` pixels.
  // Shared memory, and a shared pixmap, are used when the server offers them, unless not allowed.
  WindowImage(Display* display, Window window, Visual* visual, int depth, int width, int height,
              bool allowSharedMemory = true, bool allowSharedPixmap = true);
  ~WindowImage();
  WindowImage(const WindowImage&) = delete;
  WindowImage& operator=(const WindowImage&) = delete;

  // The picture of the whole client area to draw into. It lives as long as the image.
  Picture& Frame() { return frame_; }
  // Waits, when needed, until the server has read the last upload from
  // Frame(), so that it may be drawn into again.
  void PrepareToDraw();

  // Uploads `area` of `frame` (Frame(), or another picture the size of the
  // window, which is copied) and shows it.
  void Send(const Picture& frame, const PixelRect& area);

  // The window is gone: server resources are freed without touching it.
  void ForgetWindow() { window_ = 0; }

  bool SharedMemory() const { return shared_ != nullptr; }
  // The window's pixmap is the shared memory itself.
  bool SharedPixmap() const { return sharedPixmap_; }
  bool DirectCopy() const { return directCopy_; }
  // Frame() is the image's own memory: a repaint copies nothing.
  bool DrawsInPlace() const { return frame_.IsView(); }
  std::uint64_t Uploads() const { return uploads_; }

 private:
  bool CreateSharedImage(Visual* visual, int depth);
  void CreateSharedPixmap(int depth);
  void CreatePlainImage(Visual* visual, int depth);
  void CopyPixels(const Picture& frame, const PixelRect& area);
  // Returns once the server has read the last shared-memory upload.
  void WaitUntilRead();

  Display* display_;
  Window window_;
  int width_;
  int height_;
  Pixmap pixmap_ = 0;
  GC gc_ = nullptr;
  XImage* image_ = nullptr;
  Picture frame_;  // a view of image_'s pixels, or pixels of its own to convert
  struct SharedSegment;
  std::unique_ptr<SharedSegment> shared_;
  bool sharedPixmap_ = false;
  bool shmBusy_ = false;       // the server may still be reading the segment
  unsigned long readSerial_ = 0;  // the last request that reads it
  bool directCopy_ = false;    // the image's pixels have the picture's layout
  std::uint64_t uploads_ = 0;
};

}  // namespace halyard
