// camera_page.cpp - refresh on becoming visible.
#include "app/camera_page.h"

#include <algorithm>

void CameraPage::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  refresh();
}

CompanionWindow::CompanionWindow(QWidget* owner, CTyxVistrelDlg* main)
    : ControlHost<QDialog>(owner, Qt::Window), main_(main) {
  setModal(false);
}

void CompanionWindow::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  refresh();
}

QSize CompanionWindow::controlsExtent() const {
  QRect all;
  for (const QWidget* w : findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
    if (!w->isWindow()) all |= w->geometry();
  // The same margin on the right and at the bottom as the layout keeps at its
  // top-left corner.
  return QSize(all.right() + 1 + std::max(0, all.left()), all.bottom() + 1 + std::max(0, all.top()));
}
