// linear_timing.h - the rules that keep a line-scan camera's Time1 and Time2 valid.
#pragma once

#include <cstdint>

#include "app/camera_models.h"

// Time1 and Time2 mean different things on the three line-scan cameras and in
// the five work modes (exposure and line period, or the two halves of a line
// period), so each camera accepts a different set of pairs. These functions
// hold those rules apart from the widgets, so the pages and the tests share
// one statement of them.
namespace linescan {

inline constexpr int32_t kColourType = model::kLineScanColour;  // colour, times up to 500
inline constexpr int32_t kLongType = model::kLineScanLong;      // times in 25 ns ticks up to 65535
inline constexpr int32_t kSmallType = model::kLineScanSmall;    // 1024 pixels, times up to 500

inline constexpr const char* kExceedMessage = "input exceed valid range of expose time";
inline constexpr const char* kInvalidMessage = "input data invalid";

// Corrects a time X against the other time Y of the pair, with a lower limit
// L of their sum and a minimum m: above 500, or a sum above 500, becomes
// 500 - Y; a sum below L becomes L - Y; below m becomes m. When Y alone
// leaves less than m (500 - Y below m), the result is kept at m, the
// shortest time the camera accepts, and the checks below lower Y as well.
int32_t correctPair(int64_t x, int64_t y, int32_t lowerSum, int32_t minimum);

// The outcome of checking one typed (or scrolled) time.
struct TimeCheck {
  int32_t value = 0;              // the time to show and store
  bool write = true;              // false: shown and stored, not written
  const char* message = nullptr;  // the message to show first, if any
  bool setTime1 = false;          // Time2 rules only: Time1 becomes value and is written
  // The corrected time and the other one together would still exceed 500
  // (the other one alone leaves less than this time's minimum): the other
  // time becomes `other` and is written first, so the pair stays runnable.
  bool setOther = false;
  int32_t other = 0;
};

// Rules for a Time1 value t1 against the shown Time2 t2 in work mode w.
// fromScroll selects the variant used when a Time1 scroll ends.
TimeCheck checkTime1(int32_t type, int32_t w, int64_t t1, int64_t t2, bool fromScroll);
// Rules for a Time2 value t2 against the shown Time1 t1 in work mode w.
TimeCheck checkTime2(int32_t type, int32_t w, int64_t t1, int64_t t2, bool fromScroll);

// What a work-mode change does to the times kept in the block.
struct ModeAdjust {
  int32_t time1 = 0;
  int32_t time2 = 0;
  bool writeTime1 = false;
  bool writeTime2 = false;
};
ModeAdjust adjustForWorkMode(int32_t type, int32_t w, int32_t t1, int32_t t2);

}  // namespace linescan
