// serial_device_dialog.h - the "Select a serial device" dialog of the dialog
// program that clSerialInit starts.
#pragma once

#include <functional>
#include <string>
#include <string_view>

#include <QDialog>

#include "clser/dialog_answer.h"

class QComboBox;
class QFormLayout;

namespace clser {

using ApplySelection = std::function<void(const DialogSelection&)>;

// Asks for channel, baud rate, data bits, stop bits and parity. Whichever way
// it ends (OK, Esc or the close box) it hands the shown texts to the apply
// function once and ends with result 1: the caller has already opened the
// board and expects settings either way. Controls carry their layout id in
// the object name "ctl<id>" (1001 product label, 1002 system label,
// 1006..1010 the boxes, 1 the OK button).
class SerialDeviceDialog : public QDialog {
 public:
  SerialDeviceDialog(const std::string& productName, ApplySelection apply);

  DialogSelection selection() const;
  void done(int result) override;

 private:
  QComboBox* addBox(int id, const char* label, const auto& items, std::string_view shown);

  ApplySelection apply_;
  bool applied_ = false;
  QComboBox* channel_ = nullptr;
  QComboBox* baudRate_ = nullptr;
  QComboBox* dataBits_ = nullptr;
  QComboBox* stopBits_ = nullptr;
  QComboBox* parity_ = nullptr;
  QFormLayout* form_ = nullptr;
};

}  // namespace clser
