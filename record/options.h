// The command line of showcase-record: GNU options, the output named by its extension, and every
// check a user's input gets before anything is rendered.
#pragma once

#include <cstdio>
#include <string>

namespace record {

inline constexpr char kProgram[] = "showcase-record";

enum class OutputKind {
    Still,     // one PNG
    Sequence,  // one PNG per frame, the name a pattern with %d
    Video,     // one video file
};

struct Options {
    std::string output;  // as given
    OutputKind kind = OutputKind::Still;
    std::string extension;  // lower case, without the dot: png, mp4, webm or mkv
    int width = 1920;
    int height = 1080;
    int firstFrame = 1;  // the first frame written; the frames before it are rendered only
    int lastFrame = 1;   // the last frame written
    int fps = 60;        // playback rate of a video: one frame of the show per video frame
    int quality = -1;    // the video encoder's constant rate factor; -1 for its default here
    bool quiet = false;
};

// Reads the command line and checks it, the output folder and the picture folder (which it makes
// the one the program reads). Returns the status to exit with at once: 0 after --help or
// --version, 2 after bad input (one line and a hint on `err`); or -1 with `options` filled.
int ParseOptions(int argc, char** argv, Options& options, std::FILE* out, std::FILE* err);

}  // namespace record
