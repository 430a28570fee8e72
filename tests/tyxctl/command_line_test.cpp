// command_line_test.cpp - tyxctl's help, its exit codes and every kind of bad command line.
#include <gtest/gtest.h>

#include <QFile>

#include "app/camera_values.h"
#include "tool_run.h"
#include "tools/tyxctl/tool_texts.h"

namespace {

class ToolCommandLine : public ::testing::Test {
 protected:
  QTemporaryDir dir;
};

TEST_F(ToolCommandLine, OverviewNamesEveryCommandAndTheExitCodes) {
  const ToolRun run = runTool(dir, {"--help"});
  ASSERT_FALSE(run.crashed);
  EXPECT_EQ(run.exitCode, 0);
  for (const char* text : {"ports", "info -p PORT", "get -p PORT NAME", "set -p PORT NAME=VALUE", "memorize|recall|defaults",
                           "save|load", "net scan", "net set-ip", "grab -p PORT", "--json", "--lang en|zh",
                           "Exit codes", "4  the camera library cannot be loaded"})
    EXPECT_TRUE(run.out.contains(text)) << text;
  EXPECT_TRUE(run.err.isEmpty()) << run.err.toStdString();
  EXPECT_TRUE(run.log.isEmpty()) << "help must not load the camera library";
}

TEST_F(ToolCommandLine, GetAndSetHelpListTheValueNamesOneALine) {
  // The bash completion reads the names from here: first word of each line
  // after "Names".
  for (const char* command : {"get", "set"}) {
    const ToolRun run = runTool(dir, {command, "--help"});
    const QString names = run.out.mid(run.out.indexOf("\nNames"));
    for (const char* name : {"\n  gain ", "\n  exposure-us ", "\n  run-mode ", "\n  time1 ", "\n  begin-line "})
      EXPECT_TRUE(names.contains(name)) << command << name;
  }
}

TEST_F(ToolCommandLine, EveryCommandHasItsOwnHelpWithTheExitCodes) {
  const QList<QStringList> commands = {{"ports"},    {"info"},   {"get"},  {"set"},        {"memorize"},
                                       {"recall"},   {"defaults"}, {"save"}, {"load"},       {"net", "scan"},
                                       {"net", "set-ip"}, {"grab"}};
  for (const QStringList& command : commands) {
    SCOPED_TRACE(command.join(' ').toStdString());
    for (const QStringList& args : {command + QStringList{"--help"}, QStringList{"help"} + command}) {
      const ToolRun run = runTool(dir, args);
      EXPECT_EQ(run.exitCode, 0);
      EXPECT_TRUE(run.out.startsWith("Usage: tyxctl " + command.join(' '))) << run.out.toStdString();
      EXPECT_TRUE(run.out.contains("Exit codes:"));
      EXPECT_TRUE(run.err.isEmpty()) << run.err.toStdString();
    }
  }
}

TEST_F(ToolCommandLine, HelpInChineseByOptionOrLocaleKeepsTheNamesAndExitCodes) {
  const QList<QStringList> commands = {{"ports"}, {"set"}, {"save"}, {"net", "set-ip"}, {"grab"}};
  for (const QStringList& command : commands) {
    SCOPED_TRACE(command.join(' ').toStdString());
    const ToolRun run = runTool(dir, command + QStringList{"--help", "--lang", "zh"});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_TRUE(run.out.startsWith(QString::fromUtf8("用法：tyxctl ") + command.join(' '))) << run.out.toStdString();
    EXPECT_TRUE(run.out.contains(QString::fromUtf8("退出码：\n  0  完成")));
    EXPECT_FALSE(run.out.contains("Usage")) << run.out.toStdString();
    EXPECT_FALSE(run.out.contains("Exit codes")) << run.out.toStdString();
  }
  const ToolRun overview = runTool(dir, {"--help"}, {}, {{"LANG", "zh_CN.UTF-8"}});
  EXPECT_TRUE(overview.out.startsWith(QString::fromUtf8("用法：tyxctl 命令 [选项]"))) << overview.out.toStdString();
  // The names are typed alike in both languages and stay in the list.
  const ToolRun set = runTool(dir, {"set", "--help", "--lang", "zh"});
  EXPECT_TRUE(set.out.contains("\n  exposure-us ")) << set.out.toStdString();
  EXPECT_TRUE(set.out.contains(QString::fromUtf8("\n  gain                   增益\n"))) << set.out.toStdString();
  for (const camval::Descriptor& d : camval::all()) EXPECT_TRUE(tooltext::hasChineseSummary(d.name)) << d.name;
  // The completion asks for the English help whatever the locale.
  const ToolRun forCompletion = runTool(dir, {"get", "--help", "--lang", "en"}, {}, {{"LANG", "zh_CN.UTF-8"}});
  EXPECT_TRUE(forCompletion.out.contains("\nNames")) << forCompletion.out.toStdString();
}

struct BadLine {
  QStringList args;
  const char* message;  // what the one line must say
};

TEST_F(ToolCommandLine, BadInputGivesOneLineNamingWhatIsAllowedExitTwoAndTouchesNoCamera) {
  const BadLine cases[] = {
      {{}, "unknown command \"\"; commands: ports, info"},
      {{"frobnicate"}, "unknown command \"frobnicate\"; commands: ports, info, get, set"},
      {{"net", "frob"}, "unknown command \"net frob\""},
      {{"info"}, "info needs a port: -p PORT (ports: COM1, COM2"},
      {{"info", "-p"}, "option -p needs a value"},
      {{"info", "-p", "COM9"}, "unknown port \"COM9\"; ports: COM1, COM2, COM3, COM4, CamLink1"},
      {{"info", "-p", "COM1,baudrate=9600"}, "unknown port \"COM1,baudrate=9600\""},
      {{"info", "-p", "COM1", "--count", "3"}, "unknown option \"--count\" for info; see tyxctl info --help"},
      {{"get", "-p", "COM1"}, "get needs NAME...; see tyxctl get --help"},
      {{"set", "-p", "COM1"}, "set needs NAME=VALUE..."},
      {{"save", "-p", "COM1"}, "save needs FILE.cam"},
      {{"save", "-p", "COM1", "a.cam", "b.cam"}, "unexpected argument \"b.cam\" for save"},
      {{"memorize", "-p", "COM1", "now"}, "unexpected argument \"now\" for memorize"},
      {{"net", "set-ip", "-p", "COM1", "10.0.0.5"}, "net set-ip takes a network port (NetPort1 to NetPort4), not \"COM1\""},
      {{"net", "set-ip", "-p", "NetPort1"}, "net set-ip needs ADDRESS"},
      {{"grab", "-p", "USB1"}, "grab needs -o FILE.bmp|FILE.png"},
      {{"grab", "-p", "USB1", "-o", "x.jpg"}, "the image file must end in .bmp or .png: \"x.jpg\""},
      {{"grab", "-p", "USB1", "-o", "x.bmp", "--count", "0"}, "--count takes a whole number from 1 to 1000, not \"0\""},
      {{"grab", "-p", "USB1", "-o", "x.bmp", "--count", "many"}, "--count takes a whole number from 1 to 1000"},
      {{"--lang", "fr", "ports"}, "--lang takes en or zh, not \"fr\""},
      {{"--lang", "zh", "frobnicate"}, "未知命令 \"frobnicate\"；可用命令："},
      {{"info", "--lang=zh", "-p", "COM9"}, "未知端口 \"COM9\"；端口：COM1"},
  };
  for (const BadLine& c : cases) {
    SCOPED_TRACE(c.args.join(' ').toStdString());
    const ToolRun run = runTool(dir, c.args);
    ASSERT_FALSE(run.crashed);
    EXPECT_EQ(run.exitCode, 2);
    ASSERT_EQ(run.errLines().size(), 1) << run.err.toStdString();
    EXPECT_TRUE(run.errLines()[0].startsWith("tyxctl: "));
    EXPECT_TRUE(run.err.contains(QString::fromUtf8(c.message))) << run.err.toStdString();
    EXPECT_TRUE(run.out.isEmpty()) << run.out.toStdString();
    EXPECT_TRUE(run.log.isEmpty()) << run.log.join('\n').toStdString();
  }
}

TEST_F(ToolCommandLine, ALibraryThatCannotBeLoadedIsNamedWithExitFour) {
  // A copy of the tool without the simulators beside it, and no library on
  // the search path: the same search as the program finds nothing.
  const QString lonely = dir.filePath("tyxctl");
  ASSERT_TRUE(QFile::copy(binDir() + "/tyxctl", lonely));
  for (const QStringList& args : {QStringList{"ports"}, QStringList{"info", "-p", "COM1"}, QStringList{"net", "scan"}}) {
    SCOPED_TRACE(args.join(' ').toStdString());
    const ToolRun run = runTool(dir, args, {}, {{"LD_LIBRARY_PATH", dir.path()}}, lonely);
    ASSERT_FALSE(run.crashed);
    EXPECT_EQ(run.exitCode, 4);
    ASSERT_EQ(run.errLines().size(), 1) << run.err.toStdString();
    EXPECT_TRUE(run.err.startsWith("tyxctl: the camera library libtyxcamera.so cannot be loaded: ")) << run.err.toStdString();
    EXPECT_TRUE(run.out.isEmpty());
  }
}

}  // namespace
