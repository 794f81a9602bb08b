// A file written under a hidden temporary name in its target's folder and renamed onto the
// target once complete, so the target never holds a partial file; until then it is removed
// again when dropped.
#pragma once

#include <string>

namespace record {

class PendingFile {
  public:
    explicit PendingFile(std::string target) : target_(std::move(target)) {}
    ~PendingFile() { Discard(); }
    PendingFile(PendingFile&& other) noexcept;
    PendingFile& operator=(PendingFile&&) = delete;
    PendingFile(const PendingFile&) = delete;
    PendingFile& operator=(const PendingFile&) = delete;

    // Creates the empty temporary file (the writer opens it by Path()); false with `error` set.
    bool Create(std::string& error);
    const std::string& Path() const { return path_; }
    const std::string& Target() const { return target_; }
    // Renames the temporary file onto the target.
    bool Commit(std::string& error);
    // Removes the temporary file, if any is held.
    void Discard();

  private:
    std::string target_;
    std::string path_;  // empty when nothing is held
};

}  // namespace record
