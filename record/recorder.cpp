// ViewerMain itself plays the show on a screen of the recording's size; the backend's frame hook,
// which runs inside SwapBuffers once a frame is complete, reads each frame back and writes it,
// and asks the window to close after the last one. The push buttons are not drawn, and the
// backend's message boxes are written to stderr, since there is no screen.
#include "record/recorder.h"

#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <string>

#include "app/viewer.h"
#include "image/texture_set.h"
#include "platform/subset/headless/headless.h"
#include "record/progress.h"
#include "record/writer.h"

namespace record {

namespace {

constexpr int kFailedStatus = 1;
constexpr int kStopSignals[] = {SIGINT, SIGTERM, SIGHUP};

volatile std::sig_atomic_t stopSignal = 0;

void OnStopSignal(int signal) { stopSignal = signal; }

void CatchStopSignals() {
    struct sigaction action {};
    action.sa_handler = OnStopSignal;
    sigemptyset(&action.sa_mask);
    for (int signal : kStopSignals) sigaction(signal, &action, nullptr);
}

// Ends the process by the signal that stopped it, as an uncaught signal would.
[[noreturn]] void DieOf(int signal) {
    std::signal(signal, SIG_DFL);
    std::raise(signal);
    _exit(128 + signal);
}

// The texture set of this one opening: a picture that was neither loaded nor reported in a box
// was missing. Returns the first such file; empty when every picture loaded.
std::string MissingPicture() {
    for (const TextureFile& file : kTextureFiles) {
        if (*file.texture == 0) return std::string(PictureFolder()) + "/" + file.name;
    }
    return {};
}

// The state of one run, driven by the frame hook.
class Run {
  public:
    Run(const Options& options, FrameWriter& writer)
        : options_(options),
          writer_(writer),
          progress_(stderr, !options.quiet && isatty(STDERR_FILENO), options.lastFrame) {}

    void OnFrame(int frameNo) {
        if (closing_) return;
        // After a stop the boxes are no longer shown, so the pictures cannot be judged.
        if (frameNo == 1 && stopSignal == 0) CheckPictures();
        if (!failed_ && frameNo >= options_.firstFrame) WriteFrame(frameNo);
        progress_.Update(frameNo);
        if (failed_ || stopSignal != 0 || frameNo == options_.lastFrame) {
            closing_ = true;
            headless::CloseRequest();
        }
    }

    // True when every frame of the range was written.
    bool Complete() const { return !failed_ && written_ == options_.lastFrame - options_.firstFrame + 1; }
    void ClearProgress() { progress_.Clear(); }

  private:
    void CheckPictures() {
        if (!headless::Boxes().empty()) {
            failed_ = true;  // the decoder's boxes have been written out already
            return;
        }
        const std::string missing = MissingPicture();
        if (missing.empty()) return;
        std::fprintf(stderr, "%s: cannot read picture '%s'\n", kProgram, missing.c_str());
        failed_ = true;
    }

    void WriteFrame(int frameNo) {
        headless::ReadPixels(frame_, headless::PixelOrder::Bgra);
        if (writer_.Write(FrameView{frame_.width, frame_.height, frame_.rgba.data()}, frameNo)) {
            ++written_;
            return;
        }
        progress_.Clear();
        std::fprintf(stderr, "%s: %s\n", kProgram, writer_.Error().c_str());
        failed_ = true;
    }

    const Options& options_;
    FrameWriter& writer_;
    Progress progress_;
    headless::Frame frame_;
    int written_ = 0;
    bool failed_ = false;
    bool closing_ = false;
};

}  // namespace

int RecordShow(const Options& options) {
    CatchStopSignals();
    headless::SetScreen(options.width, options.height, 32);
    headless::DrawButtons(false);
    headless::EchoBoxes(stderr, kProgram);

    std::string error;
    std::unique_ptr<FrameWriter> writer = OpenWriter(options, error);
    if (!writer) {
        std::fprintf(stderr, "%s: %s\n", kProgram, error.c_str());
        return kFailedStatus;
    }
    Run run(options, *writer);
    headless::OnFrame([&run](int frameNo) { run.OnFrame(frameNo); });
    const int status = ViewerMain(GetModuleHandleA(nullptr), nullptr, const_cast<char*>(""), SW_SHOW);
    headless::OnFrame(nullptr);
    run.ClearProgress();
    if (stopSignal != 0) {
        writer.reset();  // removes what was written
        DieOf(stopSignal);
    }
    if (status != 0 || !run.Complete()) return kFailedStatus;
    if (!writer->Finish()) {
        std::fprintf(stderr, "%s: %s\n", kProgram, writer->Error().c_str());
        return kFailedStatus;
    }
    return 0;
}

}  // namespace record
