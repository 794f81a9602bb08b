// The writers of showcase-record's outputs: a PNG still, numbered PNGs and videos. Each keeps its
// output under temporary names until Finish; a writer dropped before that leaves nothing.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "record/options.h"

namespace record {

// One frame of the show: width x height pixels, 4 bytes each (blue, green, red, unused: the order
// the renderer reads fastest), rows top first without padding.
struct FrameView {
    int width = 0;
    int height = 0;
    const std::uint8_t* bgrx = nullptr;
};

class FrameWriter {
  public:
    virtual ~FrameWriter() = default;
    // Adds the frame numbered `frameNo` in the show; false with Error() set.
    virtual bool Write(const FrameView& frame, int frameNo) = 0;
    // Completes the output under its final name or names; false with Error() set.
    virtual bool Finish() = 0;
    const std::string& Error() const { return error_; }

  protected:
    std::string error_;
};

// The writer the output's kind and extension call for, ready for frames of the options' size; null
// with `error` set when it cannot be started.
std::unique_ptr<FrameWriter> OpenWriter(const Options& options, std::string& error);

// Writes one frame as a PNG file (8-bit RGB) at `path`; false with `error` set.
bool WritePng(const std::string& path, const FrameView& frame, std::string& error);
// A video writer (FFmpeg's libraries) for the options' container, size, rate and quality.
std::unique_ptr<FrameWriter> OpenVideoWriter(const Options& options, std::string& error);
// `writer` working on a thread of its own, with `buffers` frames queued at most.
std::unique_ptr<FrameWriter> InBackground(std::unique_ptr<FrameWriter> writer, int buffers);

}  // namespace record
