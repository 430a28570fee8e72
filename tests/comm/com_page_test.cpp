// com_page_test.cpp - the port page on its own: texts, icons, file buttons, files, scan, versions, IP.
#include <QFile>
#include <QListWidget>

#include "comm/dlg_net_camera.h"
#include "comm_fixture.h"

namespace {

QByteArray readAll(const QString& name) {
  QFile f(name);
  if (!f.open(QIODevice::ReadOnly)) return {};
  return f.readAll();
}

bool writeAll(const QString& name, const QByteArray& data) {
  QFile f(name);
  return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(data) == data.size();
}

// A scripted answer for the network camera list: pick a row and open it.
std::function<int(QDialog*)> pickRow(int row) {
  return [row](QDialog* d) {
    auto* list = d->findChild<QListWidget*>("1141");
    if (list == nullptr) return int(QDialog::Rejected);
    if (row >= 0) list->setCurrentRow(row);
    QTest::mouseClick(d->findChild<QPushButton*>("1049"), Qt::LeftButton);
    return d->result();
  };
}

struct LabelCase {
  int32_t language;
  std::vector<std::pair<int, const char*>> labels;
  const char* networkEntry;
};

class ComPageLabels : public ComPageTest, public ::testing::WithParamInterface<LabelCase> {};

TEST_P(ComPageLabels, LabelsPortListAndStartState) {
  open("COM1", GetParam().language);
  for (const auto& [id, text] : GetParam().labels) {
    QWidget* w = page->controlWidget(id);
    ASSERT_NE(w, nullptr) << id;
    const QString shown = w->property(qobject_cast<QGroupBox*>(w) != nullptr ? "title" : "text").toString();
    EXPECT_EQ(shown, QString::fromUtf8(text)) << id;
  }
  auto* list = ctl<QComboBox>(CDlgCom::kPortList);
  ASSERT_EQ(list->count(), 15);
  const char* fixed[] = {"COM1",      "COM2",      "COM3",      "COM4", "CamLink1", "CamLink2", "USB/232-1",
                         "USB/232-2", "USB/232-3", "USB/232-4", "USB1", "USB2",     "USB3",     "USB4"};
  for (int i = 0; i < 14; ++i) EXPECT_EQ(list->itemText(i), fixed[i]) << i;
  EXPECT_EQ(list->itemText(14), QString::fromUtf8(GetParam().networkEntry));
  EXPECT_EQ(list->currentText(), "COM1");
  for (int id : {CDlgCom::kScanNetButton, CDlgCom::kVersionButton, CDlgCom::kSetIpButton,
                 CDlgCom::kNetInfoGroup, CDlgCom::kIpEdit, CDlgCom::kIpLabel})
    EXPECT_FALSE(page->controlWidget(id)->isEnabled()) << id;
  EXPECT_TRUE(showsIcon(ctl<QLabel>(CDlgCom::kLinkPicture), 137));
}

INSTANTIATE_TEST_SUITE_P(Languages, ComPageLabels,
                         ::testing::Values(LabelCase{9,
                                                     {{1085, "Port"},
                                                      {1065, "Scan Net Camera"},
                                                      {1086, "Link Status"},
                                                      {1147, "Camera Info(for net camera only)"},
                                                      {1148, "IP"},
                                                      {1145, "Set IP"},
                                                      {1144, "Ver Info"},
                                                      {1087, "Save config File(not for USB camera)"},
                                                      {1001, "Save"},
                                                      {1049, "Load"}},
                                                     "NetPort (net camera)"},
                                           LabelCase{2,
                                                     {{1085, "选择端口"},
                                                      {1065, "搜索网络相机"},
                                                      {1086, "连接状态"},
                                                      {1147, "相机信息(千兆网相机有效)"},
                                                      {1148, "IP"},
                                                      {1145, "设置"},
                                                      {1144, "版本信息"},
                                                      {1087, "文件存储(USB相机无效)"},
                                                      {1001, "存储配置文件"},
                                                      {1049, "打开配置文件"}},
                                                     "NetPort (网络相机)"}));

TEST_F(ComPageTest, RefreshShowsLinkIconAndPortOfTheCameraState) {
  open("COM1");
  CameraState& s = cameraState();
  s.linkFlag = 0;
  s.setPortName("USB/232-2");
  page->repaint();
  EXPECT_TRUE(showsIcon(ctl<QLabel>(CDlgCom::kLinkPicture), 136));
  EXPECT_EQ(ctl<QComboBox>(CDlgCom::kPortList)->currentText(), "USB/232-2");
  EXPECT_EQ(page->portText(), "USB/232-2");
  s.linkFlag = 1;
  page->repaint();
  EXPECT_TRUE(showsIcon(ctl<QLabel>(CDlgCom::kLinkPicture), 137));
  // A refresh selects, it does not reconnect.
  EXPECT_TRUE(sim.calls("OpenCamera").empty());
  EXPECT_TRUE(sim.calls("CloseCamera").empty());
}

struct FileButtonCase {
  int32_t type;
  bool files;
};

class FileButtons : public ComPageTest, public ::testing::WithParamInterface<FileButtonCase> {};

TEST_P(FileButtons, SaveAndLoadFollowTheTypeOnEveryRepaint) {
  open("");
  cameraState().typeCode = GetParam().type;
  for (int round = 0; round < 2; ++round) {
    // Whatever state the buttons were left in, a repaint sets them again.
    ctl<QPushButton>(CDlgCom::kSaveButton)->setEnabled(!GetParam().files);
    ctl<QPushButton>(CDlgCom::kLoadButton)->setEnabled(!GetParam().files);
    page->repaint();
    EXPECT_EQ(ctl<QPushButton>(CDlgCom::kSaveButton)->isEnabled(), GetParam().files) << GetParam().type;
    EXPECT_EQ(ctl<QPushButton>(CDlgCom::kLoadButton)->isEnabled(), GetParam().files) << GetParam().type;
  }
}

INSTANTIATE_TEST_SUITE_P(Types, FileButtons,
                         ::testing::Values(FileButtonCase{110410, false}, FileButtonCase{117810, false},
                                           FileButtonCase{120770, false}, FileButtonCase{211150, false},
                                           FileButtonCase{211151, false}, FileButtonCase{213000, false},
                                           FileButtonCase{214850, false}, FileButtonCase{319660, false},
                                           FileButtonCase{320400, false}, FileButtonCase{321510, false},
                                           FileButtonCase{219660, true}, FileButtonCase{219290, true},
                                           FileButtonCase{0, true}));

TEST_F(ComPageTest, SaveWritesTheChosenFileThroughTheLibrary) {
  open("COM1");
  const QString file = path("saved.cam");
  desktop.fileNames.push_back(file);
  QTest::mouseClick(ctl<QPushButton>(CDlgCom::kSaveButton), Qt::LeftButton);
  const auto saves = sim.calls("SaveConfigFile");
  ASSERT_EQ(saves.size(), 1u);
  EXPECT_EQ(saves[0].args.at("path"), file.toStdString());
  EXPECT_EQ(saves[0].result, "1");
  EXPECT_TRUE(desktop.messages.empty());
  EXPECT_TRUE(readAll(file).startsWith("TYXCAM-CONFIG"));
  ASSERT_EQ(desktop.fileFilters.size(), 1u);
  EXPECT_EQ(desktop.fileFilters[0], "config file (*.cam);;All Files (*.*)");
}

TEST_F(ComPageTest, SaveAndLoadDialogsOpenWithTheConfigFilePattern) {
  open("COM1");
  QTest::mouseClick(ctl<QPushButton>(CDlgCom::kSaveButton), Qt::LeftButton);
  QTest::mouseClick(ctl<QPushButton>(CDlgCom::kLoadButton), Qt::LeftButton);
  const std::vector<QString> expected = {"*.cam", "*.cam"};
  EXPECT_EQ(desktop.fileInitialNames, expected);
  EXPECT_EQ(desktop.fileFilters.size(), 2u);
}

TEST_F(ComPageTest, SaveCancelledCallsNothing) {
  open("COM1");
  QTest::mouseClick(ctl<QPushButton>(CDlgCom::kSaveButton), Qt::LeftButton);
  QTest::mouseClick(ctl<QPushButton>(CDlgCom::kLoadButton), Qt::LeftButton);
  EXPECT_TRUE(sim.calls("SaveConfigFile").empty());
  EXPECT_TRUE(sim.calls("LoadConfigFile").empty());
  EXPECT_TRUE(desktop.messages.empty());
}

TEST_F(ComPageTest, FailedSaveShowsTheLibraryMessage) {
  open("COM1");
  sim.control("fail save=118");
  desktop.fileNames.push_back(path("x.cam"));
  QTest::mouseClick(ctl<QPushButton>(CDlgCom::kSaveButton), Qt::LeftButton);
  EXPECT_EQ(desktop.texts(), QStringList({"can not open the config file"}));
  EXPECT_EQ(desktop.messages[0].caption, "Vistrel");
}

TEST_F(ComPageTest, SaveChangeLoadRestoresTheSavedValues) {
  open("COM1");
  CameraState& s = cameraState();
  s.params.gain = 500;
  ASSERT_TRUE(s.applyParam(1, 500));
  const QString file = path("round.cam");
  desktop.fileNames.push_back(file);
  QTest::mouseClick(ctl<QPushButton>(CDlgCom::kSaveButton), Qt::LeftButton);

  s.params.gain = 100;
  ASSERT_TRUE(s.applyParam(1, 100));
  ASSERT_EQ(cameraGain(), 100);
  sim.clearLog();
  desktop.fileNames.push_back(file);
  QTest::mouseClick(ctl<QPushButton>(CDlgCom::kLoadButton), Qt::LeftButton);

  EXPECT_TRUE(desktop.messages.empty()) << desktop.texts().join("|").toStdString();
  EXPECT_EQ(cameraGain(), 500);
  EXPECT_EQ(s.params.gain, 500);  // the record was read back after the load
  const auto log = sim.log();
  ASSERT_GE(log.size(), 2u);
  EXPECT_EQ(log[0].name, "LoadConfigFile");
  EXPECT_EQ(log[1].name, "GetConfigParam");
  EXPECT_EQ(log[1].value("id"), -1);
  EXPECT_EQ(desktop.waitCursorDepth, 0);
  EXPECT_GE(desktop.waitCursorShown, 1);
}

struct LoadErrorCase {
  const char* name;
  int32_t code;
  const char* english;
  const char* chinese;
};

class LoadErrors : public ComPageTest, public ::testing::WithParamInterface<LoadErrorCase> {
 protected:
  // Prepares the situation that makes the library answer the case's code
  // and returns the file to load.
  QString prepare(int32_t code) {
    if (code == 103) {
      open("");  // no camera: the library is not even loaded
      cameraState().typeCode = 219290;
      cameraState().linkFlag = 1;
      page->repaint();  // the page shows the camera as linked
      return path("any.cam");
    }
    if (code == 116) {
      // A file that another camera (COM2, type 210781) saved.
      int32_t type = -2;
      void* other = CameraLibrary::instance().openCamera(&type, "COM2");
      EXPECT_NE(other, nullptr);
      EXPECT_EQ(CameraLibrary::instance().saveConfigFile(other, path("other.cam").toUtf8().constData()), 1);
      CameraLibrary::instance().closeCamera(other);
    }
    open("COM1");
    if (code == 118) return path("missing.cam");
    if (code == 114) {
      EXPECT_TRUE(writeAll(path("tag.cam"), "NOT-A-CONFIG 1\nproduct 219290\n"));
      return path("tag.cam");
    }
    return path("other.cam");
  }
};

TEST_P(LoadErrors, EachShowsItsMessage) {
  for (int32_t language : {9, 2}) {
    sim.reset();
    const QString file = prepare(GetParam().code);
    cameraState().language = language;
    const CameraParams before = cameraState().params;
    desktop.fileNames.push_back(file);
    page->loadConfigFile();
    ASSERT_EQ(desktop.messages.size(), 1u) << GetParam().name;
    EXPECT_EQ(desktop.messages[0].text,
              QString::fromUtf8(language == 2 ? GetParam().chinese : GetParam().english));
    EXPECT_EQ(desktop.messages[0].caption, "Vistrel");
    EXPECT_EQ(desktop.waitCursorDepth, 0);
    // A refused file changes nothing, and only a missing library means the
    // camera is gone.
    EXPECT_EQ(std::memcmp(&before, &cameraState().params, sizeof before), 0);
    EXPECT_EQ(cameraState().typeCode, GetParam().code == 103 ? 0 : 219290);
    EXPECT_EQ(cameraState().linkFlag, GetParam().code == 103 ? 0 : 1);
    // The link icon follows the link flag at once, not at the next tab switch.
    EXPECT_TRUE(showsIcon(ctl<QLabel>(CDlgCom::kLinkPicture), GetParam().code == 103 ? 136 : 137))
        << GetParam().name;
    if (GetParam().code != 103) {
      const auto loads = sim.calls("LoadConfigFile");
      ASSERT_EQ(loads.size(), 1u);
      EXPECT_EQ(loads[0].result, "0");
      EXPECT_TRUE(sim.calls("GetConfigParam").empty());
    }
    TearDown();
  }
}

INSTANTIATE_TEST_SUITE_P(
    Codes, LoadErrors,
    ::testing::Values(LoadErrorCase{"tag", 114, "the tag of Config File is incorrect", "配置文件标识错误"},
                      LoadErrorCase{"product", 116, "The product ID is inconsistent with the link device",
                                    "配置文件的产品型号与连接设备不一致"},
                      LoadErrorCase{"missing", 118, "can not open the config file", "配置文件打开失败"},
                      LoadErrorCase{"unloaded", 103, "can not read camera info, please check it",
                                    "无法读取设备信息，请检查设备连接是否正常"}),
    [](const auto& info) { return std::string(info.param.name); });

struct DamageCase {
  const char* name;
  QByteArray (*damage)(const QByteArray& good);
};

class DamagedFiles : public ComPageTest, public ::testing::WithParamInterface<DamageCase> {};

TEST_P(DamagedFiles, AreRefusedAndChangeNothing) {
  open("COM1");
  const QString good = path("good.cam");
  ASSERT_EQ(CameraLibrary::instance().saveConfigFile(cameraState().handle, good.toUtf8().constData()), 1);
  const QByteArray content = readAll(good);
  ASSERT_FALSE(content.isEmpty());
  const QString bad = path("bad.cam");
  ASSERT_TRUE(writeAll(bad, GetParam().damage(content)));
  // The camera moves on after the save, so a wrongly accepted file would show.
  ASSERT_TRUE(cameraState().applyParam(1, 123));
  cameraState().params.gain = 123;
  sim.clearLog();
  desktop.fileNames.push_back(bad);
  QTest::mouseClick(ctl<QPushButton>(CDlgCom::kLoadButton), Qt::LeftButton);
  const auto loads = sim.calls("LoadConfigFile");
  ASSERT_EQ(loads.size(), 1u);
  EXPECT_EQ(loads[0].result, "0");
  EXPECT_EQ(desktop.texts(), QStringList({"the tag of Config File is incorrect"}));
  EXPECT_EQ(cameraGain(), 123);
  EXPECT_EQ(cameraState().params.gain, 123);
  EXPECT_EQ(cameraState().linkFlag, 1);
}

INSTANTIATE_TEST_SUITE_P(
    Damage, DamagedFiles,
    ::testing::Values(
        DamageCase{"truncated", [](const QByteArray& g) { return g.left(g.size() / 2); }},
        DamageCase{
            "wrongTag",
            [](const QByteArray& g) { return QByteArray(g).replace("TYXCAM-CONFIG 1", "TYXCAM-CONFIG 7"); }},
        DamageCase{
            "hugeCount",
            [](const QByteArray& g) { return QByteArray(g).replace("camera 42 ", "camera 2147483647 "); }},
        DamageCase{"hugeValue",
                   [](const QByteArray& g) {
                     return QByteArray(g).replace("camera 42 168 ", "camera 42 99999999999999 ");
                   }},
        DamageCase{"oversized", [](const QByteArray& g) { return g + QByteArray(70 * 1024, '0'); }},
        DamageCase{"empty", [](const QByteArray&) { return QByteArray(); }}),
    [](const auto& info) { return std::string(info.param.name); });

// The network functions: the entry enables them, a scan opens the chosen camera.
class ComNetworkTest : public ComPageTest {
 protected:
  void scan(int row) {
    desktop.dialogs.push_back(pickRow(row));
    QTest::mouseClick(ctl<QPushButton>(CDlgCom::kScanNetButton), Qt::LeftButton);
  }
};

TEST_F(ComNetworkTest, ScanChoosingTheThirdEntryOpensNetPort3) {
  open("COM1");
  choosePort(ctl<QComboBox>(CDlgCom::kPortList), CDlgCom::kNetworkPosition);
  ASSERT_TRUE(ctl<QPushButton>(CDlgCom::kScanNetButton)->isEnabled());
  sim.clearLog();
  desktop.clear();
  scan(2);
  CameraState& s = cameraState();
  EXPECT_EQ(desktop.lastDialogClass, "CDlgNetCamera");
  const auto opens = sim.calls("OpenCamera");
  ASSERT_EQ(opens.size(), 1u);
  EXPECT_EQ(opens[0].args.at("port"), "NetPort3");
  EXPECT_EQ(opens[0].value("type"), -1);
  EXPECT_EQ(opens[0].result, "1");
  EXPECT_NE(s.handle, nullptr);
  EXPECT_EQ(s.typeCode, 218920);
  EXPECT_EQ(s.linkFlag, 1);
  EXPECT_NE(s.modelText, "ERR ID");
  EXPECT_TRUE(showsIcon(ctl<QLabel>(CDlgCom::kLinkPicture), 137));
  // The camera's address, as the scan reported it, is in the IP box.
  EXPECT_EQ(ctl<QLineEdit>(CDlgCom::kIpEdit)->text(), netrecords::dotted(s.netArea[2].ip1));
  EXPECT_FALSE(ctl<QLineEdit>(CDlgCom::kIpEdit)->text().isEmpty());
  // Scan first, then open, wait, ask for the address, read the record.
  std::vector<std::string> names;
  for (const auto& c : sim.log()) names.push_back(c.name);
  const std::vector<std::string> head(names.begin(), names.begin() + 5);
  EXPECT_EQ(head, (std::vector<std::string>{"ScanDevice", "OpenCamera", "GetNetCameraIP", "GetConfigParam",
                                            "GetTypeCode"}));
  ASSERT_EQ(desktop.sleeps.size(), 1u);
  EXPECT_EQ(desktop.sleeps[0].ms, 1000);
  EXPECT_EQ(desktop.waitCursorDepth, 0);
  // The port the network entry left stays: Reopen takes the network way.
  EXPECT_EQ(s.port().left(7), "NetPort");
}

TEST_F(ComNetworkTest, ScanFromALineScanCameraGivesSaveAndLoadBack) {
  open("CamLink1");
  page->repaint();
  ASSERT_FALSE(ctl<QPushButton>(CDlgCom::kSaveButton)->isEnabled());
  choosePort(ctl<QComboBox>(CDlgCom::kPortList), CDlgCom::kNetworkPosition);
  scan(0);
  ASSERT_EQ(cameraState().typeCode, 321880);
  EXPECT_TRUE(ctl<QPushButton>(CDlgCom::kSaveButton)->isEnabled());
  EXPECT_TRUE(ctl<QPushButton>(CDlgCom::kLoadButton)->isEnabled());
  EXPECT_EQ(ctl<QComboBox>(CDlgCom::kPortList)->currentIndex(), CDlgCom::kNetworkPosition);
}

TEST_F(ComNetworkTest, ASecondScanClosesTheCameraOfTheFirst) {
  open("");
  choosePort(ctl<QComboBox>(CDlgCom::kPortList), CDlgCom::kNetworkPosition);
  scan(0);
  ASSERT_NE(cameraState().handle, nullptr);
  sim.clearLog();
  scan(1);
  const auto log = sim.log();
  std::vector<std::string> names;
  for (const auto& c : log) names.push_back(c.name);
  const auto close = std::find(names.begin(), names.end(), "CloseCamera");
  const auto open = std::find(names.begin(), names.end(), "OpenCamera");
  ASSERT_NE(close, names.end());
  EXPECT_LT(close - names.begin(), open - names.begin());
  EXPECT_EQ(sim.calls("OpenCamera")[0].args.at("port"), "NetPort2");
  EXPECT_EQ(cameraState().typeCode, 321140);
}

TEST_F(ComNetworkTest, CancelledScanLeavesTheCameraAsItWas) {
  open("");
  choosePort(ctl<QComboBox>(CDlgCom::kPortList), CDlgCom::kNetworkPosition);
  scan(1);
  void* before = cameraState().handle;
  ASSERT_NE(before, nullptr);
  sim.clearLog();
  desktop.clear();
  desktop.dialogs.push_back(nullptr);  // closed with its close button
  QTest::mouseClick(ctl<QPushButton>(CDlgCom::kScanNetButton), Qt::LeftButton);
  EXPECT_EQ(desktop.lastDialogClass, "CDlgNetCamera");
  EXPECT_EQ(sim.calls("ScanDevice").size(), 1u);
  EXPECT_TRUE(sim.calls("OpenCamera").empty());
  EXPECT_TRUE(sim.calls("CloseCamera").empty());
  EXPECT_EQ(cameraState().handle, before);
  EXPECT_EQ(cameraState().typeCode, 321140);
  EXPECT_EQ(desktop.waitCursorDepth, 0);
}

TEST_F(ComNetworkTest, ScanWithoutNetworkCamerasFailsVisibly) {
  sim.control("clear;camera COM1=219290");
  open("");
  choosePort(ctl<QComboBox>(CDlgCom::kPortList), CDlgCom::kNetworkPosition);
  desktop.clear();
  scan(-1);  // the empty list is opened: position 0
  EXPECT_EQ(cameraState().netPortChoice, 0);
  const auto opens = sim.calls("OpenCamera");
  ASSERT_EQ(opens.size(), 1u);
  EXPECT_EQ(opens[0].args.at("port"), "NetPort1");
  EXPECT_EQ(cameraState().handle, nullptr);
  EXPECT_EQ(cameraState().linkFlag, 0);
  EXPECT_EQ(cameraState().modelText, "ERR ID");
  EXPECT_TRUE(showsIcon(ctl<QLabel>(CDlgCom::kLinkPicture), 136));
  EXPECT_EQ(desktop.texts(), QStringList({"can not read camera info, please check it"}));
  EXPECT_TRUE(ctl<QLineEdit>(CDlgCom::kIpEdit)->text().isEmpty());
}

TEST_F(ComNetworkTest, AFailedNetworkOpenReportsWhyTheOpenFailed) {
  open("");
  choosePort(ctl<QComboBox>(CDlgCom::kPortList), CDlgCom::kNetworkPosition);
  sim.control("fail open=113");
  scan(1);
  EXPECT_EQ(cameraState().handle, nullptr);
  EXPECT_EQ(desktop.texts(), QStringList({"Can not open the specific camera."}));
  EXPECT_TRUE(ctl<QLineEdit>(CDlgCom::kIpEdit)->text().isEmpty());
}

struct VersionCase {
  int32_t language;
  const char* text;
};

class Versions : public ComNetworkTest, public ::testing::WithParamInterface<VersionCase> {};

TEST_P(Versions, ThreeLinesArmCoreFpga) {
  open("", GetParam().language);
  choosePort(ctl<QComboBox>(CDlgCom::kPortList), CDlgCom::kNetworkPosition);
  scan(0);
  sim.clearLog();
  desktop.clear();
  QTest::mouseClick(ctl<QPushButton>(CDlgCom::kVersionButton), Qt::LeftButton);
  ASSERT_EQ(desktop.messages.size(), 1u);
  EXPECT_EQ(desktop.messages[0].text, QString::fromUtf8(GetParam().text));
  EXPECT_EQ(desktop.messages[0].caption, "Ver Information");
  const auto items = sim.calls("GetNetCameraVer");
  ASSERT_EQ(items.size(), 3u);
  for (int i = 0; i < 3; ++i) EXPECT_EQ(items[static_cast<size_t>(i)].value("item"), i + 1);
}

// The simulated firmware: ARM 0x0203, core 0x0110, FPGA 0x0301.
INSTANTIATE_TEST_SUITE_P(Languages, Versions,
                         ::testing::Values(VersionCase{9, "arm ver 515\t\nCore Code 272\t\nfpga ver 769\t\n"},
                                           VersionCase{
                                               2, " arm版本号 515\t\nCore版本号 272\t\nfpga版本号 769\t\n"}));

TEST_F(ComNetworkTest, VersionsWithoutACameraShowUnknownItems) {
  open("");
  choosePort(ctl<QComboBox>(CDlgCom::kPortList), CDlgCom::kNetworkPosition);
  QTest::mouseClick(ctl<QPushButton>(CDlgCom::kVersionButton), Qt::LeftButton);
  EXPECT_EQ(desktop.texts(), QStringList({"arm ver -\t\nCore Code -\t\nfpga ver -\t\n"}));
}

TEST_F(ComNetworkTest, SetIpWritesTheTypedAddress) {
  open("");
  choosePort(ctl<QComboBox>(CDlgCom::kPortList), CDlgCom::kNetworkPosition);
  scan(0);
  sim.clearLog();
  desktop.clear();
  auto* edit = ctl<QLineEdit>(CDlgCom::kIpEdit);
  edit->clear();
  QTest::keyClicks(edit, "192.168.7.77");
  QTest::mouseClick(ctl<QPushButton>(CDlgCom::kSetIpButton), Qt::LeftButton);
  const auto sets = sim.calls("SetCameraIP");
  ASSERT_EQ(sets.size(), 1u);
  EXPECT_EQ(sets[0].args.at("ip"), "192.168.7.77");
  EXPECT_EQ(sets[0].value("flag"), 1);
  EXPECT_EQ(sets[0].args.at("port"), "NetPort1");
  EXPECT_TRUE(desktop.messages.empty());
  EXPECT_EQ(edit->text(), "192.168.7.77");
  char address[20] = {};
  ASSERT_EQ(CameraLibrary::instance().getNetCameraIP(cameraState().handle, address, 0), 1);
  EXPECT_STREQ(address, "192.168.7.77");
}

TEST_F(ComNetworkTest, SetIpFailureShowsTheMessageAndClearsTheText) {
  open("");
  choosePort(ctl<QComboBox>(CDlgCom::kPortList), CDlgCom::kNetworkPosition);
  scan(0);
  for (const char* bad : {"300.1.2.3", "10.0.0", "0.0.0.0", "not an address"}) {
    desktop.clear();
    auto* edit = ctl<QLineEdit>(CDlgCom::kIpEdit);
    edit->setText(QString::fromUtf8(bad));
    QTest::mouseClick(ctl<QPushButton>(CDlgCom::kSetIpButton), Qt::LeftButton);
    ASSERT_EQ(desktop.messages.size(), 1u) << bad;
    EXPECT_EQ(desktop.messages[0].text, "Set IP Error!");
    EXPECT_EQ(desktop.messages[0].caption, "Vistrel");
    EXPECT_TRUE(edit->text().isEmpty()) << bad;
    EXPECT_TRUE(page->ipText().isEmpty());
  }
}

TEST(ComOpenString, PortAloneOrWithSettingsNeverOverTheLimit) {
  EXPECT_EQ(CDlgCom::openString("COM3", ""), "COM3");
  EXPECT_EQ(CDlgCom::openString("CamLink1", "channel=1"), "CamLink1,channel=1");
  const std::string fits(255 - 9, 'x');
  EXPECT_EQ(CDlgCom::openString("CamLink1", fits).size(), 255u);
  // One more is refused rather than cut, so no camera opens with settings
  // other than those chosen.
  EXPECT_TRUE(CDlgCom::openString("CamLink1", fits + "x").empty());
}

}  // namespace
