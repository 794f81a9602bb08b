// What the command lines of both programs (`showcase` and `showcase-record`) share: the GNU-style
// scan with --help and --version, the usage error, whole numbers, and the picture folder.
#pragma once

#include <getopt.h>

#include <cstdio>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

// One line naming the problem, then the hint, on `err`; returns the usage status, 2.
int UsageError(std::FILE* err, const char* program, const std::string& problem);

// Scans argv with getopt_long over `options`, from the start (the scan may run more than once in
// a process). The entries named "help" and "version" are answered on `out` (with `printHelp` and
// the version text); a refused option (unknown, or without its argument) is a usage error;
// every other option goes to `take` with its argument (null when it has none), which returns -1
// to go on or a status to exit with. Returns -1 after the last option, with optind at the first
// operand, or the status to exit with at once: 0 after --help or --version, 2 after an error.
int ScanOptions(int argc, char** argv, const char* program, const option* options,
                void (*printHelp)(std::FILE* out), std::FILE* out, std::FILE* err,
                const std::function<int(int option, const char* argument)>& take);

// The whole text as a decimal number from low to high (digits only: no sign, space or other
// character), or nothing.
std::optional<long> WholeNumber(std::string_view text, long low, long high);

// Sets the folder the pictures are read from: DIR of --pictures when one was given, else "picture"
// when the current directory has one, else the set installed beside the program
// (<prefix>/share/showcase/picture for <prefix>/bin/showcase), else, for a program in its build
// folder, the source tree's set; "picture" when none exists. Returns -1 once it is set, or the
// usage error's status when DIR cannot serve (the system's words say why).
int SetPictureFolderFromOption(std::FILE* err, const char* program, const std::optional<std::string>& pictures);
