// Video output through FFmpeg's libraries: frames converted by libswscale from RGB to yuv420p
// (BT.709, limited range, tagged so), encoded by libavcodec (H.264 with libx264, VP9 with
// libvpx) and muxed by libavformat into MP4 (index moved to the front), WebM or Matroska.
extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/opt.h>
#include <libswscale/swscale.h>
}

#include "record/pending_file.h"
#include "record/writer.h"

namespace record {

namespace {

// Per extension: the muxer, the encoder and the options that keep it fast enough for recording
// faster than real time on a small machine.
struct Container {
    const char* extension;
    const char* muxer;
    const char* encoder;
    const char* encoderOptions;  // "key=value:key=value"
    const char* muxerOptions;
};
constexpr Container kContainers[] = {
    {"mp4", "mp4", "libx264", "preset=veryfast", "movflags=+faststart"},
    {"mkv", "matroska", "libx264", "preset=veryfast", ""},
    {"webm", "webm", "libvpx-vp9", "deadline=realtime:cpu-used=8:row-mt=1", ""},
};

std::string AvText(int code) {
    char text[AV_ERROR_MAX_STRING_SIZE] = "";
    av_strerror(code, text, sizeof text);
    return text;
}

struct FormatCloser {
    void operator()(AVFormatContext* format) const {
        if (!(format->oformat->flags & AVFMT_NOFILE)) avio_closep(&format->pb);
        avformat_free_context(format);
    }
};
struct CodecCloser {
    void operator()(AVCodecContext* codec) const { avcodec_free_context(&codec); }
};
struct FrameCloser {
    void operator()(AVFrame* frame) const { av_frame_free(&frame); }
};
struct PacketCloser {
    void operator()(AVPacket* packet) const { av_packet_free(&packet); }
};
struct ScalerCloser {
    void operator()(SwsContext* scaler) const { sws_freeContext(scaler); }
};

class VideoWriter : public FrameWriter {
  public:
    explicit VideoWriter(const Options& options) : options_(options), file_(options.output) {}

    bool Start(const Container& container);
    bool Write(const FrameView& frame, int frameNo) override;
    bool Finish() override;

  private:
    bool Fail(const std::string& what, int code) {
        error_ = "cannot write '" + options_.output + "': " + what + (code != 0 ? ": " + AvText(code) : "");
        return false;
    }
    bool OpenEncoder(const Container& container);
    bool OpenScaler();
    // Sends a frame (null: the end) to the encoder and muxes every packet it has ready.
    bool Encode(const AVFrame* frame);

    const Options& options_;
    PendingFile file_;
    std::unique_ptr<AVFormatContext, FormatCloser> format_;
    std::unique_ptr<AVCodecContext, CodecCloser> codec_;
    std::unique_ptr<AVFrame, FrameCloser> picture_;
    std::unique_ptr<AVPacket, PacketCloser> packet_;
    std::unique_ptr<SwsContext, ScalerCloser> scaler_;
    AVStream* stream_ = nullptr;
    std::int64_t nextPts_ = 0;
};

bool VideoWriter::OpenEncoder(const Container& container) {
    const AVCodec* encoder = avcodec_find_encoder_by_name(container.encoder);
    if (encoder == nullptr) return Fail(std::string("this FFmpeg has no ") + container.encoder + " encoder", 0);
    codec_.reset(avcodec_alloc_context3(encoder));
    if (!codec_) return Fail("out of memory", AVERROR(ENOMEM));
    AVCodecContext& codec = *codec_;
    codec.width = options_.width;
    codec.height = options_.height;
    codec.pix_fmt = AV_PIX_FMT_YUV420P;
    codec.time_base = AVRational{1, options_.fps};
    codec.framerate = AVRational{options_.fps, 1};
    codec.sample_aspect_ratio = AVRational{1, 1};
    codec.color_range = AVCOL_RANGE_MPEG;
    codec.colorspace = AVCOL_SPC_BT709;
    codec.color_primaries = AVCOL_PRI_BT709;
    codec.color_trc = AVCOL_TRC_BT709;
    codec.bit_rate = 0;  // constant quality
    if (format_->oformat->flags & AVFMT_GLOBALHEADER) codec.flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
    AVDictionary* settings = nullptr;
    av_dict_parse_string(&settings, container.encoderOptions, "=", ":", 0);
    av_dict_set_int(&settings, "crf", options_.quality, 0);
    const int opened = avcodec_open2(&codec, encoder, &settings);
    av_dict_free(&settings);
    if (opened < 0) return Fail(std::string("cannot start the ") + container.encoder + " encoder", opened);

    stream_ = avformat_new_stream(format_.get(), nullptr);
    if (stream_ == nullptr) return Fail("out of memory", AVERROR(ENOMEM));
    stream_->time_base = codec.time_base;
    stream_->avg_frame_rate = codec.framerate;
    const int copied = avcodec_parameters_from_context(stream_->codecpar, &codec);
    if (copied < 0) return Fail("cannot describe the stream", copied);
    return true;
}

bool VideoWriter::OpenScaler() {
    scaler_.reset(sws_getContext(options_.width, options_.height, AV_PIX_FMT_BGR0, options_.width, options_.height,
                                 AV_PIX_FMT_YUV420P, SWS_BILINEAR, nullptr, nullptr, nullptr));
    if (!scaler_) return Fail("cannot convert RGB to yuv420p", 0);
    // Full-range RGB in, limited-range BT.709 out, as the stream is tagged.
    const int* bt709 = sws_getCoefficients(SWS_CS_ITU709);
    sws_setColorspaceDetails(scaler_.get(), bt709, 1, bt709, 0, 0, 1 << 16, 1 << 16);
    picture_.reset(av_frame_alloc());
    packet_.reset(av_packet_alloc());
    if (!picture_ || !packet_) return Fail("out of memory", AVERROR(ENOMEM));
    picture_->format = AV_PIX_FMT_YUV420P;
    picture_->width = options_.width;
    picture_->height = options_.height;
    picture_->color_range = AVCOL_RANGE_MPEG;
    picture_->colorspace = AVCOL_SPC_BT709;
    const int allocated = av_frame_get_buffer(picture_.get(), 0);
    if (allocated < 0) return Fail("out of memory", allocated);
    return true;
}

bool VideoWriter::Start(const Container& container) {
    if (!file_.Create(error_)) return false;
    AVFormatContext* format = nullptr;
    const int made = avformat_alloc_output_context2(&format, nullptr, container.muxer, file_.Path().c_str());
    if (made < 0) return Fail(std::string("no ") + container.muxer + " muxer", made);
    format_.reset(format);
    if (!OpenEncoder(container) || !OpenScaler()) return false;
    const int opened = avio_open(&format_->pb, file_.Path().c_str(), AVIO_FLAG_WRITE);
    if (opened < 0) return Fail("cannot open", opened);
    AVDictionary* settings = nullptr;
    av_dict_parse_string(&settings, container.muxerOptions, "=", ":", 0);
    const int written = avformat_write_header(format_.get(), &settings);
    av_dict_free(&settings);
    if (written < 0) return Fail("cannot start the file", written);
    return true;
}

bool VideoWriter::Encode(const AVFrame* frame) {
    const int sent = avcodec_send_frame(codec_.get(), frame);
    if (sent < 0) return Fail("encoding failed", sent);
    for (;;) {
        const int received = avcodec_receive_packet(codec_.get(), packet_.get());
        if (received == AVERROR(EAGAIN) || received == AVERROR_EOF) return true;
        if (received < 0) return Fail("encoding failed", received);
        av_packet_rescale_ts(packet_.get(), codec_->time_base, stream_->time_base);
        packet_->stream_index = stream_->index;
        const int muxed = av_interleaved_write_frame(format_.get(), packet_.get());  // takes the packet
        if (muxed < 0) return Fail("writing failed", muxed);
    }
}

bool VideoWriter::Write(const FrameView& frame, int) {
    const int made = av_frame_make_writable(picture_.get());
    if (made < 0) return Fail("out of memory", made);
    const std::uint8_t* rows[1] = {frame.bgrx};
    const int strides[1] = {frame.width * 4};
    sws_scale(scaler_.get(), rows, strides, 0, frame.height, picture_->data, picture_->linesize);
    picture_->pts = nextPts_++;
    return Encode(picture_.get());
}

bool VideoWriter::Finish() {
    if (!Encode(nullptr)) return false;
    const int ended = av_write_trailer(format_.get());
    if (ended < 0) return Fail("cannot complete the file", ended);
    const int closed = avio_closep(&format_->pb);
    if (closed < 0) return Fail("cannot complete the file", closed);
    return file_.Commit(error_);
}

}  // namespace

std::unique_ptr<FrameWriter> OpenVideoWriter(const Options& options, std::string& error) {
    av_log_set_level(AV_LOG_ERROR);
    for (const Container& container : kContainers) {
        if (options.extension != container.extension) continue;
        auto writer = std::make_unique<VideoWriter>(options);
        if (writer->Start(container)) return writer;
        error = writer->Error();
        return nullptr;
    }
    error = "no video writer for ." + options.extension;
    return nullptr;
}

}  // namespace record
