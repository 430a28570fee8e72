// net_camera_test.cpp - the network camera list: lines, addresses, count limits, open and close.
#include <gtest/gtest.h>

#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <cstring>

#include "app/camera_state.h"
#include "comm/dlg_net_camera.h"
#include "common/fake_desktop.h"

using enum CDlgNetCamera::CtlId;

namespace {

uint32_t stored(uint8_t a, uint8_t b, uint8_t c, uint8_t d) {
  const uint8_t bytes[4] = {a, b, c, d};
  uint32_t v = 0;
  std::memcpy(&v, bytes, sizeof v);
  return v;
}

QStringList lines(QListWidget* list) {
  QStringList out;
  for (int i = 0; i < list->count(); ++i) out << list->item(i)->text();
  return out;
}

class NetCameraTest : public ::testing::Test {
 protected:
  void SetUp() override {
    cameraState().reset();
    std::memset(area, 0, sizeof area);
    for (int i = 0; i < 4; ++i) {
      area[i].number1 = i + 1;
      area[i].number2 = 321880 + i;
      area[i].ip1 = stored(192, 168, 1, static_cast<uint8_t>(10 + i));
      area[i].ip2 = stored(10, 0, 0, 1);
      area[i].ip3 = 5000 + i;
    }
  }
  QListWidget* connections() const { return dialog.control<QListWidget>(kConnectionList); }
  QListWidget* addresses() const { return dialog.control<QListWidget>(kAddressList); }

  FakeDesktop desktop;
  NetDeviceRecord area[4];
  CDlgNetCamera dialog;
};

TEST_F(NetCameraTest, ControlsAndTexts) {
  EXPECT_EQ(dialog.windowTitle(), QString::fromUtf8("连接状态"));
  EXPECT_EQ(dialog.control<QPushButton>(kOpenButton)->text(), QString::fromUtf8("打开"));
  EXPECT_TRUE(dialog.control<QPushButton>(kOpenButton)->isDefault());
  EXPECT_EQ(dialog.control<QPushButton>(2)->text(), QString::fromUtf8("关闭"));
}

TEST_F(NetCameraTest, OneLinePerRecordWithBothNumbers) {
  dialog.setRecords(area, 3);
  EXPECT_EQ(lines(connections()), QStringList({"1: 321880 ", "2: 321881 ", "3: 321882 "}));
  EXPECT_EQ(addresses()->count(), 0);
}

TEST_F(NetCameraTest, LinesNeverExceedFiftyCharacters) {
  area[0].number1 = INT32_MIN;
  area[0].number2 = INT32_MIN;
  EXPECT_EQ(netrecords::connectionLine(area[0]), "-2147483648: -2147483648 ");
  EXPECT_LE(netrecords::connectionLine(area[0]).size(), 50);
}

struct CountCase {
  int32_t reported;
  int listed;
};

class NetCameraCount : public NetCameraTest, public ::testing::WithParamInterface<CountCase> {};

TEST_P(NetCameraCount, ReportedCountIsCutToTheFourRecordsOfTheArea) {
  // The records past the area must never be read: the area is exactly four.
  dialog.setRecords(area, GetParam().reported);
  EXPECT_EQ(dialog.recordCount(), GetParam().listed);
  EXPECT_EQ(connections()->count(), GetParam().listed);
}

INSTANTIATE_TEST_SUITE_P(Counts, NetCameraCount,
                         ::testing::Values(CountCase{0, 0}, CountCase{1, 1}, CountCase{4, 4}, CountCase{5, 4},
                                           CountCase{INT32_MAX, 4}, CountCase{-1, 0}));

TEST_F(NetCameraTest, SelectingALineShowsItsAddressesFirstByteFirst) {
  area[1].ip1 = stored(172, 16, 254, 3);
  area[1].ip2 = stored(255, 0, 1, 128);
  area[1].ip3 = -7;
  dialog.setRecords(area, 4);
  connections()->setCurrentRow(1);
  EXPECT_EQ(lines(addresses()),
            QStringList({"Camera IP1: 172.16.254.3", "Camera IP2: 255.0.1.128", "Camera IP3: -7"}));
  connections()->setCurrentRow(0);
  EXPECT_EQ(lines(addresses()),
            QStringList({"Camera IP1: 192.168.1.10", "Camera IP2: 10.0.0.1", "Camera IP3: 5000"}));
}

TEST_F(NetCameraTest, GivingNewRecordsEmptiesBothLists) {
  dialog.setRecords(area, 4);
  connections()->setCurrentRow(2);
  ASSERT_EQ(addresses()->count(), 3);
  dialog.setRecords(area, 1);
  EXPECT_EQ(connections()->count(), 1);
  EXPECT_EQ(addresses()->count(), 0);
}

TEST_F(NetCameraTest, OpenStoresTheSelectedPosition) {
  dialog.setRecords(area, 4);
  connections()->setCurrentRow(2);
  QTest::mouseClick(dialog.control<QPushButton>(kOpenButton), Qt::LeftButton);
  EXPECT_EQ(dialog.result(), QDialog::Accepted);
  EXPECT_EQ(cameraState().netPortChoice, 2);
}

TEST_F(NetCameraTest, OpenOnAnEmptyListStoresPositionZero) {
  cameraState().netPortChoice = 3;
  dialog.setRecords(area, 0);
  QTest::mouseClick(dialog.control<QPushButton>(kOpenButton), Qt::LeftButton);
  EXPECT_EQ(dialog.result(), QDialog::Accepted);
  EXPECT_EQ(cameraState().netPortChoice, 0);
}

TEST_F(NetCameraTest, DoubleClickOpensLikeTheButton) {
  dialog.setRecords(area, 4);
  dialog.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
  QListWidgetItem* item = connections()->item(3);
  const QPoint at = connections()->visualItemRect(item).center();
  QTest::mouseClick(connections()->viewport(), Qt::LeftButton, {}, at);
  QTest::mouseDClick(connections()->viewport(), Qt::LeftButton, {}, at);
  EXPECT_EQ(dialog.result(), QDialog::Accepted);
  EXPECT_EQ(cameraState().netPortChoice, 3);
}

TEST_F(NetCameraTest, CloseCancelsAndKeepsTheChoice) {
  cameraState().netPortChoice = 1;
  dialog.setRecords(area, 4);
  connections()->setCurrentRow(3);
  QTest::mouseClick(dialog.control<QPushButton>(2), Qt::LeftButton);
  EXPECT_EQ(dialog.result(), QDialog::Rejected);
  EXPECT_EQ(cameraState().netPortChoice, 1);
}

TEST_F(NetCameraTest, TheCoreHookShowsThisList) {
  // Reopen reaches the list through the hook: it must be this window, run
  // through the desktop seam so a test can answer it.
  desktop.dialogs.push_back([](QDialog* d) {
    auto* list = d->findChild<QListWidget*>("1141");
    EXPECT_NE(list, nullptr);
    if (list == nullptr) return int(QDialog::Rejected);
    EXPECT_EQ(list->count(), 2);
    list->setCurrentRow(1);
    QTest::mouseClick(d->findChild<QPushButton*>("1049"), Qt::LeftButton);
    return d->result();
  });
  EXPECT_TRUE(showNetCameraList(nullptr, area, nullptr, 2));
  EXPECT_EQ(desktop.lastDialogClass, "CDlgNetCamera");
  EXPECT_EQ(cameraState().netPortChoice, 1);
  EXPECT_FALSE(showNetCameraList(nullptr, area, nullptr, 2));  // no script: closed
}

}  // namespace
