// camera_types.cpp - the camera models the simulated library knows, and their factory settings.
#include <algorithm>
#include <set>

#include "param_ids.h"
#include "config_file.h"
#include "sim_internal.h"

namespace tyxsim {
namespace {

bool in(int32_t t, std::initializer_list<int32_t> list) {
  return std::find(list.begin(), list.end(), t) != list.end();
}

const std::initializer_list<int32_t> kLineScan = {110410, 117810, 120770};
const std::initializer_list<int32_t> kUsbNine = {211150, 211151, 213000, 214850, 218550,
                                                 219660, 319660, 320400, 321510};
const std::initializer_list<int32_t> kColour = {218180, 218920, 219290, 219291, 220030, 321140};
const std::initializer_list<int32_t> kUsbImage = {211150, 211151, 212260, 212261, 213000, 214110,
                                                  214850, 215960, 217440, 218550, 218920, 219660,
                                                  220030, 319660, 320400, 321510};
const std::initializer_list<int32_t> kOthers = {
    210780, 210781, 210785, 211520, 211521, 211890, 211891, 212630, 213370, 213740, 214480,
    215220, 215221, 215590, 215591, 216330, 216700, 216701, 217070, 217071, 321880};

TypeInfo build(int32_t type) {
  TypeInfo t;
  t.type = type;
  t.kind = in(type, kLineScan) ? Kind::LineScan : Kind::Area;
  t.colour = in(type, kColour);
  t.usbImage = in(type, kUsbImage);
  if (t.kind == Kind::LineScan) {
    t.tags = {{1002, 1}};
    t.sensorPixels = type == 110410 ? 1024 : 2048;
    t.rateDivisors.clear();
    return t;
  }
  // Area-scan defaults: edge trigger and partial frames available.
  t.tags = {{1000, 1}, {1001, 1}, {36, 1}};
  if (t.colour) t.tags[38] = 1;
  if (in(type, kUsbNine)) t.tags = {{36, 1}};
  if (t.usbImage) {
    t.usbMaxWidth = 1280;
    t.usbMaxHeight = 1024;
  }

  switch (type) {
    case 219290:  // colour area-scan, the most complete camera
      t.linePeriodUs = 62.5;
      t.tags.insert({{31, 1}, {32, 1}, {33, 1}, {34, 1}, {37, 2}});
      t.rateDivisors = {1.0, 2.0, -1.0, 4.0};  // the third rate is not offered
      break;
    case 210780:
    case 210785:
    case 216330:
      t.linePeriodUs = 64.0;
      t.lineCount = 576;
      t.lineStep = 4;
      t.blankLines = 49;
      t.videoRate = 25.0;
      t.tags[1001] = 0;
      t.defaultVersion = type == 210780 ? 4 : 1;
      break;
    case 210781:  // NTSC video camera
      t.linePeriodUs = 63.5;
      t.lineCount = 480;
      t.lineStep = 2;
      t.blankLines = 45;
      t.videoRate = 30.0;
      t.defaultVersion = 2;
      t.tags = {{36, 1}, {25, 1}, {26, 0}, {27, 1}, {28, 1}};
      break;
    case 212630:  // PAL camera with electronic circle
      t.linePeriodUs = 64.0;
      t.lineCount = 576;
      t.lineStep = 4;
      t.blankLines = 49;
      t.videoRate = 25.0;
      t.defaultVersion = 4;
      t.tags.insert({{31, 1}, {32, 0}, {33, 1}, {34, 1}});
      break;
    case 215590:  // short exposure with version 9
      t.linePeriodUs = 40.0;
      t.lineCount = 1024;
      t.lineStep = 16;
      t.blankLines = 16;
      t.defaultVersion = 9;
      t.tags.insert({{37, 2}, {38, 2}});
      break;
    case 219660:
    case 218550:
    case 319660:
      t.linePeriodUs = 20.0;
      t.lineCount = 1536;
      t.lineStep = 8;
      t.blankLines = 32;
      t.usbMaxWidth = 2048;
      t.usbMaxHeight = 1536;
      break;
    case 211150:
    case 211151:
      t.linePeriodUs = 25.0;
      t.lineCount = 1024;
      t.lineStep = 8;
      t.blankLines = 24;
      break;
    case 320400:
    case 214850:
      t.linePeriodUs = 30.0;
      t.lineCount = 1944;
      t.lineStep = 8;
      t.usbMaxWidth = 2592;
      t.usbMaxHeight = 1944;
      break;
    case 321880:  // 4K video model
      t.linePeriodUs = 7.5;
      t.lineCount = 2160;
      t.lineStep = 8;
      t.blankLines = 90;
      t.tags[34] = 1;
      break;
    case 321140:  // image orientation model, colour without white balance
      t.linePeriodUs = 30.0;
      t.lineCount = 1080;
      t.lineStep = 4;
      t.blankLines = 45;
      t.tags[38] = 0;
      break;
    case 218920:
      t.linePeriodUs = 31.25;
      t.lineCount = 1024;
      t.lineStep = 8;
      t.blankLines = 32;
      break;
    case 212260:
    case 212261:
      t.linePeriodUs = 40.0;
      t.lineCount = 576;
      t.lineStep = 4;
      t.blankLines = 49;
      t.usbMaxWidth = 768;
      t.usbMaxHeight = 576;
      t.tags[1000] = 0;
      break;
    default:
      break;
  }
  return t;
}

const std::map<int32_t, TypeInfo>& table() {
  static const std::map<int32_t, TypeInfo> types = [] {
    std::map<int32_t, TypeInfo> m;
    for (auto list : {kLineScan, kUsbNine, kColour, kUsbImage, kOthers})
      for (int32_t t : list) m.emplace(t, build(t));
    return m;
  }();
  return types;
}

int32_t clampTo(int32_t v, int32_t lo, int32_t hi) { return std::max(lo, std::min(hi, v)); }

}  // namespace

const TypeInfo* findType(int32_t type) {
  auto it = table().find(type);
  return it == table().end() ? nullptr : &it->second;
}

std::vector<int32_t> knownTypes() {
  std::vector<int32_t> v;
  for (auto& [k, t] : table()) v.push_back(k);
  return v;
}

int32_t SimCamera::tag(int32_t n) const {
  auto o = tagOverrides.find(n);
  if (o != tagOverrides.end()) return o->second;
  auto it = info->tags.find(n);
  return it == info->tags.end() ? 0 : it->second;
}

TyxCameraParams factoryCameraParams(const TypeInfo& t) {
  TyxCameraParams p{};
  p.size = sizeof(TyxCameraParams);
  p.marker = 0xFFFE;
  p.lineStep = t.lineStep;
  p.lineCount = t.lineCount;
  p.gain = 330;
  p.black = 32;
  p.runMode = 1;
  p.gamma = 2;
  p.frameMode = 1;
  p.outputMode = 1;
  // A centred half-height window on whole line steps.
  p.beginLine = std::max(t.lineStep, (t.lineCount / 4) / t.lineStep * t.lineStep);
  p.endLine = clampTo(t.lineCount * 3 / 4 - 1, p.beginLine + 1, t.lineCount - 1);
  p.exposalTime = clampTo(270, t.minExposeLines, t.lineCount + t.blankLines - 1);
  p.rGain = p.gGain = p.bGain = t.colour ? 128 : 0;
  p.saturation = 0;
  p.rate = 0;
  p.radius = t.lineCount / 3;
  p.coordinateX = t.lineCount * 2 / 3;
  p.coordinateY = t.lineCount / 2;
  p.usbExposure = 16667;
  p.rBrightness = p.gBrightness = p.bBrightness = 128;
  p.allContrast = 56;
  p.param30 = 50;
  p.brightness = 256;
  return p;
}

TyxExtendedParams factoryExtendedParams(const TypeInfo&) {
  TyxExtendedParams e{};
  e.size = sizeof(TyxExtendedParams);
  e.riseDelay = 10;
  e.fallDelay = 10;
  e.protectTime = 100;
  e.modelContrast = 128;
  e.modelSaturation = 128;
  e.autoExtinctionTarget = 100;
  e.autoExtinction = 1;
  e.resolution = 2;
  e.resolutionSettingMode = 0;
  e.sensorSpeed = 1;
  e.frameRate = 1;
  e.autoWhiteBalance = 1;
  return e;
}

TyxLinearParams factoryLinearParams(const TypeInfo& t) {
  TyxLinearParams l{};
  l.size = sizeof(TyxLinearParams);
  l.marker = 0xFFFE;
  l.workMode = 0;
  l.cameraLinkMode = 0;
  l.aoiStart = 1;
  l.aoiLength = t.sensorPixels > 0 ? t.sensorPixels : 2048;
  l.time1 = 100;
  l.time2 = t.type == 117810 ? 5000 : 200;
  l.redGain = l.greenGain = l.blueGain = 256;
  l.redOffset = l.greenOffset = l.blueOffset = 32;
  l.gainLevel = 0;
  l.overallGain = 256;
  l.overallOffset = 32;
  return l;
}

int32_t checkCameraParamsBlock(const TypeInfo& t, const TyxCameraParams& p) {
  if (p.size != static_cast<int32_t>(sizeof(TyxCameraParams))) return kErrBadParam;
  for (const ParamField& f : cameraFields()) {
    if (checkRange(t, f.id, p.*(f.member)) != 0) return kErrBadParam;
  }
  return 0;
}

int32_t checkExtendedBlock(const TyxExtendedParams& p) {
  if (p.size != static_cast<int32_t>(sizeof(TyxExtendedParams))) return kErrBadParam;
  for (const ExtendedField& f : extendedFields()) {
    if (checkExtendedRange(f.id, p.*(f.member)) != 0) return kErrBadParam;
  }
  return 0;
}

int32_t checkLinearBlock(const TypeInfo& t, const TyxLinearParams& p) {
  if (p.size != static_cast<int32_t>(sizeof(TyxLinearParams))) return kErrBadParam;
  for (const LinearField& f : linearFields()) {
    if (checkLinearRange(t, f.id, p.*(f.member)) != 0) return kErrBadParam;
  }
  return 0;
}

int32_t checkConfigBlocks(const SimCamera& c, const ParsedConfig& pc) {
  const bool lineScan = c.info->kind == Kind::LineScan;
  if (!lineScan) {
    if (const int32_t e = checkCameraParamsBlock(*c.info, pc.cam)) return e;
  }
  if (const int32_t e = checkExtendedBlock(pc.ext)) return e;
  return lineScan ? checkLinearBlock(*c.info, pc.lin) : 0;
}

}  // namespace tyxsim
