// camera_values.cpp - the table of camera values and the one writer.
#include "app/camera_values.h"

#include <QStringList>
#include <algorithm>
#include <cmath>
#include <limits>
#include <tuple>
#include <vector>

#include "app/camera_library.h"
#include "app/camera_models.h"
#include "app/camera_state.h"
#include "pages/linescan/linear_timing.h"

namespace camval {

namespace {

constexpr int64_t kIntMax = std::numeric_limits<int32_t>::max();

// Ranges -------------------------------------------------------------------

template <int64_t Lo, int64_t Hi>
Range fixed(const CameraState&) {
  return {Lo, Hi, true};
}

int32_t one(const CameraState&) { return 1; }

// The partial window moves in whole line steps of the sensor.
int32_t lineStep(const CameraState& s) { return s.lineStep > 0 ? s.lineStep : 1; }

Range beginLineRange(const CameraState& s) { return {lineStep(s), int64_t{s.params.endLine} - 1, true}; }
Range endLineRange(const CameraState& s) { return {int64_t{s.params.beginLine} + 1, int64_t{s.lineCount} - 1, true}; }

Range exposureLineRange(const CameraState& s) {
  int32_t lo = 0, hi = 0;
  if (CameraLibrary::instance().calExposeRange(s.handle, &lo, &hi) == 0) return {0, 0, false};
  return {lo, hi, true};
}

Range exposureTimeRange(const CameraState& s) {
  const Range lines = exposureLineRange(s);
  if (!lines.known) return lines;
  CameraLibrary& lib = CameraLibrary::instance();
  return {lib.calExposeTime(s.handle, static_cast<int32_t>(lines.lo)),
          lib.calExposeTime(s.handle, static_cast<int32_t>(lines.hi)), true};
}

// The rate list ends at the first zero; the library's placeholder -2 holds
// a place without an entry. A library that never ends it stops at 256.
Range rateRange(const CameraState& s) {
  int count = 0;
  for (int i = 0; i < 256; ++i) {
    const double rate = CameraLibrary::instance().calFrameRate(s.handle, i);
    const int r = wholeRate(rate);
    if (r == 0) break;
    if (r == -2 || std::lround(rate) == -2) continue;
    ++count;
  }
  return {0, std::max(0, count - 1), count > 0};
}

// The image orientation model has whole-number gains; the others take
// multiples of 4 up to 252.
bool unitGains(const CameraState& s) { return s.typeCode == model::kMelko; }
Range gainRange(const CameraState& s) { return {0, unitGains(s) ? 255 : 252, true}; }
int32_t gainStep(const CameraState& s) { return unitGains(s) ? 1 : 4; }
// The colour page takes up to 255 and lowers it to the step.
Range gainTyped(const CameraState&) { return {0, 255, true}; }

// The colour page shows the saturation as a signed byte, except on the image
// orientation model; the control bar shows the byte as it is.
Range saturationRange(const CameraState& s) { return unitGains(s) ? Range{0, 255, true} : Range{-128, 127, true}; }

Range melkoExposureRange(const CameraState& s) { return {0, s.params.runMode == 1 ? 1568 : 4091, true}; }

bool isColourLineScan(const CameraState& s) { return s.typeCode == linescan::kColourType; }
bool isLongLineScan(const CameraState& s) { return s.typeCode == linescan::kLongType; }
Range outputFormatRange(const CameraState& s) { return {0, isColourLineScan(s) ? 4 : 3, true}; }
Range testImageRange(const CameraState& s) { return {0, isColourLineScan(s) ? 6 : 3, true}; }
Range timeRange(const CameraState& s) { return {isLongLineScan(s) ? 1 : 0, isLongLineScan(s) ? 65535 : 500, true}; }
Range time2Range(const CameraState& s) { return {isLongLineScan(s) ? 2118 : 0, isLongLineScan(s) ? 65535 : 500, true}; }

// Who has a value ----------------------------------------------------------

bool areaScan(const CameraState& s) { return !types::isLineScan(s.typeCode); }
bool lineScan(const CameraState& s) { return types::isLineScan(s.typeCode); }
bool brightnessRow(const CameraState& s) { return areaScan(s) && s.brightnessRowTag == 2; }
bool partialWindow(const CameraState& s) {
  return areaScan(s) && CameraLibrary::instance().functionTag(s.handle, tyxid::kTagPartialFrame) != 0;
}
bool exposureInLines(const CameraState& s) { return areaScan(s) && s.typeCode != model::kMelko; }
bool colour(const CameraState& s) { return types::isColour(s.typeCode); }
bool whiteBalance(const CameraState& s) { return colour(s) && s.whiteBalanceTag == 1; }
bool shortExposure(const CameraState& s) { return types::hasShortExposure(s.typeCode, s.versionCode); }
bool riseDelay(const CameraState& s) { return s.riseDelayTag == 1; }
bool fallDelay(const CameraState& s) { return s.fallDelayTag == 1; }
bool protectTime(const CameraState& s) { return s.protectTimeTag == 1; }
bool circle(const CameraState& s) { return types::isCircle(s.typeCode, s.versionCode); }
bool tarvo(const CameraState& s) { return s.typeCode == model::kTarvo; }
bool melko(const CameraState& s) { return s.typeCode == model::kMelko; }
bool correction(const CameraState& s) {
  return types::hasPlainCorrection(s.typeCode) || types::hasChannelCorrection(s.typeCode);
}
bool allContrast(const CameraState& s) { return types::hasAllContrast(s.typeCode); }
bool colourLineScan(const CameraState& s) { return isColourLineScan(s); }
bool usbImage(const CameraState& s) { return types::isUsbImage(s.typeCode); }

bool edgeTrigger(const CameraState& s) {
  return CameraLibrary::instance().functionTag(s.handle, tyxid::kTagEdgeTrigger) == 1;
}
bool externalSync(const CameraState& s) { return types::hasExternalSync(s.typeCode); }
bool lastFrameFreeze(const CameraState& s) { return types::hasLastFrameFreeze(s.typeCode, s.versionCode); }
bool pulseTrigger(const CameraState& s) { return types::hasPulseTrigger(s.typeCode, s.versionCode); }
bool triggerHold(const CameraState& s) { return types::hasTriggerHold(s.typeCode, s.versionCode); }
bool fullFrame(const CameraState& s) { return s.typeCode != model::kMelko; }
bool partFrame(const CameraState& s) {
  return CameraLibrary::instance().functionTag(s.handle, tyxid::kTagPartialFrame) == 1;
}
bool never(const CameraState&) { return false; }
bool palNtsc(const CameraState& s) { return types::hasPalNtsc(s.typeCode, s.versionCode); }
bool frameAverage(const CameraState& s) { return types::hasFrameAverage(s.typeCode, s.versionCode); }

// Words ---------------------------------------------------------------------

constexpr Word kRunModes[] = {
    {"free-run", 1, 1, Clamp::ExposureFromAbove},
    {"edge-trigger", 2, 2, Clamp::ExposureFromBelow, false, edgeTrigger},
    {"external-sync", 3, 3, Clamp::ExposureFromAbove, false, externalSync},
    {"last-frame-freeze", 4, 4, Clamp::None, false, lastFrameFreeze},
    {"pulse-trigger", 5, 5, Clamp::ExposureFromBelow, false, pulseTrigger},
    {"trigger-hold", 6, 6, Clamp::ExposureFromBelow, false, triggerHold},
};

// Multi-frame average is frame mode 4 to the camera, like PAL; the record
// holds 5 to tell the two apart.
constexpr Word kFrameModes[] = {
    {"full", 1, 1, Clamp::None, false, fullFrame},
    {"part", 2, 2, Clamp::ExposureFromAbove, false, partFrame},
    {"binning", 3, 3, Clamp::ExposureFromAbove, true, never},
    {"pal", 4, 4, Clamp::ExposureFromAbove, false, palNtsc},
    {"frame-average", 5, 4, Clamp::ExposureFromAbove, true, frameAverage},
};

constexpr Word kOutputModes[] = {{"camera", 1, 1}, {"test-image", 2, 2}};
constexpr Word kOffOn[] = {{"off", 0, 0}, {"on", 1, 1}};
constexpr Word kResolutionSettingModes[] = {{"switch", 0, 0}, {"com", 1, 1}};
constexpr Word kSensorSpeeds[] = {{"slow", 0, 0}, {"fast", 1, 1}};
constexpr Word kDisplayModes[] = {{"half-screen", 0, 0}, {"full-screen", 1, 1}};
// The image orientation model reads the frame-mode id as its picture aspect.
constexpr Word kImageAspects[] = {{"scaled-4-3", 0, 0}, {"wide-16-9", 1, 1}, {"unscaled-4-3", 2, 2}};
constexpr Word kWorkModes[] = {
    {"free-run-programmable", 0, 0},  {"free-run-edge", 1, 1}, {"exsync-programmable", 2, 2},
    {"exsync-edge", 3, 3},            {"exsync-level", 4, 4},
};

// Where windows differ on purpose ---------------------------------------------

// The parameter page lowers a first line off the step to it; the control
// bar refuses it, so that the value the user sees in its one edit is the
// value the camera has.
constexpr WindowRule kBeginLineRules[] = {
    {Window::Any, OffStep::Refuse, nullptr, {0, 40, ThumbRound::Exact, ThumbRound::Exact, false, true, 3},
     "the tool takes only lines on the step"},
    {Window::ParamPage,
     OffStep::Lower,
     nullptr,
     {0, 40, ThumbRound::TowardZero, ThumbRound::Exact, false, false, 3},
     "a typed first line is lowered to the step; a dragged thumb is taken where it is and refused off the step"},
    {Window::ControlBar,
     OffStep::Refuse,
     nullptr,
     {0, 40, ThumbRound::TowardZero, ThumbRound::TowardZero, true, false, 3, 4},
     "a first line off the step is refused, typed or scrolled"},
};

// The colour page lowers a gain to the step; the control bar refuses one
// off it.
constexpr WindowRule kColourGainRules[] = {
    {Window::Any, OffStep::Refuse, nullptr, {0, 40}, "the tool takes only gains on the step"},
    {Window::ColourPage,
     OffStep::Lower,
     gainTyped,
     {0, 10, ThumbRound::Down, ThumbRound::Down, false, true, 10},
     "a typed gain up to 255 is lowered to the step"},
    {Window::ControlBar,
     OffStep::Refuse,
     nullptr,
     {0, 40, ThumbRound::TowardZero, ThumbRound::TowardZero, true, false},
     "a gain off the step is refused"},
};

// The control bar shows the saturation byte unsigned.
constexpr WindowRule kSaturationRules[] = {
    {Window::Any, OffStep::Keep, nullptr, {1, 10, ThumbRound::Down, ThumbRound::Down, false, true}, ""},
    {Window::ControlBar,
     OffStep::Keep,
     fixed<0, 255>,
     {1, 40, ThumbRound::TowardZero, ThumbRound::TowardZero, true, false},
     "the byte as the camera keeps it, 0..255"},
};

constexpr WindowRule kParamRowRules[] = {
    {Window::Any, OffStep::Keep, nullptr, {1, 40}, ""},
    {Window::ParamPage, OffStep::Keep, nullptr, {1, 40, ThumbRound::TowardZero, ThumbRound::Exact, false, false}, ""},
    {Window::ControlBar,
     OffStep::Keep,
     nullptr,
     {1, 40, ThumbRound::TowardZero, ThumbRound::TowardZero, true, false},
     ""},
};

// What else a value needs ---------------------------------------------------

// In PAL/NTSC mode these cameras number their two rates themselves.
int32_t rateSent(const CameraState& s, int32_t stored) {
  if (s.params.frameMode == 4 && s.typeCode == model::kFieldCamera) return 1;
  if (s.params.frameMode == 4 && types::isPalSwitching(s.typeCode, s.versionCode)) return 0;
  return stored;
}

// Choosing PAL sets the rate these cameras run PAL at.
void afterFrameMode(CameraState& s, int32_t stored) {
  if (stored != 4) return;
  if (s.typeCode == model::kFieldCamera)
    s.applyParam(tyxid::kRate, 1);
  else if (types::isPalSwitching(s.typeCode, s.versionCode))
    s.applyParam(tyxid::kRate, 0);
}

// A new work mode changes what the two times mean; the camera needs a pair
// that is valid in it, Time2 first.
void afterWorkMode(CameraState& s, int32_t stored) {
  const linescan::ModeAdjust a = linescan::adjustForWorkMode(s.typeCode, stored, s.linear.time1, s.linear.time2);
  if (a.writeTime2) {
    s.linear.time2 = a.time2;
    s.applyParam(tyxid::kTime2, a.time2);
  }
  if (a.writeTime1) {
    s.linear.time1 = a.time1;
    s.applyParam(tyxid::kTime1, a.time1);
  }
}

// The table -------------------------------------------------------------------

using P = TyxCameraParams;
using E = TyxExtendedParams;
using L = TyxLinearParams;

Descriptor command(const char* name, tyxid::Param id, Range (*r)(const CameraState&),
                   bool (*avail)(const CameraState&), const char* summary) {
  Descriptor d{name, id, Record::None};
  d.range = r;
  d.step = one;
  d.available = avail;
  d.summary = summary;
  return d;
}

void setField(Descriptor& d, int32_t P::*member) {
  d.record = Record::Camera;
  d.cameraField = member;
}
void setField(Descriptor& d, int32_t E::*member) {
  d.record = Record::Extended;
  d.extendedField = member;
}
void setField(Descriptor& d, int32_t L::*member) {
  d.record = Record::Linear;
  d.linearField = member;
}

// A value mirrored in a record; the member says which record.
template <typename Member>
Descriptor field(const char* name, tyxid::Param id, Member member, Range (*r)(const CameraState&),
                 bool (*avail)(const CameraState&), const char* summary) {
  Descriptor d = command(name, id, r, avail, summary);
  setField(d, member);
  return d;
}

template <typename F>
Descriptor with(Descriptor d, F change) {
  change(d);
  return d;
}

// The area-scan parameter page's and the control bar's values.
void addParamPageValues(std::vector<Descriptor>& t) {
  t.push_back(with(field("gain", tyxid::kGain, &P::gain, fixed<0, 1023>, areaScan, "gain"),
                   [](Descriptor& d) { d.windows = kParamRowRules; }));
  t.push_back(with(field("black", tyxid::kBlack, &P::black, fixed<0, 255>, areaScan, "black level"),
                   [](Descriptor& d) { d.windows = kParamRowRules; }));
  t.push_back(with(field("brightness", tyxid::kBrightness, &P::brightness, fixed<0, 1023>, brightnessRow,
                          "brightness"),
                   [](Descriptor& d) { d.windows = kParamRowRules; }));
  t.push_back(with(field("begin-line", tyxid::kBeginLine, &P::beginLine, beginLineRange, partialWindow,
                          "first line of the partial window"),
                   [](Descriptor& d) {
                     d.unit = "lines";
                     d.step = lineStep;
                     d.clamp = Clamp::ExposureFromAbove;
                     d.windows = kBeginLineRules;
                   }));
  t.push_back(with(field("end-line", tyxid::kEndLine, &P::endLine, endLineRange, partialWindow,
                          "last line of the partial window"),
                   [](Descriptor& d) {
                     d.unit = "lines";
                     d.clamp = Clamp::ExposureFromAbove;
                     d.windows = kParamRowRules;
                   }));
  t.push_back(with(field("exposure-us", tyxid::kExposalTime, &P::exposalTime, exposureTimeRange, exposureInLines,
                          "exposure time, converted to lines by the library"),
                   [](Descriptor& d) {
                     d.unit = "us";
                     d.conversion = Conversion::ExposureMicroseconds;
                   }));
  t.push_back(with(field("exposure-lines", tyxid::kExposalTime, &P::exposalTime, exposureLineRange,
                          exposureInLines, "exposure in sensor lines"),
                   [](Descriptor& d) {
                     d.unit = "lines";
                     d.windows = kParamRowRules;
                   }));
  t.push_back(with(field("short-exposure", tyxid::kShortExposure, &P::saturation, fixed<0, kIntMax>, shortExposure,
                          "fine part of a short exposure, as the library's conversion gives it"),
                   [](Descriptor&) {}));
  t.push_back(with(field("rate", tyxid::kRate, &P::rate, rateRange, exposureInLines,
                          "position in the camera's frame-rate list"),
                   [](Descriptor& d) { d.sent = rateSent; }));
}

// The mode page's values.
void addModePageValues(std::vector<Descriptor>& t) {
  t.push_back(with(field("run-mode", tyxid::kRunMode, &P::runMode, fixed<1, 6>, areaScan, "run mode or trigger"),
                   [](Descriptor& d) {
                     d.words = kRunModes;
                     d.clamp = Clamp::ByWord;
                   }));
  t.push_back(with(field("frame-mode", tyxid::kFrameMode, &P::frameMode, fixed<1, 5>, areaScan,
                          "full frame, partial window, PAL/NTSC or multi-frame average"),
                   [](Descriptor& d) {
                     d.words = kFrameModes;
                     d.clamp = Clamp::ByWord;
                     d.reread = Reread::BeforeReported;
                     d.apply = Apply::RetriedThenReported;
                     d.after = afterFrameMode;
                   }));
  t.push_back(with(field("output-mode", tyxid::kOutputMode, &P::outputMode, fixed<1, 2>, areaScan,
                          "camera image or test image"),
                   [](Descriptor& d) {
                     d.words = kOutputModes;
                     d.reread = Reread::AfterSilent;
                   }));
  t.push_back(with(field("rise-delay-us", tyxid::kRiseDelay, &E::riseDelay, fixed<0, 30>, riseDelay,
                            "edge-trigger rise delay"),
                   [](Descriptor& d) { d.unit = "us"; }));
  t.push_back(with(field("fall-delay-us", tyxid::kFallDelay, &E::fallDelay, fixed<0, 30>, fallDelay,
                            "edge-trigger fall delay"),
                   [](Descriptor& d) { d.unit = "us"; }));
  t.push_back(with(field("protect-time-ms", tyxid::kProtectTime, &E::protectTime, fixed<0, 650>, protectTime,
                            "edge-trigger protect time"),
                   [](Descriptor& d) { d.unit = "ms"; }));
  t.push_back(field("gamma", tyxid::kGamma, &P::gamma, fixed<1, 4>, areaScan, "gamma setting"));
}

// The colour page's and the electronic circle's values.
void addColourAndCircleValues(std::vector<Descriptor>& t) {
  for (auto [name, id, member] : {std::tuple{"r-gain", tyxid::kRGain, &P::rGain},
                                 std::tuple{"g-gain", tyxid::kGGain, &P::gGain},
                                 std::tuple{"b-gain", tyxid::kBGain, &P::bGain}}) {
    t.push_back(with(field(name, id, member, gainRange, colour, "colour gain"), [](Descriptor& d) {
      d.step = gainStep;
      d.windows = kColourGainRules;
    }));
  }
  t.push_back(with(field("saturation", tyxid::kSaturation, &P::saturation, saturationRange, colour, "saturation"),
                   [](Descriptor& d) { d.windows = kSaturationRules; }));
  t.push_back(with(command("white-balance", tyxid::kStartWhiteBalance, fixed<1, 1>, whiteBalance,
                           "starts the automatic white balance (1)"),
                   [](Descriptor& d) { d.reread = Reread::AfterReported; }));
  // Electronic circle.
  t.push_back(with(field("radius", tyxid::kRadius, &P::radius, fixed<0, kIntMax>, circle, "circle radius"),
                   [](Descriptor& d) {
                     d.reread = Reread::AfterReportedKeep;
                     d.sentUnsigned = true;
                   }));
  t.push_back(with(field("circle-x", tyxid::kCoordinateX, &P::coordinateX, fixed<0, kIntMax>, circle, "circle centre x"),
                   [](Descriptor& d) { d.sentUnsigned = true; }));
  t.push_back(with(field("circle-y", tyxid::kCoordinateY, &P::coordinateY, fixed<0, kIntMax>, circle, "circle centre y"),
                   [](Descriptor& d) { d.sentUnsigned = true; }));
}

// Colour correction and the model pages' values.
void addModelValues(std::vector<Descriptor>& t) {
  t.push_back(field("r-brightness", tyxid::kRBrightness, &P::rBrightness, fixed<0, 255>, correction,
                     "red brightness"));
  t.push_back(field("g-brightness", tyxid::kGBrightness, &P::gBrightness, fixed<0, 255>, correction,
                     "green brightness"));
  t.push_back(field("b-brightness", tyxid::kBBrightness, &P::bBrightness, fixed<0, 255>, correction,
                     "blue brightness"));
  t.push_back(field("all-contrast", tyxid::kAllContrast, &P::allContrast, fixed<0, 255>, allContrast,
                     "contrast of all channels"));
  // The 4K video model.
  t.push_back(field("model-contrast", tyxid::kModelContrast, &E::modelContrast, fixed<0, 255>, tarvo, "contrast"));
  t.push_back(
      field("model-saturation", tyxid::kModelSaturation, &E::modelSaturation, fixed<0, 255>, tarvo, "saturation"));
  t.push_back(field("extinction-target", tyxid::kAutoExtinctionTarget, &E::autoExtinctionTarget, fixed<0, 255>,
                       tarvo, "target of the automatic exposure"));
  t.push_back(with(field("auto-extinction", tyxid::kAutoExtinction, &E::autoExtinction, fixed<0, 1>, tarvo,
                            "automatic exposure"),
                   [](Descriptor& d) { d.words = kOffOn; }));
  t.push_back(with(field("auto-white-balance", tyxid::kAutoWhiteBalance, &E::autoWhiteBalance, fixed<0, 1>, tarvo,
                            "automatic white balance"),
                   [](Descriptor& d) {
                     d.words = kOffOn;
                     d.apply = Apply::Unreported;
                   }));
  t.push_back(with(field("resolution-setting", tyxid::kResolutionSettingMode, &E::resolutionSettingMode,
                            fixed<0, 1>, tarvo, "where the video mode is set"),
                   [](Descriptor& d) { d.words = kResolutionSettingModes; }));
  t.push_back(with(field("resolution", tyxid::kResolution, &E::resolution, fixed<0, 2>, tarvo, "video resolution"),
                   [](Descriptor& d) { d.apply = Apply::Unreported; }));
  t.push_back(with(field("frame-rate", tyxid::kFrameRate, &E::frameRate, fixed<0, 1>, tarvo, "video frame rate"),
                   [](Descriptor& d) { d.apply = Apply::Unreported; }));
  t.push_back(with(field("sensor-speed", tyxid::kSensorSpeed, &E::sensorSpeed, fixed<0, 1>, tarvo, "sensor speed"),
                   [](Descriptor& d) {
                     d.words = kSensorSpeeds;
                     d.apply = Apply::Unreported;
                   }));
  t.push_back(command("manual-white-balance", tyxid::kManualWhiteBalance, fixed<1, 1>, tarvo,
                      "one manual white balance (1)"));
  // The image orientation model.
  t.push_back(command("save-value", tyxid::kSaveValue, fixed<1, 255>, melko, "save value"));
  t.push_back(command("open-value", tyxid::kOpenValue, fixed<0, 255>, melko, "open value"));
  t.push_back(field("x-shift", tyxid::kXShift, &P::xShift, fixed<0, 215>, melko, "horizontal image shift"));
  t.push_back(field("y-shift", tyxid::kYShift, &P::yShift, fixed<0, 255>, melko, "vertical image shift"));
  t.push_back(field("edge-enhance", tyxid::kEdgeEnhance, &P::edgeEnhance, fixed<0, 15>, melko, "edge enhancement"));
  t.push_back(with(command("model-exposure-lines", tyxid::kExposureLines, melkoExposureRange, melko,
                           "exposure in lines; the camera's own reading is shown"),
                   [](Descriptor& d) { d.unit = "lines"; }));
  t.push_back(with(field("text-display", tyxid::kTextDisplay, &P::textDisplay, fixed<0, 1>, melko, "text overlay"),
                   [](Descriptor& d) { d.words = kOffOn; }));
  t.push_back(with(command("display-mode", tyxid::kDisplayMode, fixed<0, 1>, melko, "full- or half-screen display"),
                   [](Descriptor& d) { d.words = kDisplayModes; }));
  // The same id as the frame mode and the same record field, with the
  // model's own meaning: a plain write, no exposure clamp, no read-back.
  t.push_back(with(field("image-aspect", tyxid::kFrameMode, &P::frameMode, fixed<0, 2>, melko,
                          "picture aspect: 16:9, 4:3 scaled or 4:3 unscaled"),
                   [](Descriptor& d) {
                     d.words = kImageAspects;
                     d.apply = Apply::Unreported;
                   }));
  t.push_back(with(command("colour-mode", tyxid::kColourMode, fixed<0, kIntMax>, melko, "colour mode"),
                   [](Descriptor& d) {
                     d.apply = Apply::Unreported;
                     d.reread = Reread::AfterSilent;
                   }));
  t.push_back(with(field("horizontal-inverse", tyxid::kHorizontalInverse, &P::horizontalInverse, fixed<0, 1>,
                          areaScan, "mirror left to right"),
                   [](Descriptor& d) { d.words = kOffOn; }));
  t.push_back(with(field("vertical-inverse", tyxid::kVerticalInverse, &P::verticalInverse, fixed<0, 1>, areaScan,
                          "mirror top to bottom"),
                   [](Descriptor& d) { d.words = kOffOn; }));
}

// The USB and video cameras' values and the line-scan cameras'.
void addUsbAndLineScanValues(std::vector<Descriptor>& t) {
  t.push_back(with(field("usb-exposure-us", tyxid::kUsbExposure, &P::usbExposure, fixed<0, kIntMax>, usbImage,
                          "exposure of the USB image models"),
                   [](Descriptor& d) { d.unit = "us"; }));
  t.push_back(field("recursion", tyxid::kRecursionParam, &P::recursionParam, fixed<0, kIntMax>, areaScan,
                     "recursive noise filter"));
  t.push_back(with(field("negative-image", tyxid::kNegativeImage, &P::negativeImage, fixed<0, 1>, areaScan,
                          "negative image"),
                   [](Descriptor& d) { d.words = kOffOn; }));
  // Line-scan cameras.
  t.push_back(with(field("work-mode", tyxid::kWorkMode, &L::workMode, fixed<0, 4>, lineScan, "work mode"),
                   [](Descriptor& d) {
                     d.words = kWorkModes;
                     d.after = afterWorkMode;
                   }));
  t.push_back(field("output-format", tyxid::kCameraLinkMode, &L::cameraLinkMode, outputFormatRange, lineScan,
                     "Camera Link output format (position in the list)"));
  t.push_back(field("test-image", tyxid::kTestImage, &L::testImage, testImageRange, lineScan,
                     "live image or a test image (position in the list)"));
  t.push_back(
      field("correction-start", tyxid::kCorrectionStart, &L::correctionStart, fixed<0, 1>, lineScan, "red or blue line first"));
  t.push_back(field("correction-lines", tyxid::kCorrectionLines, &L::correctionLines, fixed<0, 16>, lineScan,
                     "lines of position correction"));
  t.push_back(field("data-shift", tyxid::kDataShift, &L::dataShift, fixed<0, 3>, lineScan, "data shift in bits"));
  t.push_back(with(field("aoi-start", tyxid::kAoiStart, &L::aoiStart, fixed<1, 2160>, lineScan, "first AOI pixel"),
                   [](Descriptor& d) { d.unit = "pixels"; }));
  t.push_back(with(field("aoi-length", tyxid::kAoiLength, &L::aoiLength, fixed<1, 2160>, lineScan, "AOI length"),
                   [](Descriptor& d) { d.unit = "pixels"; }));
  t.push_back(field("time1", tyxid::kTime1, &L::time1, timeRange, lineScan, "Time1 of the work mode"));
  t.push_back(field("time2", tyxid::kTime2, &L::time2, time2Range, lineScan, "Time2 of the work mode"));
  t.push_back(field("gain-level", tyxid::kGainLevel, &L::gainLevel, fixed<0, 3>, lineScan, "gain level 1..4 (0..3)"));
  for (auto [name, id, member, summary] :
       {std::tuple{"red-gain", tyxid::kRedGain, &L::redGain, "red gain"},
        std::tuple{"green-gain", tyxid::kGreenGain, &L::greenGain, "green gain"},
        std::tuple{"blue-gain", tyxid::kBlueGain, &L::blueGain, "blue gain"},
        std::tuple{"red-offset", tyxid::kRedOffset, &L::redOffset, "red offset"},
        std::tuple{"green-offset", tyxid::kGreenOffset, &L::greenOffset, "green offset"},
        std::tuple{"blue-offset", tyxid::kBlueOffset, &L::blueOffset, "blue offset"},
        std::tuple{"overall-gain", tyxid::kOverallGain, &L::overallGain, "overall gain"},
        std::tuple{"overall-offset", tyxid::kOverallOffset, &L::overallOffset, "overall offset"}}) {
    t.push_back(field(name, id, member, fixed<0, 1023>, colourLineScan, summary));
  }
}

std::vector<Descriptor> buildTable() {
  std::vector<Descriptor> t;
  addParamPageValues(t);
  addModePageValues(t);
  addColourAndCircleValues(t);
  addModelValues(t);
  addUsbAndLineScanValues(t);
  return t;
}

const std::vector<Descriptor>& table() {
  static const std::vector<Descriptor> t = buildTable();
  return t;
}

const Word* wordOf(const Descriptor& d, int32_t stored) {
  for (const Word& w : d.words)
    if (w.stored == stored) return &w;
  return nullptr;
}

QString rangeText(const Range& r) { return QStringLiteral("%1..%2").arg(r.lo).arg(r.hi); }

// "gain takes 0..1023", in the language of the program (the tool's --lang).
QString takes(const Descriptor& d, const CameraState& s, const QString& allowedText) {
  return s.text("%1 takes %2", "%1 的取值为 %2").arg(QString::fromUtf8(d.name), allowedText);
}

// The line-scan times have rules of their own against the other time of the
// pair and the work mode; a time the rules would correct is not taken.
std::optional<QString> timeRule(const Descriptor& d, const CameraState& s, int64_t value) {
  if (d.id != tyxid::kTime1 && d.id != tyxid::kTime2) return std::nullopt;
  const TyxLinearParams& b = s.linear;
  const linescan::TimeCheck c = d.id == tyxid::kTime1
                                    ? linescan::checkTime1(s.typeCode, b.workMode, value, b.time2, false)
                                    : linescan::checkTime2(s.typeCode, b.workMode, b.time1, value, false);
  if (c.message == nullptr && c.value == value && !c.setTime1 && !c.setOther && c.write) return std::nullopt;
  return s.text("%1 %2 does not fit time%3 %4 in work mode %5 (the camera would take %6)",
                "%1 %2 与工作模式 %5 下的 time%3 %4 不相配（相机会取 %6）")
      .arg(QString::fromUtf8(d.name))
      .arg(value)
      .arg(d.id == tyxid::kTime1 ? 2 : 1)
      .arg(d.id == tyxid::kTime1 ? b.time2 : b.time1)
      .arg(b.workMode)
      .arg(c.value);
}

}  // namespace

std::span<const Descriptor> all() { return table(); }

const Descriptor* byName(std::string_view name) {
  for (const Descriptor& d : table())
    if (name == d.name) return &d;
  return nullptr;
}

const Descriptor* byId(int32_t id) {
  for (const Descriptor& d : table())
    if (d.id == id) return &d;
  return nullptr;
}

const Descriptor& of(int32_t id) {
  const Descriptor* d = byId(id);
  if (d == nullptr) qFatal("camval: no description for parameter id %d", int(id));
  return *d;
}

const Descriptor& named(std::string_view name) {
  const Descriptor* d = byName(name);
  if (d == nullptr) qFatal("camval: no description named \"%.*s\"", int(name.size()), name.data());
  return *d;
}

WindowRule rule(const Descriptor& d, Window window) {
  for (const WindowRule& r : d.windows)
    if (r.window == window) return r;
  if (!d.windows.empty()) return d.windows.front();
  return WindowRule{};
}

Range range(const Descriptor& d, const CameraState& s, Window window) {
  const WindowRule r = rule(d, window);
  if (r.range != nullptr) return r.range(s);
  return d.range != nullptr ? d.range(s) : Range{0, kIntMax, true};
}

int32_t step(const Descriptor& d, const CameraState& s) {
  const int32_t st = d.step != nullptr ? d.step(s) : 1;
  return st > 0 ? st : 1;
}

bool available(const Descriptor& d, const CameraState& s) {
  if (s.handle == nullptr) return false;
  return d.available == nullptr || d.available(s);
}

int32_t stored(const Descriptor& d, const CameraState& s) {
  switch (d.record) {
    case Record::Camera: return s.params.*d.cameraField;
    case Record::Extended: return s.ext.*d.extendedField;
    case Record::Linear: return s.linear.*d.linearField;
    case Record::None: return 0;
  }
  return 0;
}

void store(const Descriptor& d, CameraState& s, int32_t value) {
  switch (d.record) {
    case Record::Camera: s.params.*d.cameraField = value; break;
    case Record::Extended: s.ext.*d.extendedField = value; break;
    case Record::Linear: s.linear.*d.linearField = value; break;
    case Record::None: break;
  }
}

std::optional<int64_t> parse(const Descriptor& d, const QString& text) {
  const QString t = text.trimmed().toLower();
  for (const Word& w : d.words)
    if (t == QLatin1String(w.name)) return w.stored;
  // Wider than the values, so that a huge number is refused for its size
  // rather than as a non-number.
  bool ok = false;
  const qlonglong n = text.trimmed().toLongLong(&ok);
  return ok ? std::optional<int64_t>(n) : std::nullopt;
}

Verdict validate(const Descriptor& d, const CameraState& s, int64_t value, Window window) {
  Verdict v;
  const QString name = QString::fromUtf8(d.name);
  if (s.handle == nullptr) {
    v.reason = s.text("no camera is open", "没有打开的相机");
    return v;
  }
  if (!available(d, s)) {
    v.reason = s.text("this camera (type %1) has no %2", "此相机（型号 %1）没有 %2").arg(s.typeCode).arg(name);
    return v;
  }
  if (!d.words.empty()) {
    const Word* w = wordOf(d, static_cast<int32_t>(std::clamp<int64_t>(value, INT32_MIN, INT32_MAX)));
    if (w == nullptr || w->stored != value) {
      v.reason = takes(d, s, allowed(d, s, window));
      return v;
    }
    if (w->available != nullptr && !w->available(s)) {
      v.reason = s.text("this camera (type %1) has no %2 %3", "此相机（型号 %1）没有 %2 %3")
                     .arg(s.typeCode)
                     .arg(name, QString::fromUtf8(w->name));
      return v;
    }
  }
  const Range r = range(d, s, window);
  if (!r.known) {
    v.reason = s.text("the library gives no range for %1 now", "相机库此刻给不出 %1 的范围").arg(name);
    return v;
  }
  if (value < r.lo || value > r.hi) {
    v.reason = takes(d, s, allowed(d, s, window));
    return v;
  }
  int64_t x = value;
  const int32_t st = step(d, s);
  if (st > 1 && x % st != 0) {
    if (rule(d, window).offStep != OffStep::Lower) {
      v.reason = takes(d, s, allowed(d, s, window));
      return v;
    }
    x -= x % st;
  }
  if (const auto why = timeRule(d, s, x)) {
    v.reason = *why;
    return v;
  }
  if (d.conversion == Conversion::ExposureMicroseconds)
    x = CameraLibrary::instance().calExposeLine(s.handle, static_cast<int32_t>(x));
  v.ok = true;
  v.value = static_cast<int32_t>(x);
  return v;
}

QString allowed(const Descriptor& d, const CameraState& s, Window window) {
  if (!d.words.empty()) {
    QStringList names;
    for (const Word& w : d.words)
      if (w.available == nullptr || s.handle == nullptr || w.available(s)) names << QString::fromUtf8(w.name);
    return names.join(QStringLiteral(", "));
  }
  const Range r = range(d, s, window);
  if (!r.known) return s.text("nothing now (no range from the library)", "此刻无可取的值（相机库未给出范围）");
  QString out = rangeText(r);
  const int32_t st = step(d, s);
  if (st > 1) out += s.text(" in steps of %1", "，步长 %1").arg(st);
  if (*d.unit != '\0') out += QLatin1Char(' ') + QString::fromUtf8(d.unit);
  return out;
}

QString text(const Descriptor& d, const CameraState& s) {
  const int32_t v = stored(d, s);
  if (d.record == Record::None) return QStringLiteral("(not kept)");
  if (const Word* w = wordOf(d, v)) return QString::fromUtf8(w->name);
  int64_t shown = v;
  if (d.conversion == Conversion::ExposureMicroseconds)
    shown = CameraLibrary::instance().calExposeTime(s.handle, v);
  QString out = QString::number(shown);
  if (*d.unit != '\0') out += QLatin1Char(' ') + QString::fromUtf8(d.unit);
  return out;
}

bool clampExposure(ClampSide side, const std::function<void(int32_t)>& beforeWrite) {
  CameraState& s = cameraState();
  int32_t lo = 0, hi = 0;
  if (CameraLibrary::instance().calExposeRange(s.handle, &lo, &hi) == 0) return false;
  const int32_t e = s.params.exposalTime;
  int32_t target = e;
  if (side == ClampSide::Above && e > hi) target = hi;
  if (side == ClampSide::Below && e < lo) target = lo;
  if (target == e) return false;
  s.params.exposalTime = target;
  if (beforeWrite) beforeWrite(target);
  s.applyParam(tyxid::kExposalTime, target);
  return true;
}

bool write(const Descriptor& d, int32_t value, const WriteOptions& options) {
  CameraState& s = cameraState();
  CameraLibrary& lib = CameraLibrary::instance();
  const Word* word = wordOf(d, value);
  const bool plain = word != nullptr && word->plain;
  if (d.reread == Reread::BeforeReported && !plain) {
    if (lib.getConfigParam(s.handle, tyxid::kCameraBlockRead, &s.params, 0) != 1) s.showCameraError();
  }
  store(d, s, value);
  int32_t number = word != nullptr ? word->sent : value;
  if (d.sent != nullptr) number = d.sent(s, value);
  const intptr_t sent = d.sentUnsigned ? static_cast<intptr_t>(static_cast<uint32_t>(number)) : intptr_t{number};
  bool ok = false;
  Apply apply = options.apply.value_or(d.apply);
  if (apply == Apply::RetriedThenReported && plain) apply = Apply::Reported;
  switch (apply) {
    case Apply::Reported: ok = s.applyParam(d.id, sent); break;
    case Apply::RetriedThenReported:
      ok = lib.setConfigParam(s.handle, d.id, sent, 0) == 1 || s.applyParam(d.id, sent);
      break;
    case Apply::Unreported: ok = lib.setConfigParam(s.handle, d.id, sent, 0) == 1; break;
  }
  if (d.after != nullptr) d.after(s, value);
  Clamp clamp = d.clamp;
  if (clamp == Clamp::ByWord) clamp = word != nullptr ? word->clamp : Clamp::None;
  if (clamp == Clamp::ExposureFromAbove) clampExposure(ClampSide::Above, options.onExposureClamped);
  if (clamp == Clamp::ExposureFromBelow) clampExposure(ClampSide::Below, options.onExposureClamped);
  switch (d.reread) {
    case Reread::None:
    case Reread::BeforeReported: break;
    case Reread::AfterSilent: (void)s.fullRead(0); break;
    case Reread::AfterReported:
      if (ok && s.fullRead(0) != 1) s.showCameraError();
      break;
    case Reread::AfterReportedKeep:
      if (s.fullRead(0) == 0) s.showCameraError();
      store(d, s, value);
      break;
  }
  s.repaintInfo();
  return ok;
}

bool write(tyxid::Param id, int32_t value, const WriteOptions& options) { return write(of(id), value, options); }

SetResult set(const Descriptor& d, const QString& text) {
  const CameraState& s = cameraState();
  const auto value = parse(d, text);
  if (!value) return {false, takes(d, s, allowed(d, s)) + s.text(", not \"%1\"", "，而不是 \"%1\"").arg(text)};
  const Verdict v = validate(d, s, *value);
  if (!v.ok) return {false, v.reason};
  if (!write(d, v.value))
    return {false, s.text("the camera refused %1 %2", "相机拒绝了 %1 %2").arg(QString::fromUtf8(d.name)).arg(*value)};
  return {true, QString()};
}

}  // namespace camval
