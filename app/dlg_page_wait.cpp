// dlg_page_wait.cpp - the progress window's three controls.
#include "app/dlg_page_wait.h"

#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>

#include "app/layout.h"

// The layout table and the tables below name controls by the window's ids.
using enum CDlgPageWati::CtlId;

CDlgPageWati::CDlgPageWati(QWidget* parent) : QDialog(parent, Qt::Window) {
  setWindowTitle("TYX Vistrel");
  static const ControlSpec specs[] = {
      {kCaptionLabel, Ctl::Label, "", nullptr, 7, 5, 200, 10},
      {kMessageEdit, Ctl::EditReadOnly, "", nullptr, 7, 18, 200, 13},
      {kProgressBar, Ctl::Progress, "", nullptr, 7, 36, 200, 10},
  };
  layout_.build(this, specs, false);
  message_ = qobject_cast<QLineEdit*>(layout_.byId(kMessageEdit));
  caption_ = qobject_cast<QLabel*>(layout_.byId(kCaptionLabel));
  bar_ = qobject_cast<QProgressBar*>(layout_.byId(kProgressBar));
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
