// values_test.cpp - tyxctl info, get and set against the simulator: what is shown, what is written, what is refused.
#include <gtest/gtest.h>

#include <QJsonDocument>
#include <QJsonObject>

#include "tool_run.h"

namespace {

using Writes = std::vector<std::pair<long, long>>;

class ToolValues : public ::testing::Test {
 protected:
  QTemporaryDir dir;
};

QJsonObject objectOf(const QString& line) { return QJsonDocument::fromJson(line.toUtf8()).object(); }

TEST_F(ToolValues, InfoShowsIdentityTagsAndEveryValueOfTheRecordsWithUnits) {
  const ToolRun run = runTool(dir, {"info", "-p", "COM1"});
  ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
  const QStringList lines = run.outLines();
  ASSERT_GE(lines.size(), 8);
  EXPECT_EQ(lines.mid(0, 5), QStringList({"port: COM1", "type: 219290", "model: TYX-219290", "version: 1",
                                          "tags: 36=1 31=1 32=1 33=1 27=0 37=2 38=1 34=1"}));
  EXPECT_TRUE(lines[5].startsWith("frame rate: ") && lines[5].endsWith(" fps")) << lines[5].toStdString();
  // The exposure in microseconds through the library (270 lines of 62.5 us),
  // the extended block's values because tag 34 says the camera has it.
  for (const char* line : {"gain=330", "exposure-us=16875 us", "run-mode=free-run", "rise-delay-us=10 us", "r-gain=128"})
    EXPECT_TRUE(lines.contains(line)) << line;
  EXPECT_FALSE(run.calls("CalExposeTime").isEmpty());
  EXPECT_FALSE(run.calls("CalFrameRate").isEmpty());
  EXPECT_FALSE(run.wroteAnything());
  EXPECT_EQ(run.calls("CloseCamera").size(), 1);
}

TEST_F(ToolValues, InfoOfALineScanCameraShowsItsBlockAndNoAreaValues) {
  const ToolRun run = runTool(dir, {"info", "-p", "CamLink2", "--json"});
  ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
  const QStringList lines = run.outLines();
  const QJsonObject head = objectOf(lines.value(0));
  EXPECT_EQ(head.keys(), QStringList({"fps", "model", "port", "tags", "type", "version"}));
  EXPECT_EQ(head["type"].toInt(), 117810);
  EXPECT_TRUE(head["fps"].isNull());
  QStringList names;
  for (const QString& line : lines.mid(1)) {
    const QJsonObject o = objectOf(line);
    EXPECT_EQ(o.keys(), QStringList({"name", "text", "unit", "value", "word"})) << line.toStdString();
    names << o["name"].toString();
  }
  EXPECT_TRUE(names.contains("time1"));
  EXPECT_TRUE(names.contains("work-mode"));
  EXPECT_FALSE(names.contains("gain"));
  EXPECT_FALSE(names.contains("exposure-us"));
}

TEST_F(ToolValues, InfoInChinese) {
  const ToolRun run = runTool(dir, {"info", "-p", "COM3", "--lang", "zh"});
  ASSERT_EQ(run.exitCode, 0);
  EXPECT_TRUE(run.out.startsWith(QString::fromUtf8("端口：COM3\n型号代码：212630\n"))) << run.out.toStdString();
}

TEST_F(ToolValues, GetPrintsTheNamedValuesInOrderInBothForms) {
  const ToolRun text = runTool(dir, {"get", "-p", "COM1", "run-mode", "gain", "exposure-us"});
  ASSERT_EQ(text.exitCode, 0) << text.err.toStdString();
  EXPECT_EQ(text.outLines(), QStringList({"run-mode=free-run", "gain=330", "exposure-us=16875 us"}));

  const ToolRun json = runTool(dir, {"get", "-p", "COM1", "--json", "run-mode", "exposure-us"});
  ASSERT_EQ(json.outLines().size(), 2);
  const QJsonObject mode = objectOf(json.outLines()[0]);
  EXPECT_EQ(mode["value"].toInt(), 1);
  EXPECT_EQ(mode["word"].toString(), "free-run");
  const QJsonObject exposure = objectOf(json.outLines()[1]);
  EXPECT_EQ(exposure["value"].toInt(), 16875);
  EXPECT_EQ(exposure["unit"].toString(), "us");
  EXPECT_TRUE(exposure["word"].isNull());
}

TEST_F(ToolValues, SetWritesInOrderThroughTheLibraryAndPrintsWhatTheCameraHolds) {
  const ToolRun run = runTool(dir, {"set", "-p", "COM1", "gain=400", "black=20", "run-mode=edge-trigger",
                                    "exposure-us=5000"});
  ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
  // 5000 us is 80 lines of 62.5 us, converted by the library.
  EXPECT_EQ(run.writes(), (Writes{{1, 400}, {4, 20}, {2, 2}, {9, 80}}));
  EXPECT_EQ(run.outLines(), QStringList({"gain=400", "black=20", "run-mode=edge-trigger", "exposure-us=5000 us"}));
  EXPECT_TRUE(run.err.isEmpty()) << run.err.toStdString();
  EXPECT_EQ(run.calls("CloseCamera").size(), 1);
}

TEST_F(ToolValues, EnumerationsTakeWordsOrNumbers) {
  for (const char* value : {"run-mode=edge-trigger", "run-mode=2"}) {
    const ToolRun run = runTool(dir, {"set", "-p", "COM1", "--json", value});
    ASSERT_EQ(run.exitCode, 0) << value << run.err.toStdString();
    EXPECT_EQ(run.writes(), (Writes{{2, 2}}));
    EXPECT_EQ(objectOf(run.out.trimmed())["word"].toString(), "edge-trigger");
  }
}

TEST_F(ToolValues, TheOrientationModelsAspectIsAPlainWriteOfItsOwnWords) {
  // The model reads the frame-mode id as its picture aspect: no exposure
  // clamp, no read-back, nothing reported, as its page writes it.
  const ToolRun run = runTool(dir, {"set", "-p", "COM1", "image-aspect=wide-16-9", "image-aspect=0"},
                              "clear;camera COM1=321140");
  ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
  EXPECT_EQ(run.writes(), (Writes{{5, 1}, {5, 0}}));
  EXPECT_TRUE(run.calls("CalExposeRange").isEmpty());
  // Each line is what the camera holds once every value is written.
  EXPECT_EQ(run.outLines(), QStringList({"image-aspect=scaled-4-3", "image-aspect=scaled-4-3"}));

  const ToolRun other = runTool(dir, {"set", "-p", "COM1", "image-aspect=wide-16-9"});
  EXPECT_EQ(other.exitCode, 2);
  EXPECT_TRUE(other.err.contains("image-aspect is not a setting of the camera on COM1 (type 219290)"))
      << other.err.toStdString();
  EXPECT_TRUE(other.calls("SetConfigParam").isEmpty());
}

TEST_F(ToolValues, WithKeptSettingsTheNextRunReadsWhatTheLastOneSet) {
  // Each run loads the simulator afresh; "keep" makes its cameras hold their
  // settings from one run to the next, as powered cameras do.
  const QString keep = "keep " + dir.path() + "/cameras";
  const ToolRun set = runTool(dir, {"set", "-p", "COM1", "gain=400", "black=20"}, keep);
  ASSERT_EQ(set.exitCode, 0) << set.err.toStdString();
  const ToolRun get = runTool(dir, {"get", "-p", "COM1", "gain", "black"}, keep);
  EXPECT_EQ(get.outLines(), QStringList({"gain=400", "black=20"})) << get.err.toStdString();
  EXPECT_FALSE(get.wroteAnything());
  const ToolRun fresh = runTool(dir, {"get", "-p", "COM1", "gain"});
  EXPECT_EQ(fresh.outLines(), QStringList({"gain=330"}));
}

struct Refusal {
  const char* port;
  QStringList values;
  const char* message;
};

TEST_F(ToolValues, BadValuesAreRefusedWithWhatIsAllowedAndNothingIsWritten) {
  const Refusal cases[] = {
      {"COM1", {"gain=abc"}, "gain: \"abc\" is not a whole number"},
      {"COM1", {"run-mode=sideways"}, "run-mode: \"sideways\" is neither a number nor one of: free-run, edge-trigger"},
      {"COM1", {"colour=3"}, "unknown name \"colour\"; names: gain, black"},
      {"COM1", {"gain"}, "set takes NAME=VALUE, not \"gain\""},
      {"COM1", {"gain=5000"}, "gain=5000 refused: gain takes 0..1023; nothing written"},
      {"COM1", {"begin-line=100"}, "begin-line=100 refused: begin-line takes 12..448 in steps of 12 lines"},
      {"COM1", {"exposure-us=1"}, "exposure-us=1 refused: exposure-us takes 63..39000 us"},
      // A bad value after good ones: the good ones are not written either.
      {"COM1", {"gain=400", "black=20", "black=999"}, "black=999 refused"},
      // An end line below the begin line set just before it.
      {"COM1", {"begin-line=300", "end-line=200"}, "end-line=200 refused"},
      {"COM2", {"gain=400", "rise-delay-us=5"}, "rise-delay-us is not a setting of the camera on COM2 (type 210781)"},
      {"CamLink1", {"gain=400"}, "gain is not a setting of the camera on CamLink1 (type 120770)"},
  };
  for (const Refusal& c : cases) {
    SCOPED_TRACE(c.values.join(' ').toStdString());
    const ToolRun run = runTool(dir, QStringList{"set", "-p", c.port} + c.values);
    ASSERT_FALSE(run.crashed);
    EXPECT_EQ(run.exitCode, 2);
    ASSERT_EQ(run.errLines().size(), 1) << run.err.toStdString();
    EXPECT_TRUE(run.err.contains(QString::fromUtf8(c.message))) << run.err.toStdString();
    EXPECT_TRUE(run.out.isEmpty()) << run.out.toStdString();
    EXPECT_TRUE(run.calls("SetConfigParam").isEmpty());
  }
}

TEST_F(ToolValues, RefusalsInChineseSayWhyInChineseToo) {
  const Refusal cases[] = {
      {"COM1", {"gain=5000"}, "tyxctl: gain=5000 被拒绝：gain 的取值为 0..1023；未写入任何值"},
      {"COM1", {"begin-line=100"}, "tyxctl: begin-line=100 被拒绝：begin-line 的取值为 12..448，步长 12 lines；未写入任何值"},
      {"COM1", {"run-mode=99"}, "tyxctl: run-mode=99 被拒绝：run-mode 的取值为 free-run, edge-trigger"},
  };
  for (const Refusal& c : cases) {
    SCOPED_TRACE(c.values.join(' ').toStdString());
    const ToolRun run = runTool(dir, QStringList{"set", "-p", c.port, "--lang", "zh"} + c.values);
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_TRUE(run.err.startsWith(QString::fromUtf8(c.message))) << run.err.toStdString();
    EXPECT_FALSE(run.err.contains("takes")) << run.err.toStdString();
    EXPECT_TRUE(run.calls("SetConfigParam").isEmpty());
  }
}

TEST_F(ToolValues, AWriteTheLibraryRefusesPrintsItsMessageStopsAndKeepsWhatWasWritten) {
  struct Case {
    const char* lang;
    const char* message;
  };
  for (const Case& c : {Case{"en", "Can not write in for invalid link."},
                        Case{"zh", "由于设备连接不正常，无法写入参数，仅改变界面设置。"}}) {
    SCOPED_TRACE(c.lang);
    const ToolRun run = runTool(dir, {"set", "-p", "COM1", "--lang", c.lang, "gain=400", "black=20", "saturation=5"},
                                "fail 4=106");
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.writes(), (Writes{{1, 400}, {4, 20}}));
    EXPECT_EQ(run.outLines(), QStringList({"gain=400"}));
    EXPECT_EQ(run.err.trimmed(), "tyxctl: " + QString::fromUtf8(c.message));
  }
}

}  // namespace
