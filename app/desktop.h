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

  // The desktop the program talks to: the installed implementation, seen
  // through a layer that tells the modal watcher before every message box and
  // modal dialog.
  static Desktop& get();
  // Installs an implementation (not owned); null restores the Qt one.
  static void install(Desktop* desktop);

  // Called just before a message box (with its text) or one of the
  // program's modal dialogs (with null) is shown through get(), whichever
  // implementation is installed. A modal window takes the mouse and keys
  // from whatever the user was holding down (a scroll bar's arrow, say),
  // which must let go first. Returning false leaves a message box unshown
  // (answered OK): the watcher says the user has just seen that very
  // message for the same action. One watcher; null removes it.
  using ModalWatcher = bool (*)(const QString* text);
  static void setModalWatcher(ModalWatcher watcher);
};

// The wait cursor for the length of a scope.
class WaitCursor {
 public:
  WaitCursor() { Desktop::get().setWaitCursor(true); }
  ~WaitCursor() { Desktop::get().setWaitCursor(false); }
  WaitCursor(const WaitCursor&) = delete;
  WaitCursor& operator=(const WaitCursor&) = delete;
};
