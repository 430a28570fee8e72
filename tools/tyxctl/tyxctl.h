// tyxctl.h - the command-line tool as a function, for its main() and its tests.
#pragma once

#include <QStringList>

class Console;

namespace tyxctl {

// Runs one command line (the arguments after the program name) against the
// camera library, with whatever desktop is installed; returns the exit code.
int run(const QStringList& args, Console& console);

}  // namespace tyxctl
