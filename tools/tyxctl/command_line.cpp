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
  const char* helpZh;
  QString helpIn(bool zh) const { return QString::fromUtf8(zh ? helpZh : help); }
};

// A text in both languages; the tool picks one per run.
struct Texts {
  const char* english;
  const char* chinese;
  QString in(bool zh) const { return QString::fromUtf8(zh ? chinese : english); }
};

const Texts kExitCodes = {
    "\n"
    "Exit codes:\n"
    "  0  done\n"
    "  1  the camera or its library refused an operation (its message is printed;\n"
    "     values written before it stay, as in the program)\n"
    "  2  bad command line or value (nothing was written to the camera)\n"
    "  3  no camera answers on the port\n"
    "  4  the camera library cannot be loaded\n"
    "  5  an image could not be captured or written\n",
    "\n"
    "退出码：\n"
    "  0  完成\n"
    "  1  相机或相机库拒绝了一项操作（打印其消息；之前写入的值保留，与程序相同）\n"
    "  2  命令行或值有误（未向相机写入任何值）\n"
    "  3  端口上无相机应答\n"
    "  4  无法加载相机库\n"
    "  5  无法采集或写入图像\n"};

const Texts kCommonOptions = {
    "  --json           one JSON object per line (per camera, value or file), stable keys\n"
    "  --lang en|zh     language of texts and messages (default: from the locale)\n"
    "  -h, --help       this text\n",
    "  --json           每行一个 JSON 对象（每台相机、每个值或每个文件），键名固定\n"
    "  --lang en|zh     文字和消息的语言（默认随系统区域设置）\n"
    "  -h, --help       本说明\n"};

const Texts kOptionsTitle = {"\nOptions:\n", "\n选项：\n"};
const Texts kPortOption = {"  -p, --port PORT  the camera's port\n", "  -p, --port 端口  相机的端口\n"};
const Texts kPortOptional = {"  -p, --port PORT  the camera's port (optional)\n", "  -p, --port 端口  相机的端口（可选）\n"};
const Texts kOutputOption = {"  -o, --output FILE  the image file, .bmp or .png\n",
                             "  -o, --output 文件  图像文件，.bmp 或 .png\n"};
const Texts kCountOption = {"  --count N        frames to save, 1 to %1 (default 1)\n",
                            "  --count N        保存的帧数，1 到 %1（默认 1）\n"};
// The bash completion reads the names after this line from the English help.
const Texts kNamesTitle = {"\nNames (which of them a camera has: tyxctl info -p PORT):\n",
                           "\n名称（相机具有其中哪些：tyxctl info -p 端口）：\n"};

constexpr CommandSpec kCommands[] = {
    {"ports", nullptr, "p", false, 0, 0, nullptr,
     "Usage: tyxctl ports [-p PORT] [--json]\n"
     "Tries COM1-COM4, the Camera Link, USB-serial and USB ports and the network\n"
     "scan, and prints per port that answers its type code, model text, version\n"
     "code and the driver version. -p limits the probe to one port.\n",
     "用法：tyxctl ports [-p 端口] [--json]\n"
     "依次尝试 COM1-COM4、Camera Link、USB 转串口和 USB 端口以及网络扫描，\n"
     "对每个有应答的端口打印型号代码、型号文字、版本代码和驱动版本。\n"
     "-p 只探测这一个端口。\n"},
    {"info", nullptr, "p", true, 0, 0, nullptr,
     "Usage: tyxctl info -p PORT [--json]\n"
     "Prints the camera's identity, its function tags and every setting of its\n"
     "records by name (exposure in microseconds and the frame rate through the\n"
     "camera library).\n",
     "用法：tyxctl info -p 端口 [--json]\n"
     "按名称打印相机的标识、功能标识和其记录中的每一项设置（曝光以微秒、\n"
     "帧率均经相机库换算）。\n"},
    {"get", nullptr, "p", true, 1, -1, "NAME...",
     "Usage: tyxctl get -p PORT NAME... [--json]\n"
     "Prints the named settings as the camera holds them now. Names are those of\n"
     "info (gain, black, run-mode, exposure-us, ...).\n",
     "用法：tyxctl get -p 端口 名称... [--json]\n"
     "打印所指设置在相机中的当前值。名称与 info 相同（gain、black、run-mode、\n"
     "exposure-us 等）。\n"},
    {"set", nullptr, "p", true, 1, -1, "NAME=VALUE...",
     "Usage: tyxctl set -p PORT NAME=VALUE... [--json]\n"
     "Writes settings in the order given, with the rules of the page that owns\n"
     "each value (range, step, clamp), re-reads the record where the page does and\n"
     "prints what the camera now holds. Enumerations take a word or a number\n"
     "(run-mode=edge-trigger, run-mode=2). Every value is checked before the first\n"
     "write; a refusal by the camera stops at that value.\n",
     "用法：tyxctl set -p 端口 名称=值... [--json]\n"
     "按给出的顺序写入设置，遵循拥有该值的页面的规则（范围、步长、限位），\n"
     "在页面重读记录处重读，并打印相机现在的值。枚举值可用单词或数字\n"
     "（run-mode=edge-trigger、run-mode=2）。写入前先检查全部值；相机拒绝\n"
     "某个值时在该值处停止。\n"},
    {"memorize", nullptr, "p", true, 0, 0, nullptr,
     "Usage: tyxctl memorize -p PORT\n"
     "Stores the camera's settings in its own memory, as the main window's button does.\n",
     "用法：tyxctl memorize -p 端口\n"
     "把相机的设置存入相机自身的存储器，与主窗口的按钮相同。\n"},
    {"recall", nullptr, "p", true, 0, 0, nullptr,
     "Usage: tyxctl recall -p PORT\n"
     "Recalls the settings from the camera's memory, as the main window's button does.\n",
     "用法：tyxctl recall -p 端口\n"
     "从相机的存储器调出设置，与主窗口的按钮相同。\n"},
    {"defaults", nullptr, "p", true, 0, 0, nullptr,
     "Usage: tyxctl defaults -p PORT\n"
     "Restores the camera's factory settings, as the main window's button does.\n",
     "用法：tyxctl defaults -p 端口\n"
     "恢复相机的出厂设置，与主窗口的按钮相同。\n"},
    {"save", nullptr, "p", true, 1, 1, "FILE.cam",
     "Usage: tyxctl save -p PORT FILE.cam\n"
     "Saves the camera's settings to a configuration file, as the port page does.\n",
     "用法：tyxctl save -p 端口 文件.cam\n"
     "把相机的设置保存到配置文件，与端口页相同。\n"},
    {"load", nullptr, "p", true, 1, 1, "FILE.cam",
     "Usage: tyxctl load -p PORT FILE.cam\n"
     "Loads a configuration file into the camera, as the port page does.\n",
     "用法：tyxctl load -p 端口 文件.cam\n"
     "把配置文件载入相机，与端口页相同。\n"},
    {"net", "scan", "", false, 0, 0, nullptr,
     "Usage: tyxctl net scan [--json]\n"
     "Scans for network cameras and prints the network list's lines per camera.\n",
     "用法：tyxctl net scan [--json]\n"
     "扫描网络相机，按相机打印网络列表中的各行。\n"},
    {"net", "set-ip", "p", true, 1, 1, "ADDRESS",
     "Usage: tyxctl net set-ip -p NetPortN ADDRESS\n"
     "Gives the network camera on NetPort1-NetPort4 a new IPv4 address.\n",
     "用法：tyxctl net set-ip -p NetPortN 地址\n"
     "为 NetPort1-NetPort4 上的网络相机设置新的 IPv4 地址。\n"},
    {"grab", nullptr, "poc", true, 0, 0, nullptr,
     "Usage: tyxctl grab -p PORT -o FILE.bmp|FILE.png [--count N] [--json]\n"
     "Captures frames of a USB image camera at its full size, as the image window\n"
     "does, and writes them as BMP or PNG. With --count N above 1 the files are\n"
     "numbered: FILE-1.bmp ... FILE-N.bmp.\n",
     "用法：tyxctl grab -p 端口 -o 文件.bmp|文件.png [--count N] [--json]\n"
     "以全尺寸采集 USB 图像相机的帧（与图像窗口相同），写成 BMP 或 PNG。\n"
     "--count N 大于 1 时文件带编号：文件-1.bmp ... 文件-N.bmp。\n"},
};

const Texts kOverview = {
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
    "Options:\n",
    "用法：tyxctl 命令 [选项]\n"
    "在命令行中设置相机，遵循 vistrel 各页面的规则。\n"
    "\n"
    "命令：\n"
    "  ports [-p 端口]                 探测端口，打印有应答者\n"
    "  info -p 端口                    标识和全部设置\n"
    "  get -p 端口 名称...             打印设置\n"
    "  set -p 端口 名称=值...          写入设置，打印相机现在的值\n"
    "  memorize|recall|defaults -p 端口   相机存储器和出厂设置\n"
    "  save|load -p 端口 文件.cam      配置文件\n"
    "  net scan                        列出网络相机\n"
    "  net set-ip -p NetPortN 地址     为网络相机设置新地址\n"
    "  grab -p 端口 -o 文件 [--count N]   保存 USB 图像相机的帧\n"
    "\n"
    "端口：COM1-COM4、CamLink1、CamLink2（其后可跟逗号和串口设置）、\n"
    "USB/232-1 至 USB/232-4、USB1-USB4、NetPort1-NetPort4。\n"
    "相机库 libtyxcamera.so 依次取自 LD_LIBRARY_PATH、系统库路径、随附的模拟库，\n"
    "与 vistrel 相同。\n"
    "见 tyxctl 命令 --help 和 tyxctl(1)。\n"
    "\n"
    "选项：\n"};

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

QString helpText(const QString& command, const QString& sub, bool chinese) {
  const bool zh = chinese;
  const QString common = kCommonOptions.in(zh) + kExitCodes.in(zh);
  if (command.isEmpty() || command == "help") return kOverview.in(zh) + common;
  if (command == "net" && sub.isEmpty())
    return findCommand("net", "scan")->helpIn(zh) + "\n" + findCommand("net", "set-ip")->helpIn(zh) +
           kOptionsTitle.in(zh) + common;
  const CommandSpec* c = findCommand(command, sub);
  if (!c) return {};
  QString options = kOptionsTitle.in(zh);
  const QString letters = c->options;
  if (letters.contains('p')) options += (c->needsPort ? kPortOption : kPortOptional).in(zh);
  if (letters.contains('o')) options += kOutputOption.in(zh);
  if (letters.contains('c')) options += kCountOption.in(zh).arg(kMaxCount);
  QString names;
  if (command == "get" || command == "set") {
    // The names come from the shared descriptions, so the list can never
    // miss a value the pages have.
    names = kNamesTitle.in(zh);
    for (const camval::Descriptor& d : camval::all())
      names += ("  " + QString::fromUtf8(d.name).leftJustified(22) + " " + tooltext::valueSummary(d.name, d.summary, zh))
                   .trimmed()
                   .prepend("  ") +
               "\n";
  }
  return c->helpIn(zh) + options + common + names;
}

namespace {

// An option as typed, its value taken from "--name=value" or the next word.
struct Pending {
  QString name;
  QString value;
};

// A one-line message in the run's language; always false, for `return fail(...)`.
struct Failure {
  bool zh;
  QString* error;
  bool operator()(Id id, const QStringList& values) const {
    *error = tooltext::format(id, zh, values);
    return false;
  }
};

bool isHelp(const QString& name) { return name == "-h" || name == "--help"; }

// Splits the arguments into options and words, keeping the words in order;
// after "--" everything is a word.
bool splitArguments(const QStringList& args, QList<Pending>* options, QStringList* words, const Failure& fail) {
  bool onlyWords = false;
  for (int i = 0; i < args.size(); ++i) {
    const QString& a = args[i];
    if (onlyWords || !a.startsWith('-') || a == "-") {
      *words << a;
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
    if (isHelp(name) || name == "--json") {
      options->append({name, {}});
      continue;
    }
    const bool takesValue = name == "-p" || name == "--port" || name == "-o" || name == "--output" ||
                            name == "--count" || name == "--lang";
    if (takesValue && !hasValue) {
      if (i + 1 >= args.size()) return fail(Id::OptionNeedsValue, {name, words->isEmpty() ? "tyxctl" : words->first()});
      value = args[++i];
    }
    options->append({name, value});
  }
  return true;
}

// Takes the command's options into the invocation; an option the command
// does not take is refused.
bool applyOptions(const CommandSpec& spec, const QList<Pending>& options, Invocation* inv, const Failure& fail) {
  const QString letters = spec.options;
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
      return fail(Id::UnknownOption, {o.name, commandTitle(spec)});
    }
  }
  return true;
}

// What the command needs beside its options: a port it can use, the right
// number of words, an image file name it can write.
bool checkCommand(const CommandSpec& spec, const Invocation& inv, const QStringList& words, const Failure& fail) {
  const QString title = commandTitle(spec);
  const QString portList = CameraSession::knownPorts().join(", ");
  if (spec.needsPort && inv.port.isEmpty()) return fail(Id::NeedsPort, {title, portList});
  QString port, settings;
  if (!inv.port.isEmpty() && !splitPort(inv.port, &port, &settings)) return fail(Id::UnknownPort, {inv.port, portList});
  if (inv.command == "net" && inv.sub == "set-ip" && !CameraSession::isNetworkPort(inv.port))
    return fail(Id::NotNetworkPort, {title, inv.port});
  if (words.size() < spec.minArgs) return fail(Id::MissingArgument, {title, spec.argName});
  if (spec.maxArgs >= 0 && words.size() > spec.maxArgs) return fail(Id::ExtraArgument, {words[spec.maxArgs], title});
  const QString letters = spec.options;
  if (letters.contains('o') && inv.output.isEmpty()) return fail(Id::MissingArgument, {title, "-o FILE.bmp|FILE.png"});
  if (!inv.output.isEmpty() && !inv.output.endsWith(".bmp", Qt::CaseInsensitive) &&
      !inv.output.endsWith(".png", Qt::CaseInsensitive))
    return fail(Id::BadImageName, {inv.output});
  return true;
}

}  // namespace

bool parseArguments(const QStringList& args, Invocation* inv, QString* error) {
  *inv = Invocation{};
  inv->chinese = chineseFromArguments(args);
  const Failure fail{inv->chinese, error};
  QList<Pending> options;
  QStringList words;
  if (!splitArguments(args, &options, &words, fail)) return false;

  // The command is the first word, "net" with the next one.
  if (!words.isEmpty()) {
    inv->command = words.takeFirst();
    if (inv->command == "net" && !words.isEmpty()) inv->sub = words.takeFirst();
  }
  for (const Pending& o : options)
    if (isHelp(o.name)) inv->help = true;
  if (inv->command == "help") {
    inv->help = true;
    inv->command = words.value(0);
    if (inv->command == "net") inv->sub = words.value(1);
  }
  if (inv->help) {
    if (!inv->command.isEmpty() && helpText(inv->command, inv->sub, fail.zh).isEmpty())
      return fail(Id::UnknownCommand, {inv->command + (inv->sub.isEmpty() ? "" : " " + inv->sub), kCommandList});
    return true;
  }
  const CommandSpec* spec = inv->command.isEmpty() ? nullptr : findCommand(inv->command, inv->sub);
  if (!spec) {
    const QString typed = inv->command + (inv->command == "net" ? " " + inv->sub : QString());
    return fail(Id::UnknownCommand, {typed.trimmed(), kCommandList});
  }
  if (!applyOptions(*spec, options, inv, fail) || !checkCommand(*spec, *inv, words, fail)) return false;
  inv->args = words;
  return true;
}

}  // namespace tyxctl
