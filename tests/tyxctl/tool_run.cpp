// tool_run.cpp - runs the built tool as a user's shell would and collects what it left.
#include "tool_run.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

QString binDir() { return QFileInfo(QCoreApplication::applicationDirPath()).canonicalFilePath(); }

QStringList ToolRun::calls(const QString& name) const {
  QStringList out;
  for (const QString& line : log)
    if (line.startsWith(name + " ")) out << line;
  return out;
}

std::vector<std::pair<long, long>> ToolRun::writes() const {
  static const QRegularExpression one(QStringLiteral(" id=(-?\\d+) value=(-?\\d+) mode=0 "));
  std::vector<std::pair<long, long>> out;
  for (const QString& line : calls("SetConfigParam")) {
    const QRegularExpressionMatch m = one.match(line);
    if (m.hasMatch()) out.emplace_back(m.captured(1).toLong(), m.captured(2).toLong());
  }
  return out;
}

bool ToolRun::wroteAnything() const {
  for (const char* name : {"SetConfigParam", "MemorizeParam", "RecallParam", "LoadConfigFile", "SetCameraIP"})
    if (!calls(name).isEmpty()) return true;
  return false;
}

ToolRun runTool(const QTemporaryDir& dir, const QStringList& args, const QString& sim,
                const QList<QPair<QString, QString>>& env, const QString& program) {
  const QString logFile = dir.filePath("calls.log");
  QFile::remove(logFile);
  QString commands = "fast";
  if (!sim.isEmpty()) commands += ";" + sim;
  QList<QPair<QString, QString>> environment{{"LANG", "en_US.UTF-8"}, {"TYXCAM_SIM", commands + ";log " + logFile}};
  environment += env;
  ToolRun run;
  static_cast<ProgramRun&>(run) =
      runProgram(program.isEmpty() ? binDir() + "/tyxctl" : program, args, environment, dir.path());
  QFile file(logFile);
  if (file.open(QIODevice::ReadOnly))
    run.log = QString::fromUtf8(file.readAll()).split('\n', Qt::SkipEmptyParts);
  return run;
}
