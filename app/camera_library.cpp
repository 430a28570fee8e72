// camera_library.cpp - loading, use counting and the not-loaded defaults.
#include "app/camera_library.h"

#include "abi/tyxcamera_entry_points.h"
#include "app/library_loader.h"

#include <cmath>
#include <limits>

// Every entry point the program looks up is in TYXCAM_ENTRY_POINTS; the
// types come from the ABI header.

struct CameraLibrary::Table {
// The argument is a declarator name; parentheses around it would not compile.
#define TYX_MEMBER(name) decltype(&::name) name = nullptr;  // NOLINT(bugprone-macro-parentheses)
  TYXCAM_ENTRY_POINTS(TYX_MEMBER)
#undef TYX_MEMBER
};

CameraLibrary& CameraLibrary::instance() {
  static CameraLibrary library;
  return library;
}

void CameraLibrary::resolve() {
  delete table_;
  table_ = new Table;
#define TYX_RESOLVE(name) \
  table_->name = reinterpret_cast<decltype(&::name)>(sharedLibrarySymbol(handle_, #name));
  TYXCAM_ENTRY_POINTS(TYX_RESOLVE)
#undef TYX_RESOLVE
}

bool CameraLibrary::acquire() {
  if (uses_ == 0 && handle_ == nullptr) {
    handle_ = loadSharedLibrary(fileName_);
    if (handle_ == nullptr) return false;
    resolve();
  }
  ++uses_;
  return true;
}

void CameraLibrary::release() {
  if (uses_ > 0) --uses_;
  if (uses_ == 0 && handle_ != nullptr) {
    delete table_;
    table_ = nullptr;
    unloadSharedLibrary(handle_);
    handle_ = nullptr;
  }
}

void CameraLibrary::resetForTests() {
  uses_ = 0;
  release();
}

// Calls an entry point when the library is loaded and has it, else returns
// the not-loaded default.
#define TYX_CALL(name, fallback, ...)                                                               \
  ((handle_ != nullptr && table_ != nullptr && table_->name != nullptr) ? table_->name(__VA_ARGS__) \
                                                                        : (fallback))

void* CameraLibrary::openCamera(int32_t* type, const char* port) {
  if (!acquire()) return nullptr;
  void* cam = TYX_CALL(tyxCamOpenCamera, nullptr, type, port);
  if (cam == nullptr) release();
  return cam;
}

int32_t CameraLibrary::closeCamera(void* cam) {
  int32_t result = TYX_CALL(tyxCamCloseCamera, 0, cam);
  if (result != 0) release();
  return result;
}

int32_t CameraLibrary::scanDevice(void* area208, void** list) {
  bool added = false;
  if (handle_ == nullptr) {
    if (!acquire()) return 0;
    added = true;
  }
  int32_t count = TYX_CALL(tyxCamScanDevice, 0, area208, list);
  if (count <= 0 && added) release();
  return count;
}

int32_t CameraLibrary::setConfigParam(void* cam, int32_t id, intptr_t value, int16_t mode) {
  return TYX_CALL(tyxCamSetConfigParam, 0, cam, id, value, mode);
}
int32_t CameraLibrary::getConfigParam(void* cam, int32_t id, void* block, int32_t mode) {
  return TYX_CALL(tyxCamGetConfigParam, 0, cam, id, block, mode);
}
int32_t CameraLibrary::memorizeParam(void* cam) { return TYX_CALL(tyxCamMemorizeParam, 0, cam); }
int32_t CameraLibrary::recallParam(void* cam) { return TYX_CALL(tyxCamRecallParam, 0, cam); }
int32_t CameraLibrary::saveConfigFile(void* cam, const char* path) {
  return TYX_CALL(tyxCamSaveConfigFile, 0, cam, path);
}
int32_t CameraLibrary::loadConfigFile(void* cam, const char* path) {
  return TYX_CALL(tyxCamLoadConfigFile, 0, cam, path);
}
int32_t CameraLibrary::getLastError() { return TYX_CALL(tyxCamGetLastError, 103); }
int32_t CameraLibrary::getTypeCode(void* cam, const char** modelText) {
  return TYX_CALL(tyxCamGetTypeCode, 0, cam, modelText);
}
int32_t CameraLibrary::getVerCode(void* cam, int32_t r) { return TYX_CALL(tyxCamGetVerCode, 0, cam, r); }
int32_t CameraLibrary::getDriverVer(void* cam, int32_t r) { return TYX_CALL(tyxCamGetDriverVer, 0, cam, r); }
int32_t CameraLibrary::functionTag(void* cam, int32_t tag) {
  return TYX_CALL(tyxCamFunctionTag, 0, cam, tag);
}
double CameraLibrary::calFrameRate(void* cam, int32_t index) {
  return TYX_CALL(tyxCamCalFrameRate, -1.0, cam, index);
}
int32_t CameraLibrary::calExposeTime(void* cam, int32_t v) {
  return TYX_CALL(tyxCamCalExposeTime, -1, cam, v);
}
int32_t CameraLibrary::calExposeLine(void* cam, int32_t v) {
  return TYX_CALL(tyxCamCalExposeLine, -1, cam, v);
}
int32_t CameraLibrary::calExposeRange(void* cam, int32_t* min, int32_t* max) {
  return TYX_CALL(tyxCamCalExposeRange, 0, cam, min, max);
}
int32_t CameraLibrary::calExposeShortRange(void* cam, int32_t* min, int32_t* max) {
  return TYX_CALL(tyxCamCalExposeShortRange, 0, cam, min, max);
}
int32_t CameraLibrary::calExposeShortData(void* cam, int32_t us, int32_t* lines) {
  return TYX_CALL(tyxCamCalExposeshort_data, -1, cam, us, lines);
}
int32_t CameraLibrary::calExposeShortTime(void* cam, int32_t setting) {
  return TYX_CALL(tyxCamCalExposeshort_Time, -1, cam, setting);
}
int32_t CameraLibrary::gammaDlgCallback(void* cam, void* owner, int32_t* table, int32_t count, int32_t bits,
                                        uint8_t flag, TyxGammaCheckCallback check,
                                        TyxGammaApplyCallback apply) {
  return TYX_CALL(tyxGammaDlgCallback, 0, cam, owner, table, count, bits, flag, check, apply);
}
int32_t CameraLibrary::getNetCameraVer(void* cam, int32_t item) {
  return TYX_CALL(tyxCamGetNetCameraVer, 0, cam, item);
}
int32_t CameraLibrary::setCameraIP(void* cam, const char* ip, int32_t flag) {
  return TYX_CALL(tyxCamSetCameraIP, 0, cam, ip, flag);
}
int32_t CameraLibrary::getNetCameraIP(void* cam, char* buffer20, int32_t r) {
  return TYX_CALL(tyxCamGetNetCameraIP, 0, cam, buffer20, r);
}
int32_t CameraLibrary::captureFrame(void* cam, void** frame, int32_t mode) {
  return TYX_CALL(tyxCamCaptureFrame, 0, cam, frame, mode);
}
int32_t CameraLibrary::setTargetRect(void* cam, const int32_t* rect4) {
  return TYX_CALL(tyxCamSetTargetRect, 0, cam, rect4);
}
float CameraLibrary::getCaptureRate(void* cam, void* window, int32_t* count) {
  return TYX_CALL(tyxCamGetCaptureRate, 0.0f, cam, window, count);
}
int32_t CameraLibrary::stopCapture(void* cam) { return TYX_CALL(tyxCamStopCapture, 0, cam); }
int32_t CameraLibrary::getUsbInfo(void* cam, int32_t selector, void* out) {
  return TYX_CALL(tyxCamGetUsbInfo, 0, cam, selector, out);
}
void* CameraLibrary::frameLock(void* frame) { return TYX_CALL(tyxCamFrameLock, nullptr, frame); }
void CameraLibrary::frameUnlock(void* frame) {
  if (handle_ != nullptr && table_ != nullptr && table_->tyxCamFrameUnlock != nullptr)
    table_->tyxCamFrameUnlock(frame);
}
size_t CameraLibrary::frameSize(void* frame) { return TYX_CALL(tyxCamFrameSize, size_t{0}, frame); }
void CameraLibrary::frameFree(void* frame) {
  if (handle_ != nullptr && table_ != nullptr && table_->tyxCamFrameFree != nullptr)
    table_->tyxCamFrameFree(frame);
}

int32_t wholeRate(double rate) {
  if (std::isnan(rate)) return 0;
  const double cut = std::trunc(rate + 0.5);
  if (cut <= std::numeric_limits<int32_t>::min()) return std::numeric_limits<int32_t>::min();
  if (cut >= std::numeric_limits<int32_t>::max()) return std::numeric_limits<int32_t>::max();
  return static_cast<int32_t>(cut);
}
