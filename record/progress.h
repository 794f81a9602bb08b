// The progress bar of a recording on a terminal: frames done of the total, frames per second and
// the time left, redrawn in place a few times a second.
#pragma once

#include <chrono>
#include <cstdio>

namespace record {

class Progress {
  public:
    // Draws nothing unless `shown`; the total is the number of frames to render.
    Progress(std::FILE* stream, bool shown, int total);
    ~Progress() { Clear(); }
    Progress(const Progress&) = delete;
    Progress& operator=(const Progress&) = delete;

    void Update(int done);
    // Wipes the bar, so the next line starts clean.
    void Clear();

  private:
    using Clock = std::chrono::steady_clock;
    std::FILE* stream_;
    bool shown_;
    int total_;
    Clock::time_point start_ = Clock::now();
    Clock::time_point lastDrawn_{};
    bool drawn_ = false;
};

}  // namespace record
