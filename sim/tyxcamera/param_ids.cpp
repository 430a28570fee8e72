// param_ids.cpp - the parameter id index and the value ranges the simulated cameras accept.
#include "param_ids.h"

#include "sim_internal.h"

namespace tyxsim {
namespace {

struct Range {
  int64_t lo, hi;
};

bool inside(int64_t v, Range r) { return v >= r.lo && v <= r.hi; }

}  // namespace

const ParamField* cameraField(int32_t id) { return tyxid::findField(cameraFields(), id); }
const ExtendedField* extendedField(int32_t id) { return tyxid::findField(extendedFields(), id); }
const LinearField* linearField(int32_t id) { return tyxid::findField(linearFields(), id); }

int32_t checkRange(const TypeInfo& t, int32_t id, int64_t v) {
  Range r{0, 0};
  switch (id) {
    case 1: r = {0, 1023}; break;
    case 2:  // 18 is a mode some cameras report; the program names it
      return (inside(v, {1, 6}) || v == 18) ? 0 : kErrBadParam;
    case 3: r = {1, 4}; break;
    case 4: r = {0, 255}; break;
    case 5: r = {0, 5}; break;  // the orientation model writes its aspect 0..2 here
    case 6: r = {1, 2}; break;
    case 7:
    case 8: r = {0, t.lineCount - 1}; break;
    case 9: r = {0, 65535}; break;
    case 10:
    case 11:
    case 12: r = {0, 255}; break;
    case 13: r = {-128, 255}; break;  // signed on most cameras, 0..255 on one model
    case 14: r = {0, 15}; break;
    case 16: r = {0, 4095}; break;
    case 17:
    case 18: r = {0, 8191}; break;
    case 19: r = {1, 10000000}; break;
    case 21:
    case 22:
    case 23:
    case 24: r = {0, 255}; break;
    case 25: r = {0, 15}; break;
    case 26:
    case 27:
    case 28: r = {0, 1}; break;
    case 30: r = {INT32_MIN, INT32_MAX}; break;  // no control writes it; any value goes
    case 37: r = {0, 1023}; break;
    case 59: r = {0, 1}; break;
    case 62: r = {0, 215}; break;
    case 63: r = {0, 255}; break;
    case 64: r = {0, 15}; break;
    default: return kErrBadParam;
  }
  return inside(v, r) ? 0 : kErrBadParam;
}

int32_t checkExtendedRange(int32_t id, int64_t v) {
  Range r{0, 0};
  switch (id) {
    case 31:
    case 32: r = {0, 30}; break;
    case 33: r = {0, 650}; break;
    case 48:
    case 49:
    case 50: r = {0, 255}; break;
    case 52: r = {0, 2}; break;
    case 51:
    case 53:
    case 54:
    case 55:
    case 56: r = {0, 1}; break;
    default: return kErrBadParam;
  }
  return inside(v, r) ? 0 : kErrBadParam;
}

int32_t checkLinearRange(const TypeInfo& t, int32_t id, int64_t v) {
  const int64_t pixels = t.sensorPixels > 0 ? t.sensorPixels : 2048;
  Range r{0, 0};
  switch (id) {
    case 102: r = {0, 4}; break;
    case 103: r = {0, 7}; break;
    case 104: r = {0, pixels - 1}; break;
    case 105: r = {0, pixels}; break;
    case 106:
    case 107: r = {0, t.type == 117810 ? 65535 : 500}; break;
    case 108: r = {0, 7}; break;
    case 109: r = {0, 1}; break;
    case 110: r = {0, 16}; break;
    case 111: r = {0, 3}; break;
    case 112:
    case 113:
    case 114:
    case 115:
    case 116:
    case 117:
    case 125:
    case 126: r = {0, 1023}; break;
    case 118: r = {0, 3}; break;
    default: return kErrBadParam;
  }
  return inside(v, r) ? 0 : kErrBadParam;
}

}  // namespace tyxsim
