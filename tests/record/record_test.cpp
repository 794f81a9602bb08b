// showcase-record run as a program: its stills and videos hold the frames the viewer draws, a
// pass ends where the colours flip, bad input is refused before rendering, and a failed or
// interrupted recording leaves nothing behind. The viewer's frames come from ViewerMain run in
// this process on the same off-screen backend.
#include <gtest/gtest.h>
#include <png.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libswscale/swscale.h>
}

#include <cmath>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <set>
#include <iterator>

#include "app/viewer.h"
#include "app/viewer_globals.h"
#include "platform/subset/headless/headless.h"
#include "tests/support/child_process.h"

namespace fs = std::filesystem;

namespace {

const std::string kPictures = SHOWCASE_SOURCE_DIR "/picture";

struct Picture {
    int width = 0, height = 0;
    std::vector<std::uint8_t> rgb;
};

Picture RgbOf(const headless::Frame& frame) {
    Picture picture{frame.width, frame.height, {}};
    for (std::size_t i = 0; i < frame.rgba.size(); i += 4)
        picture.rgb.insert(picture.rgb.end(), &frame.rgba[i], &frame.rgba[i] + 3);
    return picture;
}

Picture ReadPng(const fs::path& path) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&image, path.c_str())) return {};
    image.format = PNG_FORMAT_RGB;
    Picture picture{static_cast<int>(image.width), static_cast<int>(image.height),
                    std::vector<std::uint8_t>(PNG_IMAGE_SIZE(image))};
    if (!png_image_finish_read(&image, nullptr, picture.rgb.data(), 0, nullptr)) return {};
    return picture;
}

double Psnr(const Picture& a, const Picture& b) {
    double squares = 0;
    for (std::size_t i = 0; i < a.rgb.size(); ++i) squares += std::pow(a.rgb[i] - b.rgb[i], 2);
    return squares == 0 ? 99 : 10 * std::log10(255.0 * 255.0 * a.rgb.size() / squares);
}

struct Video {
    int width = 0, height = 0;
    AVRational rate{0, 1};
    std::string codec;
    std::vector<Picture> frames;
};

// Every frame of the file's video stream, decoded by libavcodec and turned into RGB as the
// stream's colour tags say.
Video DecodeVideo(const fs::path& path) {
    Video video;
    AVFormatContext* format = nullptr;
    if (avformat_open_input(&format, path.c_str(), nullptr, nullptr) < 0) return video;
    const AVCodec* decoder = nullptr;
    const int index = avformat_find_stream_info(format, nullptr) >= 0
                          ? av_find_best_stream(format, AVMEDIA_TYPE_VIDEO, -1, -1, &decoder, 0)
                          : -1;
    AVCodecContext* codec = index >= 0 ? avcodec_alloc_context3(decoder) : nullptr;
    if (codec != nullptr && avcodec_parameters_to_context(codec, format->streams[index]->codecpar) >= 0 &&
        avcodec_open2(codec, decoder, nullptr) >= 0) {
        video = {codec->width, codec->height, av_guess_frame_rate(format, format->streams[index], nullptr),
                 avcodec_get_name(codec->codec_id), {}};
        AVPacket* packet = av_packet_alloc();
        AVFrame* frame = av_frame_alloc();
        auto drain = [&] {
            while (avcodec_receive_frame(codec, frame) == 0) {
                Picture picture{frame->width, frame->height,
                                std::vector<std::uint8_t>(std::size_t(frame->width) * frame->height * 3)};
                SwsContext* scaler = sws_getContext(frame->width, frame->height, AVPixelFormat(frame->format),
                                                    frame->width, frame->height, AV_PIX_FMT_RGB24,
                                                    SWS_BICUBIC | SWS_FULL_CHR_H_INT | SWS_ACCURATE_RND,
                                                    nullptr, nullptr, nullptr);
                const int* table =
                    sws_getCoefficients(frame->colorspace == AVCOL_SPC_BT709 ? SWS_CS_ITU709 : SWS_CS_DEFAULT);
                sws_setColorspaceDetails(scaler, table, frame->color_range == AVCOL_RANGE_JPEG, table, 1, 0, 1 << 16,
                                         1 << 16);
                std::uint8_t* rows[1] = {picture.rgb.data()};
                const int strides[1] = {frame->width * 3};
                sws_scale(scaler, frame->data, frame->linesize, 0, frame->height, rows, strides);
                sws_freeContext(scaler);
                video.frames.push_back(std::move(picture));
            }
        };
        while (av_read_frame(format, packet) >= 0) {
            if (packet->stream_index == index && avcodec_send_packet(codec, packet) >= 0) drain();
            av_packet_unref(packet);
        }
        avcodec_send_packet(codec, nullptr);
        drain();
        av_frame_free(&frame);
        av_packet_free(&packet);
    }
    avcodec_free_context(&codec);
    avformat_close_input(&format);
    return video;
}

std::set<std::string> Names(const fs::path& folder) {
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) names.insert(entry.path().filename().string());
    return names;
}

class RecordTest : public ::testing::Test {
  protected:
    fs::path folder = fs::temp_directory_path() / ("showcase-record-test-" + std::to_string(getpid()));
    ChildProcess recorder;  // its stdout and stderr in one

    void SetUp() override { fs::create_directories(folder); }
    void TearDown() override {
        fs::remove_all(folder);
        headless::Reset();
    }

    bool Start(const std::vector<std::string>& arguments) {
        std::vector<std::string> argv{SHOWCASE_RECORD};
        argv.insert(argv.end(), arguments.begin(), arguments.end());
        return recorder.Start(argv, {}, "/");
    }
    int Record(const std::vector<std::string>& arguments) { return Start(arguments) ? recorder.ExitCode(300s) : -1; }
    std::string Output() { return recorder.Output(); }

    // The whole program run in this process at that size, without buttons, until `done` says so.
    static void RunViewer(int width, int height, const std::function<bool(int frameNo)>& done) {
        headless::Reset();
        headless::SetScreen(width, height, 32);
        headless::DrawButtons(false);
        ResetViewerGlobals();
        SetPictureFolder(kPictures.c_str());
        headless::OnFrame([&](int frameNo) {
            if (done(frameNo)) headless::CloseRequest();
        });
        EXPECT_EQ(ViewerMain(nullptr, nullptr, const_cast<char*>(""), SW_SHOW), 0);
    }
    // Its frames `wanted`.
    static std::map<int, Picture> ViewerFrames(int width, int height, std::set<int> wanted) {
        std::map<int, Picture> frames;
        RunViewer(width, height, [&](int frameNo) {
            if (wanted.count(frameNo)) frames[frameNo] = RgbOf(headless::ReadPixels());
            return frameNo == *wanted.rbegin();
        });
        return frames;
    }
};

// Frame 1 (the splash) and frame 400 (the first device assembling), as a still and as numbered
// files, equal the viewer's frames pixel for pixel: same start, same drawing, rows top first, no
// button column (the viewer's frames here are drawn without one).
TEST_F(RecordTest, StillsAreTheViewersFramesPixelForPixel) {
    const std::map<int, Picture> viewer = ViewerFrames(160, 90, {1, 399, 400});
    ASSERT_EQ(Record({"--size=160x90", "--pictures", kPictures, (folder / "first.png").string()}), 0) << Output();
    EXPECT_EQ(Output(), "") << "no progress bar when stderr is not a terminal";
    ASSERT_EQ(Record({"--size=160x90", "--pictures", kPictures, "--from-frame=399", "--frames=2",
                      (folder / "f-%04d.png").string()}),
              0)
        << Output();
    EXPECT_EQ(Names(folder), (std::set<std::string>{"first.png", "f-0399.png", "f-0400.png"}));
    for (auto [frameNo, file] : {std::pair{1, "first.png"}, {399, "f-0399.png"}, {400, "f-0400.png"}}) {
        const Picture still = ReadPng(folder / file);
        EXPECT_EQ(still.width, 160);
        EXPECT_EQ(still.height, 90);
        EXPECT_TRUE(still.rgb == viewer.at(frameNo).rgb) << "frame " << frameNo;
    }
}

// Each container decodes to the requested size, count and rate, and its frames are the show's.
TEST_F(RecordTest, VideosDecodeToTheShowsFrames) {
    constexpr int kFrom = 330, kCount = 8;  // the first device's floor and flaps
    std::set<int> wanted;
    for (int k = 0; k < kCount; ++k) wanted.insert(kFrom + k);
    const std::map<int, Picture> viewer = ViewerFrames(640, 360, wanted);
    for (const auto& [file, codec] : {std::pair{"show.mp4", "h264"}, {"show.webm", "vp9"}, {"show.mkv", "h264"}}) {
        SCOPED_TRACE(file);
        const fs::path path = folder / file;
        ASSERT_EQ(Record({"--size=640x360", "--fps=30", "--from-frame=" + std::to_string(kFrom),
                          "--frames=" + std::to_string(kCount), "--pictures", kPictures, path.string()}),
                  0)
            << Output();
        const Video video = DecodeVideo(path);
        EXPECT_EQ(video.codec, codec);
        EXPECT_EQ(video.width, 640);
        EXPECT_EQ(video.height, 360);
        EXPECT_EQ(av_cmp_q(video.rate, AVRational{30, 1}), 0) << video.rate.num << "/" << video.rate.den;
        ASSERT_EQ(video.frames.size(), std::size_t{kCount});
        for (int k = 0; k < kCount; ++k) EXPECT_GE(Psnr(video.frames[k], viewer.at(kFrom + k)), 35.0) << "frame " << k;
    }
    // The MP4's index comes before its media data, so playback can start while it downloads.
    std::ifstream file(folder / "show.mp4", std::ios::binary);
    const std::string mp4{std::istreambuf_iterator<char>(file), {}};
    EXPECT_LT(mp4.find("moov"), mp4.find("mdat"));
}

// --passes 1 ends on the frame after which the viewer shows the other colour scheme.
TEST_F(RecordTest, OnePassEndsWhereTheColoursFlip) {
    int flip = 0;
    RunViewer(32, 18, [&flip](int frameNo) { return flip == 0 && sceneState.colorScheme != 1 && (flip = frameNo); });
    ASSERT_GT(flip, 1000);
    ASSERT_EQ(Record({"--size=32x18", "--passes=1", "--from-frame=" + std::to_string(flip - 1), "--pictures",
                      kPictures, (folder / "f-%d.png").string()}),
              0)
        << Output();
    EXPECT_EQ(Names(folder), (std::set<std::string>{"f-" + std::to_string(flip - 1) + ".png",
                                                    "f-" + std::to_string(flip) + ".png"}));
}

struct BadRow {
    std::vector<std::string> arguments;  // the output name last, relative to the test's folder
    int status;
    std::string message;  // what the first line of stderr says
};

// Bad input is refused with status 2 before anything is rendered; missing or broken pictures end
// the recording with status 1 and the viewer's texts. Neither leaves a file.
TEST_F(RecordTest, BadInputAndBrokenPicturesLeaveNoFile) {
    const fs::path empty = folder.string() + "-empty", broken = folder.string() + "-broken",
                   gap = folder.string() + "-gap";
    fs::create_directories(empty);
    for (const fs::path& copy : {broken, gap}) fs::copy(kPictures, copy);
    fs::resize_file(broken / "4.bmp", 60);
    fs::remove(gap / "11.bmp");
    const std::vector<BadRow> rows = {
        {{"a.gif"}, 2, "unknown output type"},
        {{"--size=0x90", "a.png"}, 2, "size 0x90 has no pixels"},
        {{"--size=90000x90", "a.png"}, 2, "above the renderer's limit"},
        {{"--size=161x90", "a.mp4"}, 2, "odd side"},
        {{"--frames=0", "a.mp4"}, 2, "the frame range is empty"},
        {{"--from-frame=30000", "--passes=1", "a.webm"}, 2, "the frame range is empty"},
        {{"no-such-folder/a.png"}, 2, "output folder '" + (folder / "no-such-folder").string() + "' does not exist"},
        // Creating a file in sysfs fails even for the superuser.
        {{"/sys/a.png"}, 2, "cannot write in output folder '/sys'"},
        {{"--pictures=" + empty.string(), "a.png"}, 1, "ERROR: Initialization Failed."},
        {{"--pictures=" + broken.string(), "a.mp4"}, 1, "Error: "},
        {{"--pictures=" + gap.string(), "a.mp4"}, 1, "cannot read picture '" + (gap / "11.bmp").string() + "'"},
    };
    for (BadRow row : rows) {
        SCOPED_TRACE(row.message);
        if (row.arguments.back().front() != '/') row.arguments.back() = (folder / row.arguments.back()).string();
        row.arguments.insert(row.arguments.begin(), "--size=64x36");  // a later --size wins
        EXPECT_EQ(Record(row.arguments), row.status);
        const std::string output = Output();
        EXPECT_EQ(output.rfind("showcase-record: ", 0), 0u) << output;
        EXPECT_NE(output.substr(0, output.find('\n')).find(row.message), std::string::npos) << output;
        EXPECT_TRUE(fs::is_empty(folder));
    }
    for (const fs::path& extra : {empty, broken, gap}) fs::remove_all(extra);
}

// Ctrl+C while frames are being written: the program ends by the signal and removes them all.
// A picture that never finishes opening does not hold it either.
TEST_F(RecordTest, InterruptionOrAFullDiskLeavesNothing) {
    for (const char* output : {"long.mp4", "long-%d.png"}) {
        SCOPED_TRACE(output);
        ASSERT_TRUE(Start({"--size=64x36", "--passes=3", "--pictures", kPictures, (folder / output).string()}));
        // Until several files exist or the one file holds more than the muxer's first buffer:
        // frames are being written.
        ASSERT_TRUE(WaitFor([&] {
            const std::set<std::string> names = Names(folder);
            return names.size() > 3 || (names.size() == 1 && fs::file_size(folder / *names.begin()) > 40000);
        })) << Output();
        kill(recorder.Pid(), SIGINT);
        EXPECT_EQ(recorder.ExitCode(30s), 128 + SIGINT) << Output();
        EXPECT_TRUE(fs::is_empty(folder));
    }
    // A FIFO among the pictures is reported when it is loaded, never waited on: the recorder
    // says so and ends (on its own or by the signal, whichever comes first), leaving nothing.
    const fs::path fifo = folder.string() + "-fifo";
    fs::copy(kPictures, fifo);
    fs::remove(fifo / "4.bmp");
    ASSERT_EQ(mkfifo((fifo / "4.bmp").c_str(), 0600), 0);
    ASSERT_TRUE(Start({"--size=64x36", "--pictures", fifo.string(), (folder / "fifo.mp4").string()}));
    const std::string reported = "Error: Failed to open DIB file " + (fifo / "4.bmp").string() + ".";
    // One that hangs in the open would not hear SIGINT.
    kill(recorder.Pid(), WaitFor([&] { return Output().find(reported) != std::string::npos; }) ? SIGINT : SIGKILL);
    const int status = recorder.ExitCode(30s);
    EXPECT_TRUE(status == 1 || status == 128 + SIGINT) << status << "\n" << Output();
    EXPECT_NE(Output().find(reported), std::string::npos) << Output();
    EXPECT_TRUE(fs::is_empty(folder));
    fs::remove_all(fifo);
    // A disk that fills up (here a file size limit) while the video is written, on the writer's
    // own thread: status 1, the writer's line, and again nothing left.
    rlimit before{};
    getrlimit(RLIMIT_FSIZE, &before);
    const rlimit small{40000, before.rlim_max};
    const sighandler_t oversize = signal(SIGXFSZ, SIG_IGN);
    setrlimit(RLIMIT_FSIZE, &small);
    ASSERT_TRUE(Start({"--size=64x36", "--passes=3", "--pictures", kPictures, (folder / "full.mp4").string()}));
    setrlimit(RLIMIT_FSIZE, &before);
    signal(SIGXFSZ, oversize);
    EXPECT_EQ(recorder.ExitCode(300s), 1);
    EXPECT_EQ(Output().rfind("showcase-record: cannot write '" + (folder / "full.mp4").string() + "'", 0), 0u)
        << Output();
    EXPECT_TRUE(fs::is_empty(folder));
}

}  // namespace
