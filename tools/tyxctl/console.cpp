// console.cpp - standard output and standard error as the tool's console.
#include "tools/tyxctl/console.h"

#include <cstdio>

namespace {
void writeLine(FILE* stream, const QString& line) {
  const QByteArray bytes = line.toUtf8();
  std::fwrite(bytes.constData(), 1, static_cast<size_t>(bytes.size()), stream);
  std::fputc('\n', stream);
  std::fflush(stream);
}
}  // namespace

void StdConsole::out(const QString& line) { writeLine(stdout, line); }
void StdConsole::err(const QString& line) { writeLine(stderr, line); }
