// tool_run.h - running tyxctl against the simulated camera library, as a process or in-process.
#pragma once

#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <utility>
#include <vector>

#include "common/program_run.h"

// What one run left behind: exit code, both streams, and the simulator's
// call log of that run.
struct ToolRun : ProgramRun {
  QStringList log;
  std::vector<int> sleeps;  // in-process runs only: every wait, in order

  QStringList outLines() const { return out.split('\n', Qt::SkipEmptyParts); }
  QStringList errLines() const { return err.split('\n', Qt::SkipEmptyParts); }
  // The log lines of one entry point ("SetConfigParam", "OpenCamera", ...).
  QStringList calls(const QString& name) const;
  // Parameter writes of one value (mode 0) as (id, value), in order.
  std::vector<std::pair<long, long>> writes() const;
  // Anything written to the camera at all: single values, blocks, memory, files, addresses.
  bool wroteAnything() const;
};

// Runs the built tyxctl in a clean environment (PATH, HOME, sanitizer
// options, LANG=en_US.UTF-8 unless env says otherwise) with TYXCAM_SIM set to
// "fast", then `sim`, then a log into a file of `dir`.
ToolRun runTool(const QTemporaryDir& dir, const QStringList& args, const QString& sim = {},
                const QList<QPair<QString, QString>>& env = {}, const QString& program = {});

// The folder of the built programs and simulators.
QString binDir();
