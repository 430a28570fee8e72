// camera_library.h - the one binding of the camera library tyxcamera.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "app/library_loader.h"
#include "abi/tyxcamera.h"

// Loads the camera library by name on first use, resolves every entry point
// once into a table, counts uses and unloads at zero. Nothing else in the
// program calls the library: a call made while it is not loaded, or whose
// entry point is missing from the loaded library, returns the documented
// default at once, so a missing or partial library never crashes the program.
class CameraLibrary {
 public:
  static CameraLibrary& instance();

  // File name handed to the dynamic loader. The default is found through the
  // library search path, then beside the executable ($ORIGIN run path), so the
  // maker's real library on LD_LIBRARY_PATH wins over our simulated one.
  void setFileName(const std::string& name) { fileName_ = name; }
  const std::string& fileName() const { return fileName_; }

  bool loaded() const { return handle_ != nullptr; }
  int useCount() const { return uses_; }

  // Opening adds a use; a failed open gives it back.
  void* openCamera(int32_t* type, const char* port);
  // A successful close gives a use back.
  int32_t closeCamera(void* cam);
  // A scan that had to load the library adds a use and gives it back when no
  // device was found; a scan on an already loaded library never gives back a
  // use it did not add (that would unload the library under an open camera).
  int32_t scanDevice(void* area208, void** list);

  int32_t setConfigParam(void* cam, int32_t id, intptr_t value, int16_t mode);
  int32_t getConfigParam(void* cam, int32_t id, void* block, int32_t mode);
  int32_t memorizeParam(void* cam);
  int32_t recallParam(void* cam);
  int32_t saveConfigFile(void* cam, const char* utf8Path);
  int32_t loadConfigFile(void* cam, const char* utf8Path);
  int32_t getLastError();
  int32_t getTypeCode(void* cam, const char** modelText);
  int32_t getVerCode(void* cam, int32_t reserved);
  int32_t getDriverVer(void* cam, int32_t reserved);
  int32_t functionTag(void* cam, int32_t tag);
  double calFrameRate(void* cam, int32_t index);
  int32_t calExposeTime(void* cam, int32_t value);
  int32_t calExposeLine(void* cam, int32_t value);
  int32_t calExposeRange(void* cam, int32_t* min, int32_t* max);
  int32_t calExposeShortRange(void* cam, int32_t* min, int32_t* max);
  int32_t calExposeShortData(void* cam, int32_t microseconds, int32_t* lines);
  int32_t calExposeShortTime(void* cam, int32_t setting);
  int32_t gammaDlgCallback(void* cam, void* owner, int32_t* table, int32_t count, int32_t bits, uint8_t flag,
                           TyxGammaCheckCallback check, TyxGammaApplyCallback apply);
  int32_t getNetCameraVer(void* cam, int32_t item);
  int32_t setCameraIP(void* cam, const char* ip, int32_t flag);
  int32_t getNetCameraIP(void* cam, char* buffer20, int32_t reserved);
  int32_t captureFrame(void* cam, void** frame, int32_t mode);
  int32_t setTargetRect(void* cam, const int32_t* rect4);
  float getCaptureRate(void* cam, void* window, int32_t* count);
  int32_t stopCapture(void* cam);
  int32_t getUsbInfo(void* cam, int32_t selector, void* out);
  void* frameLock(void* frame);
  void frameUnlock(void* frame);
  size_t frameSize(void* frame);
  void frameFree(void* frame);

  // Tests only: forget every use and unload, so each test starts clean.
  void resetForTests();

 private:
  CameraLibrary() = default;
  bool acquire();
  void release();
  void resolve();

  struct Table;
  std::string fileName_ = kCameraLibraryFile;
  void* handle_ = nullptr;
  int uses_ = 0;
  Table* table_ = nullptr;
};

// A frame rate as the pages show it: a whole number, rounded by adding a
// half and cutting towards zero. A failing library can answer NaN or a huge
// value, for which that conversion would be undefined: NaN gives 0 and
// values past the 32-bit range give its nearest end.
int32_t wholeRate(double rate);
