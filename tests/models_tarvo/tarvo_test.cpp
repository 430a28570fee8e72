// tarvo_test.cpp - the 4K video model page against the simulated camera.
#include <QCheckBox>
#include <QPushButton>
#include <QRadioButton>

#include "page_fixture.h"
#include "pages/models/dlg_tarvo.h"

using enum CDlgTarvo::CtlId;

namespace {

class TarvoTest : public ModelPageTest {
 protected:
  void start(int32_t language = 9) {
    openCamera("321880", language);
    makePage();
  }
  void makePage() {
    page = std::make_unique<CDlgTarvo>(nullptr, nullptr);
    showPage();
  }
  CDlgTarvo* tarvo() const { return static_cast<CDlgTarvo*>(page.get()); }
};

TEST_F(TarvoTest, StartsFromTheModelValuesOfTheExtendedBlock) {
  // The simulated camera's block: contrast 128, saturation 128, target 100,
  // both automatics on, switch mode, 3840*2160 at 60, fast sensor.
  openCamera("321880", 9);
  sim.clearLog();
  page = std::make_unique<CDlgTarvo>(nullptr, nullptr);
  page->show();
  // Building and showing the page writes nothing.
  EXPECT_TRUE(sim.writes().empty());
  EXPECT_EQ(bar(kContrastBar)->value(), 128);
  EXPECT_EQ(bar(kSaturationBar)->value(), 128);
  EXPECT_EQ(bar(kExtinctionTargetBar)->value(), 100);
  EXPECT_EQ(editText(kContrastEdit), "128");
  EXPECT_EQ(editText(kSaturationEdit), "128");
  EXPECT_EQ(editText(kExtinctionTargetEdit), "100");
  for (int id : {kContrastBar, kSaturationBar, kExtinctionTargetBar}) {
    EXPECT_EQ(bar(id)->minimum(), 0) << id;
    EXPECT_EQ(bar(id)->maximum(), 255) << id;
  }
  EXPECT_TRUE(ctl<QCheckBox>(kAutoExtinctionCheck)->isChecked());
  EXPECT_TRUE(ctl<QCheckBox>(kAutoWhiteBalanceCheck)->isChecked());
  EXPECT_TRUE(ctl<QRadioButton>(kSwitchRadio)->isChecked());
  EXPECT_FALSE(ctl<QRadioButton>(kComRadio)->isChecked());
  EXPECT_EQ(ctl<QComboBox>(kResolutionList)->currentText(), "3840*2160@60");
  EXPECT_EQ(ctl<QComboBox>(kSensorRateList)->currentText(), QString::fromUtf8("快"));
  EXPECT_TRUE(desktop.messages.empty());
}

TEST_F(TarvoTest, OtherFieldValuesAfterAReconnection) {
  start();
  // Another camera of the model, read again by the main window.
  CameraState& s = cameraState();
  s.ext.modelContrast = 7;
  s.ext.autoExtinction = 0;
  s.ext.autoWhiteBalance = 5;  // only 1 means on
  s.ext.resolutionSettingMode = 3;
  tarvo()->inserted();
  EXPECT_EQ(bar(kContrastBar)->value(), 7);
  EXPECT_EQ(editText(kContrastEdit), "7");
  EXPECT_FALSE(ctl<QCheckBox>(kAutoExtinctionCheck)->isChecked());
  EXPECT_FALSE(ctl<QCheckBox>(kAutoWhiteBalanceCheck)->isChecked());
  EXPECT_TRUE(ctl<QRadioButton>(kComRadio)->isChecked());
  EXPECT_TRUE(sim.writes().empty());
}

TEST_F(TarvoTest, ListsHoldTheirItemsInOrderInBothLanguages) {
  const QStringList modes = {"1920*1080@30", "1920*1080@60", "3840*2160@30", "3840*2160@60", "1280*720@60"};
  const QStringList speeds = {QString::fromUtf8("慢"), QString::fromUtf8("快")};
  for (int32_t language : {9, 2}) {
    start(language);
    EXPECT_EQ(items(ctl<QComboBox>(kResolutionList)), modes) << language;
    EXPECT_EQ(items(ctl<QComboBox>(kSensorRateList)), speeds) << language;
    page.reset();
    CameraLibrary::instance().closeCamera(cameraState().handle);
    cameraState().handle = nullptr;
  }
}

TEST_F(TarvoTest, TextsFollowTheLanguage) {
  start(2);
  EXPECT_EQ(ctl<QPushButton>(kSetVideoModeButton)->text(), QString::fromUtf8("设置"));
  EXPECT_EQ(ctl<QPushButton>(kManualWhiteBalanceButton)->text(), QString::fromUtf8("手动白平衡"));
  EXPECT_EQ(ctl<QRadioButton>(kComRadio)->text(), QString::fromUtf8("串口"));
  page.reset();
  CameraLibrary::instance().closeCamera(cameraState().handle);
  start(9);
  EXPECT_EQ(ctl<QPushButton>(kSetVideoModeButton)->text(), "set");
  EXPECT_EQ(ctl<QPushButton>(kManualWhiteBalanceButton)->text(), "Manual White Balance");
  EXPECT_EQ(ctl<QRadioButton>(kComRadio)->text(), "COM");
  EXPECT_EQ(ctl<QCheckBox>(kAutoExtinctionCheck)->text(), "auto extinction");
}

// --- Selection of video mode and speed from the block -----------------------

struct SelectionCase {
  int32_t resolution;
  int32_t frameRate;
  int32_t sensorSpeed;
  const char* mode;   // null: nothing selected
  const char* speed;  // null: nothing selected
};

class TarvoSelection : public TarvoTest, public ::testing::WithParamInterface<SelectionCase> {};

TEST_P(TarvoSelection, ShowsTheBlocksChoice) {
  const SelectionCase& c = GetParam();
  openCamera("321880", 9);
  cameraState().ext.resolution = c.resolution;
  cameraState().ext.frameRate = c.frameRate;
  cameraState().ext.sensorSpeed = c.sensorSpeed;
  makePage();
  auto* modes = ctl<QComboBox>(kResolutionList);
  auto* speeds = ctl<QComboBox>(kSensorRateList);
  if (c.mode == nullptr) {
    EXPECT_EQ(modes->currentIndex(), -1) << modes->currentText().toStdString();
  } else {
    EXPECT_EQ(modes->currentText(), QString::fromUtf8(c.mode));
  }
  if (c.speed == nullptr) {
    EXPECT_EQ(speeds->currentIndex(), -1);
  } else {
    EXPECT_EQ(speeds->currentText(), QString::fromUtf8(c.speed));
  }
}

INSTANTIATE_TEST_SUITE_P(Block, TarvoSelection,
                         ::testing::Values(SelectionCase{1, 0, 0, "1920*1080@30", "慢"},
                                           SelectionCase{1, 1, 1, "1920*1080@60", "快"},
                                           SelectionCase{2, 0, 0, "3840*2160@30", "慢"},
                                           SelectionCase{2, 1, 1, "3840*2160@60", "快"},
                                           // 1280*720 exists only at 60; the frame rate does not matter.
                                           SelectionCase{0, 0, 0, "1280*720@60", "慢"},
                                           SelectionCase{0, 1, 1, "1280*720@60", "快"},
                                           SelectionCase{0, 7, 1, "1280*720@60", "快"},
                                           // Combinations the list cannot show leave it unselected.
                                           SelectionCase{1, 2, 2, nullptr, nullptr},
                                           SelectionCase{2, -1, -1, nullptr, nullptr},
                                           SelectionCase{3, 0, 0, nullptr, "慢"},
                                           SelectionCase{-1, 1, 1, nullptr, "快"}));

// --- The set button -------------------------------------------------------

struct SetCase {
  int mode;   // list index, -1 none
  int speed;  // list index, -1 none
  std::vector<Write> writes;
};

class TarvoSet : public TarvoTest, public ::testing::WithParamInterface<SetCase> {};

TEST_P(TarvoSet, WritesResolutionFrameRateThenSpeed) {
  start();
  ctl<QComboBox>(kResolutionList)->setCurrentIndex(GetParam().mode);
  ctl<QComboBox>(kSensorRateList)->setCurrentIndex(GetParam().speed);
  sim.clearLog();
  ctl<QPushButton>(kSetVideoModeButton)->click();
  EXPECT_EQ(sim.writes(), GetParam().writes);
  EXPECT_TRUE(desktop.messages.empty());
  EXPECT_EQ(desktop.waitCursorDepth, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Choices, TarvoSet,
    ::testing::Values(SetCase{2, 1, {W(52, 2), W(55, 0), W(54, 1)}},  // 3840*2160@30, fast
                      SetCase{0, 0, {W(52, 1), W(55, 0), W(54, 0)}},
                      SetCase{1, 0, {W(52, 1), W(55, 1), W(54, 0)}},
                      SetCase{3, 1, {W(52, 2), W(55, 1), W(54, 1)}},
                      SetCase{4, 0, {W(52, 0), W(55, 1), W(54, 0)}},
                      // No speed chosen counts as fast.
                      SetCase{4, -1, {W(52, 0), W(55, 1), W(54, 1)}},
                      // No video mode: only the speed.
                      SetCase{-1, 0, {W(54, 0)}}, SetCase{-1, -1, {W(54, 1)}}));

TEST_F(TarvoTest, SetReportsNoFailureButTheCameraRefused) {
  start();
  sim.control("fail 52=106;fail 54=106;fail 55=106");
  ctl<QComboBox>(kResolutionList)->setCurrentIndex(0);
  ctl<QPushButton>(kSetVideoModeButton)->click();
  EXPECT_EQ(sim.writes(), (std::vector<Write>{W(52, 1), W(55, 0), W(54, 1)}));
  EXPECT_TRUE(desktop.messages.empty());
  // The page's mirror keeps what was asked for.
  EXPECT_EQ(cameraState().ext.resolution, 1);
  EXPECT_EQ(cameraState().ext.frameRate, 0);
}

// --- Scroll bars --------------------------------------------------------------

struct ScrollCase {
  int barId;
  int start;
  int code;
  int pos;
  int expected;
};

int paramOf(int barId) { return barId == 1100 ? 49 : barId == 1213 ? 48 : 50; }
int editOf(int barId) { return barId == 1100 ? 1101 : barId == 1213 ? 1212 : 1063; }

class TarvoScroll : public TarvoTest, public ::testing::WithParamInterface<ScrollCase> {};

TEST_P(TarvoScroll, WritesTheNewPosition) {
  const ScrollCase& c = GetParam();
  start();
  bar(c.barId)->request(SbThumbPosition, c.start);
  sim.clearLog();
  bar(c.barId)->request(c.code, c.pos);
  EXPECT_EQ(sim.writes(), (std::vector<Write>{W(paramOf(c.barId), c.expected)}));
  EXPECT_EQ(bar(c.barId)->value(), c.expected);
  EXPECT_EQ(editText(editOf(c.barId)), QString::number(c.expected));
  // Setting the edit from the bar does not write a second time.
  bar(c.barId)->request(SbEndScroll, 0);
  EXPECT_EQ(sim.writes().size(), 1u);
  EXPECT_TRUE(desktop.messages.empty());
}

INSTANTIATE_TEST_SUITE_P(Requests, TarvoScroll,
                         ::testing::Values(ScrollCase{kContrastBar, 128, SbLineRight, 0, 129},
                                           ScrollCase{kContrastBar, 128, SbLineLeft, 0, 127},
                                           ScrollCase{kSaturationBar, 100, SbPageRight, 0, 140},
                                           ScrollCase{kSaturationBar, 100, SbPageLeft, 0, 60},
                                           ScrollCase{kExtinctionTargetBar, 240, SbPageRight, 0, 255},
                                           ScrollCase{kExtinctionTargetBar, 20, SbPageLeft, 0, 0},
                                           ScrollCase{kContrastBar, 0, SbLineLeft, 0, 0},
                                           ScrollCase{kContrastBar, 255, SbLineRight, 0, 255},
                                           ScrollCase{kSaturationBar, 50, SbLeft, 0, 0},
                                           ScrollCase{kExtinctionTargetBar, 50, SbRight, 0, 255},
                                           ScrollCase{kContrastBar, 50, SbThumbPosition, 200, 200}));

TEST_F(TarvoTest, DraggingTheThumbWritesNothingUntilReleased) {
  start();
  for (int pos : {130, 160, 190}) bar(kSaturationBar)->request(SbThumbTrack, pos);
  EXPECT_TRUE(sim.writes().empty());
  EXPECT_EQ(bar(kSaturationBar)->value(), 128);
  EXPECT_EQ(editText(kSaturationEdit), "128");
  bar(kSaturationBar)->request(SbThumbPosition, 190);
  bar(kSaturationBar)->request(SbEndScroll, 190);
  EXPECT_EQ(sim.writes(), (std::vector<Write>{W(48, 190)}));
  EXPECT_EQ(bar(kSaturationBar)->value(), 190);
  EXPECT_EQ(cameraState().ext.modelSaturation, 190);
}

TEST_F(TarvoTest, AFailedBarWriteShowsTheLibrarysMessageAndKeepsTheValue) {
  start();
  sim.control("fail 50=104");
  bar(kExtinctionTargetBar)->request(SbLineRight, 0);
  EXPECT_EQ(desktop.texts(), QStringList{"Can not write the serial port."});
  EXPECT_EQ(bar(kExtinctionTargetBar)->value(), 101);
  EXPECT_EQ(cameraState().ext.autoExtinctionTarget, 101);
}

// --- Edits --------------------------------------------------------------------

TEST_F(TarvoTest, TypingZeroNeitherMovesTheBarNorWrites) {
  start();
  type(kContrastEdit, "0");
  EXPECT_EQ(editText(kContrastEdit), "0");
  EXPECT_EQ(bar(kContrastBar)->value(), 128);
  EXPECT_TRUE(sim.writes().empty());
  EXPECT_TRUE(desktop.messages.empty());
}

TEST_F(TarvoTest, TypingWritesAtEveryKeystroke) {
  start();
  type(kContrastEdit, "255");
  EXPECT_EQ(sim.writes(), (std::vector<Write>{W(49, 2), W(49, 25), W(49, 255)}));
  EXPECT_EQ(bar(kContrastBar)->value(), 255);
  EXPECT_EQ(editText(kContrastEdit), "255");
  EXPECT_EQ(cameraState().ext.modelContrast, 255);
  type(kSaturationEdit, "9");
  type(kExtinctionTargetEdit, "77");
  EXPECT_EQ(sim.writes(),
            (std::vector<Write>{W(49, 2), W(49, 25), W(49, 255), W(48, 9), W(50, 7), W(50, 77)}));
  EXPECT_EQ(bar(kSaturationBar)->value(), 9);
  EXPECT_EQ(bar(kExtinctionTargetBar)->value(), 77);
  EXPECT_TRUE(desktop.messages.empty());
}

struct BadEntryCase {
  int32_t language;
  const char* text;
  const char* message;
};

class TarvoBadEntry : public TarvoTest, public ::testing::WithParamInterface<BadEntryCase> {};

TEST_P(TarvoBadEntry, ShowsTheExchangeMessageAndWritesNothing) {
  start(GetParam().language);
  auto* edit = ctl<QLineEdit>(kSaturationEdit);
  edit->setText(QString::fromUtf8(GetParam().text));
  EXPECT_EQ(desktop.texts(), QStringList{QString::fromUtf8(GetParam().message)});
  ASSERT_FALSE(desktop.messages.empty());
  EXPECT_EQ(desktop.messages[0].caption, "Vistrel");
  EXPECT_TRUE(sim.writes().empty());
  EXPECT_EQ(bar(kSaturationBar)->value(), 128);
  EXPECT_EQ(cameraState().ext.modelSaturation, 128);
}

INSTANTIATE_TEST_SUITE_P(Entries, TarvoBadEntry,
                         ::testing::Values(BadEntryCase{9, "256", "Enter a whole number between 0 and 255."},
                                           BadEntryCase{9, "-1", "Enter a whole number between 0 and 255."},
                                           BadEntryCase{9, "12a", "Enter a whole number."},
                                           BadEntryCase{9, "", "Enter a whole number."},
                                           BadEntryCase{9, "99999999999", "Enter a whole number."},
                                           BadEntryCase{2, "300", "请输入 0 到 255 之间的整数。"},
                                           BadEntryCase{2, "x", "请输入整数。"}));

TEST_F(TarvoTest, ABadEntryElsewhereStopsTheWriteOfAGoodOne) {
  // The exchange reads every edit; while one holds a bad entry nothing is
  // written, so a stale value never reaches the camera.
  start();
  ctl<QLineEdit>(kExtinctionTargetEdit)->setText("999");
  desktop.clear();
  ctl<QLineEdit>(kContrastEdit)->setText("20");
  EXPECT_TRUE(sim.writes().empty());
  EXPECT_EQ(desktop.texts(), QStringList{"Enter a whole number between 0 and 255."});
  ctl<QLineEdit>(kExtinctionTargetEdit)->setText("99");
  EXPECT_EQ(sim.writes(), (std::vector<Write>{W(50, 99)}));
}

TEST_F(TarvoTest, AFailedEditWriteShowsTheLibrarysMessage) {
  start(2);
  sim.control("fail 49=106");
  ctl<QLineEdit>(kContrastEdit)->setText("40");
  EXPECT_EQ(desktop.texts(),
            QStringList{QString::fromUtf8("由于设备连接不正常，无法写入参数，仅改变界面设置。")});
  EXPECT_EQ(bar(kContrastBar)->value(), 40);
}

// --- Switches, radios and the white balance command ---------------------------

TEST_F(TarvoTest, SwitchesWriteTheirState) {
  start();
  ctl<QCheckBox>(kAutoExtinctionCheck)->click();
  ctl<QCheckBox>(kAutoExtinctionCheck)->click();
  ctl<QCheckBox>(kAutoWhiteBalanceCheck)->click();
  ctl<QRadioButton>(kComRadio)->click();
  ctl<QRadioButton>(kSwitchRadio)->click();
  ctl<QPushButton>(kManualWhiteBalanceButton)->click();
  EXPECT_EQ(sim.writes(), (std::vector<Write>{W(51, 0), W(51, 1), W(56, 0), W(53, 1), W(53, 0), W(57, 1)}));
  EXPECT_TRUE(desktop.messages.empty());
  EXPECT_EQ(desktop.waitCursorDepth, 0);
  EXPECT_EQ(cameraState().ext.autoWhiteBalance, 0);
  EXPECT_EQ(cameraState().ext.resolutionSettingMode, 0);
}

TEST_F(TarvoTest, ClickingTheCheckedRadioAgainWritesItAgain) {
  start();
  ctl<QRadioButton>(kSwitchRadio)->click();
  EXPECT_EQ(sim.writes(), (std::vector<Write>{W(53, 0)}));
}

struct FailureCase {
  int id;         // the failing parameter
  int controlId;  // the control clicked
  bool reported;
};

class TarvoFailure : public TarvoTest, public ::testing::WithParamInterface<FailureCase> {};

TEST_P(TarvoFailure, ReportsOrStaysQuiet) {
  start();
  sim.control("fail " + std::to_string(GetParam().id) + "=104");
  qobject_cast<QAbstractButton*>(page->findChild<QWidget*>(QString::number(GetParam().controlId)))->click();
  ASSERT_EQ(sim.writes().size(), 1u);
  EXPECT_EQ(sim.writes()[0].first, GetParam().id);
  EXPECT_EQ(desktop.texts(),
            GetParam().reported ? QStringList{"Can not write the serial port."} : QStringList{});
}

INSTANTIATE_TEST_SUITE_P(Controls, TarvoFailure,
                         ::testing::Values(FailureCase{51, 1122, true}, FailureCase{56, 1123, false},
                                           FailureCase{53, 1228, true}, FailureCase{57, 1001, true}));

}  // namespace
