// board_commands.h - the control commands of the simulated boards.
#pragma once

namespace boardsim {

// Applies a ';'-separated list of commands (see the simulator's manual);
// says on stderr which one it did not understand and returns false then.
// fromEnvironment names the source in that message.
bool applyCommands(const char* text, bool fromEnvironment);

}  // namespace boardsim
