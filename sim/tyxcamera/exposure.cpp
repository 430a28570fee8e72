// exposure.cpp - frame timing and exposure limits of the simulated area-scan cameras.
//
// A camera reads its sensor line by line; one line takes the model's line
// period. A frame is the lines of the picture (the whole sensor, the partial
// window, or half of it when binning) plus some blanking lines, and the rate
// choice (id 14) stretches the frame by its divisor. The exposure, counted in
// lines, cannot outlast the frame in free-running modes, so a smaller window
// gives both a higher frame rate and a shorter maximum exposure.
#include <algorithm>
#include <cmath>

#include "sim_internal.h"

namespace tyxsim {
namespace {

bool videoMode(const SimCamera& c) { return c.current.cam.frameMode == 4 && c.info->videoRate > 0.0; }

// In PAL/NTSC mode the rate choice is frame (0) or field (1) rate.
std::vector<double> divisors(const SimCamera& c) {
  if (videoMode(c)) return {1.0, 0.5};
  return c.info->rateDivisors;
}

// The rate choice (id 14) counts the offered rates only: the list the
// program shows leaves out the entries the camera does not offer, and the
// program writes the position in its list.
double divisor(const SimCamera& c) {
  const int32_t r = c.current.cam.rate;
  int32_t position = 0;
  for (double d : divisors(c)) {
    if (d <= 0.0) continue;
    if (position++ == r) return d;
  }
  return 1.0;
}

bool triggered(int32_t runMode) { return runMode == 2 || runMode == 5 || runMode == 6; }

}  // namespace

double frameLines(const SimCamera& c) {
  const TypeInfo& t = *c.info;
  const TyxCameraParams& p = c.current.cam;
  switch (p.frameMode) {
    case 2: {
      const int32_t window = std::max(t.lineStep, p.endLine - p.beginLine + 1);
      return window + t.blankLines;
    }
    case 3: {
      // A field holds whole lines, as the camera's line counter counts them.
      const int32_t fieldLines = t.lineCount / 2;
      return fieldLines + t.blankLines;
    }
    case 4:
      if (t.videoRate > 0.0) return 1e6 / (t.videoRate * t.linePeriodUs);
      return t.lineCount + t.blankLines;
    default: return t.lineCount + t.blankLines;
  }
}

double currentFrameRate(const SimCamera& c) {
  double lines = frameLines(c) * divisor(c);
  // A free-running exposure longer than the frame holds the next frame back.
  if (!triggered(c.current.cam.runMode))
    lines = std::max(lines, static_cast<double>(c.current.cam.exposalTime) + 1.0);
  return 1e6 / (lines * c.info->linePeriodUs);
}

double listFrameRate(const SimCamera& c, int32_t index) {
  const auto d = divisors(c);
  if (index < 0 || index >= static_cast<int32_t>(d.size())) return 0.0;
  if (d[index] <= 0.0) return -2.0;
  return 1e6 / (frameLines(c) * d[index] * c.info->linePeriodUs);
}

ExposureRange exposureRange(const SimCamera& c) {
  const TypeInfo& t = *c.info;
  if (triggered(c.current.cam.runMode)) return {t.minTriggerLines, 65535};
  const double lines = frameLines(c) * divisor(c);
  const int32_t maxLines = std::max(t.minExposeLines + 1, static_cast<int32_t>(std::floor(lines)) - 1);
  return {t.minExposeLines, std::min(maxLines, 65535)};
}

bool hasShortExposure(const SimCamera& c) { return c.type == 215590 && c.version == 9; }

}  // namespace tyxsim
