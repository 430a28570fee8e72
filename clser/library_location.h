// library_location.h - where the serial library's own file lies.
#pragma once

#include <string>

namespace clser {

// The folder of the file that holds this code, with every soft link resolved
// (hosts reach the library through a link in a folder of their own), without
// a trailing separator; "" when it cannot be found.
std::string libraryDirectory();

}  // namespace clser
