// com_main_window_test.cpp - port changes in the running program: open strings, rebuilt tabs, buttons,
// network entry.
#include <QListWidget>

#include "comm/dlg_option.h"
#include "comm_fixture.h"

namespace {

const std::vector<int> kMainButtons = {1007, 1008, 1006, 1005, 1071, 1026, 1003};

TEST_F(ComMainWindowTest, CamLink1CancelledOpensWithThePortNameAlone) {
  start();
  desktop.dialogs.push_back(nullptr);  // Esc in "Select a serial device"
  choosePort(portList(), position("CamLink1"));
  EXPECT_EQ(desktop.lastDialogClass, "CDlgOption");
  const auto o = opens();
  ASSERT_EQ(o.size(), 1u);
  EXPECT_EQ(o[0].args.at("port"), "CamLink1");
  EXPECT_EQ(o[0].value("type"), -2);
  EXPECT_FALSE(o[0].has("channel")) << o[0].line;
  EXPECT_EQ(o[0].result, "1");
  EXPECT_EQ(cameraState().typeCode, 120770);
  EXPECT_EQ(cameraState().port(), "CamLink1");
}

TEST_F(ComMainWindowTest, CamLink2ConfirmedOpensWithTheDefaultSettings) {
  start();
  std::string settings;
  desktop.dialogs.push_back([&settings](QDialog* d) {
    auto* option = qobject_cast<CDlgOption*>(d);
    EXPECT_NE(option, nullptr);
    if (option == nullptr) return int(QDialog::Rejected);
    QTest::mouseClick(option->control<QPushButton>(1), Qt::LeftButton);
    settings = option->settings();
    return option->result();
  });
  choosePort(portList(), position("CamLink2"));
  EXPECT_EQ(settings, "channel=0,baudrate=9600,databits=8,stopbits=1,parity=None");
  const auto o = opens();
  ASSERT_EQ(o.size(), 1u);
  EXPECT_EQ(o[0].args.at("port"), "CamLink2");
  const std::map<std::string, std::string> expected = {
      {"channel", "0"}, {"baudrate", "9600"}, {"databits", "8"}, {"stopbits", "1"}, {"parity", "None"}};
  for (const auto& [key, value] : expected) {
    ASSERT_TRUE(o[0].has(key)) << key << " in " << o[0].line;
    EXPECT_EQ(o[0].args.at(key), value) << key;
  }
  EXPECT_EQ(o[0].result, "1");
  EXPECT_EQ(cameraState().typeCode, 117810);
}

TEST_F(ComMainWindowTest, CamLinkWithTypedSettingsPassesThemAsTyped) {
  start();
  desktop.dialogs.push_back([](QDialog* d) {
    auto* option = qobject_cast<CDlgOption*>(d);
    if (option == nullptr) return int(QDialog::Rejected);
    option->control<QComboBox>(CDlgOption::kChannelList)->setEditText("1");
    option->control<QComboBox>(CDlgOption::kBaudRateList)->setEditText("115200");
    option->control<QComboBox>(CDlgOption::kParityList)->setEditText("Even");
    QTest::mouseClick(option->control<QPushButton>(1), Qt::LeftButton);
    return option->result();
  });
  choosePort(portList(), position("CamLink1"));
  const auto o = opens();
  ASSERT_EQ(o.size(), 1u);
  EXPECT_EQ(o[0].args.at("channel"), "1");
  EXPECT_EQ(o[0].args.at("baudrate"), "115200");
  EXPECT_EQ(o[0].args.at("parity"), "Even");
}

TEST_F(ComMainWindowTest, LineScanBlockThatCannotBeReadIsReported) {
  start();
  sim.control("fail 100=122");
  desktop.dialogs.push_back(nullptr);
  choosePort(portList(), position("CamLink2"));
  // The camera is open; only its parameter block is missing.
  EXPECT_NE(cameraState().handle, nullptr);
  EXPECT_EQ(cameraState().linkFlag, 1);
  EXPECT_EQ(cameraState().typeCode, 117810);
  EXPECT_EQ(desktop.texts(), QStringList({"the input param is incorrect"}));
  const auto reads = sim.calls("GetConfigParam");
  ASSERT_EQ(reads.size(), 1u);
  EXPECT_EQ(reads[0].value("id"), 100);
}

TEST_F(ComMainWindowTest, Com3OpensWithoutADialogInTheOrderOfAReopen) {
  sim.control("camera COM3=212630/4");
  start();
  choosePort(portList(), position("COM3"));
  EXPECT_TRUE(desktop.lastDialogClass.isEmpty());
  const auto o = opens();
  ASSERT_EQ(o.size(), 1u);
  EXPECT_EQ(o[0].args.at("port"), "COM3");
  EXPECT_FALSE(o[0].has("channel"));
  // Close the old camera, open, tags, records (this camera has the second
  // block: id -1, then id 34), identity.
  std::vector<std::string> names;
  const std::vector<SimCamera::Call> log = sim.log();
  for (const auto& c : log) names.push_back(c.name);
  const std::vector<std::string> expected = {"CloseCamera", "OpenCamera",  "FunctionTag",    "FunctionTag",
                                             "FunctionTag", "FunctionTag", "FunctionTag",    "FunctionTag",
                                             "FunctionTag", "FunctionTag", "GetConfigParam", "GetConfigParam",
                                             "GetTypeCode", "GetVerCode"};
  ASSERT_GE(names.size(), expected.size());
  EXPECT_EQ(std::vector<std::string>(names.begin(), names.begin() + 14), expected);
  EXPECT_EQ(log[10].value("id"), -1);
  EXPECT_EQ(log[11].value("id"), 34);
  EXPECT_EQ(cameraState().extendedBlockTag, 1);
  CameraState& s = cameraState();
  EXPECT_EQ(s.typeCode, 212630);
  EXPECT_EQ(s.versionCode, 4);
  EXPECT_EQ(s.linkFlag, 1);
  EXPECT_EQ(s.lineCount, s.params.lineCount);
  EXPECT_EQ(modelLabel(), s.modelText);
  EXPECT_NE(modelLabel(), "ERR ID");
  EXPECT_TRUE(desktop.messages.empty());
  EXPECT_EQ(desktop.waitCursorDepth, 0);
  EXPECT_GE(desktop.waitCursorShown, 1);
}

TEST_F(ComMainWindowTest, APortWithoutACameraLeavesNoCamera) {
  start();
  choosePort(portList(), position("USB3"));
  CameraState& s = cameraState();
  EXPECT_EQ(s.handle, nullptr);
  EXPECT_EQ(s.linkFlag, 0);
  EXPECT_EQ(s.typeCode, 0);
  EXPECT_EQ(modelLabel(), "ERR ID");
  EXPECT_EQ(desktop.texts(), QStringList({"can not read camera info, please check it"}));
  EXPECT_TRUE(showsIcon(com->control<QLabel>(CDlgCom::kLinkPicture), 136));
  EXPECT_EQ(s.port(), "USB3");
}

TEST_F(ComMainWindowTest, NetworkEntryClosesTheCameraAndShowsUnknownModel) {
  start();
  ASSERT_NE(cameraState().handle, nullptr);
  choosePort(portList(), CDlgCom::kNetworkPosition);
  CameraState& s = cameraState();
  EXPECT_EQ(s.handle, nullptr);
  EXPECT_EQ(s.linkFlag, 0);
  EXPECT_EQ(sim.calls("CloseCamera").size(), 1u);
  EXPECT_TRUE(opens().empty());
  EXPECT_EQ(s.modelText, QString::fromUtf8("型号:未知"));
  EXPECT_EQ(modelLabel(), QString::fromUtf8("型号:未知"));
  EXPECT_TRUE(showsIcon(com->control<QLabel>(CDlgCom::kLinkPicture), 136));
  for (int id : {CDlgCom::kScanNetButton, CDlgCom::kVersionButton, CDlgCom::kSetIpButton,
                 CDlgCom::kNetInfoGroup, CDlgCom::kIpEdit, CDlgCom::kIpLabel})
    EXPECT_TRUE(com->controlWidget(id)->isEnabled()) << id;
  EXPECT_EQ(desktop.waitCursorDepth, 0);

  // Any other port takes the network controls away again.
  choosePort(portList(), position("COM2"));
  for (int id : {CDlgCom::kScanNetButton, CDlgCom::kVersionButton, CDlgCom::kSetIpButton,
                 CDlgCom::kNetInfoGroup, CDlgCom::kIpEdit, CDlgCom::kIpLabel})
    EXPECT_FALSE(com->controlWidget(id)->isEnabled()) << id;
  EXPECT_EQ(cameraState().typeCode, 210781);
}

TEST_F(ComMainWindowTest, ReopenAfterTheNetworkEntryScansForNetworkCameras) {
  start();
  choosePort(portList(), CDlgCom::kNetworkPosition);
  sim.clearLog();
  desktop.dialogs.push_back([](QDialog* d) {
    auto* list = d->findChild<QListWidget*>("1141");
    if (list == nullptr) return int(QDialog::Rejected);
    list->setCurrentRow(1);
    QTest::mouseClick(d->findChild<QPushButton*>("1049"), Qt::LeftButton);
    return d->result();
  });
  window->reopenCamera();
  EXPECT_EQ(sim.calls("ScanDevice").size(), 1u);
  const auto o = opens();
  ASSERT_EQ(o.size(), 1u);
  EXPECT_EQ(o[0].args.at("port"), "NetPort2");
  EXPECT_EQ(o[0].value("type"), -1);
  EXPECT_EQ(cameraState().typeCode, 321140);
}

TEST_F(ComMainWindowTest, ScanInTheProgramSetsModelLabelAndButtons) {
  start();
  choosePort(portList(), CDlgCom::kNetworkPosition);
  desktop.dialogs.push_back([](QDialog* d) {
    auto* list = d->findChild<QListWidget*>("1141");
    if (list == nullptr) return int(QDialog::Rejected);
    list->setCurrentRow(2);
    QTest::mouseClick(d->findChild<QPushButton*>("1049"), Qt::LeftButton);
    return d->result();
  });
  QTest::mouseClick(com->control<QPushButton>(CDlgCom::kScanNetButton), Qt::LeftButton);
  EXPECT_EQ(opens().at(0).args.at("port"), "NetPort3");
  EXPECT_EQ(modelLabel(), cameraState().modelText);
  EXPECT_NE(modelLabel(), QString::fromUtf8("型号:未知"));
  // 218920 opened over the network has no gamma, bar or info window.
  for (int id : {1006, 1007, 1005}) EXPECT_FALSE(enabled(id)) << id;
  // A colour camera gets the colour page beside the tabs it had, once.
  const std::vector<QString> titles = shownTitles();
  const int colourTabs = int(std::count(titles.begin(), titles.end(), QString("Color")));
  EXPECT_EQ(colourTabs, 1);

  // Another scan onto a camera without those limits gives them back.
  desktop.dialogs.push_back([](QDialog* d) {
    QTest::mouseClick(d->findChild<QPushButton*>("1049"), Qt::LeftButton);  // row 0
    return d->result();
  });
  QTest::mouseClick(com->control<QPushButton>(CDlgCom::kScanNetButton), Qt::LeftButton);
  EXPECT_EQ(cameraState().typeCode, 321880);
  for (int id : {1006, 1007, 1005}) EXPECT_TRUE(enabled(id)) << id;
}

TEST_F(ComMainWindowTest, ScanRebuildsTheTabsForTheOpenedCamera) {
  start();
  choosePort(portList(), position("COM2"));
  const std::vector<QString> before = shownTitles();
  ASSERT_EQ(before, expectedTitles());
  choosePort(portList(), CDlgCom::kNetworkPosition);
  EXPECT_EQ(shownTitles(), before);  // the network entry rebuilds nothing
  auto pickThird = [](QDialog* d) {
    auto* list = d->findChild<QListWidget*>("1141");
    if (list == nullptr) return int(QDialog::Rejected);
    list->setCurrentRow(2);
    QTest::mouseClick(d->findChild<QPushButton*>("1049"), Qt::LeftButton);
    return d->result();
  };
  // The video page of the camera before goes; the colour page comes once,
  // however often the camera is scanned and opened.
  for (int scan = 0; scan < 2; ++scan) {
    desktop.dialogs.push_back(pickThird);
    QTest::mouseClick(com->control<QPushButton>(CDlgCom::kScanNetButton), Qt::LeftButton);
    ASSERT_EQ(cameraState().typeCode, 218920);
    EXPECT_EQ(shownTitles(), expectedTitles()) << "scan " << scan;
    const std::vector<QString> titles = shownTitles();
    EXPECT_EQ(std::count(titles.begin(), titles.end(), QString("Color")), 1) << "scan " << scan;
    EXPECT_EQ(std::count(titles.begin(), titles.end(), QString("video param")), 0) << "scan " << scan;
  }
}

// Every port of the simulator's default set: the tabs are those a reopen
// gives the new type, and the buttons follow the port page's rules.
struct PortCase {
  const char* port;
  int32_t type;
  std::vector<int> disabled;
};

class EveryPort : public ComMainWindowTest, public ::testing::WithParamInterface<PortCase> {};

TEST_P(EveryPort, RebuildsTabsAndButtonsForTheNewType) {
  start();
  const int at = position(GetParam().port);
  ASSERT_GE(at, 0) << GetParam().port;
  choosePort(portList(), at);
  CameraState& s = cameraState();
  EXPECT_EQ(s.typeCode, GetParam().type) << GetParam().port;
  EXPECT_EQ(s.port(), GetParam().port);
  EXPECT_EQ(s.linkFlag, GetParam().type != 0 ? 1 : 0);
  EXPECT_EQ(shownTitles(), expectedTitles()) << GetParam().port;
  ASSERT_GE(window->tabs()->pageCount(), 1);
  EXPECT_TRUE(window->tabs()->page(0)->isVisible());
  for (int id : kMainButtons) {
    const bool off =
        std::find(GetParam().disabled.begin(), GetParam().disabled.end(), id) != GetParam().disabled.end();
    EXPECT_EQ(enabled(id), !off) << "button " << id << " on " << GetParam().port;
  }
  const bool files = !CDlgCom::hasNoConfigFile(GetParam().type);
  EXPECT_EQ(com->controlWidget(CDlgCom::kSaveButton)->isEnabled(), files);
  EXPECT_EQ(com->controlWidget(CDlgCom::kLoadButton)->isEnabled(), files);
  EXPECT_EQ(modelLabel(), s.modelText);
  EXPECT_EQ(desktop.waitCursorDepth, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Ports, EveryPort,
    ::testing::Values(PortCase{"COM1", 219290, {}}, PortCase{"COM2", 210781, {}},
                      PortCase{"COM3", 212630, {}}, PortCase{"COM4", 215590, {1006}},
                      PortCase{"CamLink1", 120770, {1007, 1006, 1005, 1008}},
                      PortCase{"CamLink2", 117810, {1007, 1006, 1005, 1008}},
                      PortCase{"USB/232-1", 210780, {}}, PortCase{"USB/232-2", 0, {}},
                      PortCase{"USB/232-3", 0, {}}, PortCase{"USB/232-4", 0, {}},
                      // The USB camera with memory buttons off; Grab keeps its state.
                      PortCase{"USB1", 219660, {1007, 1006, 1005, 1071, 1026, 1003}},
                      // Not one of the seven: the port page gives bar, info and memory back.
                      PortCase{"USB2", 211150, {1006}}, PortCase{"USB3", 0, {}}, PortCase{"USB4", 0, {}}),
    [](const auto& info) {
      std::string name = info.param.port;
      name.erase(std::remove_if(name.begin(), name.end(), [](char c) { return !std::isalnum(c); }),
                 name.end());
      return name;
    });

TEST_F(ComMainWindowTest, FromALineScanCameraBackToAnAreaCamera) {
  start();
  choosePort(portList(), position("CamLink2"));
  ASSERT_FALSE(enabled(CTyxVistrelDlg::kGrabButton));
  // The rebuild titles the line-scan tabs in Chinese in both languages.
  EXPECT_EQ(shownTitles(), (std::vector<QString>{QString::fromUtf8("模式调节"), QString::fromUtf8("参数设置"),
                                                 "Color", "Port and File"}));
  choosePort(portList(), position("COM1"));
  EXPECT_EQ(cameraState().typeCode, 219290);
  EXPECT_EQ(shownTitles(), (std::vector<QString>{"Mode", "Param", "Color", "Port and File"}));
  for (int id : kMainButtons) EXPECT_TRUE(enabled(id)) << id;
}

TEST_F(ComMainWindowTest, ChineseTextsOnThePage) {
  start(2);
  EXPECT_EQ(com->control<QPushButton>(CDlgCom::kSaveButton)->text(), QString::fromUtf8("存储配置文件"));
  EXPECT_EQ(portList()->itemText(CDlgCom::kNetworkPosition), QString::fromUtf8("NetPort (网络相机)"));
  choosePort(portList(), position("USB4"));
  EXPECT_EQ(desktop.texts(), QStringList({QString::fromUtf8("无法读取设备信息，请检查设备连接是否正常")}));
}

}  // namespace
