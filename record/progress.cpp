// Drawing the bar: a line rewritten after a carriage return and cleared to its end.
#include "record/progress.h"

#include <string>

namespace record {

namespace {

constexpr auto kRedrawInterval = std::chrono::milliseconds(125);
constexpr int kBarWidth = 30;

std::string Duration(double seconds) {
    const long total = static_cast<long>(seconds + 0.5);
    char text[32];
    if (total >= 3600) std::snprintf(text, sizeof text, "%ld:%02ld:%02ld", total / 3600, total / 60 % 60, total % 60);
    else std::snprintf(text, sizeof text, "%ld:%02ld", total / 60, total % 60);
    return text;
}

}  // namespace

Progress::Progress(std::FILE* stream, bool shown, int total) : stream_(stream), shown_(shown), total_(total) {}

void Progress::Update(int done) {
    if (!shown_) return;
    const Clock::time_point now = Clock::now();
    if (done < total_ && drawn_ && now - lastDrawn_ < kRedrawInterval) return;
    lastDrawn_ = now;
    drawn_ = true;
    const double elapsed = std::chrono::duration<double>(now - start_).count();
    const double rate = elapsed > 0 ? done / elapsed : 0;
    const int filled = static_cast<int>(static_cast<long long>(kBarWidth) * done / total_);
    const std::string bar = std::string(filled, '#') + std::string(kBarWidth - filled, '.');
    const std::string left = rate > 0 ? Duration((total_ - done) / rate) : "--:--";
    std::fprintf(stream_, "\r[%s] %d/%d frames  %.1f fps  %s left\033[K", bar.c_str(), done, total_, rate,
                 left.c_str());
    std::fflush(stream_);
}

void Progress::Clear() {
    if (!drawn_) return;
    std::fprintf(stream_, "\r\033[K");
    std::fflush(stream_);
    drawn_ = false;
}

}  // namespace record
