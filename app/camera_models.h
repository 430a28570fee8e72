// camera_models.h - the camera type codes the program knows by name, and the groups of them.
#pragma once

#include <cstdint>
#include <initializer_list>

// The models the program treats one by one. A type code that matters only as
// a member of a group is listed in that group's predicate below and nowhere
// else; one that some window compares with on its own gets a name here. These
// numbers are what the camera reports through its type argument and must
// stay in step with the camera library's own list.
namespace model {
// Line-scan cameras.
inline constexpr int32_t kLineScanSmall = 110410;   // 1024 pixels, times up to 500
inline constexpr int32_t kLineScanLong = 117810;    // 2048 pixels, times in 25 ns ticks up to 65535
inline constexpr int32_t kLineScanColour = 120770;  // 2048 colour pixels, times up to 500
// Analogue video area-scan cameras.
inline constexpr int32_t kPalCamera = 210780;      // PAL; version 3 says "VGA", version 4 averages frames
inline constexpr int32_t kNtscCamera = 210781;     // its PAL button reads "NTSC"
inline constexpr int32_t kFieldCamera = 210785;    // shows field rate and single field
inline constexpr int32_t kCircleCamera = 212630;   // electronic circle and video page on version 4
inline constexpr int32_t kCircleCameraB = 216330;  // the same rules as kCircleCamera
// Version 9 of this model is the short-exposure camera; other versions have
// the electronic circle.
inline constexpr int32_t kShortExposureCamera = 215590;
// The one USB model whose frame may exceed 1280 x 1024 on the image window.
inline constexpr int32_t kUsbLargeFrame = 321510;
// The models with a tab page of their own.
inline constexpr int32_t kMelko = 321140;  // colour, image orientation, no white balance
inline constexpr int32_t kTarvo = 321880;  // 4K video
}  // namespace model

// Type-code groups: each predicate says what the program does with the group.
namespace types {
bool isOneOf(int32_t type, std::initializer_list<int32_t> list);

bool isLineScan(int32_t type);
// The USB cameras without the area-scan tab pages.
bool isUsbNine(int32_t type);
bool isColour(int32_t type);
// Models with the electronic circle page.
bool isCircle(int32_t type, int32_t version);
// Models with the video parameter page (videoPageTag: function tag 27).
bool isVideo(int32_t type, int32_t version, int32_t videoPageTag);
// Models whose images come through the USB image window.
bool isUsbImage(int32_t type);
// Models without the gamma window.
bool isNoGamma(int32_t type);
bool hasLongGammaTable(int32_t type);

// Colour area-scan models on a serial link (the colour group without the USB
// image models and without kMelko).
bool isSerialColour(int32_t type);
// Models with red, green and blue gains and saturation: the information
// window's colour lines, the control bar's colour entries.
bool hasRgbGains(int32_t type);
// Models whose run mode 2 is the edge trigger (else the external trigger);
// the information window also shows their circle.
bool hasEdgeTrigger(int32_t type);
// USB nine models on which the main window's camera buttons stay off (the
// USB nine without its first two models).
bool hasNoCameraButtons(int32_t type);
// Network models without gamma, control bar and information window (the USB
// image models outside the USB nine).
bool isNetworkLimited(int32_t type);
// Models without configuration files: Save and Load are disabled.
bool hasNoConfigFile(int32_t type);

// Mode page choices.
bool hasExternalSync(int32_t type);
bool hasLastFrameFreeze(int32_t type, int32_t version);
bool hasTriggerHold(int32_t type, int32_t version);
bool hasPulseTrigger(int32_t type, int32_t version);
bool hasPalNtsc(int32_t type, int32_t version);
bool hasFrameAverage(int32_t type, int32_t version);
bool fullFrameIsVga(int32_t type, int32_t version);
// PAL / NTSC cameras that enter PAL with rate 0 and whose next full frame
// sets the rate back to 1 (the leaving-PAL flag).
bool isPalSwitching(int32_t type, int32_t version);
// Circle cameras of version 4: recursion, inversion and negative image.
bool isCircleVideo(int32_t type, int32_t version);
bool hasShortExposure(int32_t type, int32_t version);

// Colour correction defaults: the first group is set by brightness and
// contrast, the second channel by channel; of the second, two also have an
// all-channel contrast, and on those the all-channel brightness is the black
// level alone.
bool hasPlainCorrection(int32_t type);
bool hasChannelCorrection(int32_t type);
bool hasAllContrast(int32_t type);
}  // namespace types
