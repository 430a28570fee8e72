// tyxcamera_entry_points.h - every entry point of the camera library, as one list.
// The program's binding and the tests' loader both expand it, so a new entry
// point is looked up everywhere once it is added here and declared in
// tyxcamera.h.
#pragma once

#include "tyxcamera.h"

#define TYXCAM_ENTRY_POINTS(X) \
  X(tyxCamOpenCamera)          \
  X(tyxCamCloseCamera)         \
  X(tyxCamSetConfigParam)      \
  X(tyxCamGetConfigParam)      \
  X(tyxCamMemorizeParam)       \
  X(tyxCamRecallParam)         \
  X(tyxCamSaveConfigFile)      \
  X(tyxCamLoadConfigFile)      \
  X(tyxCamGetLastError)        \
  X(tyxCamGetTypeCode)         \
  X(tyxCamGetVerCode)          \
  X(tyxCamGetDriverVer)        \
  X(tyxCamFunctionTag)         \
  X(tyxCamCalFrameRate)        \
  X(tyxCamCalExposeTime)       \
  X(tyxCamCalExposeLine)       \
  X(tyxCamCalExposeRange)      \
  X(tyxCamCalExposeShortRange) \
  X(tyxCamCalExposeshort_data) \
  X(tyxCamCalExposeshort_Time) \
  X(tyxGammaDlgCallback)       \
  X(tyxCamScanDevice)          \
  X(tyxCamGetNetCameraVer)     \
  X(tyxCamSetCameraIP)         \
  X(tyxCamGetNetCameraIP)      \
  X(tyxCamCaptureFrame)        \
  X(tyxCamSetTargetRect)       \
  X(tyxCamGetCaptureRate)      \
  X(tyxCamStopCapture)         \
  X(tyxCamGetUsbInfo)          \
  X(tyxCamFrameLock)           \
  X(tyxCamFrameUnlock)         \
  X(tyxCamFrameSize)           \
  X(tyxCamFrameFree)           \
  X(tyxCamGetLinkStatus)       \
  X(tyxCamWriteSerial)         \
  X(tyxCamReadSerial)          \
  X(tyxSetCameraInfo)
