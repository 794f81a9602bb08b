// A whole file as one read-only byte range, for the picture decoder. Only a regular file that is
// not empty is mapped; opening never waits (a pipe or a device at the name fails at once). The
// destructor releases the view and the file.
#pragma once

#include <cstddef>

namespace platform {

class FileView {
  public:
    explicit FileView(const char* fileName);
    ~FileView();
    FileView(const FileView&) = delete;
    FileView& operator=(const FileView&) = delete;

    // Null when the file could not be opened, examined or mapped.
    const unsigned char* Data() const { return data_; }
    std::size_t Size() const { return size_; }

  private:
    const unsigned char* data_ = nullptr;
    std::size_t size_ = 0;
    void* file_ = nullptr;     // the open file (its descriptor or handle)
    void* mapping_ = nullptr;  // Windows: the mapping object
};

}  // namespace platform
