// fake_desktop.cpp - the recording desktop.
#include "common/fake_desktop.h"

FakeDesktop::FakeDesktop() { Desktop::install(this); }
FakeDesktop::~FakeDesktop() { Desktop::install(nullptr); }

int FakeDesktop::message(QWidget*, const QString& text, const QString& caption, Buttons buttons) {
  messages.push_back({text, caption, clock});
  if (!replies.empty()) {
    const int r = replies.front();
    replies.pop_front();
    return r;
  }
  return buttons == YesNo ? ReplyYes : ReplyOk;
}

QString FakeDesktop::openFileName(QWidget*, const QString&, const QString& filter,
                                  const QString& initialName) {
  fileFilters.push_back(filter);
  fileInitialNames.push_back(initialName);
  if (fileNames.empty()) return {};
  QString name = fileNames.front();
  fileNames.pop_front();
  return name;
}

QString FakeDesktop::saveFileName(QWidget*, const QString&, const QString& filter, const QString&,
                                  const QString& initialName) {
  fileFilters.push_back(filter);
  fileInitialNames.push_back(initialName);
  if (fileNames.empty()) return {};
  QString name = fileNames.front();
  fileNames.pop_front();
  return name;
}

int FakeDesktop::execDialog(QDialog* dialog) {
  lastDialogClass = QString::fromUtf8(dialog->metaObject()->className());
  if (dialogs.empty()) return QDialog::Rejected;
  auto script = dialogs.front();
  dialogs.pop_front();
  return script ? script(dialog) : QDialog::Rejected;
}

void FakeDesktop::setWaitCursor(bool on) {
  if (on) {
    ++waitCursorDepth;
    ++waitCursorShown;
  } else if (waitCursorDepth > 0) {
    --waitCursorDepth;
  }
}

void FakeDesktop::sleepMs(int ms) {
  sleeps.push_back({ms, clock});
  clock += ms;
  if (onSleep) onSleep(ms);
}

QStringList FakeDesktop::texts() const {
  QStringList out;
  for (const Message& m : messages) out << m.text;
  return out;
}

void FakeDesktop::clear() {
  messages.clear();
  sleeps.clear();
  fileFilters.clear();
  fileInitialNames.clear();
}
