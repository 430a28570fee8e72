// param_page_test.cpp - the parameter tab against the simulated camera: rows, partial window, rate list,
// exposure.
#include <QLabel>
#include <QRadioButton>
#include <map>
#include <vector>

#include "mode_fixture.h"
#include "pages/area/dlg_param.h"

using enum CDlgParam::CtlId;

namespace {

class ParamPageTest : public AreaPageTest {
 protected:
  void start(const std::string& camera = "219290", int32_t language = 9, const std::string& extra = "") {
    openCamera(camera, language, extra);
    showNewPage();
  }
  void showNewPage() {
    page = std::make_unique<CDlgParam>(nullptr, nullptr);
    showPage();
  }
  CDlgParam* param() const { return static_cast<CDlgParam*>(page.get()); }
  QComboBox* rates() const { return ctl<QComboBox>(kRateList); }
  QComboBox* coarse() const { return ctl<QComboBox>(kCoarseList); }
  // The exposure the camera itself holds now, read past the program's record.
  int32_t cameraValue(int32_t CameraParams::*field) const {
    CameraParams p{};
    p.size = sizeof(CameraParams);
    EXPECT_EQ(CameraLibrary::instance().getConfigParam(cameraState().handle, -1, &p, 0), 1);
    return p.*field;
  }
};

struct RuleCase {
  const char* name;
  std::string camera;
  int32_t language;
  std::map<int, Look> looks;
  std::map<int, const char*> labels;
};

class ParamRules : public ParamPageTest, public ::testing::WithParamInterface<RuleCase> {};

TEST_P(ParamRules, RowsFollowTypeVersionAndTags) {
  const RuleCase& c = GetParam();
  start(c.camera, c.language);
  for (const auto& [id, look] : c.looks) {
    EXPECT_EQ(lookOf(ctl<QWidget>(id)), look)
        << "control " << id << " is " << lookName(lookOf(ctl<QWidget>(id))) << ", expected "
        << lookName(look);
  }
  for (const auto& [id, label] : c.labels) EXPECT_EQ(ctl<QLabel>(id)->text(), QString::fromUtf8(label)) << id;
  EXPECT_TRUE(sim.writes().empty());
  EXPECT_TRUE(desktop.messages.empty());
}

using L = Look;
INSTANTIATE_TEST_SUITE_P(
    Cameras, ParamRules,
    ::testing::Values(
        RuleCase{"Colour219290",
                 "219290",
                 9,
                 {{kBrightnessBar, L::Shown},
                  {kBrightnessLabel, L::Shown},
                  {kBrightnessEdit, L::Shown},
                  {kBeginLineBar, L::Shown},
                  {kEndLineBar, L::Shown},
                  {kBeginLineEdit, L::Shown},
                  {kEndLineEdit, L::Shown},
                  {kBeginLineLabel, L::Shown},
                  {kEndLineLabel, L::Shown},
                  {kStepLabel, L::Shown},
                  {kCoarseList, L::Shown},
                  {kExposureEdit, L::Off},
                  {kApplyExposureButton, L::Off},
                  {kFineRadio, L::Shown},
                  {kShortExposureRadio, L::Off},
                  {kRateList, L::Shown},
                  {kRateLabel, L::Shown}},
                 {{kStepLabel, "Step:12"}, {kRateLabel, "帧频"}, {kGainLabel, "增益"}}},
        RuleCase{"Colour219290Chinese", "219290", 2, {}, {{kStepLabel, "步长:12"}}},
        RuleCase{"Pal212630NoBrightness",
                 "212630/4",
                 9,
                 {{kBrightnessBar, L::Hidden},
                  {kBrightnessLabel, L::Hidden},
                  {kBrightnessEdit, L::Hidden},
                  {kBeginLineBar, L::Shown}},
                 {{kStepLabel, "Step:4"}}},
        RuleCase{"Pal210780NoPartialWindow",
                 "210780/4",
                 9,
                 {{kBeginLineBar, L::Hidden},
                  {kEndLineBar, L::Hidden},
                  {kBeginLineEdit, L::Hidden},
                  {kEndLineEdit, L::Hidden},
                  {kBeginLineLabel, L::Hidden},
                  {kEndLineLabel, L::Hidden},
                  {kStepLabel, L::Hidden},
                  {kGainBar, L::Shown},
                  {kBlackBar, L::Shown}},
                 {}},
        RuleCase{"Short215590v9",
                 "215590/9",
                 9,
                 {{kShortExposureRadio, L::Shown}, {kFineRadio, L::Off}, {kBrightnessBar, L::Shown}},
                 {}},
        RuleCase{"Short215590v1HasNone",
                 "215590/1",
                 9,
                 {{kShortExposureRadio, L::Off}, {kFineRadio, L::Shown}},
                 {}},
        RuleCase{"Field210785", "210785", 9, {{kBeginLineBar, L::Hidden}}, {{kRateLabel, "场频"}}},
        RuleCase{"Orientation321140NoTiming",
                 "321140",
                 9,
                 {{kCoarseRadio, L::Hidden},
                  {kFineRadio, L::Hidden},
                  {kShortExposureRadio, L::Hidden},
                  {kCoarseList, L::Hidden},
                  {kApplyExposureButton, L::Hidden},
                  {kExposureEdit, L::Hidden},
                  {kRateLabel, L::Hidden},
                  {kRateList, L::Hidden},
                  {kGainBar, L::Shown}},
                 {}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ParamPageTest, ShowsTheRecordWithoutWriting) {
  start();
  const CameraParams& p = cameraState().params;
  EXPECT_EQ(editText(kGainEdit), QString::number(p.gain));
  EXPECT_EQ(bar(kGainBar)->value(), p.gain);
  EXPECT_EQ(editText(kBlackEdit), QString::number(p.black));
  EXPECT_EQ(editText(kBrightnessEdit), QString::number(p.brightness));
  EXPECT_EQ(editText(kBeginLineEdit), QString::number(p.beginLine));
  EXPECT_EQ(editText(kEndLineEdit), QString::number(p.endLine));
  EXPECT_EQ(bar(kGainBar)->maximum(), 1023);
  EXPECT_EQ(bar(kBlackBar)->maximum(), 255);
  EXPECT_EQ(bar(kEndLineBar)->minimum(), p.beginLine + 1);
  EXPECT_EQ(bar(kEndLineBar)->maximum(), 599);
  EXPECT_EQ(coarse()->count(), 18);
  EXPECT_EQ(coarse()->itemText(7), "16667");
  EXPECT_TRUE(sim.writes().empty());
}

TEST_F(ParamPageTest, BrightnessRowIsEmptiedWithoutTheTag) {
  start("212630/4");
  EXPECT_EQ(editText(kBrightnessEdit), "0");
  EXPECT_EQ(bar(kBrightnessBar)->value(), 0);
  EXPECT_NE(cameraState().params.brightness, 0);
}

TEST_F(ParamPageTest, BeginLineBarRangeAndTypedLineLoweredToTheStep) {
  openCamera("219290");
  cameraHolds(8, 480);
  cameraHolds(5, 2);
  showNewPage();
  EXPECT_EQ(bar(kBeginLineBar)->minimum(), 12);
  EXPECT_EQ(bar(kBeginLineBar)->maximum(), 468);
  type(kBeginLineEdit, "100");
  // 100 would be shown lowered to 96, replacing the text being typed: it
  // waits for Enter.
  EXPECT_TRUE(sim.writes().empty());
  EXPECT_EQ(editText(kBeginLineEdit), "100");
  QTest::keyClick(ctl<QLineEdit>(kBeginLineEdit), Qt::Key_Return);
  EXPECT_EQ(sim.writes(), (std::vector<Write>{W(7, 96)}));
  EXPECT_EQ(cameraState().params.beginLine, 96);
  EXPECT_EQ(editText(kBeginLineEdit), "96");
  EXPECT_EQ(bar(kBeginLineBar)->value(), 96);
  EXPECT_EQ(bar(kEndLineBar)->minimum(), 97);
  EXPECT_TRUE(desktop.messages.empty());
}

TEST_F(ParamPageTest, LineEditsWriteNothingOutsidePartMode) {
  openCamera("219290");
  cameraHolds(8, 480);
  showNewPage();
  ASSERT_EQ(cameraState().params.frameMode, 1);
  type(kBeginLineEdit, "100");
  type(kEndLineEdit, "300");
  EXPECT_TRUE(sim.writes().empty());
  EXPECT_TRUE(desktop.messages.empty());
  // The typed text stays until the next repaint rewrites it from the record.
  EXPECT_EQ(editText(kBeginLineEdit), "100");
  param()->repaint();
  EXPECT_EQ(editText(kBeginLineEdit), QString::number(cameraState().params.beginLine));
}

// A whole line number pasted into a line edit in part mode (one change of
// its text; typing it key by key would also act on each shorter prefix).
struct LineEditCase {
  const char* name;
  int edit;
  const char* text;
  std::vector<Write> writes;
};

class ParamLineEdits : public ParamPageTest, public ::testing::WithParamInterface<LineEditCase> {};

TEST_P(ParamLineEdits, OnlyLinesInsideTheWindowRulesAreWritten) {
  const LineEditCase& c = GetParam();
  openCamera("219290");  // begin 144, end 449, step 12, 600 lines
  cameraHolds(5, 2);
  showNewPage();
  ctl<QLineEdit>(c.edit)->setText(QString::fromUtf8(c.text));
  EXPECT_EQ(sim.writes(), c.writes);
  EXPECT_TRUE(desktop.messages.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Texts, ParamLineEdits,
    ::testing::Values(LineEditCase{"BeginBelowTheStep", 1040, "11", {}},
                      LineEditCase{"BeginOnTheStep", 1040, "12", {W(7, 12)}},
                      LineEditCase{"BeginLowered", 1040, "100", {W(7, 96)}},
                      LineEditCase{"BeginAtTheEndLine", 1040, "449", {}},
                      // A six-line window leaves the exposure 36 lines at most.
                      LineEditCase{"BeginJustBelowTheEnd", 1040, "448", {W(7, 444), W(9, 36)}},
                      LineEditCase{"EndAboveTheSensor", 1034, "600", {}},
                      LineEditCase{"EndLastLine", 1034, "599", {W(8, 599)}},
                      LineEditCase{"EndNotAboveTheBegin", 1034, "144", {}},
                      LineEditCase{"EndJustAboveTheBegin", 1034, "145", {W(8, 145), W(9, 36)}},
                      LineEditCase{"EndLetters", 1034, "4x", {}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ParamPageTest, ShorterWindowLowersTheExposure) {
  openCamera("219290");
  cameraHolds(9, 600);
  cameraHolds(5, 2);
  showNewPage();
  // Window 144..300: 157 picture lines plus blanking.
  bar(kEndLineBar)->request(SbThumbTrack, 300);
  int32_t lo = 0, hi = 0;
  exposeRange(&lo, &hi);
  ASSERT_LT(hi, 600);
  EXPECT_EQ(sim.writes(), (std::vector<Write>{W(8, 300), W(9, hi)}));
  EXPECT_EQ(cameraState().params.exposalTime, hi);
  EXPECT_EQ(editText(kEndLineEdit), "300");
}

// A sequence of scroll requests on one bar and what reached the camera.
struct ScrollCase {
  const char* name;
  int bar, edit;
  std::vector<std::pair<int, int>> requests;
  std::vector<Write> writes;
  int barAfter;
};

class ParamScroll : public ParamPageTest, public ::testing::WithParamInterface<ScrollCase> {};

TEST_P(ParamScroll, RequestsWriteByTheRowRules) {
  const ScrollCase& c = GetParam();
  start();  // gain 330, black 32, brightness 256, begin 144, end 449, frame mode 1
  for (auto [code, pos] : c.requests) bar(c.bar)->request(code, pos);
  EXPECT_EQ(sim.writes(), c.writes);
  EXPECT_EQ(bar(c.bar)->value(), c.barAfter);
  EXPECT_EQ(editText(c.edit), QString::number(c.barAfter));
  EXPECT_TRUE(desktop.messages.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Requests, ParamScroll,
    ::testing::Values(
        ScrollCase{"GainDragWritesEveryMoveAndTheEnd",
                   1047,
                   1048,
                   {{SbThumbTrack, 400}, {SbThumbTrack, 401}, {SbThumbPosition, 401}, {SbEndScroll, 0}},
                   {W(1, 400), W(1, 401), W(1, 401), W(1, 401)},
                   401},
        ScrollCase{"GainPagesAndEnds",
                   1047,
                   1048,
                   {{SbPageRight, 0}, {SbRight, 0}, {SbPageRight, 0}, {SbLineLeft, 0}},
                   {W(1, 370), W(1, 1023), W(1, 1023), W(1, 1022)},
                   1022},
        ScrollCase{"BlackLinesAndLeftEnd",
                   1035,
                   1036,
                   {{SbLineRight, 0}, {SbLeft, 0}, {SbLineLeft, 0}},
                   {W(4, 33), W(4, 0), W(4, 0)},
                   0},
        ScrollCase{"BrightnessPageLeft", 1171, 1172, {{SbPageLeft, 0}}, {W(37, 216)}, 216},
        ScrollCase{"BeginDragOffTheStepWritesNothing", 1039, 1040, {{SbThumbTrack, 150}}, {}, 144},
        ScrollCase{"BeginLineMovesAWholeStep",
                   1039,
                   1040,
                   {{SbLineRight, 0}, {SbLineLeft, 0}, {SbLineLeft, 0}},
                   {W(7, 156), W(7, 144), W(7, 132)},
                   132},
        ScrollCase{"BeginReleaseIsLoweredToTheStep", 1039, 1040, {{SbThumbPosition, 161}}, {W(7, 156)}, 156},
        ScrollCase{"BeginPageIsThreeSteps",
                   1039,
                   1040,
                   {{SbPageRight, 0}, {SbRight, 0}},
                   {W(7, 180), W(7, 444)},
                   444},
        ScrollCase{"EndBelowTheBeginWritesNothing", 1033, 1034, {{SbThumbTrack, 100}}, {}, 449},
        ScrollCase{"EndLeftEndIsJustAfterTheBegin", 1033, 1034, {{SbLeft, 0}}, {W(8, 145)}, 145}),
    [](const auto& info) { return std::string(info.param.name); });

// Typing into a value edit, keystroke by keystroke.
struct ValueEditCase {
  const char* name;
  int edit;
  const char* text;
  std::vector<Write> writes;
};

class ParamValueEdits : public ParamPageTest, public ::testing::WithParamInterface<ValueEditCase> {};

TEST_P(ParamValueEdits, EveryAcceptedKeystrokeWrites) {
  const ValueEditCase& c = GetParam();
  start();
  type(c.edit, QString::fromUtf8(c.text));
  EXPECT_EQ(sim.writes(), c.writes);
  EXPECT_EQ(editText(c.edit), QString::fromUtf8(c.text));
  EXPECT_TRUE(desktop.messages.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Texts, ParamValueEdits,
    ::testing::Values(ValueEditCase{"Gain256", 1048, "256", {W(1, 2), W(1, 25), W(1, 256)}},
                      ValueEditCase{"Gain1024Refused", 1048, "1024", {W(1, 1), W(1, 10), W(1, 102)}},
                      ValueEditCase{"Black256Refused", 1036, "256", {W(4, 2), W(4, 25)}},
                      ValueEditCase{
                          "Brightness1023", 1172, "1023", {W(37, 1), W(37, 10), W(37, 102), W(37, 1023)}},
                      ValueEditCase{"GainEmpty", 1048, "", {}},
                      ValueEditCase{"GainLetters", 1048, "12a", {W(1, 1), W(1, 12)}},
                      ValueEditCase{"BlackMinus", 1036, "-3", {}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ParamPageTest, RefusedGainIsReportedAndKeptInTheRecord) {
  start();
  sim.control("fail 1=122");
  type(kGainEdit, "256");
  EXPECT_EQ(desktop.texts(), (QStringList{"the input param is incorrect", "the input param is incorrect",
                                          "the input param is incorrect"}));
  EXPECT_EQ(cameraState().params.gain, 256);
  sim.control("unfail");
  EXPECT_EQ(cameraValue(&CameraParams::gain), 330);
}

TEST_F(ParamPageTest, GainActsOnTextSetByTheProgramToo) {
  start();
  ctl<QLineEdit>(kGainEdit)->setText("500");
  EXPECT_EQ(sim.writes(), (std::vector<Write>{W(1, 500)}));
  EXPECT_EQ(bar(kGainBar)->value(), 500);
  EXPECT_EQ(cameraValue(&CameraParams::gain), 500);
}

TEST_F(ParamPageTest, RateListSkipsThePlaceholderAndWritesThePosition) {
  start();
  EXPECT_EQ(items(rates()), (QStringList{"26", "13", "6"}));
  EXPECT_EQ(rates()->currentIndex(), 0);
  choose(kRateList, 2);
  EXPECT_EQ(sim.writes(), (std::vector<Write>{W(14, 2)}));
  EXPECT_EQ(cameraState().params.rate, 2);
  EXPECT_EQ(rates()->currentIndex(), 2);
  // The camera then runs at the rate the user picked, not at the one after
  // the placeholder's position.
  EXPECT_EQ(wholeRate(CameraLibrary::instance().calFrameRate(cameraState().handle, -1)), 6);
  EXPECT_EQ(desktop.waitCursorDepth, 0);
  EXPECT_GE(desktop.waitCursorShown, 1);
}

// A rate choice on a video camera: the value each position writes.
struct RateCase {
  const char* name;
  std::string camera;
  int32_t frameMode;
  QStringList entries;
  std::vector<Write> writes;  // choosing position 0, then 1
};

class ParamRates : public ParamPageTest, public ::testing::WithParamInterface<RateCase> {};

TEST_P(ParamRates, VideoCamerasNumberTheirRatesThemselves) {
  const RateCase& c = GetParam();
  openCamera(c.camera);
  cameraHolds(5, c.frameMode);
  showNewPage();
  EXPECT_EQ(items(rates()), c.entries);
  choose(kRateList, 0);
  choose(kRateList, 1);
  EXPECT_EQ(sim.writes(), c.writes);
  EXPECT_EQ(cameraState().params.rate, 1);
}

INSTANTIATE_TEST_SUITE_P(
    Cameras, ParamRates,
    ::testing::Values(RateCase{"FieldRate210785Pal", "210785", 4, {"25", "50"}, {W(14, 1), W(14, 1)}},
                      RateCase{"Ntsc210781v2", "210781/2", 4, {"30", "60"}, {W(14, 0), W(14, 0)}},
                      RateCase{"Pal210780v4Average", "210780/4", 4, {"25", "50"}, {W(14, 0), W(14, 1)}},
                      RateCase{"Field210785Full", "210785", 1, {"25", "13", "6"}, {W(14, 0), W(14, 1)}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ParamPageTest, RateListWhoseFirstRateRoundsToZeroStaysEmpty) {
  start();
  ASSERT_EQ(rates()->count(), 3);
  // A camera that stops answering reports no rate at all (-1.0, which
  // rounds to 0), and the page asks no further.
  sim.control("vanish 103");
  sim.clearLog();
  param()->repaint();
  EXPECT_EQ(rates()->count(), 0);
  EXPECT_EQ(rates()->currentIndex(), -1);
  EXPECT_EQ(sim.calls("CalFrameRate").size(), 1u);
  EXPECT_TRUE(sim.writes().empty());
  EXPECT_TRUE(desktop.messages.empty());
}

// The coarse list: which exposure each standard time writes.
struct CoarseCase {
  const char* name;
  int32_t runMode;
  int position;
  int32_t lines;  // -1 min + 1, -2 max - 1, else exact
};

class ParamCoarse : public ParamPageTest, public ::testing::WithParamInterface<CoarseCase> {};

TEST_P(ParamCoarse, StandardTimesStayStrictlyInsideTheRange) {
  const CoarseCase& c = GetParam();
  openCamera("219290");  // 62.5 us a line; free-running up to 624 lines
  cameraHolds(2, c.runMode);
  showNewPage();
  choose(kCoarseList, c.position);
  int32_t lo = 0, hi = 0;
  exposeRange(&lo, &hi);
  const int32_t expected = c.lines == -1 ? lo + 1 : c.lines == -2 ? hi - 1 : c.lines;
  EXPECT_EQ(sim.writes(), (std::vector<Write>{W(9, expected)}));
  EXPECT_EQ(cameraState().params.exposalTime, expected);
  // The record was read back before the choice.
  auto reads = sim.calls("GetConfigParam");
  ASSERT_FALSE(reads.empty());
  EXPECT_EQ(reads[0].value("id"), -1);
  EXPECT_TRUE(desktop.messages.empty());
}

INSTANTIATE_TEST_SUITE_P(Times, ParamCoarse,
                         ::testing::Values(CoarseCase{"TenMicrosecondsBelowTheMinimum", 1, 0, -1},
                                           CoarseCase{"TenMicrosecondsTriggered", 2, 0, -1},
                                           CoarseCase{"TenMilliseconds", 1, 6, 160},
                                           CoarseCase{"FrameTime", 1, 7, 267},
                                           CoarseCase{"FortyMillisecondsAboveTheFrame", 1, 10, -2},
                                           CoarseCase{"TenSecondsFree", 1, 17, -2},
                                           CoarseCase{"TenSecondsTriggered", 2, 17, -2},
                                           CoarseCase{"OneSecondTriggered", 2, 14, 16000}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(ParamPageTest, CoarseChoiceReportsAFailedReadBackAndGoesOn) {
  start();
  sim.control("fail read=103");
  choose(kCoarseList, 6);
  EXPECT_EQ(desktop.texts(), (QStringList{"can not read camera info, please check it"}));
  EXPECT_EQ(sim.writes(), (std::vector<Write>{W(9, 160)}));
}

TEST_F(ParamPageTest, WithoutTheCameraRangeNoExposureIsWritten) {
  start();
  click(kFineRadio);
  type(kExposureEdit, "20000");
  sim.control("vanish 103");
  sim.clearLog();
  click(kApplyExposureButton);
  choose(kCoarseList, 6);
  EXPECT_TRUE(sim.writes().empty());
  // Fine: the range; coarse: the read-back, then the range.
  EXPECT_EQ(desktop.texts(), (QStringList(3, "can not read camera info, please check it")));
  EXPECT_EQ(cameraState().params.exposalTime, 270);
}

// The position of the coarse list that the record's exposure selects.
struct DisplayCase {
  const char* name;
  int32_t runMode;
  int32_t lines;
  const char* shown;
};

class ParamCoarseDisplay : public ParamPageTest, public ::testing::WithParamInterface<DisplayCase> {};

TEST_P(ParamCoarseDisplay, TimeLimitsChooseThePosition) {
  const DisplayCase& c = GetParam();
  openCamera("219290");
  cameraHolds(2, c.runMode);
  cameraHolds(9, c.lines);
  showNewPage();
  EXPECT_EQ(coarse()->currentText(), c.shown) << timeOf(c.lines) << " us";
}

INSTANTIATE_TEST_SUITE_P(Times, ParamCoarseDisplay,
                         ::testing::Values(DisplayCase{"JustBelow12000", 1, 191, "10000"},     // 11938 us
                                           DisplayCase{"Exactly12000", 1, 192, "16667"},       // 12000 us
                                           DisplayCase{"JustBelow17667", 1, 282, "16667"},     // 17625 us
                                           DisplayCase{"JustAbove17667", 1, 283, "20000"},     // 17688 us
                                           DisplayCase{"OneLine", 1, 1, "100"},                // 63 us
                                           DisplayCase{"LongTriggered", 2, 20000, "1000000"},  // 1250000 us
                                           DisplayCase{"LongestTriggered", 2, 65535, "5000000"},
                                           DisplayCase{"NoExposureShortestPositive", 1, 0, "100"}),
                         [](const auto& info) { return std::string(info.param.name); });

// Fine mode: a typed time and what the camera gets.
struct FineCase {
  const char* name;
  const char* text;
  int32_t lines;  // -1 the minimum, -2 the maximum, -3 nothing written
};

class ParamFine : public ParamPageTest, public ::testing::WithParamInterface<FineCase> {};

TEST_P(ParamFine, TypedTimesGoOntoTheBoundsNeverPastThem) {
  const FineCase& c = GetParam();
  start();
  click(kFineRadio);
  ASSERT_EQ(param()->exposureMode(), CDlgParam::Fine);
  EXPECT_EQ(editText(kExposureEdit), QString::number(timeOf(cameraState().params.exposalTime)));
  EXPECT_TRUE(ctl<QWidget>(kExposureEdit)->isEnabled());
  EXPECT_FALSE(ctl<QWidget>(kCoarseList)->isEnabled());
  type(kExposureEdit, QString::fromUtf8(c.text));
  sim.clearLog();
  click(kApplyExposureButton);
  int32_t lo = 0, hi = 0;
  exposeRange(&lo, &hi);
  if (c.lines == -3) {
    EXPECT_TRUE(sim.writes().empty());
    return;
  }
  const int32_t expected = c.lines == -1 ? lo : c.lines == -2 ? hi : c.lines;
  EXPECT_EQ(sim.writes(), (std::vector<Write>{W(9, expected)}));
  EXPECT_EQ(editText(kExposureEdit), QString::number(timeOf(expected)));
  EXPECT_EQ(cameraValue(&CameraParams::exposalTime), expected);
  EXPECT_TRUE(desktop.messages.empty());
}

INSTANTIATE_TEST_SUITE_P(Times, ParamFine,
                         ::testing::Values(FineCase{"InsideTheRange", "20000", 320},
                                           FineCase{"BeyondTheMaximum", "100000", -2},
                                           FineCase{"FarBeyondWhatTheCameraCounts", "99999999999", -2},
                                           FineCase{"BelowTheMinimum", "10", -1}, FineCase{"Zero", "0", -1},
                                           FineCase{"Empty", "", -3}, FineCase{"Letters", "fast", -3}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(ParamPageTest, ApplyInCoarseModeWritesNothing) {
  start();
  ctl<QWidget>(kApplyExposureButton)->setEnabled(true);
  click(kApplyExposureButton);
  EXPECT_TRUE(sim.writes().empty());
}

// Short exposure on the one camera that has it.
struct ShortCase {
  const char* name;
  const char* text;
  int32_t lines, setting;
  const char* shown;
};

class ParamShort : public ParamPageTest, public ::testing::WithParamInterface<ShortCase> {};

TEST_P(ParamShort, ShortTimeSplitsIntoLinesAndASetting) {
  const ShortCase& c = GetParam();
  start("215590/9");  // 40 us a line, short range 1..1000 us
  click(kShortExposureRadio);
  ASSERT_EQ(param()->exposureMode(), CDlgParam::Short);
  type(kExposureEdit, QString::fromUtf8(c.text));
  sim.clearLog();
  size_t writesAtSleep = 99;
  desktop.onSleep = [&](int) { writesAtSleep = sim.writes().size(); };
  click(kApplyExposureButton);
  EXPECT_EQ(sim.writes(), (std::vector<Write>{W(9, c.lines), W(29, c.setting)}));
  ASSERT_EQ(desktop.sleeps.size(), 1u);
  EXPECT_EQ(desktop.sleeps[0].ms, 500);
  EXPECT_EQ(writesAtSleep, 1u);  // lines first, the setting after the wait
  EXPECT_EQ(cameraState().params.exposalTime, c.lines);
  EXPECT_EQ(cameraState().params.saturation, c.setting);
  EXPECT_EQ(editText(kExposureEdit), QString::fromUtf8(c.shown));
  EXPECT_TRUE(desktop.messages.empty());
}

INSTANTIATE_TEST_SUITE_P(Times, ParamShort,
                         ::testing::Values(ShortCase{"Inside", "500", 12, 20, "500"},
                                           ShortCase{"AboveTheShortRange", "5000", 25, 0, "1000"},
                                           ShortCase{"BelowTheShortRange", "0", 0, 1, "1"}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(ParamPageTest, RefusedShortSettingIsReported) {
  start("215590/9");
  click(kShortExposureRadio);
  type(kExposureEdit, "500");
  sim.control("fail 29=106");
  click(kApplyExposureButton);
  EXPECT_EQ(desktop.texts(), (QStringList{"Can not write in for invalid link."}));
  EXPECT_EQ(sim.writes().size(), 2u);
}

TEST_F(ParamPageTest, DefaultsRestoredSwitchesBackToTheCoarseList) {
  start();
  click(kFineRadio);
  ASSERT_TRUE(ctl<QWidget>(kExposureEdit)->isEnabled());
  cameraState().defaultsRestored = 1;
  param()->repaint();
  EXPECT_EQ(cameraState().defaultsRestored, 0);
  EXPECT_EQ(param()->exposureMode(), CDlgParam::Coarse);
  EXPECT_TRUE(checked(kCoarseRadio));
  EXPECT_TRUE(ctl<QWidget>(kCoarseList)->isEnabled());
  EXPECT_FALSE(ctl<QWidget>(kExposureEdit)->isEnabled());
  EXPECT_FALSE(ctl<QWidget>(kApplyExposureButton)->isEnabled());
  // 270 lines are 16875 us.
  EXPECT_EQ(coarse()->currentText(), "16667");
  EXPECT_EQ(editText(kExposureEdit), "16875");
  EXPECT_TRUE(sim.writes().empty());
}

TEST_F(ParamPageTest, CoarsePositionOfTimeAtEveryLimit) {
  const int32_t limits[] = {13,    44,    130,   440,   1300,   4400,    12000,   17667,  24000,
                            35333, 43000, 55000, 76667, 370000, 1300000, 2900000, 6500000};
  for (int i = 0; i < 17; ++i) {
    EXPECT_EQ(CDlgParam::coarsePositionOfTime(limits[i] - 1), i) << limits[i];
    EXPECT_EQ(CDlgParam::coarsePositionOfTime(limits[i]), i + 1) << limits[i];
  }
}

TEST_F(ParamPageTest, WithoutACameraTheLineStepOfZeroCountsAsOne) {
  // No camera opened: the line step copy is 0, the record has its start
  // values (begin 195, end 480).
  sim.reset();
  CameraState& s = cameraState();
  s.params.frameMode = 2;
  page = std::make_unique<CDlgParam>(nullptr, nullptr);
  showPage();
  ctl<QLineEdit>(kBeginLineEdit)->setText("100");
  EXPECT_EQ(s.params.beginLine, 100);
  // The write failed (no library) and says so; the record keeps the value.
  // Without a range from the library the exposure is left alone.
  EXPECT_EQ(desktop.texts(), (QStringList{"can not read camera info, please check it"}));
  EXPECT_EQ(s.params.exposalTime, 270);
  desktop.clear();
  bar(kBeginLineBar)->request(SbLineRight, 0);
  EXPECT_EQ(s.params.beginLine, 101);
  EXPECT_EQ(desktop.messages.size(), 1u);
}

}  // namespace
