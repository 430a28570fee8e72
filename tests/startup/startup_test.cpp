// startup_test.cpp - the program's --version, --help, start without a display,
// and which camera and board library it picks, run as a separate process.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#include "common/program_run.h"

namespace {

QString binDir() { return QFileInfo(QCoreApplication::applicationDirPath()).canonicalFilePath(); }

// Runs the built program with the given arguments in a clean environment:
// only what the case sets, plus PATH and HOME.
ProgramRun runVistrel(const QStringList& args, const QList<QPair<QString, QString>>& env = {}) {
  return runProgram(binDir() + "/vistrel", args, env);
}

}  // namespace

TEST(Startup, VersionNamesTheSimulatorsWhenNothingElseIsInstalled) {
  const ProgramRun run = runVistrel({"--version"});
  ASSERT_FALSE(run.crashed);
  EXPECT_EQ(run.exitCode, 0);
  const QStringList lines = run.out.split('\n', Qt::SkipEmptyParts);
  ASSERT_EQ(lines.size(), 3) << run.out.toStdString();
  EXPECT_TRUE(lines[0].startsWith("vistrel ")) << lines[0].toStdString();
  EXPECT_EQ(lines[1], "camera library " + binDir() + "/libtyxcamera.so (simulated)");
  EXPECT_EQ(lines[2], "board library " + binDir() + "/libtyxapi32.so (simulated)");
}

TEST(Startup, ALibraryOnTheLibraryPathWinsOverTheSimulatorAndIsNotCalledSimulated) {
  const QString maker = binDir() + "/maker";
  const ProgramRun run = runVistrel({"--version"}, {{"LD_LIBRARY_PATH", maker}});
  ASSERT_FALSE(run.crashed);
  EXPECT_EQ(run.exitCode, 0);
  const QStringList lines = run.out.split('\n', Qt::SkipEmptyParts);
  ASSERT_EQ(lines.size(), 3) << run.out.toStdString();
  EXPECT_EQ(lines[1], "camera library " + maker + "/libtyxcamera.so");
  EXPECT_EQ(lines[2], "board library " + maker + "/libtyxapi32.so");
}

TEST(Startup, HelpNamesTheOptionsAndHowToRunWithoutADesktop) {
  const ProgramRun run = runVistrel({"--help"});
  ASSERT_FALSE(run.crashed);
  EXPECT_EQ(run.exitCode, 0);
  for (const char* text :
       {"--help", "--version", "LD_LIBRARY_PATH", "xvfb-run", "vistrel(1)"})
    EXPECT_TRUE(run.out.contains(text)) << text;
  EXPECT_FALSE(run.out.contains("--smoke-shots"));
  EXPECT_TRUE(run.err.isEmpty()) << run.err.toStdString();
}

TEST(Startup, WithoutAUsableDisplayOneLineSaysWhatFailedAndWhatToDo) {
  struct Case {
    const char* name;
    QList<QPair<QString, QString>> env;
    const char* what;
  };
  const std::vector<Case> cases = {
      {"DISPLAY not set", {}, "no display to open (DISPLAY is not set)"},
      // Nothing serves display 739 here; Qt would abort with its advice to
      // reinstall the program.
      {"a display nobody serves",
       {{"DISPLAY", ":739"}, {"QT_QPA_PLATFORM", "xcb"}},
       "cannot open the display \":739\""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const ProgramRun run = runVistrel({}, c.env);
    ASSERT_FALSE(run.crashed) << run.err.toStdString();
    EXPECT_EQ(run.exitCode, 2);
    const QStringList lines = run.err.split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 1) << run.err.toStdString();
    EXPECT_TRUE(lines[0].startsWith("vistrel: ")) << lines[0].toStdString();
    EXPECT_TRUE(lines[0].contains(c.what)) << lines[0].toStdString();
    EXPECT_TRUE(lines[0].contains("xvfb-run -a vistrel")) << lines[0].toStdString();
    EXPECT_TRUE(lines[0].contains("(package xvfb)")) << lines[0].toStdString();
    EXPECT_TRUE(run.out.isEmpty());
  }
}

TEST(Startup, AnUnknownOptionIsRefused) {
  // The window self-check is a program of its own; the product takes none of
  // its options.
  for (const char* option : {"--frobnicate", "--smoke-shots", "--handshake"}) {
    SCOPED_TRACE(option);
    const ProgramRun run = runVistrel({option, "/tmp"});
    ASSERT_FALSE(run.crashed);
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_TRUE(run.err.contains(QString("unknown option ") + option)) << run.err.toStdString();
    EXPECT_TRUE(run.err.contains("--help"));
  }
}
