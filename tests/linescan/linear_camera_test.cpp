// linear_camera_test.cpp - how the simulated line-scan cameras answer a timing pair they cannot run.
#include "tests/linescan/linescan_fixture.h"

namespace {

struct PairCase {
  const char* name;
  int32_t type;
  int32_t workMode;
  int32_t time1;
  int32_t time2;
  int32_t id;  // the time written last
  int32_t value;
  int32_t expectTime1;
  int32_t expectTime2;
};

void PrintTo(const PairCase& c, std::ostream* os) { *os << c.name; }

}  // namespace

class CameraPair : public LineScanFixture, public ::testing::WithParamInterface<PairCase> {};

TEST_P(CameraPair, KeepsTheWrittenTimeAndMovesTheOther) {
  const PairCase& c = GetParam();
  open(c.type);
  setBlock(c.workMode, c.time1, c.time2);
  ASSERT_EQ(CameraLibrary::instance().setConfigParam(cameraState().handle, c.id, c.value, 0), 1);
  ASSERT_EQ(cameraState().readLinearParams(), 1);
  EXPECT_EQ(cameraState().linear.time1, c.expectTime1);
  EXPECT_EQ(cameraState().linear.time2, c.expectTime2);
}

INSTANTIATE_TEST_SUITE_P(
    Types, CameraPair,
    ::testing::Values(PairCase{"ColourFreeLinePeriodTooLong", 120770, 0, 300, 100, 107, 400, 100, 400},
                      PairCase{"ColourEdgeLinePeriodTooShort", 120770, 1, 50, 100, 106, 5, 5, 103},
                      PairCase{"ColourValidPairUntouched", 120770, 0, 100, 200, 107, 300, 100, 300},
                      PairCase{"ColourTimeAt500LeavesOne", 120770, 0, 100, 200, 106, 500, 500, 1},
                      PairCase{"SmallFreeLinePeriodTooShort", 110410, 0, 10, 20, 107, 5, 22, 5},
                      PairCase{"LongExposureLongerThanLinePeriod", 117810, 0, 3000, 5000, 107, 2500, 2500,
                               2500},
                      PairCase{"LongExposureRaisesLinePeriod", 117810, 0, 3000, 5000, 106, 6000, 6000, 6000},
                      PairCase{"LongEdgeControlledFollows", 117810, 1, 5000, 5000, 107, 7000, 7000, 7000},
                      PairCase{"ExSyncNoPairRule", 120770, 2, 300, 100, 107, 400, 300, 400},
                      PairCase{"EdgeExSyncNoPairRule", 117810, 3, 3000, 5000, 107, 2500, 3000, 2500}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(LineScanFixture, WorkModeWriteLeavesTheTimesAlone) {
  open(120770);
  setBlock(3, 400, 300);
  ASSERT_EQ(CameraLibrary::instance().setConfigParam(cameraState().handle, 102, 0, 0), 1);
  ASSERT_EQ(cameraState().readLinearParams(), 1);
  EXPECT_EQ(cameraState().linear.time1, 400);
  EXPECT_EQ(cameraState().linear.time2, 300);
}
