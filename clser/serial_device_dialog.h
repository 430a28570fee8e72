// serial_device_dialog.h - the "Select a serial device" dialog of clSerialInit.
#pragma once

#include <functional>
#include <string>

#include <QDialog>

class QComboBox;
class QFormLayout;

namespace clser {

// The texts of the five setting boxes when the dialog ends.
struct DialogSelection {
  std::string channel;
  std::string baudRate;
  std::string dataBits;
  std::string stopBits;
  std::string parity;
};

// What the dialog shows when it opens.
DialogSelection shownDefaults();

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

// Runs the dialog for the given product name and applies its settings. When
// no display can show it, applies the shown defaults as if the dialog had
// been closed at once, and says so on stderr the first time.
void runSerialDeviceDialog(const std::string& productName, const ApplySelection& apply);

// Test seam: when set, runSerialDeviceDialog builds the dialog (creating a
// QApplication if the process has none) and hands it to the runner instead of
// running it modally.
using DialogRunner = std::function<int(QDialog&)>;
void setDialogRunner(DialogRunner runner);
// Forgets that the no-display note was already printed.
void resetNoDisplayNote();

}  // namespace clser
