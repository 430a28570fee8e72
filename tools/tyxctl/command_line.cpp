// command_line.cpp - reading the tool's arguments and its --help texts.
#include "tools/tyxctl/command_line.h"

#include "app/camera_session.h"
#include "app/camera_values.h"
#include "app/strings.h"
#include "tools/tyxctl/tool_texts.h"

namespace tyxctl {
namespace {

using tooltext::Id;

// Which options a command takes: p port, o output, c count.
struct CommandSpec {
  const char* name;
  const char* sub;
  const char* options;
  bool needsPort;
  int minArgs;
  int maxArgs;          // -1: any number
  const char* argName;  // what the arguments are, for the missing-argument message
  const char* help;
};

const char* const kExitCodes =
    "\n"
    "Exit codes:\n"
    "  0  done\n"
    "  1  the camera or its library refused an operation (its message is printed;\n"
    "     values written before it stay, as in the program)\n"
    "  2  bad command line or value (nothing was written to the camera)\n"
    "  3  no camera answers on the port\n"
    "  4  the camera library cannot be loaded\n"
    "  5  an image could not be captured or written\n";

const char* const kCommonOptions =
    "  --json           one JSON object per line (per camera, value or file), stable keys\n"
    "  --lang en|zh     language of texts and messages (default: from the locale)\n"
    "  -h, --help       this text\n";

constexpr CommandSpec kCommands[] = {
    {"ports", nullptr, "p", false, 0, 0, nullptr,
     "Usage: tyxctl ports [-p PORT] [--json]\n"
     "Tries COM1-COM4, the Camera Link, USB-serial and USB ports and the network\n"
     "scan, and prints per port that answers its type code, model text, version\n"
     "code and the driver version. -p limits the probe to one port.\n"},
    {"info", nullptr, "p", true, 0, 0, nullptr,
     "Usage: tyxctl info -p PORT [--json]\n"
     "Prints the camera's identity, its function tags and every setting of its\n"
     "records by name (exposure in microseconds and the frame rate through the\n"
     "camera library).\n"},
    {"get", nullptr, "p", true, 1, -1, "NAME...",
     "Usage: tyxctl get -p PORT NAME... [--json]\n"
     "Prints the named settings as the camera holds them now. Names are those of\n"
     "info (gain, black, run-mode, exposure-us, ...).\n"},
    {"set", nullptr, "p", true, 1, -1, "NAME=VALUE...",
     "Usage: tyxctl set -p PORT NAME=VALUE... [--json]\n"
     "Writes settings in the order given, with the rules of the page that owns\n"
     "each value (range, step, clamp), re-reads the record where the page does and\n"
     "prints what the camera now holds. Enumerations take a word or a number\n"
     "(run-mode=edge-trigger, run-mode=2). Every value is checked before the first\n"
     "write; a refusal by the camera stops at that value.\n"},
    {"memorize", nullptr, "p", true, 0, 0, nullptr,
     "Usage: tyxctl memorize -p PORT\n"
     "Stores the camera's settings in its own memory, as the main window's button does.\n"},
    {"recall", nullptr, "p", true, 0, 0, nullptr,
     "Usage: tyxctl recall -p PORT\n"
     "Recalls the settings from the camera's memory, as the main window's button does.\n"},
    {"defaults", nullptr, "p", true, 0, 0, nullptr,
     "Usage: tyxctl defaults -p PORT\n"
     "Restores the camera's factory settings, as the main window's button does.\n"},
    {"save", nullptr, "p", true, 1, 1, "FILE.cam",
     "Usage: tyxctl save -p PORT FILE.cam\n"
     "Saves the camera's settings to a configuration file, as the port page does.\n"},
    {"load", nullptr, "p", true, 1, 1, "FILE.cam",
     "Usage: tyxctl load -p PORT FILE.cam\n"
     "Loads a configuration file into the camera, as the port page does.\n"},
    {"net", "scan", "", false, 0, 0, nullptr,
     "Usage: tyxctl net scan [--json]\n"
     "Scans for network cameras and prints the network list's lines per camera.\n"},
    {"net", "set-ip", "p", true, 1, 1, "ADDRESS",
     "Usage: tyxctl net set-ip -p NetPortN ADDRESS\n"
     "Gives the network camera on NetPort1-NetPort4 a new IPv4 address.\n"},
    {"grab", nullptr, "poc", true, 0, 0, nullptr,
     "Usage: tyxctl grab -p PORT -o FILE.bmp|FILE.png [--count N] [--json]\n"
     "Captures frames of a USB image camera at its full size, as the image window\n"
     "does, and writes them as BMP or PNG. With --count N above 1 the files are\n"
     "numbered: FILE-1.bmp ... FILE-N.bmp.\n"},
};

const char* const kOverview =
    "Usage: tyxctl COMMAND [options]\n"
    "Sets up the maker's cameras from a shell, with the rules of vistrel's pages.\n"
    "\n"
    "Commands:\n"
    "  ports [-p PORT]                 probe the ports, print what answers\n"
    "  info -p PORT                    identity and every setting\n"
    "  get -p PORT NAME...             print settings\n"
    "  set -p PORT NAME=VALUE...       write settings, print what the camera holds\n"
    "  memorize|recall|defaults -p PORT   camera memory and factory settings\n"
    "  save|load -p PORT FILE.cam      configuration files\n"
    "  net scan                        list the network cameras\n"
    "  net set-ip -p NetPortN ADDRESS  give a network camera a new address\n"
    "  grab -p PORT -o FILE [--count N]   save frames of a USB image camera\n"
    "\n"
    "Ports: COM1-COM4, CamLink1, CamLink2 (optionally followed by a comma and the\n"
    "serial settings), USB/232-1 to USB/232-4, USB1-USB4, NetPort1-NetPort4.\n"
    "The camera library libtyxcamera.so is taken from LD_LIBRARY_PATH, then the\n"
    "system's library path, then the bundled simulator, as vistrel does.\n"
    "See tyxctl COMMAND --help and tyxctl(1).\n"
    "\n"
    "Options:\n";

const char* const kCommandList = "ports, info, get, set, memorize, recall, defaults, save, load, net scan, net set-ip, grab";

const CommandSpec* findCommand(const QString& name, const QString& sub) {
  for (const CommandSpec& c : kCommands) {
    if (name != QLatin1String(c.name)) continue;
    if (c.sub == nullptr || sub == QLatin1String(c.sub)) return &c;
  }
  return nullptr;
}

QString commandTitle(const CommandSpec& c) {
  return c.sub ? QString("%1 %2").arg(c.name, c.sub) : QString(c.name);
}

bool validLanguage(const QString& value, bool* chinese) {
  if (value == "en" || value == "zh") {
    *chinese = value == "zh";
    return true;
  }
  return false;
}

}  // namespace

bool splitPort(const QString& typed, QString* port, QString* settings) {
  const int comma = typed.indexOf(',');
  *port = comma < 0 ? typed : typed.left(comma);
  *settings = comma < 0 ? QString() : typed.mid(comma + 1);
  if (!CameraSession::knownPorts().contains(*port)) return false;
  if (comma < 0) return true;
  // Only a Camera Link port carries serial settings, and the whole open text
  // must fit what the library takes.
  return port->startsWith("CamLink") &&
         !CameraSession::openText(port->toStdString(), settings->toStdString()).empty();
}

bool chineseFromArguments(const QStringList& args) {
  bool chinese = strings::systemLanguageFlag() == 2;
  for (int i = 0; i < args.size(); ++i) {
    if (args[i] == "--") break;
    QString value;
    if (args[i] == "--lang" && i + 1 < args.size())
      value = args[i + 1];
    else if (args[i].startsWith("--lang="))
      value = args[i].mid(7);
    else
      continue;
    validLanguage(value, &chinese);
  }
  return chinese;
}

QString helpText(const QString& command, const QString& sub) {
  if (command.isEmpty() || command == "help")
    return QString(kOverview) + kCommonOptions + kExitCodes;
  if (command == "net" && sub.isEmpty())
    return findCommand("net", "scan")->help + QString("\n") + findCommand("net", "set-ip")->help + "\nOptions:\n" +
           kCommonOptions + kExitCodes;
  const CommandSpec* c = findCommand(command, sub);
  if (!c) return {};
  QString options = "\nOptions:\n";
  const QString letters = c->options;
  if (letters.contains('p'))
    options += QString("  -p, --port PORT  the camera's port%1\n").arg(c->needsPort ? "" : " (optional)");
  if (letters.contains('o')) options += "  -o, --output FILE  the image file, .bmp or .png\n";
  if (letters.contains('c')) options += QString("  --count N        frames to save, 1 to %1 (default 1)\n").arg(kMaxCount);
  QString names;
  if (command == "get" || command == "set") {
    // The names come from the shared descriptions, so the list can never
    // miss a value the pages have.
    names = "\nNames (which of them a camera has: tyxctl info -p PORT):\n";
    for (const camval::Descriptor& d : camval::all())
      names += ("  " + QString::fromUtf8(d.name).leftJustified(22) + " " + QString::fromUtf8(d.summary)).trimmed().prepend("  ") + "\n";
  }
  return QString(c->help) + options + kCommonOptions + kExitCodes + names;
}

bool parseArguments(const QStringList& args, Invocation* inv, QString* error) {
  *inv = Invocation{};
  inv->chinese = chineseFromArguments(args);
  const bool zh = inv->chinese;
  auto fail = [&](Id id, const QStringList& values) {
    *error = tooltext::format(id, zh, values);
    return false;
  };

  // Options first, words kept in order; the command is the first word.
  struct Pending {
    QString name;
    QString value;
  };
  QList<Pending> options;
  QStringList words;
  bool onlyWords = false;
  for (int i = 0; i < args.size(); ++i) {
    const QString& a = args[i];
    if (onlyWords || !a.startsWith('-') || a == "-") {
      words << a;
      continue;
    }
    if (a == "--") {
      onlyWords = true;
      continue;
    }
    QString name = a;
    QString value;
    bool hasValue = false;
    if (a.startsWith("--") && a.contains('=')) {
      name = a.left(a.indexOf('='));
      value = a.mid(a.indexOf('=') + 1);
      hasValue = true;
    }
    if (name == "-h" || name == "--help" || name == "--json") {
      options.append({name, {}});
      continue;
    }
    const bool takesValue = name == "-p" || name == "--port" || name == "-o" || name == "--output" ||
                            name == "--count" || name == "--lang";
    if (takesValue && !hasValue) {
      if (i + 1 >= args.size()) {
        const QString cmd = words.isEmpty() ? QString("tyxctl") : words.first();
        return fail(Id::OptionNeedsValue, {name, cmd});
      }
      value = args[++i];
    }
    options.append({name, value});
  }

  if (!words.isEmpty()) {
    inv->command = words.takeFirst();
    if (inv->command == "net" && !words.isEmpty()) inv->sub = words.takeFirst();
  }
  for (const Pending& o : options)
    if (o.name == "-h" || o.name == "--help") inv->help = true;
  if (inv->command == "help") {
    inv->help = true;
    inv->command = words.value(0);
    if (inv->command == "net") inv->sub = words.value(1);
  }
  if (inv->help) {
    if (!inv->command.isEmpty() && helpText(inv->command, inv->sub).isEmpty())
      return fail(Id::UnknownCommand, {inv->command + (inv->sub.isEmpty() ? "" : " " + inv->sub), kCommandList});
    return true;
  }
  if (inv->command.isEmpty()) return fail(Id::UnknownCommand, {"", kCommandList});
  const CommandSpec* spec = findCommand(inv->command, inv->sub);
  if (!spec) {
    const QString typed = inv->command + (inv->command == "net" ? " " + inv->sub : QString());
    return fail(Id::UnknownCommand, {typed.trimmed(), kCommandList});
  }
  const QString title = commandTitle(*spec);
  const QString letters = spec->options;

  for (const Pending& o : options) {
    if (o.name == "--json") {
      inv->json = true;
    } else if (o.name == "--lang") {
      if (!validLanguage(o.value, &inv->chinese)) return fail(Id::BadLanguage, {o.value});
    } else if ((o.name == "-p" || o.name == "--port") && letters.contains('p')) {
      inv->port = o.value;
    } else if ((o.name == "-o" || o.name == "--output") && letters.contains('o')) {
      inv->output = o.value;
    } else if (o.name == "--count" && letters.contains('c')) {
      bool ok = false;
      const int n = o.value.toInt(&ok);
      if (!ok || n < 1 || n > kMaxCount) return fail(Id::BadCount, {o.value, QString::number(kMaxCount)});
      inv->count = n;
    } else {
      return fail(Id::UnknownOption, {o.name, title});
    }
  }

  const QString portList = CameraSession::knownPorts().join(", ");
  if (spec->needsPort && inv->port.isEmpty()) return fail(Id::NeedsPort, {title, portList});
  QString port, settings;
  if (!inv->port.isEmpty() && !splitPort(inv->port, &port, &settings))
    return fail(Id::UnknownPort, {inv->port, portList});
  if (inv->command == "net" && inv->sub == "set-ip" && !CameraSession::isNetworkPort(inv->port))
    return fail(Id::NotNetworkPort, {title, inv->port});
  if (words.size() < spec->minArgs) return fail(Id::MissingArgument, {title, spec->argName});
  if (spec->maxArgs >= 0 && words.size() > spec->maxArgs) return fail(Id::ExtraArgument, {words[spec->maxArgs], title});
  if (letters.contains('o') && inv->output.isEmpty()) return fail(Id::MissingArgument, {title, "-o FILE.bmp|FILE.png"});
  if (!inv->output.isEmpty() && !inv->output.endsWith(".bmp", Qt::CaseInsensitive) &&
      !inv->output.endsWith(".png", Qt::CaseInsensitive))
    return fail(Id::BadImageName, {inv->output});
  inv->args = words;
  return true;
}

}  // namespace tyxctl
