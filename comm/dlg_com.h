// dlg_com.h - the port and file tab: connection port, configuration files, network cameras.
#pragma once

#include <QString>
#include <cstdint>
#include <string>

#include "app/camera_page.h"
#include "app/camera_session.h"

class QComboBox;
class QLabel;

// The tab on which the user picks the camera's port (closing the camera and
// opening the one on the new port, then having the main window rebuild its
// tabs), saves and loads *.cam files through the camera library, and reaches
// the network functions: scan, firmware versions, camera address. Its own
// state is the two texts bound to the port list and the IP edit; everything
// else is read from the camera state on each refresh.
class CDlgCom : public CameraPage {
  Q_OBJECT
 public:
  // Ids of the controls in the layout table.
  enum CtlId : int {
    kPortGroup = 1085,
    kPortList = 1050,
    kScanNetButton = 1065,
    kLinkGroup = 1086,
    kLinkPicture = 1051,
    kNetInfoGroup = 1147,
    kIpLabel = 1148,
    kIpEdit = 1146,
    kSetIpButton = 1145,
    kVersionButton = 1144,
    kConfigGroup = 1087,
    kSaveButton = 1001,
    kLoadButton = 1049,
  };

  // Positions 0-13 are the fixed ports; one past them is the network entry.
  static constexpr int kPortCount = 14;
  static constexpr int kNetworkPosition = 14;
  // The open string handed to the camera library holds at most this much.
  static constexpr int kMaxOpenString = CameraSession::kMaxOpenText;

  CDlgCom(QWidget* parent, CTyxVistrelDlg* main);

  // The label of the network entry in the interface language. It begins
  // with "NetPort", so that Reopen on the port it leaves in the camera state
  // goes the network way.
  static QString networkEntryLabel();
  // "port,settings" (or the port alone for empty settings); empty when it
  // would not fit in kMaxOpenString bytes.
  static std::string openString(const std::string& port, const std::string& settings);
  // The types that have no configuration files.
  static bool hasNoConfigFile(int32_t type);

  void refresh() override;

  // The handlers, public so that the control bar or a test may use them.
  void changePort(int position);
  void saveConfigFile();
  void loadConfigFile();
  void scanNetCameras();
  void showVersions();
  void setIpAddress();

  const QString& portText() const { return portText_; }
  const QString& ipText() const { return ipText_; }

 private:
  void showLinkIcon(bool linked);
  void enableNetworkControls(bool on);
  void enableFileButtons();
  void pushMembers();
  void takeMembers();

  QString portText_ = "COM1";
  QString ipText_;
  QComboBox* portList_ = nullptr;
  QLabel* linkPicture_ = nullptr;
};
