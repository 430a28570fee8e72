// application.h - opening the display and the application object as the program starts.
#pragma once

#include <QApplication>
#include <memory>
#include <string>

// The file name the program was started as, without its folder ("vistrel"
// when the system gives none).
std::string programNameOf(int argc, char** argv);

// Opens the display, creates the application object with the program's name
// and version and prints which camera and board library it loaded. When no
// display can be opened it prints one line saying so and what to do, and
// returns null (the caller exits with status 2). argc must outlive the
// returned object, as Qt keeps a reference to it.
std::unique_ptr<QApplication> startApplication(int& argc, char** argv, const std::string& program);
