// SPDX-License-Identifier: GPL-3.0-or-later
// The one way out of the program.
#pragma once

// Shuts the runtime down in its fixed order and ends the process with exit
// code 0; during a replay with its verdict (0 while it matches the
// recording, 1 once it departed). Every way out of the program goes through
// here.
[[noreturn]] void EndProgram();

// The same way out with another exit code, for a failure at start-up and for
// the run controls of the command line that must report a failure to their
// caller.
[[noreturn]] void EndProgramWith(int exitCode);
