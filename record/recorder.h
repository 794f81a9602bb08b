// The recording itself: the program run as `showcase` runs, on the off-screen backend, with each
// frame of the chosen range read back and handed to the output's writer.
#pragma once

#include "record/options.h"

namespace record {

// Records the show as the options say. Returns the exit status: 0 when the output is complete,
// 1 after a failure said on stderr (nothing written then). After SIGINT, SIGTERM or SIGHUP it
// removes what it wrote and ends the process by that signal.
int RecordShow(const Options& options);

}  // namespace record
