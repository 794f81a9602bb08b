// The shared parts of both command lines: getopt_long's scan, the GNU texts, and the lookup of the
// picture folder.
#include "app/program_options.h"

#include <cerrno>
#include <charconv>
#include <cstring>
#include <filesystem>
#include <system_error>

#include "image/texture_set.h"
#include "platform/win32.h"

namespace fs = std::filesystem;

namespace {

constexpr int kUsageStatus = 2;

void PrintVersion(std::FILE* out, const char* program) {
    std::fprintf(out,
                 "%s %s\n"
                 "Copyright (C) 2026 The showcase authors.\n"
                 "License MIT: <https://opensource.org/licenses/MIT>.\n",
                 program, SHOWCASE_VERSION);
}

// The usage error for an option getopt_long refused (its option string starting with ':'):
// `option` is what it returned, ':' for a missing argument, and `word` the argument it was reading.
int RefusedOption(std::FILE* err, const char* program, int option, const char* word) {
    if (option == ':') return UsageError(err, program, std::string("option '") + word + "' requires an argument");
    if (optopt != 0) return UsageError(err, program, std::string("invalid option -- '") + char(optopt) + "'");
    return UsageError(err, program, std::string("unrecognized option '") + word + "'");
}

bool IsDirectory(const fs::path& path) {
    std::error_code error;
    return fs::is_directory(path, error);
}

// Why a folder given with --pictures cannot serve, or empty when it can.
std::string FolderProblem(const std::string& folder) {
    std::error_code error;
    const fs::file_status status = fs::status(folder, error);
    if (error || !fs::exists(status)) return std::strerror(error ? error.value() : ENOENT);
    if (!fs::is_directory(status)) return std::strerror(ENOTDIR);
    return {};
}

fs::path ProgramFolder() {
    char file[4096];
    if (GetModuleFileNameA(nullptr, file, sizeof file) == 0) return {};
    return fs::path(file).parent_path();
}

std::string FindPictureFolder() {
    if (IsDirectory(kDefaultPictureFolder)) return kDefaultPictureFolder;
    const fs::path programFolder = ProgramFolder();
    if (!programFolder.empty()) {
        const fs::path installed = (programFolder / SHOWCASE_PICTURES_FROM_BINDIR).lexically_normal();
        if (IsDirectory(installed)) return installed.string();
        std::error_code error;
        if (fs::equivalent(programFolder, SHOWCASE_BUILD_DIR, error) && IsDirectory(SHOWCASE_SOURCE_PICTURES))
            return SHOWCASE_SOURCE_PICTURES;
    }
    return kDefaultPictureFolder;
}

}  // namespace

int UsageError(std::FILE* err, const char* program, const std::string& problem) {
    std::fprintf(err, "%s: %s\nTry '%s --help' for more information.\n", program, problem.c_str(), program);
    return kUsageStatus;
}

int ScanOptions(int argc, char** argv, const char* program, const option* options,
                void (*printHelp)(std::FILE* out), std::FILE* out, std::FILE* err,
                const std::function<int(int option, const char* argument)>& take) {
    opterr = 0;  // the messages name the program and the problem the GNU way
    optind = 0;  // a fresh scan (glibc)
    for (;;) {
        const int previous = optind;
        int index = -1;
        const int option = getopt_long(argc, argv, ":", options, &index);
        if (option == -1) return -1;
        if (option == ':' || option == '?')
            return RefusedOption(err, program, option, argv[optind > previous ? optind - 1 : previous]);
        const std::string_view name = options[index].name;
        if (name == "help") {
            printHelp(out);
            return 0;
        }
        if (name == "version") {
            PrintVersion(out, program);
            return 0;
        }
        if (const int status = take(option, optarg); status >= 0) return status;
    }
}

std::optional<long> WholeNumber(std::string_view text, long low, long high) {
    if (text.empty() || text.front() < '0' || text.front() > '9') return std::nullopt;
    long value = 0;
    const char* end = text.data() + text.size();
    const auto [at, error] = std::from_chars(text.data(), end, value);
    if (error != std::errc() || at != end || value < low || value > high) return std::nullopt;
    return value;
}

int SetPictureFolderFromOption(std::FILE* err, const char* program, const std::optional<std::string>& pictures) {
    if (!pictures) {
        SetPictureFolder(FindPictureFolder().c_str());
        return -1;
    }
    if (const std::string problem = FolderProblem(*pictures); !problem.empty())
        return UsageError(err, program, "cannot use picture folder '" + *pictures + "': " + problem);
    // The boxes name the files as opened: "DIR/4.bmp", not "DIR//4.bmp" (nor "DIR\\4.bmp" on Windows).
    std::string folder = *pictures;
    const auto separator = [](char c) { return c == '/' || c == char(fs::path::preferred_separator); };
    while (folder.size() > 1 && separator(folder.back())) folder.pop_back();
    SetPictureFolder(folder.c_str());
    return -1;
}
