// command_line.h - what the user asked the tool to do, read from its arguments.
#pragma once

#include <QString>
#include <QStringList>

namespace tyxctl {

// The exit codes; --help lists them and scripts test them.
enum Exit : int {
  kExitOk = 0,
  kExitRefused = 1,    // the camera or its library refused an operation; its message was printed
  kExitUsage = 2,      // bad command line or value: unknown command, option, port, name or word,
                       // a value the page would refuse, a setting this camera does not have
  kExitNoCamera = 3,   // no camera answers on the port (or on any port)
  kExitNoLibrary = 4,  // the camera library cannot be loaded
  kExitFile = 5,       // an image could not be captured or written
};

struct Invocation {
  QString command;   // ports, info, get, set, memorize, recall, defaults, save, load, net, grab, help
  QString sub;       // scan or set-ip after net
  QString port;      // -p / --port, as typed
  QString output;    // -o / --output
  int count = 1;     // --count
  QStringList args;  // the remaining words: names, assignments, a file, an address
  bool json = false;
  bool help = false;
  bool chinese = false;
};

// The language of the messages before the command line is understood:
// --lang when it is given and valid, else the locale's.
bool chineseFromArguments(const QStringList& args);

// Reads the arguments (without the program name). On bad input returns false
// and sets *error to the one-line message in the chosen language.
bool parseArguments(const QStringList& args, Invocation* inv, QString* error);

// A port as typed: a known port, or a Camera Link port followed by a comma
// and its serial settings. False when it is not one.
bool splitPort(const QString& typed, QString* port, QString* settings);

// --help: the overview, or one command's (command "net" with sub for the
// two network commands), in English or Chinese. Empty for a command the tool
// does not have. The value names and their one-line summaries stay as the
// descriptions give them: the names are what is typed in either language.
QString helpText(const QString& command, const QString& sub, bool chinese);

// The greatest --count.
inline constexpr int kMaxCount = 1000;

}  // namespace tyxctl
