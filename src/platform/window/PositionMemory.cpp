#include "platform/window/PositionMemory.h"

#include "options/Reporter.h"
#include "platform/window/OptionsPath.h"
#include "platform/window/SavedPosition.h"

namespace halyard {

std::optional<PixelPoint> PositionMemory::Recall(std::string& problem) {
  const std::string path = store_.Path();
  if (path.empty()) return std::nullopt;
  std::string bytes;
  // The options file's reader: regular files only, never blocking, bounded.
  switch (PlatformOptionsFile().ReadFile(path, kMaxSavedPositionBytes + 1, bytes)) {
    case OptionsFileSource::ReadResult::Absent:
      return std::nullopt;
    case OptionsFileSource::ReadResult::Unreadable:
      problem = "cannot read the saved position " + path + ": ignored";
      return std::nullopt;
    case OptionsFileSource::ReadResult::Read:
      break;
  }
  const std::optional<PixelPoint> where = ParseSavedPosition(bytes);
  if (!where) problem = "the saved position " + path + " is not a position: ignored";
  written_ = where;
  return where;
}

void PositionMemory::Moved(PixelPoint where, Time now) {
  if (!held_ && written_ == where) return;
  if (!lastWrite_ || now - *lastWrite_ >= kLeastInterval) {
    Write(where, now);
  } else {
    held_ = where;
  }
}

std::optional<PositionMemory::Time> PositionMemory::Due() const {
  if (!held_) return std::nullopt;
  return *lastWrite_ + kLeastInterval;
}

void PositionMemory::WriteIfDue(Time now) {
  if (held_ && now >= *Due()) Write(*held_, now);
}

void PositionMemory::Flush() {
  if (held_) Write(*held_, lastWrite_.value_or(Time{}) + kLeastInterval);
}

void PositionMemory::Write(PixelPoint where, Time now) {
  held_.reset();
  lastWrite_ = now;
  if (written_ == where) return;
  std::string error;
  if (store_.Write(SavedPositionText(where), error)) {
    written_ = where;
  } else if (!failed_) {
    failed_ = true;
    Reporter::Report("cannot keep the window's position: " + error);
  }
}

std::optional<PixelPoint> OpenPositionMemory(bool remember, bool geometryGiven,
                                             std::unique_ptr<PositionMemory>& memory, std::string& problem) {
  if (!remember) return std::nullopt;
  memory = std::make_unique<PositionMemory>(PlatformPositionStore());
  const std::optional<PixelPoint> recalled = memory->Recall(problem);
  return geometryGiven ? std::nullopt : recalled;  // a geometry given now wins
}

}  // namespace halyard
