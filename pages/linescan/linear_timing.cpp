// linear_timing.cpp - Time1/Time2 validity by camera type and work mode.
#include "pages/linescan/linear_timing.h"

#include <algorithm>

namespace linescan {

namespace {

int32_t clampTo(int64_t v, int32_t lo, int32_t hi) {
  return static_cast<int32_t>(std::clamp<int64_t>(v, lo, hi));
}

// Any other value that reaches a write is still kept inside the 32 bits the
// camera takes; the rules below bound every value they produce themselves.
int32_t narrow(int64_t v) { return clampTo(v, INT32_MIN, INT32_MAX); }

// The free-running rule of the colour and the small camera: the time itself
// from minimum to 500, the line period (the sum) from lowerSum to 500.
TimeCheck pairRule(int64_t x, int64_t y, int32_t lowerSum, int32_t minimum) {
  TimeCheck c;
  const int64_t sum = x + y;
  if (x >= minimum && x <= 500 && sum >= lowerSum && sum <= 500) {
    c.value = narrow(x);
    return c;
  }
  c.message = kExceedMessage;
  c.value = correctPair(x, y, lowerSum, minimum);
  // The time cannot go below its minimum, so when the other time leaves too
  // little room the other one gives way: the camera takes no pair whose sum
  // passes 500.
  if (int64_t{c.value} + y > 500) {
    c.setOther = true;
    c.other = 500 - c.value;
  }
  return c;
}

// A time limited to lo..hi with the range message when it was outside.
TimeCheck rangeRule(int64_t x, int32_t lo, int32_t hi) {
  TimeCheck c;
  c.value = clampTo(x, lo, hi);
  if (x < lo || x > hi) c.message = kExceedMessage;
  return c;
}

TimeCheck fixedValue(int32_t value) {
  TimeCheck c;
  c.value = value;
  c.write = false;
  return c;
}

}  // namespace

int32_t correctPair(int64_t x, int64_t y, int32_t lowerSum, int32_t minimum) {
  if (x > 500 || x + y > 500) {
    x = 500 - y;
  } else if (x + y < lowerSum) {
    x = lowerSum - y;
  } else if (x < minimum) {
    x = minimum;
  }
  // 500 - Y or L - Y is not a time when Y is as large as the limit itself.
  return clampTo(x, minimum, 500);
}

TimeCheck checkTime1(int32_t type, int32_t w, int64_t t1, int64_t t2, bool fromScroll) {
  switch (type) {
    case kColourType:
      if (w == 0) return pairRule(t1, t2, 108, 2);
      if (w == 1) return pairRule(t1, t2, 108, 1);
      if (w == 2) return rangeRule(t1, 2, 108);
      return fixedValue(2);
    case kSmallType:
      if (w == 0 || w == 1) return pairRule(t1, t2, 27, 1);
      if (w == 2) return rangeRule(t1, 1, fromScroll ? 27 : 26);
      return fixedValue(1);
    case kLongType: {
      TimeCheck c;
      if (w == 0) {
        // The exposure cannot be longer than the line period. A zero or
        // negative exposure is not a time: the shortest one is 1 tick.
        c.value = clampTo(std::min(t1, t2), 1, 65535);
        return c;
      }
      if (w == 1) {
        // Edge-controlled: the exposure is the whole line period.
        if (t1 != t2 && !fromScroll) c.message = kInvalidMessage;
        c.value = clampTo(t2, 1, 65535);
        return c;
      }
      if (w == 2) return rangeRule(t1, 1, 65535);
      return fixedValue(fromScroll ? 1 : 10000);
    }
    default: {
      TimeCheck c;
      c.value = narrow(t1);
      return c;
    }
  }
}

TimeCheck checkTime2(int32_t type, int32_t w, int64_t t1, int64_t t2, bool fromScroll) {
  switch (type) {
    case kColourType:
    case kSmallType: {
      const bool colour = type == kColourType;
      const int32_t lower = colour ? 108 : 27;
      if (w == 0) return pairRule(t2, t1, lower, colour ? 2 : 1);
      if (w == 1) return pairRule(t2, t1, lower, 1);
      // Externally synchronised: the camera runs with a fixed Time2. Only
      // the end of a scroll in the programmable mode writes it; with the
      // exposure controlled by the sync signal (modes 3 and 4) it is never
      // written, scrolled or typed.
      const int32_t fixed = colour ? 106 : 26;
      if (!fromScroll || w != 2) return fixedValue(fixed);
      TimeCheck c;
      c.value = fixed;
      if (t2 != fixed) c.message = kExceedMessage;
      return c;
    }
    case kLongType: {
      TimeCheck c;
      if (w == 0) {
        // Time2 is the line period; a zero period would divide the line
        // frequency by zero and cannot be run, and the camera holds 16 bits.
        c.value = clampTo(t2, 1, 65535);
        c.setTime1 = c.value < t1;
        return c;
      }
      if (w == 1) {
        c.value = clampTo(t2, 2118, 65535);
        if (c.value != t2) {
          c.message = kExceedMessage;
          c.setTime1 = true;
        }
        return c;
      }
      return fixedValue(fromScroll ? 52 : 10000);
    }
    default: {
      TimeCheck c;
      c.value = narrow(t2);
      return c;
    }
  }
}

ModeAdjust adjustForWorkMode(int32_t type, int32_t w, int32_t t1, int32_t t2) {
  ModeAdjust a;
  a.time1 = t1;
  a.time2 = t2;
  const int64_t sum = int64_t{t1} + t2;
  if (w == 1) {
    if (type == kColourType || type == kSmallType) {
      const int32_t lower = type == kColourType ? 108 : 27;
      // With Time1 at 500 there is no room left for Time2; the camera still
      // needs a positive Time2, so the shortest one, 1, is kept. A Time1 the
      // camera reported far below its range cannot push Time2 past 500
      // either (nor overflow the subtraction).
      if (sum > 500) {
        a.time2 = clampTo(int64_t{500} - t1, 1, 500);
        a.writeTime2 = true;
      } else if (sum < lower) {
        a.time2 = clampTo(int64_t{lower} - t1, 1, 500);
        a.writeTime2 = true;
      }
    } else if (type == kLongType) {
      if (t1 != t2) {
        a.time1 = t2;
        a.writeTime1 = true;
      }
    }
  } else if (w == 0 || w == 2) {
    if (type == kColourType || type == kSmallType) {
      a.time1 = std::clamp(t1, type == kColourType ? 2 : 1, 500);
      a.writeTime1 = a.time1 != t1;
    } else if (type == kLongType && w == 0) {
      // Written even when unchanged, so the camera takes the pair anew.
      a.time1 = std::max(std::min(t1, t2), 1);
      a.writeTime1 = true;
    }
  }
  return a;
}

}  // namespace linescan
