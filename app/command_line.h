// The command line of `showcase`: GNU-style options read before any window opens, and the choice
// of the folder the pictures come from. Without options the program starts as it always has.
#pragma once

#include <cstdio>

// Reads the options. After --help or --version, or a usage error (one line and a hint on `err`),
// returns the status to exit with at once: 0, or 2 for the error. Otherwise sets the picture
// folder and returns -1: the viewer runs.
int HandleCommandLine(int argc, char** argv, std::FILE* out, std::FILE* err);
