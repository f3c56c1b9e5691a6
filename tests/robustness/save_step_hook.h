// SPDX-License-Identifier: GPL-3.0-or-later
// Stops the process at a chosen step of a file update. The system calls by
// which a save changes or syncs files (open, write, fchmod, fsync, close,
// rename, unlink) are wrapped in this test program; while armed, the wrapper
// counts them and kills the process with SIGKILL right before call number
// `killAt` (1-based), as a power cut or a crash there would.
#pragma once

// Arms the hook in the calling process: the killAt-th wrapped call never runs.
void ArmSaveStepKill(int killAt);
// Disarms the hook and answers how many wrapped calls ran while armed.
int DisarmSaveStepKill();
