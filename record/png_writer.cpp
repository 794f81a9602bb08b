// PNG output through libpng: one still, or one file per frame with the frame's number in its
// name. Numbered files are all held under temporary names and renamed together at the end, so
// an interrupted recording leaves none of them.
#include <png.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <vector>

#include "record/pending_file.h"
#include "record/writer.h"

namespace record {

namespace {

struct PngFailure {
    char text[256] = "";
};

void OnPngError(png_structp png, png_const_charp message) {
    auto* failure = static_cast<PngFailure*>(png_get_error_ptr(png));
    std::snprintf(failure->text, sizeof failure->text, "%s", message);
    png_longjmp(png, 1);
}

// libpng reports errors by longjmp, so nothing here has a destructor to skip.
bool EncodePng(std::FILE* file, const FrameView& frame, PngFailure* failure) {
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, failure, OnPngError, nullptr);
    if (png == nullptr) return false;
    png_infop info = png_create_info_struct(png);
    if (info == nullptr) {
        png_destroy_write_struct(&png, nullptr);
        return false;
    }
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return false;
    }
    png_init_io(png, file);
    png_set_IHDR(png, info, static_cast<png_uint_32>(frame.width), static_cast<png_uint_32>(frame.height), 8,
                 PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    png_set_bgr(png);
    png_set_filler(png, 0, PNG_FILLER_AFTER);  // the rows carry a fourth byte, which is dropped
    const std::size_t stride = static_cast<std::size_t>(frame.width) * 4;
    for (int y = 0; y < frame.height; ++y) png_write_row(png, frame.bgrx + y * stride);
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return true;
}

class StillWriter : public FrameWriter {
  public:
    explicit StillWriter(const std::string& output) : file_(output) {}
    bool Start() { return file_.Create(error_); }

    bool Write(const FrameView& frame, int) override { return WritePng(file_.Path(), frame, error_); }
    bool Finish() override { return file_.Commit(error_); }

  private:
    PendingFile file_;
};

class SequenceWriter : public FrameWriter {
  public:
    explicit SequenceWriter(const std::string& pattern) {
        const std::filesystem::path path(pattern);
        folder_ = path.parent_path();
        name_ = path.filename().string();
    }

    bool Write(const FrameView& frame, int frameNo) override {
        // The name was checked to hold exactly one %d and no other conversion.
        std::vector<char> name(name_.size() + 16);
        std::snprintf(name.data(), name.size(), name_.c_str(), frameNo);
        files_.emplace_back((folder_ / name.data()).string());
        return files_.back().Create(error_) && WritePng(files_.back().Path(), frame, error_);
    }

    bool Finish() override {
        for (PendingFile& file : files_) {
            if (!file.Commit(error_)) return false;
        }
        return true;
    }

  private:
    std::filesystem::path folder_;
    std::string name_;
    std::vector<PendingFile> files_;
};

}  // namespace

bool WritePng(const std::string& path, const FrameView& frame, std::string& error) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) {
        error = "cannot write '" + path + "': " + std::strerror(errno);
        return false;
    }
    PngFailure failure;
    const bool encoded = EncodePng(file, frame, &failure);
    const int writeError = std::ferror(file) ? errno : 0;
    const bool closed = std::fclose(file) == 0;
    if (encoded && writeError == 0 && closed) return true;
    error = "cannot write '" + path + "': " +
            (failure.text[0] != '\0' ? failure.text : std::strerror(writeError != 0 ? writeError : errno));
    return false;
}

// Frames waiting for the writer's thread: enough to ride out an encoder's uneven pace.
constexpr int kQueuedFrames = 3;

std::unique_ptr<FrameWriter> OpenWriter(const Options& options, std::string& error) {
    switch (options.kind) {
        case OutputKind::Still: {
            auto writer = std::make_unique<StillWriter>(options.output);
            if (!writer->Start()) {
                error = writer->Error();
                return nullptr;
            }
            return writer;
        }
        // Numbered PNGs and videos are compressed while the next frames render.
        case OutputKind::Sequence:
            return InBackground(std::make_unique<SequenceWriter>(options.output), kQueuedFrames);
        case OutputKind::Video: {
            std::unique_ptr<FrameWriter> writer = OpenVideoWriter(options, error);
            return writer ? InBackground(std::move(writer), kQueuedFrames) : nullptr;
        }
    }
    return nullptr;
}

}  // namespace record
