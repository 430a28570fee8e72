// linear_mode_test.cpp - work mode adjustments and the lists of the line-scan mode page.
#include <QComboBox>

#include "pages/linescan/dlg_linear_mode.h"
#include "tests/linescan/linescan_fixture.h"

using enum CDlgLinearMode::CtlId;

namespace {

struct WorkModeCase {
  const char* name;
  int32_t type;
  int32_t fromMode;
  int32_t time1;
  int32_t time2;
  int32_t chosen;
  std::vector<Write> writes;
  int32_t blockTime1;
  int32_t blockTime2;
};

void PrintTo(const WorkModeCase& c, std::ostream* os) { *os << c.name; }

}  // namespace

class WorkMode : public LineScanFixture, public ::testing::WithParamInterface<WorkModeCase> {};

TEST_P(WorkMode, AdjustsTheTimesAfterWritingTheMode) {
  const WorkModeCase& c = GetParam();
  open(c.type);
  setBlock(c.fromMode, c.time1, c.time2);
  auto* page = show<CDlgLinearMode>();
  page->control<QComboBox>(kWorkModeList)->setCurrentIndex(c.chosen);
  EXPECT_EQ(sim.writes(), c.writes);
  const LinearParams& b = cameraState().linear;
  EXPECT_EQ(b.workMode, c.chosen);
  EXPECT_EQ(b.time1, c.blockTime1);
  EXPECT_EQ(b.time2, c.blockTime2);
  EXPECT_EQ(page->positions()[0], c.chosen);
  EXPECT_TRUE(desktop.messages.empty());
  EXPECT_GT(desktop.waitCursorShown, 0);
  EXPECT_EQ(desktop.waitCursorDepth, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Types, WorkMode,
    ::testing::Values(
        WorkModeCase{"SmallEdgeLowersTime2", 110410, 0, 400, 200, 1, {W(102, 1), W(107, 100)}, 400, 100},
        WorkModeCase{"SmallEdgeRaisesTime2", 110410, 0, 10, 10, 1, {W(102, 1), W(107, 17)}, 10, 17},
        WorkModeCase{"SmallEdgeValidPairKept", 110410, 0, 100, 200, 1, {W(102, 1)}, 100, 200},
        WorkModeCase{"ColourEdgeRaisesTime2", 120770, 0, 50, 20, 1, {W(102, 1), W(107, 58)}, 50, 58},
        WorkModeCase{"ColourEdgeLowersTime2", 120770, 0, 300, 300, 1, {W(102, 1), W(107, 200)}, 300, 200},
        // With Time1 at 500, 500 - Time1 would be no time at all: the shortest
        // Time2 the camera runs with is kept.
        WorkModeCase{"ColourEdgeNeverZeroTime2", 120770, 0, 500, 100, 1, {W(102, 1), W(107, 1)}, 500, 1},
        WorkModeCase{
            "LongEdgeTime1FollowsTime2", 117810, 0, 3000, 5000, 1, {W(102, 1), W(106, 5000)}, 5000, 5000},
        WorkModeCase{"LongEdgeEqualTimesKept", 117810, 0, 5000, 5000, 1, {W(102, 1)}, 5000, 5000},
        WorkModeCase{"LongProgrammableWritesUnchanged",
                     117810,
                     2,
                     3000,
                     5000,
                     0,
                     {W(102, 0), W(106, 3000)},
                     3000,
                     5000},
        WorkModeCase{
            "LongProgrammableShortensTime1", 117810, 2, 6000, 5000, 0, {W(102, 0), W(106, 5000)}, 5000, 5000},
        WorkModeCase{"LongExSyncProgrammableNothingMore", 117810, 0, 3000, 5000, 2, {W(102, 2)}, 3000, 5000},
        WorkModeCase{"ColourExSyncRaisesTime1", 120770, 0, 1, 200, 2, {W(102, 2), W(106, 2)}, 2, 200},
        WorkModeCase{"ColourFreeRunLowersTime1", 120770, 2, 600, 200, 0, {W(102, 0), W(106, 500)}, 500, 200},
        WorkModeCase{"ColourValidTime1Unwritten", 120770, 2, 300, 200, 0, {W(102, 0)}, 300, 200},
        WorkModeCase{"SmallExSyncRaisesTime1", 110410, 0, 0, 200, 2, {W(102, 2), W(106, 1)}, 1, 200},
        WorkModeCase{"SmallExSyncKeepsOne", 110410, 0, 1, 200, 2, {W(102, 2)}, 1, 200},
        WorkModeCase{"EdgeControlledExSyncNoAdjustment", 120770, 0, 1, 20, 3, {W(102, 3)}, 1, 20},
        WorkModeCase{"LevelControlledNoAdjustment", 117810, 0, 3000, 5000, 4, {W(102, 4)}, 3000, 5000}),
    [](const auto& info) { return std::string(info.param.name); });

struct ListCase {
  int32_t type;
  QStringList output;
  int testImages;
  bool correctionsEnabled;
};

class ModeLists : public LineScanFixture, public ::testing::WithParamInterface<ListCase> {};

TEST_P(ModeLists, FilledByType) {
  const ListCase& c = GetParam();
  open(c.type);
  auto* page = show<CDlgLinearMode>();
  QComboBox* output = page->control<QComboBox>(kOutputFormatList);
  QStringList items;
  for (int i = 0; i < output->count(); ++i) items << output->itemText(i);
  EXPECT_EQ(items, c.output);
  QComboBox* tests = page->control<QComboBox>(kTestImageList);
  ASSERT_EQ(tests->count(), c.testImages);
  EXPECT_EQ(tests->itemText(0), QString::fromUtf8("实时图像"));
  EXPECT_EQ(tests->itemText(3), QString::fromUtf8("双向测试图"));
  if (c.testImages == 7) {
    EXPECT_EQ(tests->itemText(6), QString::fromUtf8("蓝色测试图"));
  }
  EXPECT_EQ(page->control<QComboBox>(kCorrectionStartList)->isEnabled(), c.correctionsEnabled);
  EXPECT_EQ(page->control<QComboBox>(kCorrectionLinesList)->isEnabled(), c.correctionsEnabled);
  EXPECT_TRUE(page->control<QComboBox>(kDataShiftList)->isEnabled());
  EXPECT_EQ(page->control<QComboBox>(kWorkModeList)->count(), 5);
  EXPECT_EQ(page->control<QComboBox>(kWorkModeList)->itemText(4), "ExSync,Level-congrolled");
  // Showing the page writes nothing.
  EXPECT_TRUE(sim.writes().empty());
}

INSTANTIATE_TEST_SUITE_P(
    Types, ModeLists,
    ::testing::Values(ListCase{110410, {"8 bit", "10 bit", "12 bit", "14 bit"}, 4, false},
                      ListCase{117810, {"8 bit", "10 bit", "12 bit", "14 bit"}, 4, false},
                      ListCase{120770,
                               {"20 MHz 8 Bit RGB mode", "60 MHz Single Pixel 8 Bit mode",
                                "40 MHz Dual Pixel 8 Bit mode", "60 MHz Single Pixel 10 Bit mode",
                                "40 MHz Dual Pixel 10 Bit mode"},
                               7,
                               true}));

struct ChoiceCase {
  int list;
  int position;
  int32_t id;
  int32_t LinearParams::*field;
};

class ModeChoice : public LineScanFixture, public ::testing::WithParamInterface<ChoiceCase> {};

TEST_P(ModeChoice, StoresAndWritesThePosition) {
  const ChoiceCase& c = GetParam();
  open(120770);
  auto* page = show<CDlgLinearMode>();
  page->control<QComboBox>(c.list)->setCurrentIndex(c.position);
  EXPECT_EQ(sim.writes(), std::vector<Write>{W(c.id, c.position)});
  EXPECT_EQ(cameraState().linear.*(c.field), c.position);
  EXPECT_EQ(page->control<QComboBox>(c.list)->currentIndex(), c.position);
  EXPECT_TRUE(desktop.messages.empty());
  EXPECT_EQ(desktop.waitCursorDepth, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Lists, ModeChoice,
    ::testing::Values(ChoiceCase{kOutputFormatList, 3, 103, &LinearParams::cameraLinkMode},
                      ChoiceCase{kTestImageList, 6, 108, &LinearParams::testImage},
                      ChoiceCase{kCorrectionStartList, 1, 109, &LinearParams::correctionStart},
                      ChoiceCase{kCorrectionLinesList, 16, 110, &LinearParams::correctionLines},
                      ChoiceCase{kDataShiftList, 2, 111, &LinearParams::dataShift}));

TEST_F(LineScanFixture, ModePageSelectsTheBlockPositionsAndKeepsTheTexts) {
  open(120770);
  LinearParams& b = cameraState().linear;
  b.workMode = 3;
  b.cameraLinkMode = 4;
  b.testImage = 5;
  b.correctionStart = 1;
  b.correctionLines = 12;
  b.dataShift = 2;
  auto* page = show<CDlgLinearMode>();
  EXPECT_EQ(page->control<QComboBox>(kWorkModeList)->currentIndex(), 3);
  EXPECT_EQ(page->control<QComboBox>(kOutputFormatList)->currentIndex(), 4);
  EXPECT_EQ(page->control<QComboBox>(kTestImageList)->currentIndex(), 5);
  EXPECT_EQ(page->control<QComboBox>(kCorrectionStartList)->currentIndex(), 1);
  EXPECT_EQ(page->control<QComboBox>(kCorrectionLinesList)->currentIndex(), 12);
  EXPECT_EQ(page->control<QComboBox>(kDataShiftList)->currentIndex(), 2);
  EXPECT_EQ(page->outputModeText(), "40 MHz Dual Pixel 10 Bit mode");
  EXPECT_EQ(page->testImageText(), QString::fromUtf8("绿色测试图"));
  EXPECT_EQ(page->positions(), (std::array<int32_t, 6>{3, 4, 5, 1, 12, 2}));
  // A position the lists do not have selects nothing and names nothing.
  b.cameraLinkMode = 9;
  page->repaint();
  EXPECT_EQ(page->control<QComboBox>(kOutputFormatList)->currentIndex(), -1);
  EXPECT_EQ(page->outputModeText(), "");
  EXPECT_TRUE(sim.writes().empty());
}

TEST_F(LineScanFixture, ModePageListsInChinese) {
  open(117810, 2);
  auto* page = show<CDlgLinearMode>();
  QComboBox* lines = page->control<QComboBox>(kCorrectionLinesList);
  ASSERT_EQ(lines->count(), 17);
  EXPECT_EQ(lines->itemText(0), QString::fromUtf8("无校正"));
  EXPECT_EQ(lines->itemText(16), QString::fromUtf8("校正16行"));
  EXPECT_EQ(page->control<QComboBox>(kCorrectionStartList)->itemText(1), QString::fromUtf8("蓝色起始"));
  EXPECT_EQ(page->control<QComboBox>(kDataShiftList)->itemText(3), QString::fromUtf8("移3位"));
  EXPECT_EQ(page->control<QComboBox>(kWorkModeList)->itemText(0), "Free-run,Programmable");
  EXPECT_EQ(page->control<QComboBox>(kTestImageList)->itemText(1), QString::fromUtf8("水平测试图"));
}

TEST_F(LineScanFixture, ModePageListsInEnglish) {
  open(117810);
  auto* page = show<CDlgLinearMode>();
  QComboBox* lines = page->control<QComboBox>(kCorrectionLinesList);
  ASSERT_EQ(lines->count(), 17);
  EXPECT_EQ(lines->itemText(0), "none");
  EXPECT_EQ(lines->itemText(16), "16");
  EXPECT_EQ(page->control<QComboBox>(kCorrectionStartList)->itemText(0), "red line");
  EXPECT_EQ(page->control<QComboBox>(kDataShiftList)->itemText(1), "1");
}

TEST_F(LineScanFixture, ModeFailedWriteShowsTheLibraryMessageAndKeepsTheChoice) {
  open(120770);
  auto* page = show<CDlgLinearMode>();
  sim.control("fail 108=106");
  page->control<QComboBox>(kTestImageList)->setCurrentIndex(2);
  EXPECT_EQ(desktop.texts(), QStringList{"Can not write in for invalid link."});
  EXPECT_EQ(cameraState().linear.testImage, 2);
  EXPECT_EQ(page->control<QComboBox>(kTestImageList)->currentIndex(), 2);
  EXPECT_EQ(page->testImageText(), QString::fromUtf8("纵向测试图"));
}

TEST_F(LineScanFixture, ModeFailedWorkModeWriteStillAdjustsTheTimes) {
  open(110410);
  setBlock(0, 400, 200);
  auto* page = show<CDlgLinearMode>();
  sim.control("fail 102=106");
  page->control<QComboBox>(kWorkModeList)->setCurrentIndex(1);
  EXPECT_EQ(desktop.texts(), QStringList{"Can not write in for invalid link."});
  EXPECT_EQ(sim.writes(), (std::vector<Write>{W(102, 1), W(107, 100)}));
  EXPECT_EQ(cameraState().linear.workMode, 1);
}
