/* tyxcamera_types.h - the parameter blocks passed whole between vistrel and
 * the camera library. Their byte layout is part of the ABI: fields are signed
 * 32-bit integers in the order given, sizes are checked at compile time. */
#ifndef TYXCAMERA_TYPES_H
#define TYXCAMERA_TYPES_H

#include <stddef.h>
#include <stdint.h>

#pragma pack(push, 4)

/* Current settings of an area-scan camera; read whole with id -1, written
 * whole with id -2 (mode 2). The comment gives the id that writes a field. */
typedef struct TyxCameraParams {
  int32_t size;   /* 168 */
  int32_t marker; /* 0xFFFE before a read */
  int32_t reserved1;
  int32_t reserved2;
  int32_t lineStep;
  int32_t lineCount;
  int32_t gain;        /* 1 */
  int32_t black;       /* 4 */
  int32_t runMode;     /* 2 */
  int32_t gamma;       /* 3 */
  int32_t frameMode;   /* 5 */
  int32_t outputMode;  /* 6 */
  int32_t beginLine;   /* 7 */
  int32_t endLine;     /* 8 */
  int32_t exposalTime; /* 9 */
  int32_t rGain;       /* 10 */
  int32_t gGain;       /* 11 */
  int32_t bGain;       /* 12 */
  int32_t saturation;  /* 13, also the short-exposure setting (29) */
  int32_t rate;        /* 14 */
  int32_t spare1;
  int32_t spare2;
  int32_t radius;      /* 16 */
  int32_t coordinateX; /* 17 */
  int32_t coordinateY; /* 18 */
  int32_t usbExposure; /* 19 */
  int32_t rBrightness; /* 21 */
  int32_t gBrightness; /* 22 */
  int32_t bBrightness; /* 23 */
  int32_t allContrast; /* 24 */
  int32_t usbTrigger;
  int32_t recursionParam;    /* 25 */
  int32_t negativeImage;     /* 26 */
  int32_t horizontalInverse; /* 27 */
  int32_t verticalInverse;   /* 28 */
  int32_t param30;           /* 30 */
  int32_t brightness;        /* 37 */
  int32_t xShift;            /* 62 */
  int32_t yShift;            /* 63 */
  int32_t textDisplay;       /* 59 */
  int32_t edgeEnhance;       /* 64 */
  int32_t spare8;
} TyxCameraParams;

/* Second parameter block; read whole with id 34, written whole with id 35
 * (mode 2). Offsets 16..48 hold the values of the 4K video model. */
typedef struct TyxExtendedParams {
  int32_t size;                  /* 128 */
  int32_t riseDelay;             /* 31, offset 4 */
  int32_t fallDelay;             /* 32, offset 8 */
  int32_t protectTime;           /* 33, offset 12 */
  int32_t modelContrast;         /* offset 16 */
  int32_t modelSaturation;       /* 20 */
  int32_t autoExtinctionTarget;  /* 24 */
  int32_t autoExtinction;        /* 28 */
  int32_t resolution;            /* 32 */
  int32_t resolutionSettingMode; /* 36 */
  int32_t sensorSpeed;           /* 40 */
  int32_t frameRate;             /* 44 */
  int32_t autoWhiteBalance;      /* 48 */
  int32_t reserved[19];
} TyxExtendedParams;

/* Line-scan parameter block; read whole with id 100, written whole with id
 * 101 (mode 2). */
typedef struct TyxLinearParams {
  int32_t size;   /* 256 */
  int32_t marker; /* 0xFFFE before a read */
  int32_t reserved0[2];
  int32_t workMode;        /* 102, offset 16 */
  int32_t cameraLinkMode;  /* 103, 20 */
  int32_t aoiStart;        /* 104, 24 */
  int32_t aoiLength;       /* 105, 28 */
  int32_t time1;           /* 106, 32 */
  int32_t time2;           /* 107, 36 */
  int32_t testImage;       /* 108, 40 */
  int32_t correctionStart; /* 109, 44 */
  int32_t correctionLines; /* 110, 48 */
  int32_t dataShift;       /* 111, 52 */
  int32_t redGain;         /* 112, 56 */
  int32_t greenGain;       /* 113, 60 */
  int32_t blueGain;        /* 114, 64 */
  int32_t redOffset;       /* 115, 68 */
  int32_t greenOffset;     /* 116, 72 */
  int32_t blueOffset;      /* 117, 76 */
  int32_t gainLevel;       /* 118, 80 */
  int32_t reserved1[2];    /* 84, 88 */
  int32_t overallGain;     /* 125, 92 */
  int32_t overallOffset;   /* 126, 96 */
  int32_t reserved2[39];
} TyxLinearParams;

/* One network device record of the 208-byte scan area (four records). */
typedef struct TyxNetDeviceRecord {
  int32_t reserved0;
  int32_t number1; /* offset 4, first number of the connection list */
  int32_t reserved1[3];
  int32_t number2; /* offset 20 */
  uint32_t ip1;    /* offset 24, IPv4, network byte order */
  uint32_t ip2;    /* offset 28 */
  int32_t ip3;     /* offset 32, shown as a decimal number */
  int32_t reserved2[4];
} TyxNetDeviceRecord;

/* The 188-byte USB information record (selector 1). */
typedef struct TyxUsbInfo {
  int32_t size;
  int32_t reserved0[9];
  int32_t firmwareVersion; /* offset 40 */
  int32_t hardwareVersion; /* offset 44 */
  int32_t fpgaVersion;     /* offset 48 */
  int32_t reserved1[2];
  int32_t maxWidth;  /* offset 60 */
  int32_t maxHeight; /* offset 64 */
  int32_t reserved2[30];
} TyxUsbInfo;

#pragma pack(pop)

#ifdef __cplusplus
static_assert(sizeof(TyxCameraParams) == 168, "CameraParams is 168 bytes");
static_assert(sizeof(TyxExtendedParams) == 128, "ExtendedParams is 128 bytes");
static_assert(sizeof(TyxLinearParams) == 256, "line-scan block is 256 bytes");
static_assert(offsetof(TyxLinearParams, workMode) == 16, "workMode at 16");
static_assert(offsetof(TyxLinearParams, gainLevel) == 80, "gainLevel at 80");
static_assert(offsetof(TyxLinearParams, overallGain) == 92, "overallGain at 92");
static_assert(offsetof(TyxLinearParams, overallOffset) == 96, "overallOffset at 96");
static_assert(offsetof(TyxExtendedParams, modelContrast) == 16, "model fields at 16");
static_assert(offsetof(TyxExtendedParams, autoWhiteBalance) == 48, "autoWhiteBalance at 48");
static_assert(sizeof(TyxNetDeviceRecord) == 52, "device record is 52 bytes");
static_assert(offsetof(TyxNetDeviceRecord, ip1) == 24, "IP1 at 24");
static_assert(offsetof(TyxNetDeviceRecord, ip3) == 32, "IP3 at 32");
static_assert(sizeof(TyxUsbInfo) == 188, "USB info is 188 bytes");
static_assert(offsetof(TyxUsbInfo, maxWidth) == 60, "max width at 60");
#else
_Static_assert(sizeof(TyxCameraParams) == 168, "CameraParams is 168 bytes");
_Static_assert(sizeof(TyxLinearParams) == 256, "line-scan block is 256 bytes");
#endif

#endif
