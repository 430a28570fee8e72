// console.h - where the tool's output and messages go.
#pragma once

#include <QString>

// The tool prints results on one stream and messages on the other, a line at
// a time, so a script can read the results while a person reads the
// messages. The terminal writes through at once (a long probe shows each
// port as it answers); tests collect the lines.
class Console {
 public:
  virtual ~Console() = default;
  virtual void out(const QString& line) = 0;
  virtual void err(const QString& line) = 0;
};

// Standard output and standard error, UTF-8, flushed after every line.
class StdConsole : public Console {
 public:
  void out(const QString& line) override;
  void err(const QString& line) override;
};
