// Temporary names are ".<name>.<pid>-<n>.part" beside the target; the new file gets the usual
// permissions (0666 less the umask), as the target would.
#include "record/pending_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>

namespace record {

PendingFile::PendingFile(PendingFile&& other) noexcept
    : target_(std::move(other.target_)), path_(std::move(other.path_)) {
    other.path_.clear();
}

bool PendingFile::Create(std::string& error) {
    const std::filesystem::path target(target_);
    // Appended, not "." + name: GCC 12 at -O3 warns (-Wrestrict) on the insert at the front that
    // operator+ makes of it, a false alarm that breaks a Release build with -Werror.
    std::string hidden = ".";
    hidden += target.filename().string();
    const std::string stem = (target.parent_path() / hidden).string();
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::string candidate = stem + "." + std::to_string(getpid()) + "-" + std::to_string(attempt) + ".part";
        const int descriptor = open(candidate.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (descriptor >= 0) {
            close(descriptor);
            path_ = std::move(candidate);
            return true;
        }
        if (errno != EEXIST) break;
    }
    error = "cannot create a file beside '" + target_ + "': " + std::strerror(errno);
    return false;
}

bool PendingFile::Commit(std::string& error) {
    if (std::rename(path_.c_str(), target_.c_str()) != 0) {
        error = "cannot rename '" + path_ + "' to '" + target_ + "': " + std::strerror(errno);
        return false;
    }
    path_.clear();
    return true;
}

void PendingFile::Discard() {
    if (path_.empty()) return;
    unlink(path_.c_str());
    path_.clear();
}

}  // namespace record
