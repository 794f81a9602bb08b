// The desktop's frames for the page's tests: the show on the off-screen backend at a given
// size, push buttons clicked at given frames, chosen frames written as binary PPM files.
//   desktop_frames WIDTH HEIGHT OUTDIR [FRAME | FRAME:CLICKID]...
// FRAME writes OUTDIR/FRAME.ppm; FRAME:ID clicks the button with that control id once frame
// FRAME is shown, so the click reaches the program before frame FRAME + 1, as a click on a page
// held at frame FRAME does. Frames are numbered as showcase-record numbers them.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <set>
#include <string>

#include "app/command_line.h"
#include "app/viewer.h"
#include "platform/subset/headless/headless.h"

int main(int argc, char** argv) {
    if (argc < 4) {
        std::fprintf(stderr, "usage: %s WIDTH HEIGHT OUTDIR [FRAME | FRAME:CLICKID]...\n", argv[0]);
        return 2;
    }
    const int width = std::atoi(argv[1]), height = std::atoi(argv[2]);
    const std::string folder = argv[3];
    std::set<int> writes;
    std::multimap<int, int> clicks;
    for (int i = 4; i < argc; ++i) {
        const std::string word = argv[i];
        const auto colon = word.find(':');
        if (colon == std::string::npos) writes.insert(std::atoi(word.c_str()));
        else clicks.emplace(std::atoi(word.substr(0, colon).c_str()), std::atoi(word.substr(colon + 1).c_str()));
    }
    int last = writes.empty() ? 0 : *writes.rbegin();
    if (!clicks.empty()) last = std::max(last, clicks.rbegin()->first + 1);
    char program[] = "showcase";
    char* args[] = {program, nullptr};
    if (HandleCommandLine(1, args, stdout, stderr) >= 0) return 1;
    headless::SetScreen(width, height, 32);
    headless::DrawButtons(false);
    headless::EchoBoxes(stderr, "desktop_frames");
    bool failed = false;
    headless::Frame frame;
    headless::OnFrame([&](int number) {
        if (writes.count(number)) {
            headless::ReadPixels(frame, headless::PixelOrder::Rgba);
            const std::string name = folder + "/" + std::to_string(number) + ".ppm";
            std::FILE* out = std::fopen(name.c_str(), "wb");
            if (out == nullptr) {
                failed = true;
            } else {
                std::fprintf(out, "P6\n%d %d\n255\n", frame.width, frame.height);
                for (std::size_t p = 0; p < frame.rgba.size(); p += 4) std::fwrite(&frame.rgba[p], 1, 3, out);
                failed |= std::fclose(out) != 0;
            }
        }
        auto [from, to] = clicks.equal_range(number);
        for (auto it = from; it != to; ++it) failed |= !headless::Click(it->second);
        if (number >= last || failed) headless::CloseRequest();
    });
    ViewerMain(GetModuleHandleA(nullptr), nullptr, const_cast<char*>(""), SW_SHOW);
    return failed ? 1 : 0;
}
