// A writer that hands each frame to a thread of its own, so that the show renders and reads back
// the next frame while the last ones are converted, encoded and written: on a small machine the
// two halves then share its cores instead of taking turns. Frames are copied into a few buffers
// that go round between the two threads; Write waits only when all of them are queued. The inner
// writer is used by the thread alone until it has ended, then by Finish.
#include <signal.h>

#include <condition_variable>
#include <cstring>
#include <deque>
#include <mutex>
#include <thread>
#include <vector>

#include "record/writer.h"

namespace record {

namespace {

class BackgroundWriter : public FrameWriter {
  public:
    BackgroundWriter(std::unique_ptr<FrameWriter> inner, int buffers)
        : inner_(std::move(inner)), free_(buffers), thread_([this] { Work(); }) {}

    // A writer dropped before Finish stops after the frame in hand, and its inner writer then
    // removes what it wrote.
    ~BackgroundWriter() override {
        Stop(false);
        inner_.reset();
    }

    bool Write(const FrameView& frame, int frameNo) override {
        std::unique_lock<std::mutex> lock(mutex_);
        ready_.wait(lock, [this] { return failed_ || !free_.empty(); });
        if (failed_) return Failed();
        Queued queued{std::move(free_.back()), frame.width, frame.height, frameNo};
        free_.pop_back();
        lock.unlock();
        queued.bgrx.resize(std::size_t(frame.width) * frame.height * 4);
        std::memcpy(queued.bgrx.data(), frame.bgrx, queued.bgrx.size());
        lock.lock();
        queue_.push_back(std::move(queued));
        work_.notify_one();
        return true;
    }

    bool Finish() override {
        Stop(true);
        if (failed_) return Failed();
        if (inner_->Finish()) return true;
        error_ = inner_->Error();
        return false;
    }

  private:
    struct Queued {
        std::vector<std::uint8_t> bgrx;
        int width;
        int height;
        int frameNo;
    };

    bool Failed() {
        error_ = inner_->Error();
        return false;
    }

    // Ends the thread, after the queued frames when `drain`, else after the frame in hand.
    void Stop(bool drain) {
        if (!thread_.joinable()) return;
        {
            std::lock_guard<std::mutex> lock(mutex_);
            ending_ = true;
            if (!drain) queue_.clear();
        }
        work_.notify_one();
        thread_.join();
    }

    void Work() {
        // Stop signals go to the thread that renders, which ends the recording.
        sigset_t signals;
        sigemptyset(&signals);
        for (int signal : {SIGINT, SIGTERM, SIGHUP}) sigaddset(&signals, signal);
        pthread_sigmask(SIG_BLOCK, &signals, nullptr);

        std::unique_lock<std::mutex> lock(mutex_);
        for (;;) {
            work_.wait(lock, [this] { return ending_ || !queue_.empty(); });
            if (queue_.empty()) return;
            Queued queued = std::move(queue_.front());
            queue_.pop_front();
            lock.unlock();
            const bool wrote =
                inner_->Write(FrameView{queued.width, queued.height, queued.bgrx.data()}, queued.frameNo);
            lock.lock();
            free_.push_back(std::move(queued.bgrx));
            if (!wrote) {
                failed_ = true;
                queue_.clear();
                ready_.notify_one();
                return;
            }
            ready_.notify_one();
        }
    }

    std::unique_ptr<FrameWriter> inner_;
    std::mutex mutex_;
    std::condition_variable work_;   // a frame was queued, or the thread is to end
    std::condition_variable ready_;  // a buffer is free, or the inner writer failed
    std::vector<std::vector<std::uint8_t>> free_;
    std::deque<Queued> queue_;
    bool ending_ = false;
    bool failed_ = false;
    std::thread thread_;  // last: starts once everything it uses is made
};

}  // namespace

std::unique_ptr<FrameWriter> InBackground(std::unique_ptr<FrameWriter> writer, int buffers) {
    return std::make_unique<BackgroundWriter>(std::move(writer), buffers);
}

}  // namespace record
