// ReadDibImage: the file mapped read-only as one byte range (never read into a buffer), decoded
// in place by the core, every failure reported in a box, the mapping and the descriptor
// released on every path.
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>

#include "image/dib_decode.h"
#include "platform/win32.h"

bool showDibErrors = true;

namespace {

// The whole file as a read-only view. A file that cannot be opened, examined or mapped (an
// empty file cannot) leaves nothing held; the destructor unmaps the view, then closes the file.
class MappedFile {
  public:
    explicit MappedFile(const char* fileName) {
        if (fileName == nullptr) return;
        // Non-blocking, so a name that turns out to be a pipe fails instead of waiting.
        descriptor_ = open(fileName, O_RDONLY | O_CLOEXEC | O_NONBLOCK);
        if (descriptor_ < 0) return;
        struct stat status;
        if (fstat(descriptor_, &status) != 0 || !S_ISREG(status.st_mode) || status.st_size <= 0) return;
        size_ = static_cast<std::size_t>(status.st_size);
        void* view = mmap(nullptr, size_, PROT_READ, MAP_PRIVATE | MAP_POPULATE, descriptor_, 0);
        if (view != MAP_FAILED) view_ = static_cast<const unsigned char*>(view);
    }
    ~MappedFile() {
        if (view_ != nullptr) munmap(const_cast<unsigned char*>(view_), size_);
        if (descriptor_ >= 0) close(descriptor_);
    }
    MappedFile(const MappedFile&) = delete;
    MappedFile& operator=(const MappedFile&) = delete;

    const unsigned char* View() const { return view_; }
    std::size_t Size() const { return size_; }

  private:
    int descriptor_ = -1;
    const unsigned char* view_ = nullptr;
    std::size_t size_ = 0;
};

void ShowDibError(const char* text) {
    if (showDibErrors) MessageBoxA(GetFocus(), text, "Error", MB_OK);
}

void ReportDibFailure(DibFailure failure) { ShowDibError(DibFailureText(failure)); }

}  // namespace

RgbImage* ReadDibImage(const char* fileName) {
    RgbImage* image = nullptr;
    bool mapped = false;
    {
        MappedFile file(fileName);
        mapped = file.View() != nullptr;
        if (mapped) image = DecodeDib(file.View(), file.Size(), ReportDibFailure).image;
    }
    if (!mapped) {
        // A long name is cut to fit; the text never overflows the buffer.
        char text[256];
        std::snprintf(text, sizeof text, "Failed to open DIB file %s.\n", fileName != nullptr ? fileName : "");
        ShowDibError(text);
    }
    return image;
}
