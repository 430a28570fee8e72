// camera_state.cpp - records, the write rule and the type-code groups.
#include "app/camera_state.h"

#include <algorithm>
#include <cstring>

#include "app/camera_library.h"
#include "app/camera_session.h"
#include "app/desktop.h"
#include "app/strings.h"

CameraState& CameraState::instance() {
  static CameraState state;
  return state;
}

QString CameraState::text(const char* english, const char* chineseText) const {
  return QString::fromUtf8(chinese() ? chineseText : english);
}

void CameraState::setPortName(const QString& port) {
  const QByteArray bytes = port.toUtf8();
  const size_t n = std::min<size_t>(static_cast<size_t>(bytes.size()), sizeof(portName) - 1);
  std::memset(portName, 0, sizeof(portName));
  std::memcpy(portName, bytes.constData(), n);
}

void CameraState::initRecords() {
  params = CameraParams{};
  params.size = sizeof(CameraParams);
  params.marker = 0xFFFE;
  params.lineStep = 12;
  params.lineCount = 600;
  params.gain = 330;
  params.black = 0;
  params.runMode = 1;
  params.gamma = 2;
  params.frameMode = 1;
  params.outputMode = 1;
  params.beginLine = 195;
  params.endLine = 480;
  params.exposalTime = 270;
  params.rGain = params.gGain = params.bGain = 1;
  params.saturation = 0;
  params.param30 = 50;
  linear = LinearParams{};
  linear.size = sizeof(LinearParams);
  linear.marker = 0xFFFE;
  ext = ExtendedParams{};
  ext.size = sizeof(ExtendedParams);
  std::memset(netArea, 0, sizeof(netArea));
}

void CameraState::readFunctionTags() {
  CameraLibrary& lib = CameraLibrary::instance();
  unusedTag = lib.functionTag(handle, tyxid::kTagUnused);
  riseDelayTag = lib.functionTag(handle, tyxid::kTagRiseDelay);
  fallDelayTag = lib.functionTag(handle, tyxid::kTagFallDelay);
  protectTimeTag = lib.functionTag(handle, tyxid::kTagProtectTime);
  videoPageTag = lib.functionTag(handle, tyxid::kTagVideoPage);
  brightnessRowTag = lib.functionTag(handle, tyxid::kTagBrightnessRow);
  whiteBalanceTag = lib.functionTag(handle, tyxid::kTagWhiteBalance);
  extendedBlockTag = lib.functionTag(handle, tyxid::kTagExtendedBlock);
}

bool CameraState::readExtendedParams() {
  if (extendedBlockTag == 1)
    return CameraLibrary::instance().getConfigParam(handle, tyxid::kExtendedBlockRead, &ext, 0) != 0;
  ext = ExtendedParams{};
  ext.size = sizeof(ExtendedParams);
  return true;
}

void CameraState::copyLineGeometry() {
  lineStep = params.lineStep;
  lineCount = params.lineCount;
}

bool CameraState::applyParam(int32_t id, intptr_t value) {
  if (CameraLibrary::instance().setConfigParam(handle, id, value, 0) != 1) {
    showCameraError();
    return false;
  }
  return true;
}

int32_t CameraState::showCameraError() {
  const int32_t code = CameraLibrary::instance().getLastError();
  Desktop::get().message(messageParent, strings::cameraErrorMessage(code, chinese()), "Vistrel");
  return code;
}

int32_t CameraState::readCameraParams(int32_t mode) {
  return CameraLibrary::instance().getConfigParam(handle, tyxid::kCameraBlockRead, &params, mode);
}

int32_t CameraState::readLinearParams(int32_t mode) {
  return CameraLibrary::instance().getConfigParam(handle, tyxid::kLinearBlockRead, &linear, mode);
}

int32_t CameraState::fullRead(int32_t mode) {
  return types::isLineScan(typeCode) ? readLinearParams(mode) : readCameraParams(mode);
}

void CameraState::repaintInfo() { cameraSession().notifySettingsChanged(); }

void CameraState::closeCamera() {
  if (handle == nullptr) return;
  if (beforeCameraCloses) beforeCameraCloses();
  CameraLibrary::instance().closeCamera(handle);
  handle = nullptr;
}

void CameraState::reset() {
  handle = nullptr;
  typeCode = versionCode = linkFlag = 0;
  unusedTag = riseDelayTag = fallDelayTag = protectTimeTag = 0;
  videoPageTag = brightnessRowTag = whiteBalanceTag = extendedBlockTag = 0;
  language = 0;
  std::memset(portName, 0, sizeof(portName));
  lineStep = lineCount = 0;
  initRecords();
  netPortChoice = 0;
  defaultsRestored = 0;
  modelText.clear();
  messageParent = nullptr;
  beforeCameraCloses = nullptr;
}
