// dlg_option.cpp - the serial option dialog that builds a Camera Link settings string.
#include "comm/dlg_option.h"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>

#include "app/desktop.h"
#include "clser/serial_settings.h"

// The layout table and the tables below name controls by the window's ids.
using enum CDlgOption::CtlId;

namespace {

// Both interface languages use the same labels.
constexpr ControlSpec kControls[] = {
    // The description labels of the shared template; this dialog hides them.
    {kProductLabel, Ctl::Label, "Product:", nullptr, 14, 13, 120, 9},
    {kSystemLabel, Ctl::Label, "System:", nullptr, 14, 23, 120, 9},
    {0, Ctl::Group, "Setting", nullptr, 7, 4, 186, 104},
    {0, Ctl::Label, "Channel:", nullptr, 16, 20, 60, 9},
    {kChannelList, Ctl::ComboEdit, nullptr, nullptr, 80, 18, 100, 12},
    {0, Ctl::Label, "Baud Rate:", nullptr, 16, 38, 60, 9},
    {kBaudRateList, Ctl::ComboEdit, nullptr, nullptr, 80, 36, 100, 12},
    {0, Ctl::Label, "Data bits:", nullptr, 16, 56, 60, 9},
    {kDataBitsList, Ctl::ComboEdit, nullptr, nullptr, 80, 54, 100, 12},
    {0, Ctl::Label, "Stop bits:", nullptr, 16, 74, 60, 9},
    {kStopBitsList, Ctl::ComboEdit, nullptr, nullptr, 80, 72, 100, 12},
    {0, Ctl::Label, "Parity:", nullptr, 16, 92, 60, 9},
    {kParityList, Ctl::ComboEdit, nullptr, nullptr, 80, 90, 100, 12},
    {kOkButton, Ctl::DefaultButton, "OK", nullptr, 75, 114, 50, 14},
};

template <size_t N>
void fill(QComboBox* box, const std::array<std::string_view, N>& items, std::string_view shown) {
  for (std::string_view item : items)
    box->addItem(QString::fromUtf8(item.data(), static_cast<qsizetype>(item.size())));
  // Typed values are taken as typed; they must not be added to the list,
  // nor completed to an entry of it ("96" is not "9600", "E" not "Even"):
  // the settings string carries what the user typed.
  box->setInsertPolicy(QComboBox::NoInsert);
  box->setCompleter(nullptr);
  box->setEditText(QString::fromUtf8(shown.data(), static_cast<qsizetype>(shown.size())));
}

}  // namespace

CDlgOption::CDlgOption(QWidget* parent) : ControlHost<QDialog>(parent) {
  setWindowTitle("Select a serial device");
  buildControls(kControls);
  setDialogSize(200, 134);
  for (int id : {kProductLabel, kSystemLabel}) controlWidget(id)->hide();
  fill(control<QComboBox>(kChannelList), clser::kChannelChoices, clser::kDefaultChannel);
  fill(control<QComboBox>(kBaudRateList), clser::kBaudRateChoices, clser::kDefaultBaudRate);
  fill(control<QComboBox>(kDataBitsList), clser::kDataBitsChoices, clser::kDefaultDataBits);
  fill(control<QComboBox>(kStopBitsList), clser::kStopBitsChoices, clser::kDefaultStopBits);
  fill(control<QComboBox>(kParityList), clser::kParityChoices, clser::kDefaultParity);
  connect(control<QPushButton>(kOkButton), &QPushButton::clicked, this, &CDlgOption::onOk);
}

std::string CDlgOption::buildSettings(const QString& channel, const QString& baudRate,
                                      const QString& dataBits, const QString& stopBits,
                                      const QString& parity) {
  const QByteArray c = channel.toUtf8(), b = baudRate.toUtf8(), d = dataBits.toUtf8(), s = stopBits.toUtf8(),
                   p = parity.toUtf8();
  // Written uncut first: a string cut at the limit would carry a different
  // setting than the one shown (a parity of "Ev" reads as none), so an
  // over-long string is refused instead.
  std::string text = clser::formatSerialSettings(c.toStdString(), b.toStdString(), d.toStdString(),
                                                 s.toStdString(), p.toStdString(), std::string::npos);
  if (text.size() > static_cast<size_t>(kMaxSettingsLength)) return {};
  return text;
}

void CDlgOption::onOk() {
  const std::string text = buildSettings(
      control<QComboBox>(kChannelList)->currentText(), control<QComboBox>(kBaudRateList)->currentText(),
      control<QComboBox>(kDataBitsList)->currentText(), control<QComboBox>(kStopBitsList)->currentText(),
      control<QComboBox>(kParityList)->currentText());
  if (text.empty()) {
    // The dialog stays open so the user can shorten what was typed.
    Desktop::get().message(this,
                           cameraState().text("The serial settings are too long (at most 199 characters).",
                                              "串口设置过长（最多199个字符）。"),
                           "Vistrel");
    return;
  }
  settings_ = text;
  accept();
}
