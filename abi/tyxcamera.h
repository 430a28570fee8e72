/* tyxcamera.h - the camera library ABI that vistrel binds by name.
 *
 * Both our simulated library and the maker's real one honour these
 * prototypes. vistrel never links against them: it looks every entry point up
 * by name at run time, so any library with the same exported names and
 * signatures can stand in. All integers are fixed width and every function has
 * C linkage and default visibility.
 */
#ifndef TYXCAMERA_H
#define TYXCAMERA_H

#include <stddef.h>
#include <stdint.h>

#include "tyxcamera_types.h"

#if defined(_WIN32)
#define TYXCAM_API __declspec(dllexport)
#else
#define TYXCAM_API __attribute__((visibility("default")))
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* Callbacks of the library's gamma dialog. The check callback returns the id
 * of the radio button the dialog marks (the program answers 1009 + its
 * current gamma mode); the apply callback receives the chosen gamma value and
 * mode (1..4). */
typedef int32_t (*TyxGammaCheckCallback)(void* owner);
typedef int32_t (*TyxGammaApplyCallback)(void* cam, int32_t gammaValue, int32_t reserved, int32_t mode);

/* type: in -2 (serial / Camera Link port) or -1 (network port); out: the
 * camera's type code. Returns the camera handle or null. */
TYXCAM_API void* tyxCamOpenCamera(int32_t* type, const char* port);
TYXCAM_API int32_t tyxCamCloseCamera(void* cam);
/* Mode 0: value is the parameter's value. Mode 2: value is the address of a
 * whole block (ids -2 CameraParams, 35 ExtendedParams, 101 line-scan block). */
TYXCAM_API int32_t tyxCamSetConfigParam(void* cam, int32_t id, intptr_t value, int16_t mode);
/* Ids -1, 34, 100 fill a whole block; single ids (19, 68) fill one int32_t.
 * Mode 0 current values, mode 1 the values kept in the camera's memory. */
TYXCAM_API int32_t tyxCamGetConfigParam(void* cam, int32_t id, void* block, int32_t mode);
TYXCAM_API int32_t tyxCamMemorizeParam(void* cam);
TYXCAM_API int32_t tyxCamRecallParam(void* cam);
TYXCAM_API int32_t tyxCamSaveConfigFile(void* cam, const char* utf8Path);
TYXCAM_API int32_t tyxCamLoadConfigFile(void* cam, const char* utf8Path);
/* The code is an entry of the program's string table (103, 106, 120, ...). */
TYXCAM_API int32_t tyxCamGetLastError(void);
TYXCAM_API int32_t tyxCamGetTypeCode(void* cam, const char** modelText);
TYXCAM_API int32_t tyxCamGetVerCode(void* cam, int32_t reserved);
/* High 16 bits major, low 16 bits minor. */
TYXCAM_API int32_t tyxCamGetDriverVer(void* cam, int32_t reserved);
TYXCAM_API int32_t tyxCamFunctionTag(void* cam, int32_t tag);
TYXCAM_API double tyxCamCalFrameRate(void* cam, int32_t index);
TYXCAM_API int32_t tyxCamCalExposeTime(void* cam, int32_t value);
TYXCAM_API int32_t tyxCamCalExposeLine(void* cam, int32_t value);
TYXCAM_API int32_t tyxCamCalExposeRange(void* cam, int32_t* min, int32_t* max);
TYXCAM_API int32_t tyxCamCalExposeShortRange(void* cam, int32_t* min, int32_t* max);
TYXCAM_API int32_t tyxCamCalExposeshort_data(void* cam, int32_t microseconds, int32_t* lines);
TYXCAM_API int32_t tyxCamCalExposeshort_Time(void* cam, int32_t setting);
TYXCAM_API int32_t tyxGammaDlgCallback(void* cam, void* owner, int32_t* table, int32_t count, int32_t bits,
                                       uint8_t flag, TyxGammaCheckCallback check,
                                       TyxGammaApplyCallback apply);
/* area208: four 52-byte TyxNetDeviceRecord; list: set to the library's own
 * list of found devices (may be left null). Returns the device count. */
TYXCAM_API int32_t tyxCamScanDevice(void* area208, void** list);
TYXCAM_API int32_t tyxCamGetNetCameraVer(void* cam, int32_t item);
TYXCAM_API int32_t tyxCamSetCameraIP(void* cam, const char* ip, int32_t flag);
TYXCAM_API int32_t tyxCamGetNetCameraIP(void* cam, char* buffer20, int32_t reserved);
/* Mode 1: one frame into *frame; mode 0: continuous capture into *frame until
 * tyxCamStopCapture. The frame block holds a packed device-independent bitmap
 * (40-byte header, colour table, pixels). */
TYXCAM_API int32_t tyxCamCaptureFrame(void* cam, void** frame, int32_t mode);
TYXCAM_API int32_t tyxCamSetTargetRect(void* cam, const int32_t* rect4);
TYXCAM_API float tyxCamGetCaptureRate(void* cam, void* window, int32_t* count);
TYXCAM_API int32_t tyxCamStopCapture(void* cam);
/* Selector 1: 188-byte TyxUsbInfo; 2: int32_t software version; 3: int32_t
 * driver version. */
TYXCAM_API int32_t tyxCamGetUsbInfo(void* cam, int32_t selector, void* out);
/* Memory-block operations for frame blocks. Locking keeps the library's
 * capture thread from writing the block while the program reads it. */
TYXCAM_API void* tyxCamFrameLock(void* frame);
TYXCAM_API void tyxCamFrameUnlock(void* frame);
TYXCAM_API size_t tyxCamFrameSize(void* frame);
TYXCAM_API void tyxCamFrameFree(void* frame);
/* Looked up by the program, never called. */
TYXCAM_API int32_t tyxCamGetLinkStatus(void* cam);
TYXCAM_API int32_t tyxCamWriteSerial(void* cam, const char* data, int32_t count);
TYXCAM_API int32_t tyxCamReadSerial(void* cam, char* data, int32_t count);
TYXCAM_API int32_t tyxSetCameraInfo(void* cam, void* info);

#ifdef __cplusplus
}
#endif

#endif
