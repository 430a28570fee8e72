// desktop.h - the seam for everything that waits for a person or for time.
#pragma once

#include <QString>
#include <cstdint>

class QDialog;
class QWidget;

// Message boxes, file dialogs, the program's modal dialogs, the wait cursor,
// timed sleeps and the clock all go through here. The program installs the
// Qt implementation; tests install a fake that records each message, answers
// scripted replies and advances a clock instead of sleeping. Pages never call
// QMessageBox, QFileDialog or a sleep themselves.
class Desktop {
public:
  enum Buttons { Ok = 0, OkCancel = 1, YesNo = 2 };
  enum Reply { ReplyOk = 1, ReplyCancel = 2, ReplyYes = 6, ReplyNo = 7 };

  virtual ~Desktop() = default;

  // A modal message box; returns one of Reply.
  virtual int message(QWidget* parent, const QString& text, const QString& caption,
                      Buttons buttons = Ok) = 0;
  // Empty result: the user cancelled. initialName is what the dialog's file
  // name field shows when it opens (for example "*.cam").
  virtual QString openFileName(QWidget* parent, const QString& caption, const QString& filter,
                               const QString& initialName = QString()) = 0;
  virtual QString saveFileName(QWidget* parent, const QString& caption, const QString& filter,
                               const QString& defaultSuffix, const QString& initialName = QString()) = 0;
  // Runs one of the program's own modal dialogs; returns QDialog::Accepted or
  // QDialog::Rejected.
  virtual int execDialog(QDialog* dialog) = 0;
  virtual void setWaitCursor(bool on) = 0;
  // Blocks for the camera's mandated waits. The real implementation keeps
  // windows painted but accepts no user input meanwhile.
  virtual void sleepMs(int ms) = 0;
  virtual int64_t nowMs() = 0;

  static Desktop& get();
  // Installs an implementation (not owned); null restores the Qt one.
  static void install(Desktop* desktop);
};

// The wait cursor for the length of a scope.
class WaitCursor {
public:
  WaitCursor() { Desktop::get().setWaitCursor(true); }
  ~WaitCursor() { Desktop::get().setWaitCursor(false); }
  WaitCursor(const WaitCursor&) = delete;
  WaitCursor& operator=(const WaitCursor&) = delete;
};
