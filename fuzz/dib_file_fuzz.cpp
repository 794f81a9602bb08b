// libFuzzer target for ReadDibImage: the input becomes the whole content of an in-memory file
// (one memfd, rewritten for each input) that is opened by name, mapped, decoded and released.
// On the headless backend a failure shows exactly one box and a picture none. A non-empty file
// must always be opened and mapped, so a leaked mapping shows once the process runs out of
// them; a leaked descriptor shows at once, as the lowest free descriptor moves.
#include <fcntl.h>
#include <sys/mman.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "fuzz/dib_check.h"
#include "image/dib_file.h"
#include "platform/subset/headless/headless.h"

namespace {

int LowestFreeDescriptor(int any) {
    int probe = dup(any);
    if (probe < 0) std::abort();
    close(probe);
    return probe;
}

struct MemoryFile {
    int descriptor;
    char path[64];
    int lowestFree;
};

MemoryFile& File() {
    static MemoryFile file = [] {
        MemoryFile made{memfd_create("dib_file_fuzz", MFD_CLOEXEC), {}, 0};
        if (made.descriptor < 0) {
            std::perror("memfd_create");
            std::abort();
        }
        std::snprintf(made.path, sizeof made.path, "/proc/self/fd/%d", made.descriptor);
        made.lowestFree = LowestFreeDescriptor(made.descriptor);
        return made;
    }();
    return file;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    MemoryFile& file = File();
    // Written over the last input and then cut to size, which frees only the pages past it.
    for (std::size_t done = 0; done < size;) {
        ssize_t wrote = pwrite(file.descriptor, data + done, size - done, off_t(done));
        if (wrote <= 0) std::abort();
        done += std::size_t(wrote);
    }
    if (ftruncate(file.descriptor, off_t(size)) != 0) std::abort();
    headless::Reset();
    RgbImage* image = ReadDibImage(file.path);
    const std::vector<headless::Box>& boxes = headless::Boxes();
    if (boxes.size() != (image == nullptr ? 1u : 0u)) std::abort();
    if (size > 0 && image == nullptr && boxes[0].text.rfind("Failed to open", 0) == 0) {
        int error = errno;
        int again = open(file.path, O_RDONLY | O_CLOEXEC);
        void* view = again < 0 ? MAP_FAILED : mmap(nullptr, size, PROT_READ, MAP_PRIVATE, again, 0);
        std::fprintf(stderr, "not opened: %s (errno after: %s; again: open %d, mmap %s)\n", boxes[0].text.c_str(),
                     std::strerror(error), again, view == MAP_FAILED ? std::strerror(errno) : "ok");
        std::abort();
    }
    if (image != nullptr) CheckAndFreePicture(image);
    if (LowestFreeDescriptor(file.descriptor) != file.lowestFree) std::abort();
    return 0;
}
