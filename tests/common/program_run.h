// program_run.h - running a built program as a separate process, as a user's shell would.
#pragma once

#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>

struct ProgramRun {
  int exitCode = -1;
  bool crashed = false;  // also set when it did not finish within a minute
  QString out;
  QString err;
};

// Runs program with args in a clean environment: only PATH, HOME and the
// sanitizers' options are inherited, then `env` is added. workDir empty:
// the test's own folder.
ProgramRun runProgram(const QString& program, const QStringList& args,
                      const QList<QPair<QString, QString>>& env = {}, const QString& workDir = {});
