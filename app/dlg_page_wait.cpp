// dlg_page_wait.cpp - the progress window's three controls.
#include "app/dlg_page_wait.h"

#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>

#include "app/layout.h"

CDlgPageWati::CDlgPageWati(QWidget* parent) : QDialog(parent, Qt::Window) {
  setWindowTitle("TYX Vistrel");
  static const ControlSpec specs[] = {
      {1137, Ctl::Label, "", nullptr, 7, 5, 200, 10},
      {1136, Ctl::EditReadOnly, "", nullptr, 7, 18, 200, 13},
      {1025, Ctl::Progress, "", nullptr, 7, 36, 200, 10},
  };
  layout_.build(this, specs, false);
  message_ = qobject_cast<QLineEdit*>(layout_.byId(1136));
  caption_ = qobject_cast<QLabel*>(layout_.byId(1137));
  bar_ = qobject_cast<QProgressBar*>(layout_.byId(1025));
  bar_->setRange(0, 4);
  bar_->setValue(step);
  bar_->setTextVisible(false);
  resize(Layout::px(214), Layout::py(52));
}

void CDlgPageWati::push() {
  message_->setText(message);
  caption_->setText(caption);
  bar_->setValue(step);
}

void CDlgPageWati::repaintNow() {
  push();
  if (isVisible()) {
    repaint();
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
  }
}
