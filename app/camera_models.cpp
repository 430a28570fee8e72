// camera_models.cpp - membership of the type-code groups.
#include "app/camera_models.h"

#include <algorithm>

namespace types {

using namespace model;

bool isOneOf(int32_t type, std::initializer_list<int32_t> list) {
  return std::find(list.begin(), list.end(), type) != list.end();
}

bool isLineScan(int32_t t) { return isOneOf(t, {kLineScanSmall, kLineScanLong, kLineScanColour}); }

bool isUsbNine(int32_t t) {
  return isOneOf(t, {211150, 211151, 213000, 214850, 218550, 219660, 319660, 320400, kUsbLargeFrame});
}

bool isColour(int32_t t) { return isOneOf(t, {218180, 218920, 219290, 219291, 220030, kMelko}); }

bool isCircle(int32_t t, int32_t v) {
  if (isOneOf(t, {211890, 211891, 213740, 215591, 217070, 217071})) return true;
  if (t == kShortExposureCamera) return v != 9;
  return isCircleVideo(t, v);
}

bool isVideo(int32_t t, int32_t v, int32_t videoPageTag) {
  if (t == kNtscCamera) return true;
  if (isCircleVideo(t, v)) return true;
  if (t == 217070 || t == 217071) return videoPageTag == 1;
  return false;
}

bool isUsbImage(int32_t t) {
  return isOneOf(t, {211150, 211151, 212260, 212261, 213000, 214110, 214850, 215960, 217440, 218550, 218920,
                     219660, 220030, 319660, 320400, kUsbLargeFrame});
}

bool isNoGamma(int32_t t) {
  return isOneOf(t, {kLineScanSmall,
                     kLineScanLong,
                     kLineScanColour,
                     211150,
                     211151,
                     211520,
                     211521,
                     211890,
                     211891,
                     212260,
                     212261,
                     213000,
                     213370,
                     213740,
                     214110,
                     214850,
                     215220,
                     215221,
                     kShortExposureCamera,
                     215591,
                     215960,
                     216700,
                     216701,
                     217070,
                     217071,
                     217440,
                     218550,
                     218920,
                     219660,
                     220030,
                     319660,
                     320400,
                     kUsbLargeFrame});
}

// The same fourteen models have the long gamma table and the pulse trigger.
static bool isPulseTriggerModel(int32_t t) {
  return isOneOf(t, {211520, 211521, 211890, 211891, 213370, 213740, 215220, 215221, kShortExposureCamera,
                     215591, 216700, 216701, 217070, 217071});
}

bool hasLongGammaTable(int32_t t) { return isPulseTriggerModel(t); }

bool isSerialColour(int32_t t) { return isOneOf(t, {218180, 219290, 219291}); }

bool hasRgbGains(int32_t t) { return isSerialColour(t) || t == kMelko; }

bool hasEdgeTrigger(int32_t t) {
  return isOneOf(t, {211890, 211891, 213740, kShortExposureCamera, 215591, 217070, 217071});
}

bool hasNoCameraButtons(int32_t t) {
  return isOneOf(t, {213000, 214850, 218550, 219660, 319660, 320400, kUsbLargeFrame});
}

bool isNetworkLimited(int32_t t) {
  return isOneOf(t, {212260, 212261, 214110, 215960, 217440, 218920, 220030});
}

bool hasNoConfigFile(int32_t t) {
  return isOneOf(t, {kLineScanSmall, kLineScanLong, kLineScanColour, 211150, 211151, 213000, 214850, 319660,
                     320400, kUsbLargeFrame});
}

bool hasExternalSync(int32_t t) {
  return isOneOf(t,
                 {kPalCamera,    kNtscCamera,    kFieldCamera, 211520, 211521, 211890, 211891,
                  kCircleCamera, 213370,         213740,       214480, 215220, 215221, kShortExposureCamera,
                  215591,        kCircleCameraB, 216700,       216701, 217070, 217071, 218180,
                  219290,        219291});
}

bool hasLastFrameFreeze(int32_t t, int32_t v) {
  return isOneOf(t, {kPalCamera, kNtscCamera, kCircleCamera, kCircleCameraB}) && v == 4;
}

bool hasTriggerHold(int32_t t, int32_t v) { return (t == kPalCamera || t == kNtscCamera) && v == 1; }

bool hasPulseTrigger(int32_t t, int32_t v) {
  return isPulseTriggerModel(t) || (t == kCircleCamera && v == 4);
}

bool hasPalNtsc(int32_t t, int32_t v) {
  return (t == kPalCamera && (v == 1 || v == 2)) || (t == kNtscCamera && v > 0) || t == kFieldCamera;
}

bool hasFrameAverage(int32_t t, int32_t v) { return t == kPalCamera && v == 4; }

bool fullFrameIsVga(int32_t t, int32_t v) { return t == kPalCamera && v == 3; }

bool isPalSwitching(int32_t t, int32_t v) { return (t == kPalCamera || t == kNtscCamera) && v == 2; }

bool isCircleVideo(int32_t t, int32_t v) { return (t == kCircleCamera || t == kCircleCameraB) && v == 4; }

bool hasShortExposure(int32_t t, int32_t v) { return t == kShortExposureCamera && v == 9; }

bool hasPlainCorrection(int32_t t) { return isOneOf(t, {211150, 211151, 213000, 214850}); }

bool hasChannelCorrection(int32_t t) { return isOneOf(t, {218550, 219660, 319660, 320400, kUsbLargeFrame}); }

bool hasAllContrast(int32_t t) { return isOneOf(t, {218550, 219660}); }

}  // namespace types
