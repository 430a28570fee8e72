// grab_test.cpp - tyxctl grab: USB frames through the image window's capture and writer.
#include <gtest/gtest.h>

#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>

#include "tool_run.h"

namespace {

class ToolGrab : public ::testing::Test {
 protected:
  QByteArray head(const QString& name, int bytes) {
    QFile f(dir.filePath(name));
    if (!f.open(QIODevice::ReadOnly)) return {};
    return f.read(bytes);
  }
  QTemporaryDir dir;
};

TEST_F(ToolGrab, OneFrameAtTheCamerasFullSizeAsABmpFile) {
  const ToolRun run = runTool(dir, {"grab", "-p", "USB1", "-o", "frame.bmp"});
  ASSERT_FALSE(run.crashed);
  EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
  EXPECT_EQ(run.out.trimmed(), "saved frame.bmp");
  EXPECT_EQ(head("frame.bmp", 2), QByteArray("BM"));
  const QStringList rects = run.calls("SetTargetRect");
  ASSERT_EQ(rects.size(), 1);
  EXPECT_TRUE(rects[0].contains("rect=0,0,2048,1536")) << rects[0].toStdString();
  const QStringList captures = run.calls("CaptureFrame");
  ASSERT_EQ(captures.size(), 1);
  EXPECT_TRUE(captures[0].contains("mode=1")) << captures[0].toStdString();
  EXPECT_EQ(run.calls("CloseCamera").size(), 1);
}

TEST_F(ToolGrab, SeveralFramesAreNumberedAndReportedInJson) {
  const ToolRun run = runTool(dir, {"grab", "-p", "NetPort3", "-o", "shot.png", "--count", "3", "--json"});
  EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
  ASSERT_EQ(run.outLines().size(), 3) << run.out.toStdString();
  for (int i = 1; i <= 3; ++i) {
    const QString name = QString("shot-%1.png").arg(i);
    EXPECT_EQ(head(name, 4), QByteArray("\x89PNG")) << name.toStdString();
    const QJsonObject o = QJsonDocument::fromJson(run.outLines()[i - 1].toUtf8()).object();
    EXPECT_EQ(o.keys(), QStringList({"bits", "file", "height", "port", "width"}));
    EXPECT_TRUE(o["file"].toString().endsWith("/" + name));
    EXPECT_EQ(o["bits"].toInt(), 24) << "the colour network camera sends 24-bit frames";
  }
  EXPECT_FALSE(QFile::exists(dir.filePath("shot.png")));
  EXPECT_EQ(run.calls("CaptureFrame").size(), 3);
}

TEST_F(ToolGrab, ACameraWithoutUsbImagesIsRefusedBeforeAnyCapture) {
  const ToolRun run = runTool(dir, {"grab", "-p", "COM1", "-o", "x.bmp"});
  EXPECT_EQ(run.exitCode, 2);
  EXPECT_EQ(run.err.trimmed(),
            "tyxctl: the camera on COM1 (type 219290) delivers no USB images; grab takes the USB image cameras");
  EXPECT_TRUE(run.calls("CaptureFrame").isEmpty());
  EXPECT_FALSE(QFile::exists(dir.filePath("x.bmp")));
}

TEST_F(ToolGrab, AFileThatCannotBeWrittenIsExitFiveAndLeavesNothing) {
  const ToolRun run = runTool(dir, {"grab", "-p", "USB2", "-o", "missing/folder/x.bmp", "--lang", "zh"});
  EXPECT_EQ(run.exitCode, 5);
  EXPECT_TRUE(run.err.startsWith(QString::fromUtf8("tyxctl: missing/folder/x.bmp 未能保存："))) << run.err.toStdString();
  EXPECT_TRUE(run.out.isEmpty());
}

}  // namespace
