// probe_test.cpp - tyxctl ports and net scan against the simulator's default cameras.
#include <gtest/gtest.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include "tool_run.h"

namespace {

class ToolProbe : public ::testing::Test {
 protected:
  QTemporaryDir dir;
};

QJsonObject jsonLine(const QString& line) {
  QJsonParseError error{};
  const QJsonDocument doc = QJsonDocument::fromJson(line.toUtf8(), &error);
  EXPECT_EQ(error.error, QJsonParseError::NoError) << line.toStdString();
  EXPECT_TRUE(doc.isObject()) << line.toStdString();
  return doc.object();
}

TEST_F(ToolProbe, PortsListsEveryAnsweringPortInListOrderThenTheNetworkCameras) {
  const ToolRun run = runTool(dir, {"ports"}, "driver 2.5");
  ASSERT_FALSE(run.crashed);
  EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
  const QStringList lines = run.outLines();
  const QStringList expectedPorts = {"COM1",  "COM2",  "COM3",     "COM4",     "CamLink1", "CamLink2", "USB/232-1",
                                     "USB1",  "USB2",  "NetPort1", "NetPort2", "NetPort3", "NetPort4"};
  ASSERT_EQ(lines.size(), expectedPorts.size()) << run.out.toStdString();
  for (int i = 0; i < lines.size(); ++i) EXPECT_TRUE(lines[i].startsWith(expectedPorts[i] + ": ")) << lines[i].toStdString();
  EXPECT_TRUE(lines[0].startsWith("COM1: type 219290, version 1, driver 2.05, model ")) << lines[0].toStdString();
  EXPECT_TRUE(lines[9].startsWith("NetPort1: type 321880, version 1, ")) << lines[9].toStdString();
  EXPECT_TRUE(run.err.isEmpty()) << run.err.toStdString();

  // Every fixed port is tried as the port page opens it, the network ports
  // after the scan as the network list opens them; each camera is closed.
  const QStringList opens = run.calls("OpenCamera");
  ASSERT_EQ(opens.size(), 14 + 4);
  for (int i = 0; i < 14; ++i) EXPECT_TRUE(opens[i].contains(" type=-2")) << opens[i].toStdString();
  for (int i = 14; i < 18; ++i) EXPECT_TRUE(opens[i].contains(" type=-1")) << opens[i].toStdString();
  EXPECT_EQ(run.calls("ScanDevice").size(), 1);
  EXPECT_EQ(run.calls("CloseCamera").size(), expectedPorts.size());
  EXPECT_FALSE(run.wroteAnything());
}

TEST_F(ToolProbe, PortsInJsonGivesOneObjectPerCameraWithStableKeys) {
  const ToolRun run = runTool(dir, {"ports", "--json", "-p", "COM3"}, "model COM3=PAL-4");
  EXPECT_EQ(run.exitCode, 0);
  ASSERT_EQ(run.outLines().size(), 1) << run.out.toStdString();
  const QJsonObject o = jsonLine(run.outLines()[0]);
  EXPECT_EQ(o.keys(), QStringList({"driver", "model", "port", "type", "version"}));
  EXPECT_EQ(o["port"].toString(), "COM3");
  EXPECT_EQ(o["type"].toInt(), 212630);
  EXPECT_EQ(o["version"].toInt(), 4);
  EXPECT_EQ(o["model"].toString(), "PAL-4");
  // Only the one port is tried.
  EXPECT_EQ(run.calls("OpenCamera").size(), 1);
  EXPECT_TRUE(run.calls("ScanDevice").isEmpty());
}

TEST_F(ToolProbe, AModelWithoutTextIsShownAsTheProgramShowsIt) {
  const ToolRun text = runTool(dir, {"ports", "-p", "COM2"}, "model COM2=-");
  EXPECT_TRUE(text.out.trimmed().endsWith("model ERR ID")) << text.out.toStdString();
  const ToolRun json = runTool(dir, {"ports", "-p", "COM2", "--json"}, "model COM2=-");
  EXPECT_TRUE(jsonLine(json.outLines().value(0))["model"].isNull());
}

TEST_F(ToolProbe, PortsInChineseByOptionOrByLocale) {
  const QString chinese = QString::fromUtf8("COM1：型号代码 219290，版本 1，驱动 1.10，型号 ");
  const ToolRun byOption = runTool(dir, {"ports", "-p", "COM1", "--lang", "zh"}, "driver 1.10");
  EXPECT_EQ(byOption.exitCode, 0);
  EXPECT_TRUE(byOption.out.startsWith(chinese)) << byOption.out.toStdString();
  const ToolRun byLocale = runTool(dir, {"ports", "-p", "COM1"}, "driver 1.10", {{"LANG", "zh_CN.UTF-8"}});
  EXPECT_TRUE(byLocale.out.startsWith(chinese)) << byLocale.out.toStdString();
  // The option wins over the locale.
  const ToolRun english = runTool(dir, {"ports", "-p", "COM1", "--lang", "en"}, "driver 1.10", {{"LANG", "zh_CN.UTF-8"}});
  EXPECT_TRUE(english.out.startsWith("COM1: type 219290")) << english.out.toStdString();
}

TEST_F(ToolProbe, NoCameraIsExitThreeWithTheReason) {
  struct Case {
    QStringList args;
    const char* sim;
    const char* message;
  };
  const Case cases[] = {
      {{"ports"}, "clear", "tyxctl: no camera answers on any port"},
      {{"ports", "-p", "COM2"}, "remove COM2", "tyxctl: no camera answers on COM2: "},
      {{"ports", "-p", "COM2", "--lang", "zh"}, "remove COM2", "tyxctl: 端口 COM2 无相机应答："},
      {{"info", "-p", "COM4"}, "remove COM4", "tyxctl: no camera answers on COM4: "},
      {{"net", "scan"}, "clear", "tyxctl: no network camera answers"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.args.join(' ').toStdString());
    const ToolRun run = runTool(dir, c.args, c.sim);
    ASSERT_FALSE(run.crashed);
    EXPECT_EQ(run.exitCode, 3);
    EXPECT_EQ(run.errLines().size(), 1) << run.err.toStdString();
    EXPECT_TRUE(run.err.startsWith(QString::fromUtf8(c.message))) << run.err.toStdString();
    EXPECT_TRUE(run.out.isEmpty());
    EXPECT_FALSE(run.wroteAnything());
  }
}

TEST_F(ToolProbe, NetScanPrintsTheNetworkListsLinesPerCamera) {
  const ToolRun text = runTool(dir, {"net", "scan"});
  EXPECT_EQ(text.exitCode, 0) << text.err.toStdString();
  const QStringList lines = text.outLines();
  ASSERT_EQ(lines.size(), 4 * 5) << text.out.toStdString();
  EXPECT_EQ(lines[0], "NetPort1:");
  EXPECT_TRUE(lines[2].startsWith("  Camera IP1: ")) << lines[2].toStdString();
  EXPECT_EQ(lines[15], "NetPort4:");

  const ToolRun json = runTool(dir, {"net", "scan", "--json"}, "remove NetPort4");
  ASSERT_EQ(json.outLines().size(), 3) << json.out.toStdString();
  for (int k = 0; k < 3; ++k) {
    const QJsonObject o = jsonLine(json.outLines()[k]);
    EXPECT_EQ(o.keys(), QStringList({"lines", "port", "position"}));
    EXPECT_EQ(o["position"].toInt(), k);
    EXPECT_EQ(o["port"].toString(), QString("NetPort%1").arg(k + 1));
    EXPECT_EQ(o["lines"].toArray().size(), 4);
  }
  EXPECT_TRUE(json.calls("OpenCamera").isEmpty()) << "a scan opens no camera";
}

}  // namespace
