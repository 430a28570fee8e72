// smoke_run.h - a self-check of the running program on a real display.
#pragma once

#include <QString>

class CTyxVistrelDlg;

// Shows every tab of the main window and the information window in turn,
// saves a picture of each into dir and checks that none is blank and that
// an installed font covers the Chinese texts when the interface is Chinese.
// When handshake is set, writes dir/ready once the pictures are taken and
// waits (at most 10 s) for dir/done, so a script can photograph the whole
// screen meanwhile. Returns the process exit code: 0 when all is well.
int runSmokeShots(CTyxVistrelDlg& dialog, const QString& dir, bool handshake);
