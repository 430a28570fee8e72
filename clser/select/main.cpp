// main.cpp - clsertyx-select: the "Select a serial device" dialog that
// clSerialInit starts in a process of its own.
//
// Usage: clsertyx-select [--product NAME]
// Shows the dialog for the named board and, when it ends, writes the five
// box texts to standard output in the form of clser/dialog_answer.h. The
// library applies them; this program touches no board.

#include <cstdio>
#include <cstring>
#include <string>

#include <QApplication>

#include "clser/dialog_answer.h"
#include "serial_device_dialog.h"

int main(int argc, char** argv) {
  std::string product;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--product") == 0 && i + 1 < argc) {
      product = argv[++i];
    } else {
      std::fprintf(stderr, "usage: %s [--product NAME]\n", argv[0]);
      return 2;
    }
  }
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("clsertyx-select"));
  bool written = false;
  clser::SerialDeviceDialog dialog(product, [&written](const clser::DialogSelection& selection) {
    const std::string answer = clser::encodeDialogAnswer(selection);
    written =
        std::fwrite(answer.data(), 1, answer.size(), stdout) == answer.size() && std::fflush(stdout) == 0;
  });
  dialog.exec();
  // Without a complete answer the library applies the shown defaults; a
  // failed write must not look like an answer.
  return written ? 0 : 1;
}
