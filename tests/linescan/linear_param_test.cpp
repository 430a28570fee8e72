// linear_param_test.cpp - Time1/Time2 rules, AOI limits, bars and derived values of the line-scan parameter
// page.
#include <QComboBox>
#include <QLabel>

#include "pages/linescan/dlg_linear_param.h"
#include "tests/linescan/linescan_fixture.h"

using enum CDlgLinearParam::CtlId;

namespace {

const QString kExceed = "input exceed valid range of expose time";
const QString kInvalid = "input data invalid";

struct TypedCase {
  const char* name;
  int32_t type;
  int32_t workMode;
  int32_t time1;
  int32_t time2;
  int edit;  // 1190 Time1 or 1191 Time2
  const char* typed;
  QStringList messages;
  std::vector<Write> writes;
  int32_t shownTime1;
  int32_t shownTime2;
};

void PrintTo(const TypedCase& c, std::ostream* os) { *os << c.name; }

class ParamPage : public LineScanFixture {
 protected:
  CDlgLinearParam* showParam(int32_t type, int32_t workMode, int32_t time1, int32_t time2) {
    open(type);
    setBlock(workMode, time1, time2);
    return show<CDlgLinearParam>();
  }
  ReqScrollBar* bar(int id) { return page_->findChild<ReqScrollBar*>(QString::number(id)); }
  QLineEdit* edit(int id) { return page_->findChild<QLineEdit*>(QString::number(id)); }
  int shown(int id) { return edit(id)->text().toInt(); }
};

}  // namespace

class TypedTime : public ParamPage, public ::testing::WithParamInterface<TypedCase> {};

TEST_P(TypedTime, FollowsTheRulesOfTypeAndWorkMode) {
  const TypedCase& c = GetParam();
  showParam(c.type, c.workMode, c.time1, c.time2);
  edit(c.edit)->setText(c.typed);
  EXPECT_EQ(desktop.texts(), c.messages);
  EXPECT_EQ(sim.writes(), c.writes);
  EXPECT_EQ(shown(kTime1Edit), c.shownTime1);
  EXPECT_EQ(shown(kTime2Edit), c.shownTime2);
  // Every page stores a value in the block before writing it.
  EXPECT_EQ(cameraState().linear.time1, c.shownTime1);
  EXPECT_EQ(cameraState().linear.time2, c.shownTime2);
  EXPECT_TRUE(desktop.sleeps.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Time1, TypedTime,
    ::testing::Values(
        TypedCase{
            "ColourFreeSumAbove500", 120770, 0, 100, 200, 1190, "400", {kExceed}, {W(106, 300)}, 300, 200},
        TypedCase{"ColourFreeValid", 120770, 0, 100, 200, 1190, "150", {}, {W(106, 150)}, 150, 200},
        TypedCase{"ColourFreeBelowMinimum", 120770, 0, 100, 200, 1190, "1", {kExceed}, {W(106, 2)}, 2, 200},
        TypedCase{"ColourFreeAbove500", 120770, 0, 100, 20, 1190, "700", {kExceed}, {W(106, 480)}, 480, 20},
        TypedCase{"ColourEdgeOneIsValid", 120770, 1, 100, 200, 1190, "1", {}, {W(106, 1)}, 1, 200},
        TypedCase{"ColourEdgeSumBelow108", 120770, 1, 100, 20, 1190, "50", {kExceed}, {W(106, 88)}, 88, 20},
        // 108 - Time2 would be a negative time: the minimum is kept.
        TypedCase{"ColourNeverNegative", 120770, 0, 100, 200, 1190, "-150", {kExceed}, {W(106, 2)}, 2, 200},
        TypedCase{
            "ColourExSyncAbove108", 120770, 2, 50, 200, 1190, "300", {kExceed}, {W(106, 108)}, 108, 106},
        TypedCase{"ColourExSyncBelow2", 120770, 2, 50, 200, 1190, "1", {kExceed}, {W(106, 2)}, 2, 106},
        TypedCase{"ColourExSyncValid", 120770, 2, 50, 200, 1190, "60", {}, {W(106, 60)}, 60, 106},
        TypedCase{"ColourEdgeExSyncFixed", 120770, 3, 50, 200, 1190, "300", {}, {}, 2, 106},
        TypedCase{"SmallEdgeSumBelow27", 110410, 1, 100, 10, 1190, "5", {kExceed}, {W(106, 17)}, 17, 10},
        TypedCase{"SmallFreeValid", 110410, 0, 100, 10, 1190, "20", {}, {W(106, 20)}, 20, 10},
        TypedCase{"SmallExSyncAbove26", 110410, 2, 10, 10, 1190, "27", {kExceed}, {W(106, 26)}, 26, 26},
        TypedCase{"SmallLevelFixed", 110410, 4, 10, 10, 1190, "300", {}, {}, 1, 26},
        TypedCase{
            "LongFreeSmallerOfBoth", 117810, 0, 100, 5000, 1190, "8000", {}, {W(106, 5000)}, 5000, 5000},
        TypedCase{"LongFreeValid", 117810, 0, 100, 5000, 1190, "4000", {}, {W(106, 4000)}, 4000, 5000},
        TypedCase{
            "LongEdgeMustEqual", 117810, 1, 5000, 5000, 1190, "4000", {kInvalid}, {W(106, 5000)}, 5000, 5000},
        TypedCase{"LongExSyncAboveRange",
                  117810,
                  2,
                  100,
                  5000,
                  1190,
                  "70000",
                  {kExceed},
                  {W(106, 65535)},
                  65535,
                  10000},
        TypedCase{"LongExSyncFixed", 117810, 3, 100, 5000, 1190, "5", {}, {}, 10000, 10000}),
    [](const auto& info) { return std::string(info.param.name); });

INSTANTIATE_TEST_SUITE_P(
    Time2, TypedTime,
    ::testing::Values(
        TypedCase{
            "ColourFreeSumAbove500", 120770, 0, 100, 200, 1191, "450", {kExceed}, {W(107, 400)}, 100, 400},
        TypedCase{"ColourFreeValid", 120770, 0, 100, 200, 1191, "300", {}, {W(107, 300)}, 100, 300},
        TypedCase{"ColourFreeBelow2", 120770, 0, 300, 200, 1191, "1", {kExceed}, {W(107, 2)}, 300, 2},
        TypedCase{"ColourExSyncFixedUnwritten", 120770, 2, 100, 200, 1191, "300", {}, {}, 100, 106},
        TypedCase{"SmallEdgeSumBelow27", 110410, 1, 10, 100, 1191, "5", {kExceed}, {W(107, 17)}, 10, 17},
        TypedCase{"SmallExSyncFixedUnwritten", 110410, 2, 10, 100, 1191, "300", {}, {}, 10, 26},
        TypedCase{"LongFreeBelowTime1",
                  117810,
                  0,
                  4000,
                  8000,
                  1191,
                  "3000",
                  {},
                  {W(106, 3000), W(107, 3000)},
                  3000,
                  3000},
        TypedCase{"LongFreeAboveTime1", 117810, 0, 4000, 8000, 1191, "6000", {}, {W(107, 6000)}, 4000, 6000},
        // A zero line period cannot be run and would divide the line
        // frequency by zero: the shortest period is kept.
        TypedCase{"LongFreeNeverZero", 117810, 0, 4000, 8000, 1191, "0", {}, {W(106, 1), W(107, 1)}, 1, 1},
        TypedCase{"LongEdgeBelowRange",
                  117810,
                  1,
                  5000,
                  5000,
                  1191,
                  "1000",
                  {kExceed},
                  {W(106, 2118), W(107, 2118)},
                  2118,
                  2118},
        TypedCase{"LongEdgeValid", 117810, 1, 5000, 5000, 1191, "6000", {}, {W(107, 6000)}, 5000, 6000},
        TypedCase{"LongExSyncFixedUnwritten", 117810, 2, 4000, 8000, 1191, "5", {}, {}, 4000, 10000}),
    [](const auto& info) { return std::string(info.param.name); });

// Edge-controlled, Time1 499 and Time2 1 are a good pair; switched to free
// run, Time2's minimum is 2. A typed time corrected to its minimum then
// leaves the other one too little room: the other gives way, written
// first, and the pair sums to 500, never 501.
struct GiveWayCase {
  const char* name;
  int32_t time1, time2;
  int edit;
  std::vector<Write> writes;
  int32_t shownTime1, shownTime2;
};

void PrintTo(const GiveWayCase& c, std::ostream* os) { *os << c.name; }

class GiveWay : public ParamPage, public ::testing::WithParamInterface<GiveWayCase> {};

TEST_P(GiveWay, TheSumStaysInsideTheCamerasRange) {
  const GiveWayCase& c = GetParam();
  showParam(120770, 1, c.time1, c.time2);
  ASSERT_TRUE(sim.writes().empty());
  // The mode page switches the camera to free run; the times stay.
  ASSERT_EQ(CameraLibrary::instance().setConfigParam(cameraState().handle, 102, 0, 0), 1);
  cameraState().linear.workMode = 0;
  sim.clearLog();
  edit(c.edit)->setText("5");
  EXPECT_EQ(desktop.texts(), QStringList{kExceed});
  EXPECT_EQ(sim.writes(), c.writes);
  EXPECT_EQ(shown(kTime1Edit), c.shownTime1);
  EXPECT_EQ(shown(kTime2Edit), c.shownTime2);
  EXPECT_EQ(cameraState().linear.time1, c.shownTime1);
  EXPECT_EQ(cameraState().linear.time2, c.shownTime2);
  EXPECT_LE(c.shownTime1 + c.shownTime2, 500);
}

INSTANTIATE_TEST_SUITE_P(
    Pairs, GiveWay,
    ::testing::Values(GiveWayCase{"Time2Typed", 499, 1, 1191, {W(106, 498), W(107, 2)}, 498, 2},
                      GiveWayCase{"Time1Typed", 1, 499, 1190, {W(107, 498), W(106, 2)}, 2, 498}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ParamPage, TextThatIsNoNumberWritesNothing) {
  showParam(120770, 0, 100, 200);
  for (const char* text : {"", "abc", "12x", "99999999999"}) {
    for (int id : {kStartEdit, kLengthEdit, kTime1Edit, kTime2Edit}) {
      SCOPED_TRACE(std::string(text) + " in " + std::to_string(id));
      edit(id)->setText(text);
      EXPECT_TRUE(sim.writes().empty());
      EXPECT_TRUE(desktop.messages.empty());
    }
  }
}

struct DerivedCase {
  int32_t type;
  int32_t workMode;
  int32_t time1;
  int32_t time2;
  const char* exposure;
  const char* frequency;
  int32_t hiddenTime;
  int32_t hiddenFrequency;
  float exposureValue;
};

class Derived : public ParamPage, public ::testing::WithParamInterface<DerivedCase> {};

TEST_P(Derived, ExposureAndLineFrequency) {
  const DerivedCase& c = GetParam();
  auto* page = showParam(c.type, c.workMode, c.time1, c.time2);
  EXPECT_EQ(editText(page, kExposureEdit), c.exposure);
  EXPECT_EQ(editText(page, kLineRateEdit), c.frequency);
  EXPECT_EQ(shown(kHiddenTimeEdit), c.hiddenTime);
  EXPECT_EQ(shown(kHiddenRateEdit), c.hiddenFrequency);
  EXPECT_FLOAT_EQ(page->exposureUs(), c.exposureValue);
}

INSTANTIATE_TEST_SUITE_P(
    Types, Derived,
    ::testing::Values(DerivedCase{117810, 0, 4000, 8000, "100.000", "5.0", 4000, 5, 100.0f},
                      DerivedCase{117810, 1, 5000, 5000, "125.000", "8.0", 10000, 8, 125.0f},
                      // Kept to the decimals shown: 5714.2857 becomes 5714.3.
                      DerivedCase{117810, 0, 3, 7, "0.075", "5714.3", 3, 5714, 0.075f},
                      DerivedCase{117810, 2, 4000, 8000, "100.000", "0.0", 4000, 0, 100.0f},
                      DerivedCase{117810, 3, 4000, 8000, "0.000", "0.0", 0, 0, 0.0f},
                      DerivedCase{120770, 1, 100, 200, "0.000", "0.0", 300, 0, 0.0f},
                      DerivedCase{110410, 0, 100, 200, "0.000", "0.0", 100, 0, 0.0f}));

TEST_F(ParamPage, DerivedValuesFollowATypedTime) {
  auto* page = showParam(117810, 0, 4000, 8000);
  edit(kTime2Edit)->setText("10000");
  EXPECT_EQ(editText(page, kLineRateEdit), "4.0");
  edit(kTime1Edit)->setText("2000");
  EXPECT_EQ(editText(page, kExposureEdit), "50.000");
}

struct BarCase {
  int32_t type;
  int ranges[4][2];
  const char* labels[4];
  int initial[4][3];  // min, max, position before the first repaint
};

class Bars : public ParamPage, public ::testing::WithParamInterface<BarCase> {};

TEST_P(Bars, RangesAndLabelsByType) {
  const BarCase& c = GetParam();
  open(c.type);
  auto* page = new CDlgLinearParam(nullptr, nullptr);
  page_.reset(page);
  const int bars[4] = {kStartBar, kLengthBar, kTime1Bar, kTime2Bar};
  for (int i = 0; i < 4; ++i) {
    SCOPED_TRACE(bars[i]);
    EXPECT_EQ(bar(bars[i])->minimum(), c.initial[i][0]);
    EXPECT_EQ(bar(bars[i])->maximum(), c.initial[i][1]);
    EXPECT_EQ(bar(bars[i])->value(), c.initial[i][2]);
  }
  page->show();
  const int labels[4] = {kStartLabel, kLengthLabel, kTime1Label, kTime2Label};
  for (int i = 0; i < 4; ++i) {
    SCOPED_TRACE(bars[i]);
    EXPECT_EQ(bar(bars[i])->minimum(), c.ranges[i][0]);
    EXPECT_EQ(bar(bars[i])->maximum(), c.ranges[i][1]);
    EXPECT_EQ(page->control<QLabel>(labels[i])->text(), QString::fromUtf8(c.labels[i]));
  }
  QComboBox* gain = page->control<QComboBox>(kGainLevelList);
  ASSERT_EQ(gain->count(), 4);
  EXPECT_EQ(gain->itemText(3), QString::fromUtf8("4级"));
}

INSTANTIATE_TEST_SUITE_P(
    Types, Bars,
    ::testing::Values(
        BarCase{120770,
                {{0, 2047}, {0, 2048}, {0, 500}, {0, 500}},
                {"AOI起始像素(1-2047)：", "AOI像素长度(1-2048)：", "Time1(1-500)：", "Time2(1-500)："},
                {{1, 2047, 200}, {1, 2048, 1000}, {1, 500, 100}, {1, 500, 200}}},
        BarCase{117810,
                {{0, 2047}, {0, 2048}, {1, 65535}, {2118, 65535}},
                {"AOI起始像素(1-2047)：", "AOI像素长度(1-2048)：", "Time1(1-65535)：", "Time2(2118-65535)："},
                {{1, 2047, 200}, {1, 2048, 1000}, {1, 65535, 10000}, {2118, 65535, 10000}}},
        BarCase{110410,
                {{0, 1023}, {0, 1024}, {0, 500}, {0, 500}},
                {"AOI起始像素(1-1023)：", "AOI像素长度(1-1024)：", "Time1(1-500)：", "Time2(1-500)："},
                {{1, 1023, 200}, {1, 1024, 1000}, {1, 500, 100}, {1, 500, 10}}}));

TEST_F(ParamPage, SmallCameraThumbsReturnOnEveryRepaint) {
  open(110410);
  setBlock(0, 100, 200);
  cameraState().linear.aoiLength = 500;
  auto* page = show<CDlgLinearParam>();
  auto thumbs = [this] {
    return std::vector<int>{bar(kStartBar)->value(), bar(kLengthBar)->value(), bar(kTime1Bar)->value(),
                            bar(kTime2Bar)->value()};
  };
  EXPECT_EQ(thumbs(), (std::vector<int>{200, 1000, 10, 10}));
  bar(kTime1Bar)->request(SbThumbTrack, 150);
  bar(kStartBar)->request(SbThumbTrack, 300);
  EXPECT_EQ(thumbs(), (std::vector<int>{200, 1000, 10, 10}));
  EXPECT_EQ(shown(kTime1Edit), 150);
  EXPECT_EQ(shown(kStartEdit), 300);
  edit(kTime2Edit)->setText("250");
  page->repaint();
  EXPECT_EQ(thumbs(), (std::vector<int>{200, 1000, 10, 10}));
}

struct AoiDragCase {
  const char* name;
  int32_t type;
  int32_t start;
  int32_t length;
  int bar;
  int dragTo;
  int32_t expected;
};

void PrintTo(const AoiDragCase& c, std::ostream* os) { *os << c.name; }

class AoiDrag : public ParamPage, public ::testing::WithParamInterface<AoiDragCase> {};

TEST_P(AoiDrag, StaysInsideTheEndLimit) {
  const AoiDragCase& c = GetParam();
  open(c.type);
  cameraState().linear.aoiStart = c.start;
  cameraState().linear.aoiLength = c.length;
  show<CDlgLinearParam>();
  const bool isStart = c.bar == 1176;
  const int32_t id = isStart ? 104 : 105;
  bar(c.bar)->request(SbThumbTrack, c.dragTo);
  bar(c.bar)->request(SbThumbPosition, c.dragTo);
  const size_t duringDrag = sim.writes().size();
  bar(c.bar)->request(SbEndScroll, 0);
  const auto writes = sim.writes();
  ASSERT_FALSE(writes.empty());
  // The end of scrolling writes the value once more, and nothing else moves.
  EXPECT_EQ(writes.size(), duringDrag + 1);
  for (const Write& w : writes) EXPECT_EQ(w, W(id, c.expected));
  EXPECT_EQ(shown(isStart ? 1177 : 1189), c.expected);
  EXPECT_EQ(isStart ? cameraState().linear.aoiStart : cameraState().linear.aoiLength, c.expected);
  EXPECT_TRUE(desktop.messages.empty());
}

INSTANTIATE_TEST_SUITE_P(Types, AoiDrag,
                         ::testing::Values(AoiDragCase{"SmallLength", 110410, 200, 500, 1186, 1000, 825},
                                           AoiDragCase{"SmallStart", 110410, 300, 800, 1176, 900, 225},
                                           AoiDragCase{"ColourLength", 120770, 200, 1000, 1186, 2000, 1849},
                                           AoiDragCase{"LongStart", 117810, 200, 1000, 1176, 1500, 1049},
                                           AoiDragCase{"ColourInside", 120770, 200, 1000, 1176, 300, 300}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(ParamPage, SmallLengthDragShowsTheValueWhileTheThumbReturns) {
  open(110410);
  cameraState().linear.aoiStart = 200;
  show<CDlgLinearParam>();
  bar(kLengthBar)->request(SbThumbTrack, 1000);
  bar(kLengthBar)->request(SbEndScroll, 0);
  EXPECT_EQ(shown(kLengthEdit), 825);
  EXPECT_EQ(bar(kLengthBar)->value(), 1000);
}

TEST_F(ParamPage, AoiStartNeverGoesBelowTheBar) {
  open(110410);
  cameraState().linear.aoiStart = 100;
  show<CDlgLinearParam>();
  edit(kLengthEdit)->setText("2000");  // accepted by the edit, longer than the sensor
  sim.clearLog();
  bar(kStartBar)->request(SbLineRight, 0);
  bar(kStartBar)->request(SbEndScroll, 0);
  for (const Write& w : sim.writes()) EXPECT_GE(w.second, 0);
  EXPECT_EQ(cameraState().linear.aoiStart, 0);
}

struct AoiTypedCase {
  int edit;
  const char* text;
  std::vector<Write> writes;
};

class AoiTyped : public ParamPage, public ::testing::WithParamInterface<AoiTypedCase> {};

TEST_P(AoiTyped, AcceptsOneTo2160) {
  const AoiTypedCase& c = GetParam();
  open(120770);
  show<CDlgLinearParam>();
  const int32_t before = c.edit == 1177 ? cameraState().linear.aoiStart : cameraState().linear.aoiLength;
  edit(c.edit)->setText(c.text);
  EXPECT_EQ(sim.writes(), c.writes);
  EXPECT_TRUE(desktop.messages.empty());
  const int32_t after = c.edit == 1177 ? cameraState().linear.aoiStart : cameraState().linear.aoiLength;
  if (c.writes.empty()) {
    EXPECT_EQ(after, before);
  } else {
    EXPECT_EQ(after, c.writes.back().second);
  }
}

INSTANTIATE_TEST_SUITE_P(Edits, AoiTyped,
                         ::testing::Values(AoiTypedCase{kStartEdit, "0", {}},
                                           AoiTypedCase{kStartEdit, "2161", {}},
                                           AoiTypedCase{kStartEdit, "5", {W(104, 5)}},
                                           AoiTypedCase{kStartEdit, "2000", {W(104, 2000)}},
                                           AoiTypedCase{kLengthEdit, "-5", {}},
                                           AoiTypedCase{kLengthEdit, "1500", {W(105, 1500)}},
                                           AoiTypedCase{kLengthEdit, "1024", {W(105, 1024)}}));

TEST_F(ParamPage, Time1DragWritesThroughTheTypedRules) {
  showParam(120770, 0, 100, 200);
  bar(kTime1Bar)->request(SbThumbTrack, 400);
  // The bar's position reaches the edit box, whose rules correct it.
  EXPECT_EQ(desktop.texts(), QStringList{kExceed});
  EXPECT_EQ(sim.writes(), std::vector<Write>{W(106, 300)});
  bar(kTime1Bar)->request(SbThumbPosition, 400);
  bar(kTime1Bar)->request(SbEndScroll, 0);
  for (const Write& w : sim.writes()) EXPECT_EQ(w, W(106, 300));
  EXPECT_EQ(shown(kTime1Edit), 300);
  EXPECT_EQ(cameraState().linear.time1, 300);
  EXPECT_TRUE(desktop.sleeps.empty());
}

TEST_F(ParamPage, Time1LineStepsFromTheBarValue) {
  showParam(117810, 0, 100, 5000);
  bar(kTime1Bar)->request(SbThumbTrack, 3000);
  bar(kTime1Bar)->request(SbEndScroll, 0);
  sim.clearLog();
  bar(kTime1Bar)->request(SbLineRight, 0);
  bar(kTime1Bar)->request(SbPageRight, 0);
  bar(kTime1Bar)->request(SbEndScroll, 0);
  EXPECT_EQ(shown(kTime1Edit), 3003);
  EXPECT_EQ(sim.writes().back(), W(106, 3003));
}

TEST_F(ParamPage, Time1EndOfScrollLevelControlledLongWritesNothing) {
  showParam(117810, 3, 100, 5000);
  bar(kTime1Bar)->request(SbThumbTrack, 300);
  bar(kTime1Bar)->request(SbEndScroll, 0);
  EXPECT_TRUE(sim.writes().empty());
  EXPECT_TRUE(desktop.messages.empty());
  EXPECT_EQ(shown(kTime1Edit), 10000);
}

TEST_F(ParamPage, Time1EndOfScrollSmallExSyncAllows27) {
  showParam(110410, 2, 10, 10);
  // Typed, 27 is corrected to 26; at the end of a scroll 27 is valid.
  bar(kTime1Bar)->request(SbThumbTrack, 27);
  EXPECT_EQ(sim.writes(), std::vector<Write>{W(106, 26)});
  sim.clearLog();
  desktop.clear();
  edit(kTime1Edit)->blockSignals(true);
  edit(kTime1Edit)->setText("27");
  edit(kTime1Edit)->blockSignals(false);
  bar(kTime1Bar)->request(SbEndScroll, 0);
  EXPECT_TRUE(desktop.messages.empty());
  // Written with the bar's position, which the typed rule had set to 26.
  ASSERT_FALSE(sim.writes().empty());
  EXPECT_EQ(sim.writes().front(), W(106, 26));
}

TEST_F(ParamPage, Time2EndOfScrollWaitsAndReadsTheBlockAgain) {
  showParam(120770, 0, 100, 200);
  bar(kTime2Bar)->request(SbThumbTrack, 300);
  EXPECT_EQ(sim.writes(), std::vector<Write>{W(107, 300)});
  EXPECT_TRUE(desktop.sleeps.empty());
  sim.clearLog();
  bar(kTime2Bar)->request(SbEndScroll, 0);
  const auto log = sim.log();
  ASSERT_GE(log.size(), 2u);
  EXPECT_EQ(log[0].name, "SetConfigParam");
  EXPECT_EQ(log[0].value("id"), 107);
  EXPECT_EQ(log[0].value("value"), 300);
  EXPECT_EQ(log[1].name, "GetConfigParam");
  EXPECT_EQ(log[1].value("id"), 100);
  ASSERT_EQ(desktop.sleeps.size(), 1u);
  EXPECT_EQ(desktop.sleeps[0].ms, 1000);
  EXPECT_EQ(cameraState().linear.time2, 300);
  EXPECT_EQ(shown(kTime2Edit), 300);
}

TEST_F(ParamPage, Time2EndOfScrollLongEdgeWritesTime1First) {
  showParam(117810, 1, 5000, 5000);
  bar(kTime2Bar)->request(SbThumbTrack, 6000);
  EXPECT_EQ(sim.writes(), std::vector<Write>{W(107, 6000)});
  sim.clearLog();
  bar(kTime2Bar)->request(SbEndScroll, 0);
  auto writes = sim.writes();
  ASSERT_GE(writes.size(), 2u);
  EXPECT_EQ(writes[0], W(106, 6000));
  EXPECT_EQ(writes[1], W(107, 6000));
  ASSERT_EQ(desktop.sleeps.size(), 1u);
  EXPECT_TRUE(desktop.messages.empty());
  EXPECT_EQ(shown(kTime1Edit), 6000);
  EXPECT_EQ(shown(kTime2Edit), 6000);
}

struct FixedTime2Case {
  int32_t type;
  int32_t fixed;
};

class FixedTime2 : public ParamPage, public ::testing::WithParamInterface<FixedTime2Case> {};

TEST_P(FixedTime2, ExSyncEndOfScrollWritesTheFixedValue) {
  showParam(GetParam().type, 2, 10, 200);
  bar(kTime2Bar)->request(SbThumbTrack, 300);
  EXPECT_TRUE(sim.writes().empty());
  EXPECT_EQ(shown(kTime2Edit), GetParam().fixed);
  bar(kTime2Bar)->request(SbEndScroll, 0);
  EXPECT_EQ(sim.writes(), std::vector<Write>{W(107, GetParam().fixed)});
  EXPECT_TRUE(desktop.messages.empty());
  ASSERT_EQ(desktop.sleeps.size(), 1u);
  EXPECT_EQ(shown(kTime2Edit), GetParam().fixed);
}

INSTANTIATE_TEST_SUITE_P(Types, FixedTime2,
                         ::testing::Values(FixedTime2Case{120770, 106}, FixedTime2Case{110410, 26}));

struct SyncControlledCase {
  int32_t type;
  int32_t workMode;
  int32_t fixed;
};

class SyncControlledTime2 : public ParamPage, public ::testing::WithParamInterface<SyncControlledCase> {};

// With the exposure controlled by the sync signal the camera's Time2 is not
// the page's to set: the end of a scroll writes nothing, so there is nothing
// to wait for and nothing to read again.
TEST_P(SyncControlledTime2, EndOfScrollWritesNothing) {
  const SyncControlledCase& c = GetParam();
  showParam(c.type, c.workMode, 10, 200);
  bar(kTime2Bar)->request(SbThumbTrack, 300);
  bar(kTime2Bar)->request(SbThumbPosition, 300);
  bar(kTime2Bar)->request(SbEndScroll, 0);
  EXPECT_TRUE(sim.writes().empty());
  EXPECT_TRUE(desktop.messages.empty());
  EXPECT_TRUE(desktop.sleeps.empty());
  EXPECT_TRUE(sim.calls("GetConfigParam").empty());
  EXPECT_EQ(shown(kTime2Edit), c.fixed);
  EXPECT_EQ(cameraState().linear.time2, c.fixed);
}

INSTANTIATE_TEST_SUITE_P(Types, SyncControlledTime2,
                         ::testing::Values(SyncControlledCase{120770, 3, 106},
                                           SyncControlledCase{120770, 4, 106},
                                           SyncControlledCase{110410, 3, 26},
                                           SyncControlledCase{110410, 4, 26}));

TEST_F(ParamPage, Time2EndOfScrollLongExSyncRestsAtTheLowerEnd) {
  showParam(117810, 2, 4000, 8000);
  bar(kTime2Bar)->request(SbThumbTrack, 30000);
  bar(kTime2Bar)->request(SbEndScroll, 0);
  EXPECT_TRUE(sim.writes().empty());
  EXPECT_TRUE(desktop.sleeps.empty());
  EXPECT_EQ(bar(kTime2Bar)->value(), 2118);
  EXPECT_EQ(shown(kTime2Edit), 10000);
}

TEST_F(ParamPage, GainLevelIsStoredAndWritten) {
  auto* page = showParam(120770, 0, 100, 200);
  page->control<QComboBox>(kGainLevelList)->setCurrentIndex(2);
  EXPECT_EQ(sim.writes(), std::vector<Write>{W(118, 2)});
  EXPECT_EQ(cameraState().linear.gainLevel, 2);
  EXPECT_GT(desktop.waitCursorShown, 0);
  EXPECT_EQ(desktop.waitCursorDepth, 0);
  cameraState().linear.gainLevel = 1;
  page->repaint();
  EXPECT_EQ(page->control<QComboBox>(kGainLevelList)->currentIndex(), 1);
  EXPECT_EQ(sim.writes().size(), 1u);
}

TEST_F(ParamPage, FailedWriteShowsTheLibraryMessageAndKeepsTheValue) {
  showParam(120770, 0, 100, 200);
  sim.control("fail 106=106");
  edit(kTime1Edit)->setText("400");
  EXPECT_EQ(desktop.texts(), (QStringList{kExceed, "Can not write in for invalid link."}));
  EXPECT_EQ(cameraState().linear.time1, 300);
  EXPECT_EQ(shown(kTime1Edit), 300);
}

TEST_F(ParamPage, ShowingThePageTakesTheBlockValues) {
  open(120770);
  LinearParams& b = cameraState().linear;
  b.aoiStart = 10;
  b.aoiLength = 1500;
  setBlock(1, 150, 250);
  show<CDlgLinearParam>();
  EXPECT_EQ(shown(kStartEdit), 10);
  EXPECT_EQ(shown(kLengthEdit), 1500);
  EXPECT_EQ(shown(kTime1Edit), 150);
  EXPECT_EQ(shown(kTime2Edit), 250);
}
