// net_camera_list.h - showing the network camera list modally.
#pragma once

#include <cstdint>

class QWidget;

// Shows the list of the records a network scan found (count as reported by
// the scan) and lets the user pick one. Returns true when the user opened a
// connection; the choice (0-3) is then the camera state's network port
// choice.
bool execNetCameraList(QWidget* parent, const void* area208, void* list, int32_t count);

// The full network camera list registers itself here; until it does, a
// plain list that shows the records and returns the choice stands in.
using NetCameraListHandler = bool (*)(QWidget* parent, const void* area208, void* list, int32_t count);
void setNetCameraListHandler(NetCameraListHandler handler);
