// control_bar_test.cpp - the control bar's list, edit and scroll rules against the simulated camera.
#include <QPushButton>

#include "color_fixture.h"
#include "pages/area/dlg_page3.h"

using enum CDlgPage3::CtlId;

namespace {

const QStringList kEnglishEntries = {"Gain",   "Black",  "Begin Line", "End Line",  "Exposal Time",
                                     "R Gain", "G Gain", "B Gain",     "Saturation"};

class ControlBarTest : public AreaColorTest {
 protected:
  void start(const std::string& port = "COM1", const std::string& type = "219290", int32_t language = 9) {
    openCamera(port, type, language);
    makeBar();
  }
  void makeBar() {
    window = std::make_unique<CDlgPage3>(nullptr, nullptr);
    showWindow();
  }
  CDlgPage3* controlBar() const { return static_cast<CDlgPage3*>(window.get()); }
  QComboBox* list() const { return ctl<QComboBox>(kParamList); }
  ReqScrollBar* valueBar() const { return bar(kValueBar); }
  void choose(int entry) {
    list()->setCurrentIndex(entry);
    sim.clearLog();
    desktop.clear();
  }
};

TEST_F(ControlBarTest, StartsOnTheGain) {
  openCamera("COM1", "219290");
  sim.clearLog();
  makeBar();
  EXPECT_EQ(window->windowTitle(), QString::fromUtf8("控制条模式"));
  EXPECT_EQ(ctl<QPushButton>(kFullModeButton)->text(), "Full Mode");
  EXPECT_EQ(list()->currentIndex(), 0);
  EXPECT_EQ(list()->currentText(), "Gain");
  EXPECT_EQ(items(list()), kEnglishEntries);
  EXPECT_EQ(valueBar()->minimum(), 0);
  EXPECT_EQ(valueBar()->maximum(), 1023);
  EXPECT_EQ(valueBar()->value(), 330);
  EXPECT_EQ(editText(kValueEdit), "330");
  EXPECT_TRUE(sim.writes().empty());
}

TEST_F(ControlBarTest, ChineseEntriesAndTheSameCaption) {
  start("COM1", "219290", 2);
  EXPECT_EQ(window->windowTitle(), QString::fromUtf8("控制条模式"));
  EXPECT_EQ(ctl<QPushButton>(kFullModeButton)->text(), QString::fromUtf8("完整模式"));
  const QStringList zh = {"增益",  "黑电平", "局部起始行", "局部结束行", "曝光时间",
                          "R增益", "G增益",  "B增益",      "饱和度"};
  EXPECT_EQ(items(list()), zh);
  EXPECT_EQ(list()->currentText(), QString::fromUtf8("增益"));
}

struct EntriesCase {
  std::string port, type;
  int count;
};
class BarEntries : public ControlBarTest, public ::testing::WithParamInterface<EntriesCase> {};

TEST_P(BarEntries, RepeatedRepaintsKeepTheCount) {
  start(GetParam().port, GetParam().type);
  for (int i = 0; i < 4; ++i) controlBar()->repaint();
  EXPECT_EQ(list()->count(), GetParam().count);
  EXPECT_EQ(items(list()), kEnglishEntries.mid(0, GetParam().count));
  EXPECT_TRUE(sim.writes().empty());
}

INSTANTIATE_TEST_SUITE_P(
    Cameras, BarEntries,
    ::testing::Values(EntriesCase{"COM1", "219290", 9}, EntriesCase{"NetPort2", "321140", 9},
                      EntriesCase{"COM1", "219291", 9}, EntriesCase{"NetPort3", "218920", 5},
                      EntriesCase{"COM2", "210781", 5}, EntriesCase{"COM4", "215590", 5}));

TEST_F(ControlBarTest, EntriesFollowTheCameraAfterAReconnection) {
  start();
  choose(CDlgPage3::BlueGain);
  CameraState& s = cameraState();
  s.typeCode = 210781;
  controlBar()->repaint();
  controlBar()->repaint();
  EXPECT_EQ(list()->count(), 5);
  // The chosen entry went away: the bar falls back to the gain.
  EXPECT_EQ(list()->currentIndex(), 0);
  EXPECT_EQ(list()->currentText(), "Gain");
  EXPECT_EQ(valueBar()->maximum(), 1023);
  EXPECT_EQ(editText(kValueEdit), "330");
  valueBar()->request(SbLineRight);
  EXPECT_EQ(sim.writes(), (std::vector<Write>{W(1, 331)}));
  s.typeCode = 219290;
  controlBar()->repaint();
  controlBar()->repaint();
  EXPECT_EQ(items(list()), kEnglishEntries);
}

// What choosing an entry shows, on COM1 219290 (line step 12, lines 144..449).
struct SelectCase {
  int entry;
  int min, max, position;
  const char* edit;
};
class BarSelect : public ControlBarTest, public ::testing::WithParamInterface<SelectCase> {};

TEST_P(BarSelect, RangePositionAndEdit) {
  const SelectCase& c = GetParam();
  start();
  cameraState().params.saturation = 77;
  choose(c.entry);
  EXPECT_EQ(list()->currentText(), kEnglishEntries[c.entry]);
  EXPECT_EQ(valueBar()->minimum(), c.min);
  EXPECT_EQ(valueBar()->maximum(), c.max);
  EXPECT_EQ(valueBar()->value(), c.position);
  EXPECT_EQ(editText(kValueEdit), c.edit);
  EXPECT_TRUE(sim.writes().empty());
}

INSTANTIATE_TEST_SUITE_P(Entries, BarSelect,
                         ::testing::Values(SelectCase{CDlgPage3::Gain, 0, 1023, 330, "330"},
                                           SelectCase{CDlgPage3::Black, 0, 255, 32, "32"},
                                           // From the line step to the last multiple below the end line.
                                           SelectCase{CDlgPage3::BeginLine, 12, 444, 144, "144"},
                                           SelectCase{CDlgPage3::EndLine, 145, 599, 449, "449"},
                                           SelectCase{CDlgPage3::RedGain, 0, 252, 128, "128"},
                                           SelectCase{CDlgPage3::BlueGain, 0, 252, 128, "128"},
                                           SelectCase{CDlgPage3::Saturation, 0, 255, 77, "77"}));

TEST_F(ControlBarTest, RepaintKeepsTheEntryAndUsesItsOwnBeginLineRange) {
  start();
  choose(CDlgPage3::BeginLine);
  controlBar()->repaint();
  EXPECT_EQ(list()->currentIndex(), CDlgPage3::BeginLine);
  EXPECT_EQ(valueBar()->minimum(), 0);
  EXPECT_EQ(valueBar()->maximum(), 448);
  EXPECT_EQ(valueBar()->value(), 144);
}

// One text typed keystroke by keystroke for one entry.
struct BarEditCase {
  const char* name;
  int entry;
  const char* typed;
  std::vector<Write> writes;
};
class BarEdit : public ControlBarTest, public ::testing::WithParamInterface<BarEditCase> {};

TEST_P(BarEdit, WritesOnlyValidValues) {
  const BarEditCase& c = GetParam();
  start();
  choose(c.entry);
  type(kValueEdit, QString::fromUtf8(c.typed));
  EXPECT_EQ(sim.writes(), c.writes);
  EXPECT_TRUE(desktop.messages.empty());
  // The edit keeps what was typed; a written value also moves the bar.
  EXPECT_EQ(editText(kValueEdit), QString::fromUtf8(c.typed));
  if (!c.writes.empty()) {
    EXPECT_EQ(valueBar()->value(), c.writes.back().second);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, BarEdit,
    ::testing::Values(
        BarEditCase{"GainTop", CDlgPage3::Gain, "1023", {W(1, 1), W(1, 10), W(1, 102), W(1, 1023)}},
        BarEditCase{"GainTooLarge", CDlgPage3::Gain, "1024", {W(1, 1), W(1, 10), W(1, 102)}},
        BarEditCase{"BlackTooLarge", CDlgPage3::Black, "256", {W(4, 2), W(4, 25)}},
        BarEditCase{"Empty", CDlgPage3::Gain, "", {}},
        // Off the step of 4 is refused, not lowered.
        BarEditCase{"RedOffStep", CDlgPage3::RedGain, "102", {}},
        BarEditCase{"RedTooLarge", CDlgPage3::RedGain, "256", {}},
        BarEditCase{"RedTop", CDlgPage3::RedGain, "252", {W(10, 252)}},
        BarEditCase{"Green", CDlgPage3::GreenGain, "8", {W(11, 8)}},
        BarEditCase{"BlueOnStep", CDlgPage3::BlueGain, "44", {W(12, 4), W(12, 44)}},
        BarEditCase{"SaturationTop", CDlgPage3::Saturation, "255", {W(13, 2), W(13, 25), W(13, 255)}},
        BarEditCase{"SaturationTooLarge", CDlgPage3::Saturation, "256", {W(13, 2), W(13, 25)}},
        // Begin line: multiples of the line step 12, from 12 to the end line - 1.
        BarEditCase{"BeginOffStep", CDlgPage3::BeginLine, "100", {}},
        BarEditCase{"BeginOnStep", CDlgPage3::BeginLine, "96", {W(7, 96)}},
        BarEditCase{"BeginLowest", CDlgPage3::BeginLine, "12", {W(7, 12)}},
        BarEditCase{"BeginZero", CDlgPage3::BeginLine, "0", {}},
        BarEditCase{"BeginPastEnd", CDlgPage3::BeginLine, "456", {}},
        // End line: from the begin line + 1 to the last sensor line.
        BarEditCase{"EndValid", CDlgPage3::EndLine, "500", {W(8, 500)}},
        BarEditCase{"EndLastLine", CDlgPage3::EndLine, "599", {W(8, 599)}},
        BarEditCase{"EndPastTheSensor", CDlgPage3::EndLine, "600", {}},
        BarEditCase{"EndBeforeBegin", CDlgPage3::EndLine, "144", {}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ControlBarTest, TheEditTakesDigitsOnly) {
  start();
  type(kValueEdit, "4a");
  EXPECT_EQ(editText(kValueEdit), "4");
  EXPECT_EQ(sim.writes(), (std::vector<Write>{W(1, 4)}));
}

TEST_F(ControlBarTest, ExposureShowsMicrosecondsAndMovesInLines) {
  start();
  choose(CDlgPage3::Exposure);
  int32_t lo = 0, hi = 0;
  exposeRange(&lo, &hi);
  ASSERT_LT(lo, hi);
  EXPECT_EQ(valueBar()->minimum(), lo);
  EXPECT_EQ(valueBar()->maximum(), hi);
  EXPECT_EQ(valueBar()->value(), 270);
  // 270 lines of 62.5 us.
  EXPECT_EQ(editText(kValueEdit), "16875");
  EXPECT_EQ(editText(kValueEdit), QString::number(timeOf(270)));

  // Times outside the library's range are refused.
  ctl<QLineEdit>(kValueEdit)->setText(QString::number(timeOf(hi) + 1));
  ctl<QLineEdit>(kValueEdit)->setText(QString::number(timeOf(lo) - 1));
  EXPECT_TRUE(sim.writes().empty());
  EXPECT_EQ(cameraState().params.exposalTime, 270);

  ctl<QLineEdit>(kValueEdit)->setText("10000");
  const int32_t lines = linesOf(10000);
  EXPECT_EQ(sim.writes(), (std::vector<Write>{W(9, lines)}));
  EXPECT_EQ(valueBar()->value(), lines);
  EXPECT_EQ(editText(kValueEdit), "10000");

  sim.clearLog();
  valueBar()->request(SbThumbTrack, 300);
  EXPECT_EQ(sim.writes(), (std::vector<Write>{W(9, 300)}));
  EXPECT_EQ(editText(kValueEdit), QString::number(timeOf(300)));
  EXPECT_EQ(valueBar()->value(), 300);
}

TEST_F(ControlBarTest, ALineChangeClampsTheExposureToTheShorterFrame) {
  openCamera("COM1", "219290");
  CameraState& s = cameraState();
  ASSERT_EQ(CameraLibrary::instance().setConfigParam(s.handle, 5, 2, 0), 1);
  s.params.frameMode = 2;
  makeBar();
  choose(CDlgPage3::EndLine);
  ctl<QLineEdit>(kValueEdit)->setText("150");
  int32_t lo = 0, hi = 0;
  exposeRange(&lo, &hi);
  ASSERT_LT(hi, 270) << "the short window must shorten the exposure range";
  EXPECT_EQ(sim.writes(), (std::vector<Write>{W(8, 150), W(9, hi)}));
  EXPECT_EQ(s.params.exposalTime, hi);
  EXPECT_EQ(valueBar()->value(), 150);
}

// One scroll request for one entry, from the record's values on COM1.
struct BarScrollCase {
  const char* name;
  int entry;
  int code, pos;
  std::vector<Write> writes;
  int32_t beginLine = 144;
};
class BarScroll : public ControlBarTest, public ::testing::WithParamInterface<BarScrollCase> {};

TEST_P(BarScroll, WritesWhatTheRulesAllow) {
  const BarScrollCase& c = GetParam();
  openCamera("COM1", "219290");
  cameraState().params.beginLine = c.beginLine;
  makeBar();
  choose(c.entry);
  const int before = valueBar()->value();
  valueBar()->request(c.code, c.pos);
  EXPECT_EQ(sim.writes(), c.writes);
  const int after = c.writes.empty() ? before : static_cast<int>(c.writes.front().second);
  EXPECT_EQ(valueBar()->value(), after);
  // The exposure edit shows microseconds; its own test covers it.
  if (c.entry != CDlgPage3::Exposure) {
    EXPECT_EQ(editText(kValueEdit), QString::number(after));
  }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, BarScroll,
    ::testing::Values(
        BarScrollCase{"GainTrack", CDlgPage3::Gain, SbThumbTrack, 500, {W(1, 500)}},
        BarScrollCase{"GainPageRight", CDlgPage3::Gain, SbPageRight, 0, {W(1, 370)}},
        BarScrollCase{"GainEndOfScrollingWrites", CDlgPage3::Gain, SbEndScroll, 0, {W(1, 330)}},
        BarScrollCase{"BlackLineLeft", CDlgPage3::Black, SbLineLeft, 0, {W(4, 31)}},
        BarScrollCase{"SaturationLineLeftAtTheEnd", CDlgPage3::Saturation, SbLineLeft, 0, {W(13, 0)}},
        BarScrollCase{"BlackRightEnd", CDlgPage3::Black, SbRight, 0, {W(4, 255)}},
        BarScrollCase{"RedLineRight", CDlgPage3::RedGain, SbLineRight, 0, {W(10, 132)}},
        BarScrollCase{"RedPageLeft", CDlgPage3::RedGain, SbPageLeft, 0, {W(10, 88)}},
        BarScrollCase{"RedThumbLowered", CDlgPage3::RedGain, SbThumbPosition, 103, {W(10, 100)}},
        BarScrollCase{"SaturationLineRight", CDlgPage3::Saturation, SbLineRight, 0, {W(13, 1)}},
        BarScrollCase{"BeginThumbLowered", CDlgPage3::BeginLine, SbThumbTrack, 100, {W(7, 96)}},
        BarScrollCase{"BeginLineRight", CDlgPage3::BeginLine, SbLineRight, 0, {W(7, 156)}},
        BarScrollCase{"BeginPageRight", CDlgPage3::BeginLine, SbPageRight, 0, {W(7, 180)}},
        BarScrollCase{"BeginLeftEnd", CDlgPage3::BeginLine, SbLeft, 0, {W(7, 12)}},
        BarScrollCase{"BeginRightEnd", CDlgPage3::BeginLine, SbRight, 0, {W(7, 444)}},
        // A camera value off the step stays off it after a line move: refused.
        BarScrollCase{"BeginOffStepRefused", CDlgPage3::BeginLine, SbLineRight, 0, {}, 150},
        BarScrollCase{"EndBeforeBeginRefused", CDlgPage3::EndLine, SbThumbTrack, 100, {}},
        BarScrollCase{"EndTrack", CDlgPage3::EndLine, SbThumbTrack, 500, {W(8, 500)}},
        BarScrollCase{"EndRightEnd", CDlgPage3::EndLine, SbRight, 0, {W(8, 599)}},
        BarScrollCase{"ExposureOutsideRefused", CDlgPage3::Exposure, SbThumbTrack, 100000, {}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ControlBarTest, ACameraWithoutALineStepStillMovesTheBeginLine) {
  openCamera("COM1", "219290");
  // A camera that reports no line step must not stop the bar (the step
  // divides every begin-line position).
  cameraState().lineStep = 0;
  makeBar();
  choose(CDlgPage3::BeginLine);
  valueBar()->request(SbThumbTrack, 100);
  valueBar()->request(SbPageLeft);
  EXPECT_EQ(sim.writes(), (std::vector<Write>{W(7, 100), W(7, 60)}));
  ctl<QLineEdit>(kValueEdit)->setText("37");
  EXPECT_EQ(sim.writes().back(), W(7, 37));
}

TEST_F(ControlBarTest, WithoutTheCameraRangeTheExposureIsLeftAlone) {
  start();
  CameraState& s = cameraState();
  const int32_t exposure = s.params.exposalTime;
  ASSERT_GT(exposure, 0);
  choose(CDlgPage3::BeginLine);
  // The camera stops answering: the library gives no exposure range. The
  // line change is still written (and its failure reported), but no
  // exposure of 0 lines follows it.
  sim.control("vanish 103");
  type(kValueEdit, "96");
  EXPECT_EQ(sim.writes(), (std::vector<Write>{W(7, 96)}));
  EXPECT_EQ(desktop.texts(), QStringList{"can not read camera info, please check it"});
  EXPECT_EQ(s.params.beginLine, 96);
  EXPECT_EQ(s.params.exposalTime, exposure);
  // The exposure entry then has an empty range; moving its bar writes
  // nothing rather than 0 lines.
  choose(CDlgPage3::Exposure);
  valueBar()->request(SbLeft);
  valueBar()->request(SbEndScroll);
  EXPECT_TRUE(sim.writes().empty());
  EXPECT_EQ(s.params.exposalTime, exposure);
}

TEST_F(ControlBarTest, ADragWritesAtEveryEvent) {
  start();
  valueBar()->request(SbThumbTrack, 100);
  valueBar()->request(SbThumbTrack, 200);
  valueBar()->request(SbThumbPosition, 200);
  valueBar()->request(SbEndScroll, 0);
  EXPECT_EQ(sim.writes(), (std::vector<Write>{W(1, 100), W(1, 200), W(1, 200), W(1, 200)}));
  EXPECT_EQ(cameraState().params.gain, 200);
}

TEST_F(ControlBarTest, AFailedWriteIsReportedAndTheValueKept) {
  start();
  sim.control("fail 1=106");
  ctl<QLineEdit>(kValueEdit)->setText("500");
  EXPECT_EQ(desktop.texts(), QStringList{"Can not write in for invalid link."});
  EXPECT_EQ(cameraState().params.gain, 500);
  EXPECT_EQ(valueBar()->value(), 500);
}

TEST_F(ControlBarTest, TheChosenEntryAndStepSurviveHiding) {
  start();
  choose(CDlgPage3::BeginLine);
  window->hide();
  window->show();
  EXPECT_EQ(list()->currentIndex(), CDlgPage3::BeginLine);
  sim.clearLog();
  valueBar()->request(SbLineLeft);
  EXPECT_EQ(sim.writes(), (std::vector<Write>{W(7, 132)}));
}

}  // namespace
