// rate_meter.h - frames shown per second, as both live windows display it.
#pragma once

#include <cstdint>

// Counts the frames a window paints and turns them into a rate over whole
// seconds of the desktop clock, so the figure a user reads changes once a
// second instead of flickering with every frame. The first frame only sets
// the mark: a rate needs an interval.
class RateMeter {
 public:
  void reset() {
    markMs_ = -1;
    framesSinceMark_ = 0;
    fps_ = 0;
    total_ = 0;
  }
  // One painted frame at NOWMS.
  void frame(int64_t nowMs) {
    ++total_;
    if (markMs_ < 0 || nowMs < markMs_) {
      // A clock that went back (a changed system time) starts a new interval
      // rather than producing a negative or huge rate.
      markMs_ = nowMs;
      framesSinceMark_ = 0;
      return;
    }
    ++framesSinceMark_;
    if (nowMs - markMs_ >= 1000) {
      fps_ = framesSinceMark_ * 1000.0 / static_cast<double>(nowMs - markMs_);
      markMs_ = nowMs;
      framesSinceMark_ = 0;
    }
  }
  // Frames per second over the last full interval; 0 before the first one.
  double fps() const { return fps_; }
  // Frames painted since the last reset.
  int64_t total() const { return total_; }

 private:
  int64_t markMs_ = -1;
  int32_t framesSinceMark_ = 0;
  double fps_ = 0;
  int64_t total_ = 0;
};
