// camera_page.cpp - refresh on becoming visible.
#include "app/camera_page.h"

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
