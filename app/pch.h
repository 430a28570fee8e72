// pch.h - precompiled header of the program's object library: the Qt headers
// that nearly every page includes, so each file compiles in a fraction.
#pragma once
#include <QtWidgets>
#include <cstdint>
#include <cstring>
#include <functional>
#include <memory>
#include <vector>
