// camera_models_test.cpp - the type-code groups hang together the way the windows rely on.
#include <gtest/gtest.h>

#include <vector>

#include "app/camera_models.h"

namespace {

// Every type code the program knows, whether named or only a group member.
const std::vector<int32_t> kAllTypes = {
    110410, 117810, 120770, 210780, 210781, 210785, 211150, 211151, 211520, 211521, 211890,
    211891, 212260, 212261, 212630, 213000, 213370, 213740, 214110, 214480, 214850, 215220,
    215221, 215590, 215591, 215960, 216330, 216700, 216701, 217070, 217071, 217440, 218180,
    218550, 218920, 219290, 219291, 219660, 220030, 319660, 320400, 321140, 321510, 321880};

// Groups that are defined by other groups: a code typed into the wrong list
// would make a window show a button or a page for the wrong cameras.
TEST(CameraModels, DerivedGroupsFollowTheirParts) {
  for (int32_t t : kAllTypes) {
    SCOPED_TRACE(t);
    EXPECT_EQ(types::isNetworkLimited(t), types::isUsbImage(t) && !types::isUsbNine(t));
    EXPECT_EQ(types::hasNoCameraButtons(t), types::isUsbNine(t) && t != 211150 && t != 211151);
    EXPECT_EQ(types::hasRgbGains(t), types::isColour(t) && !types::isUsbImage(t));
    EXPECT_EQ(types::isSerialColour(t), types::hasRgbGains(t) && t != model::kMelko);
    EXPECT_EQ(types::hasLongGammaTable(t), types::hasPulseTrigger(t, 0));
    EXPECT_EQ(types::hasAllContrast(t) || types::hasChannelCorrection(t) || types::hasPlainCorrection(t),
              types::isUsbNine(t));
    if (types::isLineScan(t) || types::isUsbImage(t)) {
      EXPECT_TRUE(types::isNoGamma(t));
    }
    if (types::hasNoConfigFile(t)) {
      EXPECT_TRUE(types::isLineScan(t) || types::isUsbNine(t));
    }
  }
}

// The predicates that depend on the version code (or a function tag) at
// the edges where the answer turns.
struct VersionCase {
  const char* what;
  bool (*rule)(int32_t, int32_t);
  int32_t type, version;
  bool expected;
};

bool videoWithTag(int32_t t, int32_t v) { return types::isVideo(t, v, 1); }
bool videoWithoutTag(int32_t t, int32_t v) { return types::isVideo(t, v, 0); }

class VersionRules : public ::testing::TestWithParam<VersionCase> {};

TEST_P(VersionRules, TurnOnTheRightVersion) {
  const VersionCase& c = GetParam();
  EXPECT_EQ(c.rule(c.type, c.version), c.expected) << c.what << " " << c.type << "/" << c.version;
}

INSTANTIATE_TEST_SUITE_P(
    CameraModels, VersionRules,
    ::testing::Values(
        VersionCase{"circle", types::isCircle, model::kShortExposureCamera, 9, false},
        VersionCase{"circle", types::isCircle, model::kShortExposureCamera, 1, true},
        VersionCase{"circle", types::isCircle, model::kCircleCameraB, 4, true},
        VersionCase{"circle", types::isCircle, model::kCircleCamera, 3, false},
        VersionCase{"circle", types::isCircle, 215591, 9, true},
        VersionCase{"video", videoWithoutTag, model::kNtscCamera, 0, true},
        VersionCase{"video", videoWithoutTag, model::kCircleCamera, 4, true},
        VersionCase{"video", videoWithoutTag, model::kCircleCamera, 3, false},
        VersionCase{"video", videoWithTag, 217071, 1, true},
        VersionCase{"video", videoWithoutTag, 217071, 1, false},
        VersionCase{"pulse trigger", types::hasPulseTrigger, model::kCircleCamera, 4, true},
        VersionCase{"pulse trigger", types::hasPulseTrigger, model::kCircleCameraB, 4, false},
        VersionCase{"last-frame freeze", types::hasLastFrameFreeze, model::kPalCamera, 4, true},
        VersionCase{"last-frame freeze", types::hasLastFrameFreeze, model::kFieldCamera, 4, false},
        VersionCase{"PAL / NTSC", types::hasPalNtsc, model::kPalCamera, 3, false},
        VersionCase{"PAL / NTSC", types::hasPalNtsc, model::kNtscCamera, 0, false},
        VersionCase{"PAL / NTSC", types::hasPalNtsc, model::kNtscCamera, 1, true},
        VersionCase{"PAL / NTSC", types::hasPalNtsc, model::kFieldCamera, 0, true},
        VersionCase{"PAL switching", types::isPalSwitching, model::kNtscCamera, 2, true},
        VersionCase{"PAL switching", types::isPalSwitching, model::kFieldCamera, 2, false},
        VersionCase{"short exposure", types::hasShortExposure, model::kShortExposureCamera, 9, true},
        VersionCase{"short exposure", types::hasShortExposure, 215591, 9, false}));

}  // namespace
