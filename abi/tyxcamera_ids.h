// tyxcamera_ids.h - names of the camera library's parameter ids, block ids and function tags, and
// which record field each single id mirrors. The program and the simulator share this one table,
// so a field the simulator writes is the field the program reads back.
#pragma once

#include <cstdint>

#include "tyxcamera_types.h"

namespace tyxid {

// Ids of tyxCamSetConfigParam / tyxCamGetConfigParam. A plain enum so the
// names pass straight through the library's int32_t argument.
enum Param : int32_t {
  // Whole records. A read with the CameraParams id fills that record; the
  // write id replaces it in mode 2 (the "Default Param" path).
  kCameraBlockRead = -1,
  kCameraBlockWrite = -2,

  kGain = 1,
  kRunMode = 2,
  kGamma = 3,
  kBlack = 4,
  kFrameMode = 5,
  kOutputMode = 6,
  kBeginLine = 7,
  kEndLine = 8,
  kExposalTime = 9,
  kRGain = 10,
  kGGain = 11,
  kBGain = 12,
  kSaturation = 13,
  kRate = 14,
  // The value chosen in the library's own gamma dialog; not mirrored.
  kGammaDialogValue = 15,
  kRadius = 16,
  kCoordinateX = 17,
  kCoordinateY = 18,
  kUsbExposure = 19,
  kRBrightness = 21,
  kGBrightness = 22,
  kBBrightness = 23,
  kAllContrast = 24,
  kRecursionParam = 25,
  kNegativeImage = 26,
  kHorizontalInverse = 27,
  kVerticalInverse = 28,
  // The short-exposure setting; the camera keeps it in the saturation field.
  kShortExposure = 29,
  kParam30 = 30,
  kRiseDelay = 31,
  kFallDelay = 32,
  kProtectTime = 33,
  // ExtendedParams, read whole / written whole in mode 2.
  kExtendedBlockRead = 34,
  kExtendedBlockWrite = 35,
  kBrightness = 37,
  // A command: starts the automatic white balance; not mirrored.
  kStartWhiteBalance = 38,
  kModelSaturation = 48,
  kModelContrast = 49,
  kAutoExtinctionTarget = 50,
  kAutoExtinction = 51,
  kResolution = 52,
  kResolutionSettingMode = 53,
  kSensorSpeed = 54,
  kFrameRate = 55,
  kAutoWhiteBalance = 56,
  // A command: one manual white balance; not mirrored.
  kManualWhiteBalance = 57,
  kTextDisplay = 59,
  // Colour mode of the model page; not mirrored.
  kColourMode = 61,
  kXShift = 62,
  kYShift = 63,
  kEdgeEnhance = 64,
  kOpenValue = 65,
  kSaveValue = 66,
  // Exposure in lines: written, then read back into exposalTime.
  kExposureLines = 68,
  // Full-screen (1) or half-screen (0) display; not mirrored.
  kDisplayMode = 69,

  // The line-scan block, read whole / written whole in mode 2.
  kLinearBlockRead = 100,
  kLinearBlockWrite = 101,
  kWorkMode = 102,
  kCameraLinkMode = 103,
  kAoiStart = 104,
  kAoiLength = 105,
  kTime1 = 106,
  kTime2 = 107,
  kTestImage = 108,
  kCorrectionStart = 109,
  kCorrectionLines = 110,
  kDataShift = 111,
  kRedGain = 112,
  kGreenGain = 113,
  kBlueGain = 114,
  kRedOffset = 115,
  kGreenOffset = 116,
  kBlueOffset = 117,
  kGainLevel = 118,
  kOverallGain = 125,
  kOverallOffset = 126,
};

// Numbers of tyxCamFunctionTag. 0 always means the feature is absent; what a
// non-zero value switches is given per tag.
enum Tag : int32_t {
  // Read after every opening, in this order, and kept in the camera state.
  kTagUnused = 36,         // read with the others; nothing depends on it
  kTagRiseDelay = 31,      // 1: the rise-delay row is available
  kTagFallDelay = 32,      // 1: the fall-delay row is available
  kTagProtectTime = 33,    // 1: the protect-time row is available
  kTagVideoPage = 27,      // 1: the video page and mirror box for the two video types
  kTagBrightnessRow = 37,  // 2: the parameter page shows its brightness row
  kTagWhiteBalance = 38,   // 1: white balance button; 2: brightness scale labels
  kTagExtendedBlock = 34,  // 1: the camera has an ExtendedParams block
  // Asked at every repaint rather than kept.
  kTagEdgeTrigger = 1000,       // 1: edge trigger available
  kTagPartialFrame = 1001,      // non-zero: partial frames available
  kTagLineScanDefaults = 1002,  // non-zero: "Default Param" writes the line-scan block
};

// Which record field each single id writes. Ids that are commands, whole
// records or stored elsewhere (29 into saturation, 68 into exposalTime) are
// not here; their callers handle them apart.
template <typename Record>
struct FieldId {
  Param id;
  int32_t Record::*member;
};

inline constexpr FieldId<TyxCameraParams> kCameraFields[] = {
    {kGain, &TyxCameraParams::gain},
    {kRunMode, &TyxCameraParams::runMode},
    {kGamma, &TyxCameraParams::gamma},
    {kBlack, &TyxCameraParams::black},
    {kFrameMode, &TyxCameraParams::frameMode},
    {kOutputMode, &TyxCameraParams::outputMode},
    {kBeginLine, &TyxCameraParams::beginLine},
    {kEndLine, &TyxCameraParams::endLine},
    {kExposalTime, &TyxCameraParams::exposalTime},
    {kRGain, &TyxCameraParams::rGain},
    {kGGain, &TyxCameraParams::gGain},
    {kBGain, &TyxCameraParams::bGain},
    {kSaturation, &TyxCameraParams::saturation},
    {kRate, &TyxCameraParams::rate},
    {kRadius, &TyxCameraParams::radius},
    {kCoordinateX, &TyxCameraParams::coordinateX},
    {kCoordinateY, &TyxCameraParams::coordinateY},
    {kUsbExposure, &TyxCameraParams::usbExposure},
    {kRBrightness, &TyxCameraParams::rBrightness},
    {kGBrightness, &TyxCameraParams::gBrightness},
    {kBBrightness, &TyxCameraParams::bBrightness},
    {kAllContrast, &TyxCameraParams::allContrast},
    {kRecursionParam, &TyxCameraParams::recursionParam},
    {kNegativeImage, &TyxCameraParams::negativeImage},
    {kHorizontalInverse, &TyxCameraParams::horizontalInverse},
    {kVerticalInverse, &TyxCameraParams::verticalInverse},
    {kParam30, &TyxCameraParams::param30},
    {kBrightness, &TyxCameraParams::brightness},
    {kTextDisplay, &TyxCameraParams::textDisplay},
    {kXShift, &TyxCameraParams::xShift},
    {kYShift, &TyxCameraParams::yShift},
    {kEdgeEnhance, &TyxCameraParams::edgeEnhance},
};

inline constexpr FieldId<TyxExtendedParams> kExtendedFields[] = {
    {kRiseDelay, &TyxExtendedParams::riseDelay},
    {kFallDelay, &TyxExtendedParams::fallDelay},
    {kProtectTime, &TyxExtendedParams::protectTime},
    {kModelSaturation, &TyxExtendedParams::modelSaturation},
    {kModelContrast, &TyxExtendedParams::modelContrast},
    {kAutoExtinctionTarget, &TyxExtendedParams::autoExtinctionTarget},
    {kAutoExtinction, &TyxExtendedParams::autoExtinction},
    {kResolution, &TyxExtendedParams::resolution},
    {kResolutionSettingMode, &TyxExtendedParams::resolutionSettingMode},
    {kSensorSpeed, &TyxExtendedParams::sensorSpeed},
    {kFrameRate, &TyxExtendedParams::frameRate},
    {kAutoWhiteBalance, &TyxExtendedParams::autoWhiteBalance},
};

inline constexpr FieldId<TyxLinearParams> kLinearFields[] = {
    {kWorkMode, &TyxLinearParams::workMode},
    {kCameraLinkMode, &TyxLinearParams::cameraLinkMode},
    {kAoiStart, &TyxLinearParams::aoiStart},
    {kAoiLength, &TyxLinearParams::aoiLength},
    {kTime1, &TyxLinearParams::time1},
    {kTime2, &TyxLinearParams::time2},
    {kTestImage, &TyxLinearParams::testImage},
    {kCorrectionStart, &TyxLinearParams::correctionStart},
    {kCorrectionLines, &TyxLinearParams::correctionLines},
    {kDataShift, &TyxLinearParams::dataShift},
    {kRedGain, &TyxLinearParams::redGain},
    {kGreenGain, &TyxLinearParams::greenGain},
    {kBlueGain, &TyxLinearParams::blueGain},
    {kRedOffset, &TyxLinearParams::redOffset},
    {kGreenOffset, &TyxLinearParams::greenOffset},
    {kBlueOffset, &TyxLinearParams::blueOffset},
    {kGainLevel, &TyxLinearParams::gainLevel},
    {kOverallGain, &TyxLinearParams::overallGain},
    {kOverallOffset, &TyxLinearParams::overallOffset},
};

// The field an id writes in a record, or nullptr when that record has none.
template <typename Record, size_t N>
constexpr const FieldId<Record>* findField(const FieldId<Record> (&table)[N], int32_t id) {
  for (const auto& f : table)
    if (f.id == id) return &f;
  return nullptr;
}

}  // namespace tyxid
