// dlg_option.h - the serial option dialog that builds a Camera Link settings string.
#pragma once

#include <QString>
#include <string>

#include "app/camera_page.h"

// "Select a serial device": five editable boxes for channel, baud rate, data
// bits, stop bits and parity. OK turns whatever the boxes show (picked or
// typed) into the settings string that follows the Camera Link port name in
// the open string. The caller copies the string out after an OK result.
class CDlgOption : public ControlHost<QDialog> {
  Q_OBJECT
 public:
  // Ids of the controls in the layout table.
  enum CtlId : int {
    kProductLabel = 1001,
    kSystemLabel = 1002,
    kChannelList = 1007,
    kBaudRateList = 1006,
    kDataBitsList = 1008,
    kStopBitsList = 1010,
    kParityList = 1009,
    kOkButton = 1,
  };

  // The caller's buffer holds 200 bytes: at most 199 characters of text.
  static constexpr int kMaxSettingsLength = 199;

  explicit CDlgOption(QWidget* parent = nullptr);

  // The settings string of the last OK; empty before one.
  const std::string& settings() const { return settings_; }

  // The settings string for five box texts, or an empty string when it would
  // not fit in kMaxSettingsLength bytes.
  static std::string buildSettings(const QString& channel, const QString& baudRate, const QString& dataBits,
                                   const QString& stopBits, const QString& parity);

 private:
  void onOk();

  std::string settings_;
};
