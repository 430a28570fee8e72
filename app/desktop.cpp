// desktop.cpp - the Qt implementation of the desktop seam.
#include "app/desktop.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QDialog>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFileDialog>
#include <QMessageBox>
#include <QThread>

namespace {

class QtDesktop : public Desktop {
 public:
  int message(QWidget* parent, const QString& text, const QString& caption, Buttons buttons) override {
    QMessageBox::StandardButtons set = QMessageBox::Ok;
    if (buttons == OkCancel) set = QMessageBox::Ok | QMessageBox::Cancel;
    if (buttons == YesNo) set = QMessageBox::Yes | QMessageBox::No;
    QMessageBox box(QMessageBox::NoIcon, caption, text, set, parent);
    switch (box.exec()) {
      case QMessageBox::Cancel: return ReplyCancel;
      case QMessageBox::Yes: return ReplyYes;
      case QMessageBox::No: return ReplyNo;
      default: return ReplyOk;
    }
  }
  QString openFileName(QWidget* parent, const QString& caption, const QString& filter,
                       const QString& initialName) override {
    QFileDialog dialog(parent, caption, QString(), filter);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    if (!initialName.isEmpty()) dialog.selectFile(initialName);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    return dialog.selectedFiles().first();
  }
  QString saveFileName(QWidget* parent, const QString& caption, const QString& filter,
                       const QString& defaultSuffix, const QString& initialName) override {
    QFileDialog dialog(parent, caption, QString(), filter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(defaultSuffix);
    if (!initialName.isEmpty()) dialog.selectFile(initialName);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    return dialog.selectedFiles().first();
  }
  int execDialog(QDialog* dialog) override { return dialog->exec(); }
  void setWaitCursor(bool on) override {
    if (on)
      QApplication::setOverrideCursor(Qt::WaitCursor);
    else if (QApplication::overrideCursor() != nullptr)
      QApplication::restoreOverrideCursor();
  }
  void sleepMs(int ms) override {
    // Keep painting while the camera needs its time, but take no user input:
    // the program must not act on clicks made during a mandated wait, and it
    // must not look hung either.
    QDeadlineTimer deadline(ms);
    while (!deadline.hasExpired()) {
      QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents, 10);
      QThread::msleep(static_cast<unsigned long>(std::min<qint64>(10, deadline.remainingTime())));
    }
  }
  int64_t nowMs() override {
    static QElapsedTimer timer = [] {
      QElapsedTimer t;
      t.start();
      return t;
    }();
    return timer.elapsed();
  }
};

QtDesktop qtDesktop;
Desktop* current = &qtDesktop;
Desktop::ModalWatcher modalWatcher = nullptr;

bool beforeModal(const QString* text = nullptr) { return modalWatcher == nullptr || modalWatcher(text); }

// What get() hands out: passes every call to the installed desktop, and
// tells the watcher first when a modal window is about to take the input.
// Doing it here rather than in each implementation means a test's desktop
// sees the same program behaviour as the real one.
class WatchedDesktop : public Desktop {
 public:
  int message(QWidget* parent, const QString& text, const QString& caption, Buttons buttons) override {
    if (!beforeModal(&text)) return ReplyOk;
    return current->message(parent, text, caption, buttons);
  }
  QString openFileName(QWidget* parent, const QString& caption, const QString& filter,
                       const QString& initialName) override {
    beforeModal();
    return current->openFileName(parent, caption, filter, initialName);
  }
  QString saveFileName(QWidget* parent, const QString& caption, const QString& filter,
                       const QString& defaultSuffix, const QString& initialName) override {
    beforeModal();
    return current->saveFileName(parent, caption, filter, defaultSuffix, initialName);
  }
  int execDialog(QDialog* dialog) override {
    beforeModal();
    return current->execDialog(dialog);
  }
  void setWaitCursor(bool on) override { current->setWaitCursor(on); }
  void sleepMs(int ms) override { current->sleepMs(ms); }
  int64_t nowMs() override { return current->nowMs(); }
};

WatchedDesktop watched;

}  // namespace

Desktop& Desktop::get() { return watched; }

void Desktop::setModalWatcher(ModalWatcher watcher) { modalWatcher = watcher; }

void Desktop::install(Desktop* desktop) { current = desktop != nullptr ? desktop : &qtDesktop; }
