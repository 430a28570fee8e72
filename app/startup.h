// startup.h - what the program says about itself before its window opens.
#pragma once

#include <string>

// Which camera and board library the program loads, as one line:
// "camera library /usr/lib/.../libtyxcamera.so (simulated); board library ...".
std::string libraryReportLine();
// The same for a person, one library a line, in English or Chinese.
std::string libraryReportText(bool chinese);
// What --version prints: the version and the libraries.
std::string versionText();
// What --help prints.
std::string helpText(const std::string& program);
// The one line printed when no display can be opened; display is the value
// of DISPLAY (empty when unset).
std::string noDisplayLine(const std::string& program, const std::string& display);
