// serial_device_dialog.cpp - the "Select a serial device" dialog.

#include "serial_device_dialog.h"

#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "clser/serial_settings.h"

namespace clser {

namespace {

QString toQString(std::string_view s) {
  return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

std::string toStd(const QString& s) { return s.toUtf8().toStdString(); }

}  // namespace

SerialDeviceDialog::SerialDeviceDialog(const std::string& productName, ApplySelection apply)
    : apply_(std::move(apply)) {
  setObjectName(QStringLiteral("ctl101"));
  setWindowTitle(QStringLiteral("Select a serial device"));
  setModal(true);

  auto* layout = new QVBoxLayout(this);

  auto* description = new QGroupBox(QStringLiteral("Description"), this);
  auto* descriptionLayout = new QVBoxLayout(description);
  // The product text is the label, a space and the board's name, kept to the
  // length the label has always been read back with.
  QString product = QStringLiteral("Product:");
  if (!productName.empty()) product += QLatin1Char(' ') + QString::fromUtf8(productName.c_str());
  auto* productLabel = new QLabel(product.left(static_cast<int>(kMaxLabelLength)), description);
  productLabel->setObjectName(QStringLiteral("ctl1001"));
  auto* systemLabel = new QLabel(QStringLiteral("System: 0"), description);
  systemLabel->setObjectName(QStringLiteral("ctl1002"));
  descriptionLayout->addWidget(productLabel);
  descriptionLayout->addWidget(systemLabel);
  layout->addWidget(description);

  auto* setting = new QGroupBox(QStringLiteral("Setting"), this);
  form_ = new QFormLayout(setting);
  channel_ = addBox(1007, "Channel:", kChannelChoices, kDefaultChannel);
  baudRate_ = addBox(1006, "Baud Rate:", kBaudRateChoices, kDefaultBaudRate);
  dataBits_ = addBox(1008, "Data bits:", kDataBitsChoices, kDefaultDataBits);
  stopBits_ = addBox(1010, "Stop bits:", kStopBitsChoices, kDefaultStopBits);
  parity_ = addBox(1009, "Parity:", kParityChoices, kDefaultParity);
  layout->addWidget(setting);

  auto* ok = new QPushButton(QStringLiteral("OK"), this);
  ok->setObjectName(QStringLiteral("ctl1"));
  ok->setDefault(true);
  layout->addWidget(ok, 0, Qt::AlignRight);
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);
}

QComboBox* SerialDeviceDialog::addBox(int id, const char* label, const auto& items, std::string_view shown) {
  auto* box = new QComboBox(this);
  box->setObjectName(QStringLiteral("ctl%1").arg(id));
  box->setEditable(true);
  for (std::string_view item : items) box->addItem(toQString(item));
  box->setCurrentIndex(box->findText(toQString(shown)));
  form_->addRow(QString::fromLatin1(label), box);
  return box;
}

DialogSelection SerialDeviceDialog::selection() const {
  return {toStd(channel_->currentText()), toStd(baudRate_->currentText()), toStd(dataBits_->currentText()),
          toStd(stopBits_->currentText()),
          toStd(parity_->currentText().left(static_cast<int>(kMaxLabelLength)))};
}

void SerialDeviceDialog::done(int) {
  // OK and cancel both apply what is shown, and only once even if Qt ends
  // the dialog twice (close box after Esc, say).
  if (!applied_) {
    applied_ = true;
    if (apply_) apply_(selection());
  }
  QDialog::done(1);
}

}  // namespace clser
