// FileView on Windows: open for reading while others may read or write it too, keep only a
// disk file, map it read-only.
#include "platform/common/file_view.h"

#include "platform/windows/api.h"

namespace platform {

FileView::FileView(const char* fileName) {
    if (fileName == nullptr) return;
    HANDLE file = CreateFileA(fileName, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return;
    file_ = file;
    LARGE_INTEGER size;
    if (GetFileType(file) != FILE_TYPE_DISK || !GetFileSizeEx(file, &size) || size.QuadPart <= 0) return;
    if (static_cast<unsigned long long>(size.QuadPart) > SIZE_MAX) return;
    mapping_ = CreateFileMappingA(file, nullptr, PAGE_READONLY, 0, 0, nullptr);
    if (mapping_ == nullptr) return;
    const void* view = MapViewOfFile(mapping_, FILE_MAP_READ, 0, 0, 0);
    if (view == nullptr) return;
    data_ = static_cast<const unsigned char*>(view);
    size_ = static_cast<std::size_t>(size.QuadPart);
}

FileView::~FileView() {
    if (data_ != nullptr) UnmapViewOfFile(data_);
    if (mapping_ != nullptr) CloseHandle(mapping_);
    if (file_ != nullptr) CloseHandle(file_);
}

}  // namespace platform
