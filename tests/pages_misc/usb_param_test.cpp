// usb_param_test.cpp - the USB parameter page against the simulated USB cameras.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <vector>

#include "app/scroll_bar.h"
#include "imaging/dlg_usb_param.h"
#include "page_fixture.h"

using enum CDlgUsbParam::CtlId;

namespace {

class UsbParamTest : public PageFixture {
 protected:
  CDlgUsbParam* start(const std::string& camera = "219660", int32_t language = 9) {
    open(camera, language);
    return makePage<CDlgUsbParam>();
  }
  QComboBox* exposure() { return page()->control<QComboBox>(kExposureList); }
  QCheckBox* trigger() { return page()->control<QCheckBox>(kTriggerCheck); }
  CDlgUsbParam* page() { return static_cast<CDlgUsbParam*>(page_.get()); }
};

TEST_F(UsbParamTest, FirstPaintSelectsTheCamerasExposure) {
  start();
  // The simulated camera starts at 16667 us.
  EXPECT_EQ(exposure()->count(), 18);
  EXPECT_EQ(exposure()->currentIndex(), 7);
  EXPECT_EQ(exposure()->currentText(), "16667");
  EXPECT_FALSE(trigger()->isChecked());
  EXPECT_TRUE(sim.log().empty());
}

// A choice waits, reads the record, writes id 19 and reads it back.
struct ChoiceCase {
  int index;
  int32_t microseconds;
};

class UsbParamChoice : public UsbParamTest, public ::testing::WithParamInterface<ChoiceCase> {};

TEST_P(UsbParamChoice, WaitReadWriteReadBack) {
  start();
  exposure()->setCurrentIndex(GetParam().index);
  ASSERT_EQ(desktop.sleeps.size(), 1u);
  EXPECT_EQ(desktop.sleeps[0].ms, 500);
  const auto log = sim.log();
  ASSERT_EQ(log.size(), 3u);
  EXPECT_EQ(log[0].name, "GetConfigParam");
  EXPECT_EQ(log[0].value("id"), -1);
  EXPECT_EQ(log[1].name, "SetConfigParam");
  EXPECT_EQ(log[1].value("id"), 19);
  EXPECT_EQ(log[1].value("value"), GetParam().microseconds);
  EXPECT_EQ(log[2].name, "GetConfigParam");
  EXPECT_EQ(log[2].value("id"), 19);
  EXPECT_EQ(cameraState().params.usbExposure, GetParam().microseconds);
  EXPECT_EQ(exposure()->currentIndex(), GetParam().index);
  EXPECT_EQ(desktop.waitCursorDepth, 0);
  EXPECT_TRUE(desktop.messages.empty());
}

INSTANTIATE_TEST_SUITE_P(Table, UsbParamChoice,
                         ::testing::Values(ChoiceCase{0, 10}, ChoiceCase{3, 200}, ChoiceCase{9, 33333},
                                           ChoiceCase{12, 66667}, ChoiceCase{17, 10000000}));

TEST_F(UsbParamTest, NoSelectionWritesTheLastExposureAgain) {
  start();
  exposure()->setCurrentIndex(4);
  sim.clearLog();
  exposure()->setCurrentIndex(-1);
  EXPECT_EQ(sim.writes(), std::vector<Write>{W(19, 1000)});
}

TEST_F(UsbParamTest, RefusedExposureKeepsTheValueWritten) {
  start();
  sim.control("fail 19=122");
  exposure()->setCurrentIndex(2);
  // One message for the write; the read-back is not checked.
  ASSERT_EQ(desktop.messages.size(), 1u);
  EXPECT_EQ(desktop.messages[0].text, "the input param is incorrect");
  EXPECT_EQ(sim.calls("GetConfigParam").size(), 2u);
  EXPECT_EQ(cameraState().params.usbExposure, 100);
  EXPECT_EQ(exposure()->currentIndex(), 2);
}

TEST_F(UsbParamTest, FailedFullReadIsReportedAndTheChoiceStillWritten) {
  start();
  sim.control("fail read=103");
  exposure()->setCurrentIndex(5);
  EXPECT_EQ(desktop.texts(), QStringList({"can not read camera info, please check it"}));
  EXPECT_EQ(sim.writes(), std::vector<Write>{W(19, 2000)});
  EXPECT_EQ(cameraState().params.usbExposure, 2000);
  EXPECT_EQ(exposure()->currentIndex(), 5);
}

TEST_F(UsbParamTest, FailedFullReadAfterTheTriggerIsReported) {
  start();
  sim.control("fail read=103");
  trigger()->click();
  EXPECT_EQ(sim.writes(), std::vector<Write>{W(2, 2)});
  EXPECT_EQ(desktop.texts(), QStringList({"can not read camera info, please check it"}));
  EXPECT_TRUE(trigger()->isChecked());
}

// The index shown for the exposure the record holds: the first row whose
// limit the value is below; 12,000,000 or more keeps the selection.
struct IndexCase {
  int32_t before;
  int32_t microseconds;
  int expected;
};

class UsbParamIndex : public UsbParamTest, public ::testing::WithParamInterface<IndexCase> {};

TEST_P(UsbParamIndex, PaintSelectsByLimit) {
  start();
  CameraParams& p = cameraState().params;
  p.usbExposure = GetParam().before;
  reshow();
  p.usbExposure = GetParam().microseconds;
  reshow();
  EXPECT_EQ(exposure()->currentIndex(), GetParam().expected);
  EXPECT_TRUE(sim.log().empty());
}

INSTANTIATE_TEST_SUITE_P(Limits, UsbParamIndex,
                         ::testing::Values(IndexCase{200, 16667, 7}, IndexCase{200, 11, 0},
                                           IndexCase{200, 12, 1}, IndexCase{200, -5, 0},
                                           IndexCase{10, 17999, 7}, IndexCase{10, 18000, 8},
                                           IndexCase{10, 11999999, 17}, IndexCase{2000, 12000000, 5},
                                           IndexCase{40000, 50000000, 10}));

// The trigger box writes run mode 1 or 2, then reads the record.
struct TriggerCase {
  int clicks;
  std::vector<Write> writes;
  int32_t usbTrigger;
};

class UsbParamTrigger : public UsbParamTest, public ::testing::WithParamInterface<TriggerCase> {};

TEST_P(UsbParamTrigger, WritesStatePlusOne) {
  start();
  for (int i = 0; i < GetParam().clicks; ++i) trigger()->click();
  EXPECT_EQ(sim.writes(), GetParam().writes);
  EXPECT_EQ(sim.calls("GetConfigParam").size(), static_cast<size_t>(GetParam().clicks));
  EXPECT_EQ(cameraState().params.usbTrigger, GetParam().usbTrigger);
  EXPECT_EQ(cameraState().params.runMode, GetParam().writes.back().second);
  reshow();
  EXPECT_EQ(trigger()->isChecked(), GetParam().usbTrigger == 1);
}

INSTANTIATE_TEST_SUITE_P(Clicks, UsbParamTrigger,
                         ::testing::Values(TriggerCase{1, {W(2, 2)}, 1},
                                           TriggerCase{2, {W(2, 2), W(2, 1)}, 0}));

TEST_F(UsbParamTest, FailedTriggerWriteShowsTheMessage) {
  start();
  sim.control("fail 2=106");
  trigger()->click();
  ASSERT_EQ(desktop.messages.size(), 1u);
  EXPECT_EQ(desktop.messages[0].text, "Can not write in for invalid link.");
  EXPECT_EQ(sim.calls("GetConfigParam").size(), 1u);
}

// The exposure-line bar is hidden; its requests still write 10 x position.
struct LineCase {
  int code;
  int pos;
  int expected;
};

class UsbParamLines : public UsbParamTest, public ::testing::WithParamInterface<LineCase> {};

TEST_P(UsbParamLines, WritesTenTimesThePosition) {
  start();
  auto* bar = page()->control<ReqScrollBar>(kExposeLineBar);
  EXPECT_TRUE(bar->isHidden());
  EXPECT_TRUE(page()->control<QLineEdit>(kExposeLineEdit)->isHidden());
  EXPECT_EQ(bar->value(), 300);
  bar->request(GetParam().code, GetParam().pos);
  EXPECT_EQ(bar->value(), GetParam().expected);
  EXPECT_EQ(page()->control<QLineEdit>(kExposeLineEdit)->text(), QString::number(GetParam().expected));
  EXPECT_EQ(sim.writes(), std::vector<Write>{W(9, 10 * GetParam().expected)});
}

INSTANTIATE_TEST_SUITE_P(Requests, UsbParamLines,
                         ::testing::Values(LineCase{SbLineRight, 0, 301}, LineCase{SbLineLeft, 0, 299},
                                           LineCase{SbPageRight, 0, 310}, LineCase{SbPageLeft, 0, 290},
                                           LineCase{SbThumbTrack, 7, 7}, LineCase{SbLeft, 0, 1},
                                           LineCase{SbRight, 0, 1000}, LineCase{SbEndScroll, 0, 300}));

// The version text: a "0" goes between the numbers when the minor is below 10.
struct VersionCase {
  int32_t driver, firmware, hardware, hardwareType, software;
  bool chinese;
  const char* text;
};

class UsbParamVersionText : public ::testing::TestWithParam<VersionCase> {};

TEST_P(UsbParamVersionText, PadsOneDigitMinors) {
  const VersionCase& c = GetParam();
  EXPECT_EQ(
      CDlgUsbParam::versionText(c.driver, c.firmware, c.hardware, c.hardwareType, c.software, c.chinese),
      QString::fromUtf8(c.text));
}

INSTANTIATE_TEST_SUITE_P(
    Texts, UsbParamVersionText,
    ::testing::Values(
        VersionCase{0x0105, 0x0203, 0x0310, 0x5A, 0x0203, false,
                    "Driver ver 1.05\t\nType Code 2.03\t\nHardware ver 3.16\t\n Hardware type 5a\t\n"
                    " Software ver 2.03\t\n"},
        VersionCase{0x020C, 0x0A00, 0x0001, 0x1F2, 0x0163, false,
                    "Driver ver 2.12\t\nType Code 10.00\t\nHardware ver 0.01\t\n Hardware type 1f2\t\n"
                    " Software ver 1.99\t\n"},
        // The padding stops exactly at 10.
        VersionCase{0x0109, 0x010A, 0x0000, 0x0, 0x0B09, false,
                    "Driver ver 1.09\t\nType Code 1.10\t\nHardware ver 0.00\t\n Hardware type 0\t\n"
                    " Software ver 11.09\t\n"},
        VersionCase{0x0105, 0x0203, 0x0201, 0x5A, 0x0203, true,
                    " 驱动版本号 1.05\t\n固件版本号 2.03\t\n 硬件版本号 2.01\t\n 硬件类型 5a\t\n"
                    " 软件版本号 2.03\t\n"}));

struct VersionButtonCase {
  int32_t language;
  const char* text;
};

class UsbParamVersionButton : public UsbParamTest, public ::testing::WithParamInterface<VersionButtonCase> {};

TEST_P(UsbParamVersionButton, ShowsWhatTheCameraReports) {
  start("211150", GetParam().language);
  page()->control<QPushButton>(kVersionButton)->click();
  const auto reads = sim.calls("GetUsbInfo");
  ASSERT_EQ(reads.size(), 3u);
  EXPECT_EQ(reads[0].value("selector"), 1);
  EXPECT_EQ(reads[1].value("selector"), 2);
  EXPECT_EQ(reads[2].value("selector"), 3);
  ASSERT_EQ(desktop.messages.size(), 1u);
  EXPECT_EQ(desktop.messages[0].caption, "Information");
  EXPECT_EQ(desktop.messages[0].text, QString::fromUtf8(GetParam().text));
}

// The simulated camera: driver 1.05, firmware 1.05, hardware 2.01 of type
// 5a, software 2.03.
INSTANTIATE_TEST_SUITE_P(
    Languages, UsbParamVersionButton,
    ::testing::Values(
        VersionButtonCase{9,
                          "Driver ver 1.05\t\nType Code 1.05\t\nHardware ver 2.01\t\n Hardware type 5a\t\n"
                          " Software ver 2.03\t\n"},
        VersionButtonCase{2,
                          " 驱动版本号 1.05\t\n固件版本号 1.05\t\n 硬件版本号 2.01\t\n 硬件类型 5a\t\n"
                          " 软件版本号 2.03\t\n"}));

TEST_F(UsbParamTest, VersionOfALostCameraShowsTheErrorNotZeros) {
  start();
  sim.control("vanish 103");
  page()->control<QPushButton>(kVersionButton)->click();
  ASSERT_EQ(desktop.messages.size(), 1u);
  EXPECT_EQ(desktop.messages[0].caption, "Vistrel");
  EXPECT_EQ(desktop.messages[0].text, "can not read camera info, please check it");
}

struct LabelCase {
  int32_t language;
  const char* firstItem;
  const char* trig;
  const char* button;
  QStringList groups;
  QStringList shownLabels;
};

class UsbParamLanguage : public UsbParamTest, public ::testing::WithParamInterface<LabelCase> {};

TEST_P(UsbParamLanguage, Labels) {
  start("219660", GetParam().language);
  EXPECT_EQ(exposure()->itemText(0), QString::fromUtf8(GetParam().firstItem));
  // The unit beside the list is microseconds in both languages, so both
  // lists name each row's value in microseconds.
  const QStringList microseconds = {"10",    "20",     "100",     "200",     "1000",    "2000",
                                    "10000", "16667",  "20000",   "33333",   "40000",   "50000",
                                    "66667", "100000", "1000000", "2000000", "5000000", "10000000"};
  QStringList items;
  for (int i = 0; i < exposure()->count(); ++i) items << exposure()->itemText(i);
  EXPECT_EQ(items, microseconds);
  EXPECT_EQ(trigger()->text(), QString::fromUtf8(GetParam().trig));
  EXPECT_EQ(page()->control<QPushButton>(kVersionButton)->text(), QString::fromUtf8(GetParam().button));
  QStringList groups, labels;
  for (const QGroupBox* g : page()->findChildren<QGroupBox*>()) groups << g->title();
  // The exposure-line caption exists hidden; only the shown captions count.
  for (const QLabel* l : page()->findChildren<QLabel*>())
    if (!l->isHidden()) labels << l->text();
  QStringList groupsWanted = GetParam().groups, labelsWanted = GetParam().shownLabels;
  for (QStringList* list : {&groups, &labels, &groupsWanted, &labelsWanted}) list->sort();
  EXPECT_EQ(groups, groupsWanted);
  EXPECT_EQ(labels, labelsWanted);
}

INSTANTIATE_TEST_SUITE_P(Languages, UsbParamLanguage,
                         ::testing::Values(LabelCase{9,
                                                     "10",
                                                     "Trig",
                                                     "Version",
                                                     {"Working Parameter", "Version Info"},
                                                     {"Exposetime", "us", "Workmode"}},
                                           LabelCase{
                                               2,
                                               "10",
                                               "外触发",
                                               "版本",
                                               {QString::fromUtf8("系统参数"), QString::fromUtf8("版本信息")},
                                               {QString::fromUtf8("曝光时间"), QString::fromUtf8("微秒"),
                                                QString::fromUtf8("工作模式")}}));

}  // namespace
