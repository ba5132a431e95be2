// A window that draws its controls itself (X11, the off-screen window): the
// face, a canvas of its own, and the status label, composed into the
// window's picture. Both such windows keep their controls and answer the
// WindowHost calls on them here, and paint the label alike.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "platform/canvas/Canvas.h"
#include "platform/canvas/LabelPicture.h"
#include "platform/canvas/Picture.h"
#include "platform/canvas/TextEngine.h"
#include "platform/window/WindowHost.h"

namespace halyard {

class DrawnControls : public WindowHost {
 public:
  // The face's canvas; null for any other id.
  Canvas* FindCanvas(std::int32_t controlId) override;
  // The label's text and colours (the same again changes nothing); the face
  // takes them and shows nothing. False for an id that is neither.
  bool SetControlText(std::int32_t controlId, std::string_view text) override;
  bool SetControlColors(std::int32_t controlId, std::int32_t textColor, std::int32_t backgroundColor) override;

 protected:
  struct Face {
    std::int32_t id = -1;
    PixelRect rect{};
    std::unique_ptr<TextEngine> text;
    std::unique_ptr<Canvas> canvas;
  };
  struct Label {
    std::int32_t id = -1;
    PixelRect rect{};
    std::unique_ptr<TextEngine> text;
    std::string shown;
    std::int32_t textColor = -1;
    std::int32_t background = -1;
    bool changed = false;  // since it was last painted
  };

  // A control's size in pixels; empty for an unknown id.
  TextExtent ControlSize(std::int32_t id) const;
  // The window's own background as a pixel: the 3-D face colour where it is transparent.
  std::uint32_t WindowPixel(const SystemColors& system) const;
  // Paints the label over the window's background into `picture`, which holds the client area.
  void PaintLabel(Picture& picture, const SystemColors& system);

  Face face_;
  Label label_;
  // The window's own colours, under whatever the controls leave uncovered.
  std::int32_t windowText_ = -1;
  std::int32_t windowBackground_ = -1;
};

}  // namespace halyard
