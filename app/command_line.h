// The command line of `showcase`: GNU-style options read before any window opens, and the choice
// of the folder the pictures come from. Without options the program starts as it always has.
#pragma once

#include <cstdio>
#include <string>

// Reads the options. After --help or --version, or a usage error (one line and a hint on `err`),
// returns the status to exit with at once: 0, or 2 for the error. Otherwise sets the picture
// folder and returns -1: the viewer runs.
int HandleCommandLine(int argc, char** argv, std::FILE* out, std::FILE* err);

// What the programs of the project say the GNU way: the --version text, and a usage error (one
// line naming the problem, then the hint) whose exit status, 2, this returns.
void PrintVersion(std::FILE* out, const char* program);
int UsageError(std::FILE* err, const char* program, const std::string& problem);
// The usage error for an option getopt_long refused (its option string starting with ':'): `option`
// is what it returned, ':' for a missing argument, and `word` the argument it was reading.
int RefusedOption(std::FILE* err, const char* program, int option, const char* word);

// Makes a folder named on a command line the picture folder. Returns why it cannot serve (the
// system's words, "No such file or directory") and leaves the picture folder as it was, or
// returns an empty text when it was set.
std::string UsePictureFolder(std::string folder);

// The picture folder when none is given: "picture" when the current directory has one, else the
// set installed beside the program (<prefix>/share/showcase/picture for <prefix>/bin/showcase),
// else, for a program in its build folder, the source tree's set; "picture" when none exists.
std::string FindPictureFolder();
