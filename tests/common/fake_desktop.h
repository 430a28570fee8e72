// fake_desktop.h - the desktop seam for tests: records, scripts, fake clock.
#pragma once

#include <QDialog>
#include <QString>
#include <QStringList>
#include <deque>
#include <functional>
#include <vector>

#include "app/desktop.h"

// Records every message box, answers scripted replies and advances its clock
// instead of sleeping. Installs itself for its lifetime.
class FakeDesktop : public Desktop {
public:
  struct Message {
    QString text;
    QString caption;
    int64_t atMs;
  };
  struct Sleep {
    int ms;
    int64_t atMs;  // clock value when the sleep began
  };

  FakeDesktop();
  ~FakeDesktop() override;

  int message(QWidget* parent, const QString& text, const QString& caption, Buttons buttons) override;
  QString openFileName(QWidget* parent, const QString& caption, const QString& filter,
                       const QString& initialName = QString()) override;
  QString saveFileName(QWidget* parent, const QString& caption, const QString& filter,
                       const QString& defaultSuffix, const QString& initialName = QString()) override;
  int execDialog(QDialog* dialog) override;
  void setWaitCursor(bool on) override;
  void sleepMs(int ms) override;
  int64_t nowMs() override { return clock; }

  // Texts of the messages shown so far.
  QStringList texts() const;
  void clear();

  std::vector<Message> messages;
  std::vector<Sleep> sleeps;
  std::vector<QString> fileFilters;
  // The name each file dialog would have shown in its file name field.
  std::vector<QString> fileInitialNames;
  int64_t clock = 0;
  int waitCursorDepth = 0;
  int waitCursorShown = 0;  // how often the wait cursor was switched on
  // Scripted answers, taken front first; empty: Ok / cancel / reject.
  std::deque<int> replies;
  std::deque<QString> fileNames;
  // Called with each program dialog before it would be shown; returns the
  // dialog's result. Null: the dialog is rejected.
  std::deque<std::function<int(QDialog*)>> dialogs;
  // Called on every sleep (e.g. to change the simulated camera meanwhile).
  std::function<void(int ms)> onSleep;
  // Last dialog passed to execDialog, with its class name.
  QString lastDialogClass;
};
