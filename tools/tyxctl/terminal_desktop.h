// terminal_desktop.h - the desktop seam for a program without windows.
#pragma once

#include <cstdint>
#include <functional>

#include "app/desktop.h"

class Console;

// What the shared camera code would show in a message box goes to the
// console's message stream as one line; nothing waits for a person: a
// question is answered yes (the command the user typed is the consent),
// file dialogs are cancelled, the program's dialogs rejected. The waits the
// camera needs are real sleeps, unless a sleeper is given: then the clock
// advances by the waits alone, so a test sees every wait without taking it.
class TerminalDesktop : public Desktop {
 public:
  using Sleeper = std::function<void(int ms)>;
  explicit TerminalDesktop(Console& console, Sleeper sleeper = {});

  int message(QWidget* parent, const QString& text, const QString& caption, Buttons buttons) override;
  QString openFileName(QWidget*, const QString&, const QString&, const QString&) override { return {}; }
  QString saveFileName(QWidget*, const QString&, const QString&, const QString&, const QString&) override {
    return {};
  }
  int execDialog(QDialog* dialog) override;
  void setWaitCursor(bool) override {}
  void sleepMs(int ms) override;
  int64_t nowMs() override;

  // Every message shown so far; a command tells by it whether the shared
  // code has already reported a failure.
  int messageCount() const { return messages_; }

 private:
  Console& console_;
  Sleeper sleeper_;
  int64_t slept_ = 0;
  int messages_ = 0;
};
