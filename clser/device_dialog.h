// device_dialog.h - the "Select a serial device" dialog as clSerialInit sees
// it: a question that always yields the five texts to apply.
#pragma once

#include <string>

#include "dialog_answer.h"

namespace clser {

// Shows the dialog for the named board and returns the texts it ended with.
// When no dialog can be shown, or it ends without a usable answer, returns
// the shown defaults and says why in one line on stderr (the missing display
// only the first time).
DialogSelection askDeviceSettings(const std::string& productName);

// True when CLSERTYX_NO_DIALOG is set to something other than "" or "0":
// the dialog is then suppressed as by the -2 switch.
bool dialogSuppressedByEnvironment();

// Lets the no-display note be printed again.
void resetNoDisplayNote();

}  // namespace clser
