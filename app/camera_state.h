// camera_state.h - the program-wide state of the one open camera.
#pragma once

#include <QString>
#include <cstdint>
#include <functional>

#include "abi/tyxcamera_ids.h"
#include "abi/tyxcamera_types.h"
#include "app/camera_models.h"

using CameraParams = TyxCameraParams;
using ExtendedParams = TyxExtendedParams;
using LinearParams = TyxLinearParams;
using NetDeviceRecord = TyxNetDeviceRecord;

class QWidget;

// Who has just opened the camera. Each reads the camera's identity and
// records in its own order (see CameraSession::readOpened). Command is
// an opening without a window (a command line): no waits, and a failed
// read is returned to the caller rather than only shown.
enum class OpenedBy { Startup, Reopen, PortChange, Network, Command };

// Everything known about the open camera lives here: handle, identity,
// language, port and the parameter blocks that mirror the camera. Pages hold
// no settings of their own: they rebuild from this state and write through
// applyParam(). GUI thread only, so there are no locks.
class CameraState {
 public:
  static CameraState& instance();

  void* handle = nullptr;
  int32_t typeCode = 0;
  int32_t versionCode = 0;
  int32_t linkFlag = 0;
  // Function tags, read after every opening in the order of readFunctionTags(); 0
  // means the feature is absent. What each value switches is in
  // abi/tyxcamera_ids.h; whiteBalanceTag is tested for 1 (the white-balance
  // button) and for 2 (the brightness scale labels), which are two features.
  int32_t unusedTag = 0;
  int32_t riseDelayTag = 0, fallDelayTag = 0, protectTimeTag = 0;
  int32_t videoPageTag = 0;
  int32_t brightnessRowTag = 0;
  int32_t whiteBalanceTag = 0;
  int32_t extendedBlockTag = 0;
  int32_t language = 0;
  char portName[24] = {};
  int32_t lineStep = 0;
  int32_t lineCount = 0;
  CameraParams params{};
  ExtendedParams ext{};
  LinearParams linear{};
  NetDeviceRecord netArea[4]{};
  int32_t netPortChoice = 0;
  int32_t defaultsRestored = 0;
  // Kept by the main window for its model label.
  QString modelText;
  // Parent for message boxes (the main window).
  QWidget* messageParent = nullptr;
  // Set by the main window: ends every capture from the open camera. Run by
  // closeCamera(), so no image window goes on polling a closed handle.
  std::function<void()> beforeCameraCloses;

  bool chinese() const { return language == 2; }
  // Picks the text of the interface language.
  QString text(const char* english, const char* chinese) const;

  // Closes the open camera, if there is one, after its captures have ended,
  // and forgets the handle.
  void closeCamera();
  // Sets the port name, cut to the 23 characters the buffer holds.
  void setPortName(const QString& port);
  QString port() const { return QString::fromUtf8(portName); }

  // Start values of the three blocks, before the first read.
  void initRecords();
  // Reads the function tags in their fixed order.
  void readFunctionTags();
  // Reads the second block (id 34) of a camera whose function tag 34 is 1;
  // false when that read failed, which leaves the block as it was (as a
  // failed read of CameraParams leaves that record). A camera without the
  // block gets the block's start values, so none of a camera opened before
  // is shown for it.
  bool readExtendedParams();
  // Copies line step and line count from CameraParams.
  void copyLineGeometry();

  // The one way to write a parameter: tyxCamSetConfigParam(handle, id,
  // value, 0); anything but 1 shows the library's message. The caller goes on
  // either way and keeps its new value in the record.
  bool applyParam(int32_t id, intptr_t value);
  // A modal message with the string-table text of the last error; returns
  // that error's code.
  int32_t showCameraError();
  // Full read of CameraParams (id -1) or the line-scan block (id 100) for
  // line-scan types. Returns the library's result.
  int32_t fullRead(int32_t mode = 0);
  int32_t readCameraParams(int32_t mode = 0);
  int32_t readLinearParams(int32_t mode = 0);
  // Tells whoever shows settings (the information window, the main
  // window) that they may have changed: CameraSession::settingsChanged().
  void repaintInfo();

  // Everything back to construction values (tests, and a new main window).
  void reset();

 private:
  CameraState() = default;
};

// Shorthand used by every page.
inline CameraState& cameraState() { return CameraState::instance(); }
