// commands_probe.cpp - ports, net scan and net set-ip: finding cameras and their addresses.
#include <QJsonArray>

#include "app/camera_session.h"
#include "app/camera_state.h"
#include "app/net_records.h"
#include "tools/tyxctl/camera_link.h"
#include "tools/tyxctl/commands.h"
#include "tools/tyxctl/tool_context.h"

namespace tyxctl {
namespace {

using tooltext::Id;

QString driverText(int32_t driver) {
  const uint32_t v = static_cast<uint32_t>(driver);
  return QString::asprintf("%u.%02u", v >> 16, v & 0xFFFFu);
}

void printIdentity(const Context& ctx, const CameraIdentity& id, int32_t driver) {
  QJsonObject json{{"port", id.port},
                   {"type", id.typeCode},
                   {"model", id.model == "ERR ID" ? QJsonValue() : QJsonValue(id.model)},
                   {"version", id.versionCode},
                   {"driver", driverText(driver)}};
  const QString sep = ctx.chinese() ? QString::fromUtf8("，") : QString(", ");
  QString line = id.port + (ctx.chinese() ? QString::fromUtf8("：") : QString(": "));
  line += ctx.text(Id::LabelType) + " " + QString::number(id.typeCode) + sep;
  line += ctx.text(Id::LabelVersion) + " " + QString::number(id.versionCode) + sep;
  line += ctx.text(Id::LabelDriver) + " " + driverText(driver) + sep;
  line += ctx.text(Id::LabelModel) + " " + id.model;
  ctx.print(json, {line});
}

}  // namespace

int runPorts(const Context& ctx) {
  int exit = kExitOk;
  if (!cameraLibraryLoadable(ctx, &exit)) return exit;
  CameraSession& session = cameraSession();
  QStringList ports;
  if (!ctx.inv.port.isEmpty()) {
    ports << ctx.inv.port;
  } else {
    // The fixed ports of the port list; the network ports come from the scan.
    for (const QString& p : CameraSession::knownPorts())
      if (!CameraSession::isNetworkPort(p)) ports << p;
  }
  int answered = 0;
  int32_t lastError = 0;
  OpenCamera cam(ctx);
  auto probe = [&](const QString& typed) {
    if (!cam.probe(typed, &lastError)) return;
    ++answered;
    printIdentity(ctx, session.identity(), session.driverVersion());
    session.close();
  };
  for (const QString& p : ports) probe(p);
  if (ctx.inv.port.isEmpty()) {
    const int32_t count = session.scanNetwork();
    const size_t found = session.networkRecords(count).size();
    for (size_t k = 0; k < found; ++k) probe(netrecords::portName(static_cast<int>(k)));
  }
  if (answered > 0) return kExitOk;
  if (ctx.inv.port.isEmpty())
    ctx.say(Id::NoCameraAnywhere);
  else
    ctx.say(Id::NoCamera, {cam.port(), libraryMessage(lastError, ctx.chinese())});
  return kExitNoCamera;
}

int runNetScan(const Context& ctx) {
  int exit = kExitOk;
  if (!cameraLibraryLoadable(ctx, &exit)) return exit;
  CameraSession& session = cameraSession();
  const std::vector<NetDeviceRecord> records = session.networkRecords(session.scanNetwork());
  if (records.empty()) {
    ctx.say(Id::NoNetCameras);
    return kExitNoCamera;
  }
  for (size_t k = 0; k < records.size(); ++k) {
    const QString port = netrecords::portName(static_cast<int>(k));
    QStringList lines{netrecords::connectionLine(records[k])};
    lines += netrecords::addressLines(records[k]);
    QStringList text;
    text << port + ":";
    for (const QString& l : lines) text << "  " + l;
    ctx.print(QJsonObject{{"position", static_cast<int>(k)}, {"port", port}, {"lines", QJsonArray::fromStringList(lines)}},
              text);
  }
  return kExitOk;
}

// Four numbers 0-255 with dots; the library refuses the two addresses no
// camera can have, and so does the tool, before the camera is opened.
bool validAddress(const QString& text) {
  const QStringList parts = text.split('.');
  if (parts.size() != 4) return false;
  for (const QString& p : parts) {
    bool ok = false;
    const int n = p.toInt(&ok);
    if (!ok || p.isEmpty() || p.size() > 3 || !p[0].isDigit() || n < 0 || n > 255) return false;
  }
  return text != "0.0.0.0" && text != "255.255.255.255";
}

int runNetSetIp(const Context& ctx) {
  const QString address = ctx.inv.args.value(0);
  if (!validAddress(address)) {
    ctx.say(Id::BadAddress, {address});
    return kExitUsage;
  }
  int exit = kExitOk;
  OpenCamera cam(ctx);
  if (!cam.open(&exit)) return exit;
  if (!cameraSession().setNetworkAddress(address)) {
    // The program's own words: the library keeps no error for this refusal.
    ctx.say(QStringLiteral("Set IP Error!"));
    return kExitRefused;
  }
  ctx.print(QJsonObject{{"port", cam.port()}, {"address", address}}, {cam.port() + ": " + address});
  return kExitOk;
}

}  // namespace tyxctl
