// option_dialog_test.cpp - the serial option dialog: boxes, defaults, typed texts and the length limit.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "app/camera_state.h"
#include "comm/dlg_option.h"
#include "common/fake_desktop.h"
#include "common/sim_camera.h"

using enum CDlgOption::CtlId;

namespace {

QStringList items(QComboBox* box) {
  QStringList out;
  for (int i = 0; i < box->count(); ++i) out << box->itemText(i);
  return out;
}

class OptionDialogTest : public ::testing::Test {
 protected:
  void SetUp() override { cameraState().reset(); }
  QComboBox* box(int id) const { return dialog.control<QComboBox>(id); }
  void clickOk() { QTest::mouseClick(dialog.control<QPushButton>(1), Qt::LeftButton); }

  FakeDesktop desktop;
  CDlgOption dialog;
};

TEST_F(OptionDialogTest, BoxesHoldTheirChoicesAndShowTheDefaults) {
  EXPECT_EQ(dialog.windowTitle(), "Select a serial device");
  EXPECT_EQ(items(box(kChannelList)), QStringList({"0", "1"}));
  EXPECT_EQ(items(box(kBaudRateList)),
            QStringList({"600", "1200", "1800", "2400", "3600", "4800", "7200", "9600", "14400", "19200",
                         "28800", "38400", "57600", "76200"}));
  EXPECT_EQ(items(box(kDataBitsList)), QStringList({"8", "9"}));
  EXPECT_EQ(items(box(kStopBitsList)), QStringList({"1", "1.5", "2"}));
  EXPECT_EQ(items(box(kParityList)), QStringList({"None", "Odd", "Even"}));
  for (int id : {kChannelList, kBaudRateList, kDataBitsList, kStopBitsList, kParityList})
    EXPECT_TRUE(box(id)->isEditable()) << id;
  EXPECT_EQ(box(kChannelList)->currentText(), "0");
  EXPECT_EQ(box(kBaudRateList)->currentText(), "9600");
  EXPECT_EQ(box(kDataBitsList)->currentText(), "8");
  EXPECT_EQ(box(kStopBitsList)->currentText(), "1");
  EXPECT_EQ(box(kParityList)->currentText(), "None");
  EXPECT_EQ(dialog.control<QPushButton>(1)->text(), "OK");
}

TEST_F(OptionDialogTest, OkWithoutChangesGivesTheDefaultSettingsString) {
  clickOk();
  EXPECT_EQ(dialog.result(), QDialog::Accepted);
  EXPECT_EQ(dialog.settings(), "channel=0,baudrate=9600,databits=8,stopbits=1,parity=None");
  EXPECT_TRUE(desktop.messages.empty());
}

TEST_F(OptionDialogTest, PickedAndTypedTextsAreTakenAsShown) {
  box(kChannelList)->setCurrentIndex(1);
  box(kStopBitsList)->setCurrentIndex(1);
  box(kParityList)->setCurrentIndex(1);
  // A rate the list does not offer, typed into the box.
  box(kBaudRateList)->lineEdit()->clear();
  QTest::keyClicks(box(kBaudRateList)->lineEdit(), "115200");
  box(kDataBitsList)->setEditText("7");
  clickOk();
  EXPECT_EQ(dialog.result(), QDialog::Accepted);
  EXPECT_EQ(dialog.settings(), "channel=1,baudrate=115200,databits=7,stopbits=1.5,parity=Odd");
  // Typed values do not join the lists.
  EXPECT_EQ(box(kBaudRateList)->count(), 14);
}

struct TypedCase {
  int box;
  const char* typed;
};

class OptionDialogTyping : public OptionDialogTest, public ::testing::WithParamInterface<TypedCase> {};

TEST_P(OptionDialogTyping, TheBoxKeepsWhatWasTypedNotTheEntryItBeginsLike) {
  const TypedCase& c = GetParam();
  dialog.show();
  QLineEdit* edit = box(c.box)->lineEdit();
  edit->setFocus();
  edit->selectAll();
  QTest::keyClicks(edit, QString::fromLatin1(c.typed));
  EXPECT_EQ(box(c.box)->currentText(), QString::fromLatin1(c.typed));
  clickOk();
  ASSERT_EQ(dialog.result(), QDialog::Accepted);
  const std::string settings = dialog.settings();
  const std::string field = c.box == 1007   ? "channel="
                            : c.box == 1006 ? "baudrate="
                            : c.box == 1008 ? "databits="
                            : c.box == 1010 ? "stopbits="
                                            : "parity=";
  const size_t at = settings.find(field);
  ASSERT_NE(at, std::string::npos);
  const size_t end = settings.find(',', at);
  EXPECT_EQ(settings.substr(at + field.size(), end == std::string::npos ? end : end - at - field.size()),
            c.typed);
}

INSTANTIATE_TEST_SUITE_P(Boxes, OptionDialogTyping,
                         ::testing::Values(TypedCase{kBaudRateList, "96"}, TypedCase{kBaudRateList, "1"},
                                           TypedCase{kParityList, "E"}, TypedCase{kParityList, "O"},
                                           TypedCase{kStopBitsList, "1."}, TypedCase{kDataBitsList, "9"}));

TEST_F(OptionDialogTest, CancelLeavesTheSettingsUntouched) {
  dialog.show();
  QTest::keyClick(&dialog, Qt::Key_Escape);
  EXPECT_EQ(dialog.result(), QDialog::Rejected);
  EXPECT_TRUE(dialog.settings().empty());
}

// The fixed part "channel=,baudrate=,databits=,stopbits=,parity=" takes 46
// characters; with the other defaults (11 characters, 4 of them the rate) a
// baud-rate text of 146 characters makes exactly 199.
struct LengthCase {
  int baudLength;
  bool accepted;
};

class OptionLength : public OptionDialogTest, public ::testing::WithParamInterface<LengthCase> {};

TEST_P(OptionLength, OverLongTypedTextsAreRefusedWithAMessage) {
  box(kBaudRateList)->setEditText(QString(GetParam().baudLength, '9'));
  clickOk();
  if (GetParam().accepted) {
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_LE(dialog.settings().size(), 199u);
    EXPECT_EQ(dialog.settings().size(), static_cast<size_t>(53 + GetParam().baudLength));
    EXPECT_TRUE(desktop.messages.empty());
  } else {
    // The dialog stays open with the text as typed, nothing is handed out.
    EXPECT_NE(dialog.result(), QDialog::Accepted);
    EXPECT_TRUE(dialog.settings().empty());
    ASSERT_EQ(desktop.messages.size(), 1u);
    EXPECT_TRUE(desktop.messages[0].text.contains("199"));
    EXPECT_EQ(box(kBaudRateList)->currentText().size(), GetParam().baudLength);
  }
}

INSTANTIATE_TEST_SUITE_P(Limits, OptionLength,
                         ::testing::Values(LengthCase{146, true}, LengthCase{147, false},
                                           LengthCase{1000, false}));

TEST_F(OptionDialogTest, LengthCountsBytesOfNonAsciiText) {
  // 100 two-byte characters are 200 bytes: more than the caller's buffer.
  box(kParityList)->setEditText(QString(100, QChar(0x00E9)));
  clickOk();
  EXPECT_NE(dialog.result(), QDialog::Accepted);
  EXPECT_EQ(desktop.messages.size(), 1u);
}

TEST_F(OptionDialogTest, RefusalMessageInChinese) {
  cameraState().language = 2;
  box(kParityList)->setEditText(QString(300, 'x'));
  clickOk();
  ASSERT_EQ(desktop.messages.size(), 1u);
  EXPECT_EQ(desktop.messages[0].text, QString::fromUtf8("串口设置过长（最多199个字符）。"));
  // After shortening the text the same dialog accepts.
  desktop.clear();
  box(kParityList)->setEditText("Even");
  clickOk();
  EXPECT_EQ(dialog.result(), QDialog::Accepted);
  EXPECT_EQ(dialog.settings(), "channel=0,baudrate=9600,databits=8,stopbits=1,parity=Even");
}

}  // namespace
