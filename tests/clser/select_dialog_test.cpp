// select_dialog_test.cpp - the "Select a serial device" dialog of the dialog
// program clsertyx-select, driven through its real widgets.

#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QTest>

#include <array>
#include <optional>

#include "clser/dialog_answer.h"
#include "clser/select/serial_device_dialog.h"

namespace {

using clser::DialogSelection;
using clser::SerialDeviceDialog;

QStringList itemsOf(QComboBox* box) {
  QStringList items;
  for (int i = 0; i < box->count(); ++i) items << box->itemText(i);
  return items;
}

QComboBox* box(QDialog& d, int id) { return d.findChild<QComboBox*>(QStringLiteral("ctl%1").arg(id)); }

// Counts how often the dialog hands its texts over and keeps the last ones.
struct Applied {
  int times = 0;
  DialogSelection last;
  clser::ApplySelection fn() {
    return [this](const DialogSelection& s) {
      ++times;
      last = s;
    };
  }
};

TEST(SelectDialog, ShowsTextsListsAndDefaults) {
  Applied applied;
  SerialDeviceDialog d("TYX-CL6301 Camera Link", applied.fn());
  EXPECT_EQ(d.windowTitle(), "Select a serial device");
  EXPECT_TRUE(d.isModal());
  EXPECT_EQ(d.parent(), nullptr);
  QStringList groups;
  for (auto* g : d.findChildren<QGroupBox*>()) groups << g->title();
  EXPECT_EQ(groups, (QStringList{"Description", "Setting"}));
  EXPECT_EQ(d.findChild<QLabel*>("ctl1001")->text(), "Product: TYX-CL6301 Camera Link");
  EXPECT_EQ(d.findChild<QLabel*>("ctl1002")->text(), "System: 0");
  EXPECT_EQ(d.findChild<QPushButton*>("ctl1")->text(), "OK");
  QStringList labels;
  for (auto* l : d.findChildren<QLabel*>())
    if (l->objectName().isEmpty()) labels << l->text();
  EXPECT_EQ(labels, (QStringList{"Channel:", "Baud Rate:", "Data bits:", "Stop bits:", "Parity:"}));

  struct Expect {
    int id;
    QStringList items;
    QString shown;
  } expects[] = {
      {1007, {"0", "1"}, "0"},
      {1006,
       {"600", "1200", "1800", "2400", "3600", "4800", "7200", "9600", "14400", "19200", "28800", "38400",
        "57600", "76200"},
       "9600"},
      {1008, {"8", "9"}, "8"},
      {1010, {"1", "1.5", "2"}, "1"},
      {1009, {"None", "Odd", "Even"}, "None"},
  };
  for (const auto& e : expects) {
    QComboBox* b = box(d, e.id);
    ASSERT_NE(b, nullptr) << e.id;
    EXPECT_TRUE(b->isEditable()) << e.id;
    EXPECT_EQ(itemsOf(b), e.items) << e.id;
    EXPECT_EQ(b->currentText(), e.shown) << e.id;
  }
  d.findChild<QPushButton*>("ctl1")->click();
  EXPECT_EQ(d.result(), 1);
  EXPECT_EQ(applied.times, 1);
  EXPECT_EQ(applied.last, clser::shownDefaults());
}

TEST(SelectDialog, OkHandsOverTheTypedTexts) {
  Applied applied;
  SerialDeviceDialog d("", applied.fn());
  EXPECT_EQ(d.findChild<QLabel*>("ctl1001")->text(), "Product:");
  box(d, 1007)->setCurrentText("1");
  box(d, 1006)->setCurrentText("115200");
  box(d, 1008)->setCurrentText("9");
  box(d, 1010)->setCurrentText("1.5");
  box(d, 1009)->setCurrentText("Odd");
  d.findChild<QPushButton*>("ctl1")->click();
  EXPECT_EQ(applied.last, (DialogSelection{"1", "115200", "9", "1.5", "Odd"}));
}

class SelectDialogEnds : public ::testing::TestWithParam<std::pair<const char*, void (*)(QDialog&)>> {};

TEST_P(SelectDialogEnds, CancelAndCloseHandOverOnceWithResultOne) {
  Applied applied;
  SerialDeviceDialog d("board", applied.fn());
  box(d, 1006)->setCurrentText("19200");
  GetParam().second(d);
  EXPECT_EQ(d.result(), 1);
  EXPECT_EQ(applied.times, 1);
  EXPECT_EQ(applied.last.baudRate, "19200");
}

INSTANTIATE_TEST_SUITE_P(Ways, SelectDialogEnds,
                         ::testing::Values(std::make_pair(
                                               "Escape",
                                               +[](QDialog& d) { QTest::keyClick(&d, Qt::Key_Escape); }),
                                           std::make_pair(
                                               "CloseBox",
                                               +[](QDialog& d) {
                                                 d.show();  // only a shown window has a close box
                                                 d.close();
                                               }),
                                           std::make_pair(
                                               "RejectThenClose",
                                               +[](QDialog& d) {
                                                 d.reject();
                                                 d.close();
                                               })),
                         [](const auto& info) { return std::string(info.param.first); });

TEST(SelectDialog, LongBoardNameIsCutToNinetyCharacters) {
  SerialDeviceDialog d(std::string(115, 'N'), {});
  EXPECT_EQ(d.findChild<QLabel*>("ctl1001")->text(), QString("Product: ") + QString(81, 'N'));
}

TEST(SelectDialog, VeryLongTextsTravelCutAndStillReadBack) {
  Applied applied;
  SerialDeviceDialog d("board", applied.fn());
  box(d, 1009)->setCurrentText(QString("Odd") + QString(500, 'd'));
  box(d, 1006)->setCurrentText(QString(200, '9'));
  d.accept();
  const std::string answer = clser::encodeDialogAnswer(applied.last);
  EXPECT_LE(answer.size(), clser::kMaxDialogAnswer);
  const std::optional<DialogSelection> back = clser::decodeDialogAnswer(answer);
  ASSERT_TRUE(back.has_value());
  EXPECT_EQ(back->parity, "Odd" + std::string(87, 'd'));
  EXPECT_EQ(back->baudRate, std::string(90, '9'));
}

}  // namespace

int main(int argc, char** argv) {
  // No test may wait for a person: the platform on which windows are never shown.
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  QApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
