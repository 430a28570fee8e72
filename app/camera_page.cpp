// camera_page.cpp - refresh on becoming visible; switches bound to camera values.
#include "app/camera_page.h"

#include <QCheckBox>
#include <QRadioButton>
#include <algorithm>

#include "app/camera_values.h"

void CameraPage::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  refresh();
}

void CameraPage::writesOnClick(int checkId, tyxid::Param value) {
  connect(control<QCheckBox>(checkId), &QCheckBox::clicked, this,
          [value](bool checked) { camval::write(value, checked ? 1 : 0); });
}

void CameraPage::writesOnChoice(int radioId, tyxid::Param value, int32_t number) {
  auto* radio = control<QRadioButton>(radioId);
  connect(radio, &QRadioButton::clicked, this, [radio, value, number] {
    if (radio->isChecked()) camval::write(value, number);
  });
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
