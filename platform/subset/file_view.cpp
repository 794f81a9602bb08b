// FileView on Linux: open non-blocking, keep only a regular file, map it read-only.
#include "platform/common/file_view.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdint>

namespace platform {

namespace {

int Descriptor(void* file) { return static_cast<int>(reinterpret_cast<std::intptr_t>(file)) - 1; }
void* FileOf(int descriptor) { return reinterpret_cast<void*>(static_cast<std::intptr_t>(descriptor) + 1); }

}  // namespace

FileView::FileView(const char* fileName) {
    if (fileName == nullptr) return;
    // Non-blocking, so a name that turns out to be a pipe fails instead of waiting.
    const int descriptor = open(fileName, O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (descriptor < 0) return;
    file_ = FileOf(descriptor);
    struct stat status;
    if (fstat(descriptor, &status) != 0 || !S_ISREG(status.st_mode) || status.st_size <= 0) return;
    const auto size = static_cast<std::size_t>(status.st_size);
    void* view = mmap(nullptr, size, PROT_READ, MAP_PRIVATE | MAP_POPULATE, descriptor, 0);
    if (view == MAP_FAILED) return;
    data_ = static_cast<const unsigned char*>(view);
    size_ = size;
}

FileView::~FileView() {
    if (data_ != nullptr) munmap(const_cast<unsigned char*>(data_), size_);
    if (file_ != nullptr) close(Descriptor(file_));
}

}  // namespace platform
