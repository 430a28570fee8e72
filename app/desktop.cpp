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
    if (on) QApplication::setOverrideCursor(Qt::WaitCursor);
    else if (QApplication::overrideCursor() != nullptr) QApplication::restoreOverrideCursor();
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
    static QElapsedTimer timer = [] { QElapsedTimer t; t.start(); return t; }();
    return timer.elapsed();
  }
};

QtDesktop qtDesktop;
Desktop* current = &qtDesktop;

}  // namespace

Desktop& Desktop::get() { return *current; }

void Desktop::install(Desktop* desktop) { current = desktop != nullptr ? desktop : &qtDesktop; }
