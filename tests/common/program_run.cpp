// program_run.cpp - a built program run in a clean environment, its streams and exit code collected.
#include "common/program_run.h"

#include <QProcess>
#include <QProcessEnvironment>

ProgramRun runProgram(const QString& program, const QStringList& args, const QList<QPair<QString, QString>>& env,
                      const QString& workDir) {
  QProcessEnvironment environment;
  const QProcessEnvironment system = QProcessEnvironment::systemEnvironment();
  for (const char* keep : {"PATH", "HOME", "ASAN_OPTIONS", "LSAN_OPTIONS", "UBSAN_OPTIONS", "TSAN_OPTIONS"})
    if (system.contains(keep)) environment.insert(keep, system.value(keep));
  for (const auto& [name, value] : env) environment.insert(name, value);
  QProcess process;
  process.setProcessEnvironment(environment);
  if (!workDir.isEmpty()) process.setWorkingDirectory(workDir);
  process.start(program, args);
  ProgramRun run;
  if (!process.waitForFinished(60000)) {
    process.kill();
    process.waitForFinished();
    run.crashed = true;
    return run;
  }
  run.crashed = process.exitStatus() != QProcess::NormalExit;
  run.exitCode = process.exitCode();
  run.out = QString::fromUtf8(process.readAllStandardOutput());
  run.err = QString::fromUtf8(process.readAllStandardError());
  return run;
}
