// Option parsing with getopt_long, then the checks in a fixed order: the output's type, the size,
// the frame range, the output folder, the picture folder. Each failure is one line and status 2.
#include "record/options.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <climits>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <optional>
#include <system_error>

#include "app/program_options.h"
#include "platform/subset/headless/headless.h"
#include "record/passes.h"

namespace fs = std::filesystem;

namespace record {

namespace {

constexpr int kMaxFps = 1000;  // as the frame-rate message says
constexpr int kDefaultPasses = 1;  // a sequence or video without a length is one whole pass

enum Option {
    kHelp = 1,
    kVersion,
    kSize,
    kFrames,
    kSeconds,
    kPasses,
    kFromFrame,
    kFps,
    kPictures,
    kQuality,
    kQuiet,
};
const option kOptions[] = {
    {"help", no_argument, nullptr, kHelp},
    {"version", no_argument, nullptr, kVersion},
    {"size", required_argument, nullptr, kSize},
    {"frames", required_argument, nullptr, kFrames},
    {"seconds", required_argument, nullptr, kSeconds},
    {"passes", required_argument, nullptr, kPasses},
    {"from-frame", required_argument, nullptr, kFromFrame},
    {"fps", required_argument, nullptr, kFps},
    {"pictures", required_argument, nullptr, kPictures},
    {"quality", required_argument, nullptr, kQuality},
    {"quiet", no_argument, nullptr, kQuiet},
    {nullptr, 0, nullptr, 0},
};

// The encoders' constant rate factors: the widest range each accepts, and the default here.
struct QualityRange {
    const char* extension;
    int best, worst, fallback;
};
constexpr QualityRange kQualities[] = {
    {"mp4", 0, 51, 20},
    {"mkv", 0, 51, 20},
    {"webm", 0, 63, 32},
};

void PrintHelp(std::FILE* out) {
    std::fprintf(out,
                 "Usage: %s [OPTION]... OUTPUT\n"
                 "Render the animated 3D presentation of thirteen hand-held devices off screen, frame\n"
                 "by frame as the viewer draws it, into PNG stills or a video.\n"
                 "\n"
                 "OUTPUT by its extension:\n"
                 "  NAME.png             one still: the frame --from-frame names (default 1)\n"
                 "  NAME-%%05d.png        one PNG per frame, %%d replaced by the frame's number\n"
                 "  NAME.mp4             H.264 video (yuv420p, index at the front for the web)\n"
                 "  NAME.webm            VP9 video\n"
                 "  NAME.mkv             H.264 video in Matroska\n"
                 "\n"
                 "      --size=WxH       frame size in pixels (default 1920x1080; even sides for video)\n"
                 "      --frames=N       write N frames\n"
                 "      --seconds=S      write S seconds at the playback rate\n"
                 "      --passes=N       write up to the end of tour pass N, counted from the start,\n"
                 "                       the splash included; a pass ends where the colours flip\n"
                 "                       (the default for videos and numbered PNGs: 1)\n"
                 "      --from-frame=N   start writing at frame N; the frames before it are rendered,\n"
                 "                       not written (frame 1 is the first the viewer shows)\n"
                 "      --fps=N          playback rate of a video, one frame of the show per video\n"
                 "                       frame (default 60)\n"
                 "      --quality=CRF    the video encoder's constant rate factor: lower is better\n"
                 "                       and bigger; 0-51 for H.264 (default 20), 0-63 for VP9\n"
                 "                       (default 32)\n"
                 "      --pictures=DIR   read the nineteen pictures from DIR\n"
                 "      --quiet          no progress bar\n"
                 "      --help           display this help and exit\n"
                 "      --version        output version information and exit\n"
                 "\n"
                 "Without --pictures the pictures come from ./picture when the current directory\n"
                 "has one, otherwise from the set installed with the program.\n"
                 "The output is written under a temporary name beside it and renamed when complete.\n"
                 "Exit status: 0 when the output is complete, 1 when recording failed, 2 on bad\n"
                 "input.\n",
                 kProgram);
}

// The whole text as a whole number in [low, high], or nothing.
std::optional<int> ParseInt(const std::string& text, int low, int high) {
    const std::optional<long> value = WholeNumber(text, low, high);
    if (!value) return std::nullopt;
    return static_cast<int>(*value);
}

std::optional<double> ParseSeconds(const std::string& text) {
    if (text.empty() || std::isspace(static_cast<unsigned char>(text[0]))) return std::nullopt;
    char* end = nullptr;
    errno = 0;
    const double value = std::strtod(text.c_str(), &end);
    if (errno != 0 || *end != '\0' || !std::isfinite(value) || value < 0) return std::nullopt;
    return value;
}

// "WxH" with both sides whole numbers.
bool ParseSize(const std::string& text, int& width, int& height) {
    const std::size_t x = text.find_first_of("xX");
    if (x == std::string::npos) return false;
    const auto w = ParseInt(text.substr(0, x), 0, INT_MAX);
    const auto h = ParseInt(text.substr(x + 1), 0, INT_MAX);
    if (!w || !h) return false;
    width = *w;
    height = *h;
    return true;
}

std::string Lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::tolower(c); });
    return text;
}

// A file name with exactly one %d (flags "0" and a width allowed) and any other % doubled, so that
// it is safe to hand to snprintf with one int.
bool IsFramePattern(const std::string& name) {
    int conversions = 0;
    for (std::size_t i = 0; i < name.size(); ++i) {
        if (name[i] != '%') continue;
        if (++i < name.size() && name[i] == '%') continue;
        while (i < name.size() && name[i] == '0') ++i;
        int digits = 0;
        while (i < name.size() && std::isdigit(static_cast<unsigned char>(name[i])) && digits < 2) ++i, ++digits;
        if (i >= name.size() || name[i] != 'd') return false;
        ++conversions;
    }
    return conversions == 1;
}

// Sets the output's kind and extension; false for a name no writer takes.
bool ClassifyOutput(Options& options, std::string& problem) {
    const fs::path path(options.output);
    const std::string name = path.filename().string();
    options.extension = Lower(path.extension().string());
    if (!options.extension.empty()) options.extension.erase(0, 1);
    const bool pattern = name.find('%') != std::string::npos;
    if (options.extension == "png") {
        options.kind = pattern ? OutputKind::Sequence : OutputKind::Still;
        if (pattern && !IsFramePattern(name))
            problem = "output name '" + name + "' needs exactly one %d for the frame number (and %% for a %)";
    } else if (options.extension == "mp4" || options.extension == "webm" || options.extension == "mkv") {
        options.kind = OutputKind::Video;
        if (pattern) problem = "a frame-number pattern needs a .png name, not '" + name + "'";
    } else {
        problem = "unknown output type '" + options.output + "': use .png, a %d pattern ending in .png, .mp4, "
                  ".webm or .mkv";
    }
    if (name.empty()) problem = "output '" + options.output + "' needs a file name";
    return problem.empty();
}

std::string CheckSize(const Options& options) {
    const std::string size = std::to_string(options.width) + "x" + std::to_string(options.height);
    if (options.width == 0 || options.height == 0) return "size " + size + " has no pixels";
    const headless::Size limit = headless::MaxDrawableSize();
    if (limit.width > 0 && (options.width > limit.width || options.height > limit.height)) {
        return "size " + size + " is above the renderer's limit of " + std::to_string(limit.width) + "x" +
               std::to_string(limit.height);
    }
    if (options.kind == OutputKind::Video && (options.width % 2 != 0 || options.height % 2 != 0))
        return "size " + size + " has an odd side; video frames need even sides";
    return {};
}

// A folder the output can be created in: it exists, is a folder, and takes a new file.
std::string CheckOutputFolder(const std::string& output) {
    fs::path folder = fs::path(output).parent_path();
    if (folder.empty()) folder = ".";
    std::error_code error;
    const fs::file_status status = fs::status(folder, error);
    if (!fs::exists(status)) return "output folder '" + folder.string() + "' does not exist";
    if (!fs::is_directory(status)) return "output folder '" + folder.string() + "' is not a folder";
    // Write permission alone does not say it (a read-only mount, a superuser): try a file.
    const fs::path probe = folder / (".showcase-record-probe-" + std::to_string(getpid()));
    const int descriptor = open(probe.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (descriptor < 0) return "cannot write in output folder '" + folder.string() + "': " + std::strerror(errno);
    close(descriptor);
    unlink(probe.c_str());
    return {};
}

// Length options as given; at most one of them.
struct Length {
    std::optional<int> frames;
    std::optional<double> seconds;
    std::optional<int> passes;
    int given = 0;
};

// Fills firstFrame and lastFrame from the length and the kind of output.
std::string SetRange(Options& options, const Length& length) {
    if (length.given > 1) return "--frames, --seconds and --passes exclude each other";
    long long count = 1;
    if (length.frames) count = *length.frames;
    if (length.seconds) {
        const double frames = *length.seconds * options.fps;
        if (frames > INT_MAX) return "the frame range ends after frame " + std::to_string(INT_MAX);
        count = std::llround(frames);
    }
    if (options.kind == OutputKind::Still) {
        if (length.passes || count != 1) return "a .png still holds one frame; use a %d pattern for more";
        options.lastFrame = options.firstFrame;
        return {};
    }
    if (length.frames || length.seconds) {
        if (count == 0) return "the frame range is empty: no frame to write";
        const long long last = options.firstFrame + count - 1;
        if (last > INT_MAX) return "the frame range ends after frame " + std::to_string(INT_MAX);
        options.lastFrame = static_cast<int>(last);
        return {};
    }
    const int passes = length.passes.value_or(kDefaultPasses);
    if (passes == 0) return "the frame range is empty: no pass to write";
    const int last = LastFrameOfPass(passes);
    if (last < 0) return "the frame range ends after frame " + std::to_string(INT_MAX);
    if (last < options.firstFrame) {
        return "the frame range is empty: frame " + std::to_string(options.firstFrame) + " comes after pass " +
               std::to_string(passes) + ", which ends at frame " + std::to_string(last);
    }
    options.lastFrame = last;
    return {};
}

std::string SetQuality(Options& options, std::optional<int> quality) {
    for (const QualityRange& range : kQualities) {
        if (options.extension != range.extension) continue;
        if (quality && (*quality < range.best || *quality > range.worst)) {
            return "quality " + std::to_string(*quality) + " is outside " + std::to_string(range.best) + "-" +
                   std::to_string(range.worst) + " for ." + range.extension;
        }
        options.quality = quality.value_or(range.fallback);
        return {};
    }
    if (quality) return "--quality applies to video; PNG is lossless";
    return {};
}

}  // namespace

int ParseOptions(int argc, char** argv, Options& options, std::FILE* out, std::FILE* err) {
    options = Options{};
    Length length;
    std::optional<std::string> size, pictures, quality;
    const int status = ScanOptions(argc, argv, kProgram, kOptions, PrintHelp, out, err, [&](int option, const char* argument) {
        const std::string value = argument != nullptr ? argument : "";
        switch (option) {
            case kSize:
                size = value;
                break;
            case kFrames:
                length.frames = ParseInt(value, 0, INT_MAX);
                if (!length.frames) return UsageError(err, kProgram, "invalid number of frames '" + value + "'");
                ++length.given;
                break;
            case kSeconds:
                length.seconds = ParseSeconds(value);
                if (!length.seconds) return UsageError(err, kProgram, "invalid number of seconds '" + value + "'");
                ++length.given;
                break;
            case kPasses:
                length.passes = ParseInt(value, 0, INT_MAX);
                if (!length.passes) return UsageError(err, kProgram, "invalid number of passes '" + value + "'");
                ++length.given;
                break;
            case kFromFrame:
                if (auto frame = ParseInt(value, 1, INT_MAX)) options.firstFrame = *frame;
                else return UsageError(err, kProgram, "invalid frame number '" + value + "' (frames count from 1)");
                break;
            case kFps:
                if (auto fps = ParseInt(value, 1, kMaxFps)) options.fps = *fps;
                else return UsageError(err, kProgram, "invalid frame rate '" + value + "' (1 to 1000)");
                break;
            case kPictures:
                pictures = value;
                break;
            case kQuality:
                quality = value;
                break;
            case kQuiet:
                options.quiet = true;
                break;
        }
        return -1;
    });
    if (status >= 0) return status;
    if (optind >= argc) return UsageError(err, kProgram, "missing output file");
    if (optind + 1 < argc) return UsageError(err, kProgram, std::string("unexpected argument '") + argv[optind + 1] + "'");
    options.output = argv[optind];

    std::string problem;
    if (!ClassifyOutput(options, problem)) return UsageError(err, kProgram, problem);
    if (size && !ParseSize(*size, options.width, options.height))
        return UsageError(err, kProgram, "invalid size '" + *size + "': use WIDTHxHEIGHT, such as 1280x720");
    if (problem = CheckSize(options); !problem.empty()) return UsageError(err, kProgram, problem);
    std::optional<int> crf;
    if (quality && !(crf = ParseInt(*quality, 0, INT_MAX)))
        return UsageError(err, kProgram, "invalid quality '" + *quality + "'");
    if (problem = SetQuality(options, crf); !problem.empty()) return UsageError(err, kProgram, problem);
    if (problem = SetRange(options, length); !problem.empty()) return UsageError(err, kProgram, problem);
    if (problem = CheckOutputFolder(options.output); !problem.empty()) return UsageError(err, kProgram, problem);
    return SetPictureFolderFromOption(err, kProgram, pictures);
}

}  // namespace record
