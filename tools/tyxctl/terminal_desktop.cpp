// terminal_desktop.cpp - messages to the console, real (or counted) waits.
#include "tools/tyxctl/terminal_desktop.h"

#include <QDialog>
#include <chrono>
#include <thread>

#include "tools/tyxctl/console.h"

TerminalDesktop::TerminalDesktop(Console& console, Sleeper sleeper)
    : console_(console), sleeper_(std::move(sleeper)) {}

int TerminalDesktop::message(QWidget*, const QString& text, const QString&, Buttons buttons) {
  ++messages_;
  // A message box may hold several lines; a script greps one line per message.
  QString line = text.trimmed();
  line.replace(QLatin1Char('\n'), QLatin1Char(' '));
  line.replace(QLatin1Char('\t'), QLatin1Char(' '));
  console_.err(QStringLiteral("tyxctl: ") + line.simplified());
  return buttons == YesNo ? ReplyYes : ReplyOk;
}

int TerminalDesktop::execDialog(QDialog*) { return QDialog::Rejected; }

void TerminalDesktop::sleepMs(int ms) {
  if (ms <= 0) return;
  slept_ += ms;
  if (sleeper_) {
    sleeper_(ms);
    return;
  }
  std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

int64_t TerminalDesktop::nowMs() {
  if (sleeper_) return slept_;
  using namespace std::chrono;
  return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}
