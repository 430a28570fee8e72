// self_check.h - every window of the running program, drawn on a real display and looked at.
#pragma once

#include <QString>

class CTyxVistrelDlg;

// Shows every tab of the main window, the information window, the control
// bar and the live image window in turn, saves a picture of each into dir
// and checks that none is blank and that an installed font draws every text
// (the Chinese ones too). With live video running it changes the port to a
// camera of the other image kind and checks the windows follow. When
// handshake is set, writes dir/ready once the pictures are taken and waits
// (at most 10 s) for dir/done, so a script can photograph the whole screen
// meanwhile. Returns the process exit code: 0 when all is well.
int runSelfCheck(CTyxVistrelDlg& dialog, const QString& dir, bool handshake);
