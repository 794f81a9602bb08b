// The decoding core, step by step: the "BM" file header and its pixel-data offset, the 12- or
// 40-byte header turned into a source description (a 40-byte info header and a table of 4-byte
// entries in one block), the 24-bit section, the conversion, and the swap to red-green-blue
// rows. Headers are parsed apart from the pixel work, and every byte read is first checked to
// lie inside the file.
#include "image/dib_decode.h"

#include <algorithm>
#include <cstdlib>
#include <memory>

#include "image/dib_convert.h"

namespace {

// 32-bit fields sit at 2-byte alignment behind a file header: read bytewise, low half first.
inline std::uint16_t ReadLe16(const unsigned char* at) { return static_cast<std::uint16_t>(at[0] | at[1] << 8); }
inline std::uint32_t ReadLe32(const unsigned char* at) { return ReadLe16(at) | std::uint32_t(ReadLe16(at + 2)) << 16; }

// The file's bytes; Has() says whether count bytes from offset lie inside it.
struct FileBytes {
    const unsigned char* data;
    std::size_t size;
    bool Has(std::size_t offset, std::size_t count) const { return offset <= size && count <= size - offset; }
};

bool CheckedMultiply(std::size_t a, std::size_t b, std::size_t& product) {
    return !__builtin_mul_overflow(a, b, &product);
}

constexpr std::uint32_t kCoreHeaderSize = 12;
constexpr std::uint32_t kInfoHeaderSize = 40;
constexpr std::size_t kFileHeaderSize = 14;
constexpr std::size_t kMaskBytes = 12;  // red, green and blue masks behind a bit-field header

struct FreeBlock {
    void operator()(void* block) const { std::free(block); }
};
template <typename T>
using HeapBlock = std::unique_ptr<T, FreeBlock>;

// Where the bitmap header is and what kind it is.
struct HeaderPlace {
    std::size_t offset;  // 14 behind a file header, else 0
    bool fileHeader;
    std::uint32_t pixelOffset;  // from the file header
    std::uint32_t size;         // 12 or 40 when that whole header lies inside the file, else 0
};

HeaderPlace FindHeader(const FileBytes& file) {
    HeaderPlace place{0, false, 0, 0};
    if (file.Has(0, 2) && file.data[0] == 'B' && file.data[1] == 'M') {
        place.offset = kFileHeaderSize;
        place.fileHeader = true;
        if (file.Has(10, 4)) place.pixelOffset = ReadLe32(file.data + 10);
    }
    if (file.Has(place.offset, 4)) {
        std::uint32_t size = ReadLe32(file.data + place.offset);
        if ((size == kCoreHeaderSize || size == kInfoHeaderSize) && file.Has(place.offset, size)) place.size = size;
    }
    return place;
}

// The working data of one decoding, released in reverse order of acquisition.
struct Decoding {
    FileBytes file;
    HeaderPlace place;
    std::uint16_t colorCount = 0;
    HeapBlock<unsigned char> description;  // 40-byte info header + colorCount 4-byte entries
    DibSource source{};
    bool tableInFile = true;      // colour table and masks wholly inside the file
    std::size_t pixelOffset = 0;  // where the pixel data starts in the file
    bool topDown = false;
    HeapBlock<unsigned char> sectionBits;  // the whole section, a band of it, or nothing
    DibSection section{};                  // rows: the section's; sectionBits holds bandRows
    std::int32_t bandRows = 0;
    DibRowPlan plan;  // uncompressed sources
    HeapBlock<unsigned char> pixels;
};

// Uncompressed rows that need the section are converted and swapped a band of about this many
// bytes at a time, so the section never has to exist whole; RLE deltas move between rows, so a
// compressed source gets the whole section.
constexpr std::size_t kBandBytes = 32 * 1024;

// Zeroed memory for `rows` section rows: the whole section or a band.
bool AllocateSectionRows(Decoding& work, std::int32_t rows) {
    std::size_t bytes;
    if (!CheckedMultiply(work.section.stride, std::size_t(rows), bytes)) return false;
    work.sectionBits.reset(static_cast<unsigned char*>(std::calloc(bytes, 1)));
    work.section.bits = work.sectionBits.get();
    work.bandRows = rows;
    return work.section.bits != nullptr;
}

DibInfoHeader& SourceHeader(Decoding& work) { return *reinterpret_cast<DibInfoHeader*>(work.description.get()); }
DibColor* SourceColors(Decoding& work) {
    return reinterpret_cast<DibColor*>(work.description.get() + sizeof(DibInfoHeader));
}

// A core header: widened to an info header; 3-byte entries become 4-byte ones.
void FillFromCore(Decoding& work) {
    const unsigned char* at = work.file.data + work.place.offset;
    DibInfoHeader& header = SourceHeader(work);
    header = DibInfoHeader{
        kInfoHeaderSize, ReadLe16(at + 4), ReadLe16(at + 6), ReadLe16(at + 8), ReadLe16(at + 10), kBiRgb, 0, 0, 0,
        work.colorCount, work.colorCount};
    std::size_t table = work.place.offset + kCoreHeaderSize;
    work.tableInFile = work.file.Has(table, std::size_t(3) * work.colorCount);
    DibColor* colors = SourceColors(work);
    for (std::size_t i = 0; i < work.colorCount && work.file.Has(table + 3 * i, 3); ++i) {
        const unsigned char* entry = work.file.data + table + 3 * i;
        colors[i] = DibColor{entry[0], entry[1], entry[2], 0};
    }
    work.pixelOffset = table + std::size_t(3) * work.colorCount;
}

// An info header: fields and 4-byte entries copied as they are. A bit-field header is followed
// by its three masks, then the table.
void FillFromInfo(Decoding& work) {
    const unsigned char* at = work.file.data + work.place.offset;
    DibInfoHeader& header = SourceHeader(work);
    header = DibInfoHeader{ReadLe32(at),
                           static_cast<std::int32_t>(ReadLe32(at + 4)),
                           static_cast<std::int32_t>(ReadLe32(at + 8)),
                           ReadLe16(at + 12),
                           ReadLe16(at + 14),
                           ReadLe32(at + 16),
                           ReadLe32(at + 20),
                           static_cast<std::int32_t>(ReadLe32(at + 24)),
                           static_cast<std::int32_t>(ReadLe32(at + 28)),
                           ReadLe32(at + 32),
                           ReadLe32(at + 36)};
    std::size_t table = work.place.offset + kInfoHeaderSize;
    if (header.compression == kBiBitfields) {
        work.tableInFile = work.file.Has(table, kMaskBytes);
        for (int channel = 0; channel < 3 && work.tableInFile; ++channel)
            work.source.masks[channel] = ReadLe32(work.file.data + table + 4 * channel);
        table += kMaskBytes;
    }
    work.tableInFile = work.tableInFile && work.file.Has(table, std::size_t(4) * work.colorCount);
    DibColor* colors = SourceColors(work);
    for (std::size_t i = 0; i < work.colorCount && work.file.Has(table + 4 * i, 4); ++i) {
        const unsigned char* entry = work.file.data + table + 4 * i;
        colors[i] = DibColor{entry[0], entry[1], entry[2], entry[3]};
    }
    work.pixelOffset = table + std::size_t(4) * work.colorCount;
}

// The section a texture can use: 1 to kMaxDibSide pixels per side, kMaxDibPixels in all. A
// compressed source gets the whole section now; uncompressed rows get a band once their plan
// shows they need one.
bool MakeSection(Decoding& work) {
    const DibInfoHeader& header = SourceHeader(work);
    std::int64_t width = header.width;
    std::int64_t rows = header.height < 0 ? -std::int64_t(header.height) : header.height;
    if (width < 1 || width > kMaxDibSide || rows < 1 || rows > kMaxDibSide || width * rows > kMaxDibPixels)
        return false;
    DibSection& section = work.section;
    section.width = static_cast<std::int32_t>(width);
    section.rows = static_cast<std::int32_t>(rows);
    section.stride = SectionStride(section.width);
    work.topDown = header.height < 0;
    return !IsCompressed(header) || AllocateSectionRows(work, section.rows);
}

// The picture's red-green-blue rows from the section (or straight from the source rows where the
// plan allows), bottom row first whatever the source's order.
void WritePicture(Decoding& work) {
    const DibSection& section = work.section;
    std::size_t rowBytes = std::size_t(section.width) * 3;
    auto target = [&](std::int32_t row) {
        return work.pixels.get() + rowBytes * std::size_t(work.topDown ? section.rows - 1 - row : row);
    };
    if (IsCompressed(*work.source.header)) {
        for (std::int32_t row = 0; row < section.rows; ++row)
            SwapRow(section.bits + section.stride * std::size_t(row), target(row), section.width);
        return;
    }
    const DibRowPlan& plan = work.plan;
    switch (plan.target) {
        case DibRowTarget::InPlace:
            for (std::int32_t row = 0; row < section.rows; ++row)
                SwapRow(SourceRow(plan, row), target(row), section.width);
            break;
        case DibRowTarget::Picture:
            for (std::int32_t row = 0; row < section.rows; ++row)
                plan.convert(SourceRow(plan, row), target(row), section.width, plan);
            break;
        case DibRowTarget::Section:
            for (std::int32_t first = 0; first < section.rows; first += work.bandRows) {
                DibSection band{section.bits, section.width, std::min(work.bandRows, section.rows - first),
                                section.stride};
                ConvertRows(plan, first, band);
                for (std::int32_t row = 0; row < band.rows; ++row)
                    SwapRow(band.bits + band.stride * std::size_t(row), target(first + row), band.width);
            }
            break;
    }
}

DibResult Fail(DibFailure failure, DibReport report) {
    if (report != nullptr) report(failure);
    return DibResult{nullptr, failure};
}

}  // namespace

const char* DibFailureText(DibFailure failure) {
    switch (failure) {
        case DibFailure::OutOfMemory: return "Out of memory.";
        case DibFailure::UnknownFormat: return "Unknown DIB file format.";
        case DibFailure::ConversionError: return "Image file conversion error.";
        case DibFailure::None: break;
    }
    return nullptr;
}

std::uint16_t CountDibColors(const void* header) {
    const unsigned char* at = static_cast<const unsigned char*>(header);
    std::uint16_t bitCount;
    if (ReadLe32(at) == kCoreHeaderSize) {
        bitCount = ReadLe16(at + 10);
    } else {
        std::uint32_t used = ReadLe32(at + 32);
        if (used != 0) return static_cast<std::uint16_t>(used);
        bitCount = ReadLe16(at + 14);
    }
    switch (bitCount) {
        case 1: return 2;
        case 4: return 16;
        case 8: return 256;
        default: return 0;
    }
}

DibResult DecodeDib(const unsigned char* data, std::size_t size, DibReport report) {
    Decoding work;
    work.file = FileBytes{data, size};
    work.place = FindHeader(work.file);
    if (work.place.size != 0) work.colorCount = CountDibColors(data + work.place.offset);

    std::size_t descriptionBytes = sizeof(DibInfoHeader) + sizeof(DibColor) * (1 + std::size_t(work.colorCount));
    work.description.reset(static_cast<unsigned char*>(std::malloc(descriptionBytes)));
    if (work.description == nullptr) return Fail(DibFailure::OutOfMemory, report);

    switch (work.place.size) {
        case kCoreHeaderSize: FillFromCore(work); break;
        case kInfoHeaderSize: FillFromInfo(work); break;
        default: return Fail(DibFailure::UnknownFormat, report);
    }
    if (work.place.fileHeader) work.pixelOffset = work.place.pixelOffset;

    DibInfoHeader& header = SourceHeader(work);
    if (!MakeSection(work)) return Fail(DibFailure::OutOfMemory, report);

    work.source.header = &header;
    work.source.colors = SourceColors(work);
    work.source.colorCount = work.colorCount;
    if (work.pixelOffset <= size) {
        work.source.bits = data + work.pixelOffset;
        work.source.bitsSize = size - work.pixelOffset;
    }
    // Compressed sources are decoded whole here; uncompressed ones are checked and planned, and
    // converted while the picture is written.
    const DibSection& section = work.section;
    bool convertible =
        work.tableInFile && (IsCompressed(header) ? DecodeRle(work.source, section)
                                                  : PlanRows(work.source, section.width, section.rows, work.plan));
    if (!convertible) return Fail(DibFailure::ConversionError, report);
    if (!IsCompressed(header) && work.plan.target == DibRowTarget::Section &&
        !AllocateSectionRows(
            work, static_cast<std::int32_t>(std::clamp<std::size_t>(kBandBytes / section.stride, 1, section.rows))))
        return Fail(DibFailure::OutOfMemory, report);

    std::size_t pixelBytes;
    if (CheckedMultiply(std::size_t(section.width) * 3, std::size_t(section.rows), pixelBytes))
        work.pixels.reset(static_cast<unsigned char*>(std::malloc(pixelBytes)));
    if (work.pixels == nullptr) return Fail(DibFailure::OutOfMemory, report);
    WritePicture(work);

    auto* image = static_cast<RgbImage*>(std::malloc(sizeof(RgbImage)));
    if (image == nullptr) return Fail(DibFailure::OutOfMemory, report);
    *image = RgbImage{section.width, section.rows, work.pixels.release()};
    return DibResult{image, DibFailure::None};
}
