// session_test.cpp - tyxctl memorize, recall, defaults, save, load and net set-ip: the session's operations and waits.
#include <gtest/gtest.h>

#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>

#include "common/fake_desktop.h"
#include "in_process.h"

namespace {

class ToolSession : public ::testing::Test {
 protected:
  // Keeps every message box of the shared code off the screen between runs.
  FakeDesktop fake;
  SimCamera sim;
  QTemporaryDir dir;
};

TEST_F(ToolSession, MemoryOperationsRunWithTheMainWindowsWaits) {
  struct Case {
    const char* command;
    const char* call;
    std::vector<int> sleeps;
    int calls;
  };
  // Defaults write CameraParams and, on a camera with the second block, that one too.
  for (const Case& c : {Case{"memorize", "MemorizeParam", {1000}, 1}, Case{"recall", "RecallParam", {}, 1},
                        Case{"defaults", "SetConfigParam", {}, 2}}) {
    SCOPED_TRACE(c.command);
    const ToolRun run = runInProcess(sim, {c.command, "-p", "COM1"}, {}, {}, &fake);
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(run.out, QString("COM1 %1: done\n").arg(c.command));
    EXPECT_TRUE(run.err.isEmpty()) << run.err.toStdString();
    EXPECT_EQ(run.sleeps, c.sleeps);
    EXPECT_EQ(run.calls(c.call).size(), c.calls) << run.log.join('\n').toStdString();
    EXPECT_EQ(run.calls("CloseCamera").size(), 1);
  }
  // Factory settings are one block write in mode 2, then the record is read.
  const ToolRun defaults = runInProcess(sim, {"defaults", "-p", "COM1", "--json"}, {}, {}, &fake);
  EXPECT_TRUE(defaults.calls("SetConfigParam").value(0).contains("id=-2 value=block mode=2"));
  const QJsonObject o = QJsonDocument::fromJson(defaults.out.toUtf8()).object();
  EXPECT_EQ(o.keys(), QStringList({"operation", "port"}));
  EXPECT_EQ(o["operation"].toString(), "defaults");
}

TEST_F(ToolSession, ACameraThatVanishesDuringTheWaitIsReportedWithTheLibrarysMessage) {
  const ToolRun run = runInProcess(sim, {"memorize", "-p", "COM1"}, {}, [&](int) { sim.control("vanish 103"); }, &fake);
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(run.err, "tyxctl: can not read camera info, please check it\n");
  EXPECT_TRUE(run.out.isEmpty());
  EXPECT_TRUE(run.calls("MemorizeParam").value(0).endsWith("-> 0"));
}

TEST_F(ToolSession, ARefusedMemoryOperationIsExitOneInTheChosenLanguage) {
  const ToolRun run = runInProcess(sim, {"recall", "-p", "COM1", "--lang", "zh"}, "fail recall=106", {}, &fake);
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(run.err, QString::fromUtf8("tyxctl: 由于设备连接不正常，无法写入参数，仅改变界面设置。\n"));
}

TEST_F(ToolSession, ASavedFileLoadsIntoTheSameCameraTypeOnly) {
  const QString file = dir.filePath("line1.cam");
  const ToolRun save = runInProcess(sim, {"save", "-p", "COM1", file}, {}, {}, &fake);
  EXPECT_EQ(save.exitCode, 0) << save.err.toStdString();
  EXPECT_EQ(save.out, "COM1 save " + file + ": done\n");
  ASSERT_TRUE(QFile::exists(file));

  const ToolRun load = runInProcess(sim, {"load", "-p", "COM1", file, "--json"}, {}, {}, &fake);
  EXPECT_EQ(load.exitCode, 0) << load.err.toStdString();
  EXPECT_EQ(load.calls("LoadConfigFile").size(), 1);
  EXPECT_EQ(QJsonDocument::fromJson(load.out.toUtf8()).object()["file"].toString(), file);

  struct Case {
    const char* port;
    QString path;
    const char* message;
  };
  for (const Case& c : {Case{"COM2", file, "The product ID is inconsistent with the link device"},
                        Case{"COM1", dir.filePath("none.cam"), "can not open the config file"}}) {
    SCOPED_TRACE(c.message);
    const ToolRun refused = runInProcess(sim, {"load", "-p", c.port, c.path}, {}, {}, &fake);
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_EQ(refused.err, QString("tyxctl: %1\n").arg(c.message));
    EXPECT_TRUE(refused.out.isEmpty());
  }
}

TEST_F(ToolSession, SetIpChecksTheAddressBeforeTheCameraIsOpened) {
  const ToolRun good = runInProcess(sim, {"net", "set-ip", "-p", "NetPort2", "10.1.2.3"}, {}, {}, &fake);
  EXPECT_EQ(good.exitCode, 0) << good.err.toStdString();
  EXPECT_EQ(good.out, "NetPort2: 10.1.2.3\n");
  EXPECT_TRUE(good.calls("SetCameraIP").value(0).contains("10.1.2.3")) << good.log.join('\n').toStdString();

  for (const char* bad : {"10.1.2", "10.1.2.256", "0.0.0.0", "255.255.255.255", "a.b.c.d", "10.1.2.-3"}) {
    SCOPED_TRACE(bad);
    const ToolRun run = runInProcess(sim, {"net", "set-ip", "-p", "NetPort2", bad}, {}, {}, &fake);
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_TRUE(run.err.startsWith(QString("tyxctl: \"%1\" is not an IPv4 address").arg(bad))) << run.err.toStdString();
    EXPECT_TRUE(run.log.isEmpty()) << run.log.join('\n').toStdString();
  }
}

}  // namespace
