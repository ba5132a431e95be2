// remember-position: reads the last run's position back, and keeps the
// window's position in the store as it moves, written at most once a second.
#pragma once

#include <chrono>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "platform/canvas/Picture.h"
#include "platform/window/PositionStore.h"

namespace halyard {

// The window timer a backend runs for a position held back; its own, never the handler's.
inline constexpr std::uint32_t kPositionTimerId = 109;

class PositionMemory {
 public:
  using Time = std::chrono::nanoseconds;  // any steady clock's reading
  static constexpr Time kLeastInterval = std::chrono::seconds(1);

  explicit PositionMemory(PositionStore& store) : store_(store) {}

  // The position the last run kept; nullopt when there is none, and with
  // `problem` set when the file was there but unreadable or not a position.
  std::optional<PixelPoint> Recall(std::string& problem);

  // The window is now at `where`. Written at once when the last write is a
  // second old; otherwise held until Due().
  void Moved(PixelPoint where, Time now);
  // When a held position is to be written; nullopt when none is held.
  std::optional<Time> Due() const;
  // Writes a held position whose time has come.
  void WriteIfDue(Time now);
  // Writes the last position if the file does not hold it yet (at exit).
  void Flush();

 private:
  void Write(PixelPoint where, Time now);

  PositionStore& store_;
  std::optional<PixelPoint> written_;
  std::optional<PixelPoint> held_;
  std::optional<Time> lastWrite_;
  bool failed_ = false;  // one line on stderr per run is enough
};

// For a window opening with remember-position `remember`: the memory it is
// to keep (in `memory`) and the position to open at, the one the last run
// kept unless a geometry is given now. `problem` as for Recall.
std::optional<PixelPoint> OpenPositionMemory(bool remember, bool geometryGiven,
                                             std::unique_ptr<PositionMemory>& memory, std::string& problem);

}  // namespace halyard
