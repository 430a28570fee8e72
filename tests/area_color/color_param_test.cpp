// color_param_test.cpp - the colour parameter tab against the simulated camera.
#include <QLabel>
#include <QPushButton>
#include <QTest>

#include "color_fixture.h"
#include "pages/area/dlg_color_param.h"

using enum CDlgColorParam::CtlId;

namespace {

const QString kRange = "input exceed valid range";

class ColorParamTest : public AreaColorTest {
 protected:
  void start(const std::string& port = "COM1", const std::string& type = "219290", int32_t language = 9) {
    openCamera(port, type, language);
    window = std::make_unique<CDlgColorParam>(nullptr, nullptr);
    showWindow();
  }
  CDlgColorParam* page() const { return static_cast<CDlgColorParam*>(window.get()); }
};

TEST_F(ColorParamTest, ShowsTheRecordAndWritesNothingWhenShown) {
  openCamera("COM1", "219290");
  cameraState().params.saturation = -5;
  sim.clearLog();
  window = std::make_unique<CDlgColorParam>(nullptr, nullptr);
  window->show();
  page()->repaint();
  EXPECT_TRUE(sim.writes().empty());
  for (int id : {kRedGainEdit, kGreenGainEdit, kBlueGainEdit}) EXPECT_EQ(editText(id), "128") << id;
  for (int id : {kRedGainBar, kGreenGainBar, kBlueGainBar}) {
    EXPECT_EQ(bar(id)->value(), 128) << id;
    EXPECT_EQ(bar(id)->minimum(), 0) << id;
    EXPECT_EQ(bar(id)->maximum(), 252) << id;
  }
  EXPECT_EQ(bar(kSaturationBar)->minimum(), -128);
  EXPECT_EQ(bar(kSaturationBar)->maximum(), 127);
  EXPECT_EQ(bar(kSaturationBar)->value(), -5);
  EXPECT_EQ(editText(kSaturationEdit), "-5");
  // The byte the camera holds for -5.
  EXPECT_EQ(editText(kSaturationByteEdit), "251");
  EXPECT_FALSE(ctl<QLineEdit>(kSaturationByteEdit)->isEnabled());
  EXPECT_TRUE(ctl<QPushButton>(kWhiteBalanceButton)->isEnabled());
  EXPECT_TRUE(desktop.messages.empty());
}

TEST_F(ColorParamTest, LabelsInBothLanguages) {
  start("COM1", "219290", 2);
  EXPECT_EQ(ctl<QLabel>(kRedGainLabel)->text(), QString::fromUtf8("R增益"));
  EXPECT_EQ(ctl<QLabel>(kSaturationLabel)->text(), QString::fromUtf8("饱和度"));
  EXPECT_EQ(ctl<QPushButton>(kWhiteBalanceButton)->text(), QString::fromUtf8("白平衡"));
  window.reset();
  CameraLibrary::instance().closeCamera(cameraState().handle);
  cameraState().handle = nullptr;
  start("COM1", "219290", 9);
  EXPECT_EQ(ctl<QLabel>(kRedGainLabel)->text(), "R Gain");
  EXPECT_EQ(ctl<QPushButton>(kWhiteBalanceButton)->text(), "White Balance");
}

TEST_F(ColorParamTest, BlueEditWritesEveryKeystrokeRoundedAndKeepsTheTypedText) {
  start();
  type(kBlueGainEdit, "103");
  EXPECT_EQ(sim.writes(), (std::vector<Write>{W(12, 0), W(12, 8), W(12, 100)}));
  EXPECT_EQ(editText(kBlueGainEdit), "103");
  EXPECT_EQ(bar(kBlueGainBar)->value(), 100);
  EXPECT_EQ(cameraState().params.bGain, 100);
  // The other rows are untouched.
  EXPECT_EQ(editText(kRedGainEdit), "128");
  EXPECT_EQ(editText(kGreenGainEdit), "128");
  EXPECT_TRUE(desktop.messages.empty());
  // A repaint shows what the camera holds.
  page()->repaint();
  EXPECT_EQ(editText(kBlueGainEdit), "100");
  EXPECT_EQ(sim.writes().size(), 3u);
}

// One gain edit, one typed text, keystroke by keystroke.
struct GainEditCase {
  const char* name;
  std::string port, type;
  int edit, bar;
  const char* typed;
  std::vector<Write> writes;
  const char* shown;  // edit text afterwards
  int position;       // bar afterwards
  bool message;
  // Enter then: the writes it adds and the text shown (nullptr: unchanged).
  std::vector<Write> onEnter = {};
  const char* shownAfterEnter = nullptr;
};

class GainEdit : public ColorParamTest, public ::testing::WithParamInterface<GainEditCase> {};

TEST_P(GainEdit, WritesAndShows) {
  const GainEditCase& c = GetParam();
  start(c.port, c.type);
  type(c.edit, QString::fromUtf8(c.typed));
  EXPECT_EQ(sim.writes(), c.writes);
  EXPECT_EQ(editText(c.edit), QString::fromUtf8(c.shown));
  EXPECT_EQ(bar(c.bar)->value(), c.position);
  if (c.message) {
    ASSERT_EQ(desktop.messages.size(), 1u);
    EXPECT_EQ(desktop.messages[0].text, kRange);
    EXPECT_EQ(desktop.messages[0].caption, "");
  } else {
    EXPECT_TRUE(desktop.messages.empty());
  }
  const size_t messages = desktop.messages.size();
  sim.clearLog();
  QTest::keyClick(ctl<QLineEdit>(c.edit), Qt::Key_Return);
  EXPECT_EQ(sim.writes(), c.onEnter);
  EXPECT_EQ(editText(c.edit), QString::fromUtf8(c.shownAfterEnter != nullptr ? c.shownAfterEnter : c.shown));
  EXPECT_EQ(desktop.messages.size(), messages);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, GainEdit,
    ::testing::Values(
        // Red and green show the rounded value, which would replace the
        // text being typed: 1 and 13 wait for Enter, which writes 12.
        GainEditCase{
            "RedWaitsForEnter", "COM1", "219290", 1052, 1057, "13", {}, "13", 128, false, {W(10, 12)}, "12"},
        GainEditCase{
            "RedOnTheStep", "COM1", "219290", 1052, 1057, "80", {W(10, 8), W(10, 80)}, "80", 80, false},
        GainEditCase{
            "GreenLoweredOnEnter", "COM1", "219290", 1053, 1058, "9", {}, "9", 128, false, {W(11, 8)}, "8"},
        GainEditCase{
            "BlueTooLarge", "COM1", "219290", 1054, 1059, "256", {W(12, 0), W(12, 24)}, "256", 24, true},
        GainEditCase{"BlueTop",
                     "COM1",
                     "219290",
                     1054,
                     1059,
                     "255",
                     {W(12, 0), W(12, 24), W(12, 252)},
                     "255",
                     252,
                     false},
        GainEditCase{"NotANumber", "COM1", "219290", 1052, 1057, "x", {}, "x", 128, false},
        GainEditCase{"Negative", "COM1", "219290", 1053, 1058, "-4", {}, "-4", 128, false},
        GainEditCase{"Emptied", "COM1", "219290", 1054, 1059, "", {}, "", 128, false},
        // The image orientation model counts in ones: nothing is rounded.
        GainEditCase{"UnitBlue",
                     "NetPort2",
                     "321140",
                     1054,
                     1059,
                     "103",
                     {W(12, 1), W(12, 10), W(12, 103)},
                     "103",
                     103,
                     false},
        GainEditCase{
            "UnitRed", "NetPort2", "321140", 1052, 1057, "13", {W(10, 1), W(10, 13)}, "13", 13, false},
        GainEditCase{
            "UnitTooLarge", "NetPort2", "321140", 1053, 1058, "256", {W(11, 2), W(11, 25)}, "256", 25, true}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ColorParamTest, AValueSetByProgramActsLikeTyping) {
  start();
  ctl<QLineEdit>(kRedGainEdit)->setText("300");
  EXPECT_TRUE(sim.writes().empty());
  EXPECT_EQ(desktop.texts(), QStringList{kRange});
  ctl<QLineEdit>(kRedGainEdit)->setText("47");
  EXPECT_EQ(sim.writes(), (std::vector<Write>{W(10, 44)}));
  EXPECT_EQ(editText(kRedGainEdit), "44");
}

TEST_F(ColorParamTest, FailedGainWriteKeepsTheValueAndReports) {
  start();
  sim.control("fail 11=106");
  ctl<QLineEdit>(kGreenGainEdit)->setText("64");
  EXPECT_EQ(cameraState().params.gGain, 64);
  EXPECT_EQ(bar(kGreenGainBar)->value(), 64);
  EXPECT_EQ(desktop.texts(), QStringList{"Can not write in for invalid link."});
}

TEST_F(ColorParamTest, SaturationTooLowIsRefusedAndTheEditReset) {
  start();
  type(kSaturationEdit, "-129");
  // "-" is only the start of a number; -1 and -12 are written. -129 would
  // be refused by putting the stored value back under the user's fingers,
  // so it waits for Enter.
  EXPECT_EQ(sim.writes(), (std::vector<Write>{W(13, -1), W(13, -12)}));
  EXPECT_TRUE(desktop.messages.empty());
  EXPECT_EQ(editText(kSaturationEdit), "-129");
  QTest::keyClick(ctl<QLineEdit>(kSaturationEdit), Qt::Key_Return);
  EXPECT_EQ(sim.writes(), (std::vector<Write>{W(13, -1), W(13, -12)}));
  ASSERT_EQ(desktop.texts(), QStringList{kRange});
  EXPECT_EQ(desktop.messages[0].caption, "");
  EXPECT_EQ(editText(kSaturationEdit), "-12");
  EXPECT_EQ(editText(kSaturationByteEdit), "244");
  EXPECT_EQ(bar(kSaturationBar)->value(), -12);
  EXPECT_EQ(cameraState().params.saturation, -12);
}

struct SaturationCase {
  const char* name;
  std::string port, type;
  const char* text;  // set at once
  std::vector<Write> writes;
  const char* shown;
  const char* byte;
  bool message;
};

class SaturationEdit : public ColorParamTest, public ::testing::WithParamInterface<SaturationCase> {};

TEST_P(SaturationEdit, WritesAndShows) {
  const SaturationCase& c = GetParam();
  start(c.port, c.type);
  ctl<QLineEdit>(kSaturationEdit)->setText(QString::fromUtf8(c.text));
  EXPECT_EQ(sim.writes(), c.writes);
  EXPECT_EQ(editText(kSaturationEdit), QString::fromUtf8(c.shown));
  EXPECT_EQ(editText(kSaturationByteEdit), QString::fromUtf8(c.byte));
  EXPECT_EQ(desktop.messages.size(), c.message ? 1u : 0u);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SaturationEdit,
    ::testing::Values(
        SaturationCase{"Lowest", "COM1", "219290", "-128", {W(13, -128)}, "-128", "128", false},
        SaturationCase{"Highest", "COM1", "219290", "127", {W(13, 127)}, "127", "127", false},
        SaturationCase{"TooHigh", "COM1", "219290", "128", {}, "0", "0", true},
        SaturationCase{"LoneMinus", "COM1", "219290", "-", {W(13, 0)}, "-", "0", false},
        SaturationCase{"StopsAtALetter", "COM1", "219290", "12ab", {W(13, 12)}, "12ab", "12", false},
        // Only seven characters are read: "0000012", not 123.
        SaturationCase{"SevenCharacters", "COM1", "219290", "00000123", {W(13, 12)}, "00000123", "12", false},
        SaturationCase{"Letters", "COM1", "219290", "ab", {}, "ab", "0", false},
        SaturationCase{"Empty", "COM1", "219290", "", {}, "", "0", false},
        // The edit's range is the same on every camera.
        SaturationCase{"UnitModelStillSigned", "NetPort2", "321140", "200", {}, "0", "0", true}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ColorParamTest, SaturationDragWritesOnceAtTheEnd) {
  start();
  ReqScrollBar* sat = bar(kSaturationBar);
  sat->request(SbThumbTrack, 10);
  EXPECT_TRUE(sim.writes().empty());
  EXPECT_EQ(sat->value(), 10);
  EXPECT_EQ(editText(kSaturationEdit), "10");
  EXPECT_EQ(editText(kSaturationByteEdit), "10");
  sat->request(SbThumbTrack, -40);
  sat->request(SbThumbTrack, -90);
  sat->request(SbThumbPosition, -90);
  EXPECT_TRUE(sim.writes().empty());
  EXPECT_EQ(editText(kSaturationByteEdit), "166");
  EXPECT_EQ(cameraState().params.saturation, -90);
  sat->request(SbEndScroll, 0);
  EXPECT_EQ(sim.writes(), (std::vector<Write>{W(13, -90)}));
  EXPECT_EQ(sat->value(), -90);
}

TEST_F(ColorParamTest, SaturationArrowWritesAtTheEndOfScrolling) {
  start();
  bar(kSaturationBar)->request(SbLineRight);
  bar(kSaturationBar)->request(SbLineRight);
  EXPECT_TRUE(sim.writes().empty());
  bar(kSaturationBar)->request(SbEndScroll);
  EXPECT_EQ(sim.writes(), (std::vector<Write>{W(13, 2)}));
  EXPECT_EQ(editText(kSaturationEdit), "2");
}

TEST_F(ColorParamTest, GainDragWritesAtEveryMovement) {
  start();
  ReqScrollBar* red = bar(kRedGainBar);
  red->request(SbThumbTrack, 10);
  red->request(SbThumbTrack, 23);
  red->request(SbThumbPosition, 23);
  red->request(SbEndScroll, 0);
  EXPECT_EQ(sim.writes(), (std::vector<Write>{W(10, 8), W(10, 20), W(10, 20), W(10, 20)}));
  EXPECT_EQ(editText(kRedGainEdit), "20");
  EXPECT_EQ(red->value(), 20);
  EXPECT_EQ(cameraState().params.rGain, 20);
}

// One scroll request on a gain bar from a given position.
struct GainScrollCase {
  const char* name;
  std::string port, type;
  int from;
  int code, pos;
  int expected;
};

class GainScroll : public ColorParamTest, public ::testing::WithParamInterface<GainScrollCase> {};

TEST_P(GainScroll, NewPositionIsWritten) {
  const GainScrollCase& c = GetParam();
  openCamera(c.port, c.type);
  cameraState().params.bGain = c.from;
  window = std::make_unique<CDlgColorParam>(nullptr, nullptr);
  showWindow();
  bar(kBlueGainBar)->request(c.code, c.pos);
  EXPECT_EQ(sim.writes(), (std::vector<Write>{W(12, c.expected)}));
  EXPECT_EQ(bar(kBlueGainBar)->value(), c.expected);
  EXPECT_EQ(editText(kBlueGainEdit), QString::number(c.expected));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, GainScroll,
    ::testing::Values(
        GainScrollCase{"LineLeft", "COM1", "219290", 128, SbLineLeft, 0, 124},
        GainScrollCase{"LineRight", "COM1", "219290", 128, SbLineRight, 0, 132},
        GainScrollCase{"LineLeftAtEnd", "COM1", "219290", 0, SbLineLeft, 0, 0},
        GainScrollCase{"LineRightOffStepStaysInside", "COM1", "219290", 250, SbLineRight, 0, 252},
        GainScrollCase{"PageLeft", "COM1", "219290", 128, SbPageLeft, 0, 88},
        GainScrollCase{"PageRightLimited", "COM1", "219290", 240, SbPageRight, 0, 252},
        GainScrollCase{"ThumbLowered", "COM1", "219290", 128, SbThumbPosition, 103, 100},
        GainScrollCase{"LeftEnd", "COM1", "219290", 128, SbLeft, 0, 0},
        GainScrollCase{"RightEnd", "COM1", "219290", 128, SbRight, 0, 252},
        GainScrollCase{"EndOfScrollingWritesThePosition", "COM1", "219290", 128, SbEndScroll, 0, 128},
        GainScrollCase{"UnitLineRight", "NetPort2", "321140", 128, SbLineRight, 0, 129},
        GainScrollCase{"UnitPageLeft", "NetPort2", "321140", 128, SbPageLeft, 0, 118},
        GainScrollCase{"UnitThumbNotLowered", "NetPort2", "321140", 128, SbThumbTrack, 103, 103},
        GainScrollCase{"UnitRightEnd", "NetPort2", "321140", 128, SbRight, 0, 255}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ColorParamTest, UnitModelRangesAndSaturationBar) {
  openCamera("NetPort2", "321140");
  cameraState().params.saturation = 200;
  window = std::make_unique<CDlgColorParam>(nullptr, nullptr);
  showWindow();
  for (int id : {kRedGainBar, kGreenGainBar, kBlueGainBar}) EXPECT_EQ(bar(id)->maximum(), 255) << id;
  EXPECT_EQ(bar(kSaturationBar)->minimum(), 0);
  EXPECT_EQ(bar(kSaturationBar)->maximum(), 255);
  EXPECT_EQ(bar(kSaturationBar)->value(), 200);
  EXPECT_EQ(editText(kSaturationEdit), "200");
  bar(kSaturationBar)->request(SbRight);
  bar(kSaturationBar)->request(SbEndScroll);
  EXPECT_EQ(sim.writes(), (std::vector<Write>{W(13, 255)}));
  EXPECT_EQ(editText(kSaturationByteEdit), "255");
  // No white balance on this model.
  EXPECT_FALSE(ctl<QPushButton>(kWhiteBalanceButton)->isEnabled());
}

TEST_F(ColorParamTest, RangesFollowTheCameraAfterAReconnection) {
  start();
  CameraState& s = cameraState();
  s.typeCode = 321140;
  s.params.rGain = 255;
  s.params.saturation = 250;
  page()->repaint();
  EXPECT_EQ(bar(kRedGainBar)->maximum(), 255);
  EXPECT_EQ(bar(kRedGainBar)->value(), 255);
  EXPECT_EQ(bar(kSaturationBar)->minimum(), 0);
  EXPECT_EQ(bar(kSaturationBar)->value(), 250);
  s.typeCode = 219290;
  page()->repaint();
  EXPECT_EQ(bar(kRedGainBar)->maximum(), 252);
  EXPECT_EQ(bar(kSaturationBar)->minimum(), -128);
  EXPECT_TRUE(sim.writes().empty());
}

TEST_F(ColorParamTest, WhiteBalanceStartsThenShowsTheGainsTheCameraFound) {
  start();
  QTest::mouseClick(ctl<QPushButton>(kWhiteBalanceButton), Qt::LeftButton);
  EXPECT_EQ(sim.writes(), (std::vector<Write>{W(38, 1)}));
  // The write, then the whole record read back.
  std::vector<std::string> order;
  for (const auto& call : sim.log()) {
    if (call.name == "SetConfigParam" || call.name == "GetConfigParam") {
      order.push_back(call.name + " " + std::to_string(call.value("id")));
    }
  }
  EXPECT_EQ(order, (std::vector<std::string>{"SetConfigParam 38", "GetConfigParam -1"}));
  // The simulated scene is red 0.9, blue 1.1 against green.
  EXPECT_EQ(editText(kRedGainEdit), "144");
  EXPECT_EQ(editText(kGreenGainEdit), "128");
  EXPECT_EQ(editText(kBlueGainEdit), "116");
  EXPECT_EQ(bar(kRedGainBar)->value(), 144);
  EXPECT_EQ(bar(kBlueGainBar)->value(), 116);
  EXPECT_EQ(cameraState().params.rGain, 144);
  EXPECT_EQ(desktop.waitCursorShown, 1);
  EXPECT_EQ(desktop.waitCursorDepth, 0);
  EXPECT_TRUE(desktop.messages.empty());
}

TEST_F(ColorParamTest, FailedWhiteBalanceSkipsTheReadAndRestoresTheCursor) {
  start();
  sim.control("fail 38=106");
  QTest::mouseClick(ctl<QPushButton>(kWhiteBalanceButton), Qt::LeftButton);
  EXPECT_EQ(desktop.texts(), QStringList{"Can not write in for invalid link."});
  EXPECT_TRUE(sim.calls("GetConfigParam").empty());
  EXPECT_EQ(editText(kRedGainEdit), "128");
  EXPECT_EQ(desktop.waitCursorDepth, 0);
}

TEST_F(ColorParamTest, FailedReadBackAfterWhiteBalanceIsReported) {
  start();
  sim.control("fail read=103");
  QTest::mouseClick(ctl<QPushButton>(kWhiteBalanceButton), Qt::LeftButton);
  EXPECT_EQ(sim.writes(), (std::vector<Write>{W(38, 1)}));
  EXPECT_EQ(desktop.texts(), QStringList{"can not read camera info, please check it"});
  EXPECT_EQ(editText(kRedGainEdit), "128");
  EXPECT_EQ(desktop.waitCursorDepth, 0);
}

struct TagCase {
  std::string port, type, tagCommand;
  bool enabled;
};
class WhiteBalanceButton : public ColorParamTest, public ::testing::WithParamInterface<TagCase> {};

TEST_P(WhiteBalanceButton, EnabledOnlyWhenTag38IsOne) {
  const TagCase& c = GetParam();
  sim.reset();
  openCamera(c.port, c.type);
  if (!c.tagCommand.empty()) {
    sim.control(c.tagCommand);
    cameraState().readFunctionTags();
  }
  window = std::make_unique<CDlgColorParam>(nullptr, nullptr);
  showWindow();
  EXPECT_EQ(ctl<QPushButton>(kWhiteBalanceButton)->isEnabled(), c.enabled);
}

INSTANTIATE_TEST_SUITE_P(Cameras, WhiteBalanceButton,
                         ::testing::Values(TagCase{"COM1", "219290", "", true},
                                           TagCase{"NetPort3", "218920", "", true},
                                           TagCase{"NetPort2", "321140", "", false},
                                           TagCase{"COM1", "219290", "tag COM1:38=2", false}));

}  // namespace
