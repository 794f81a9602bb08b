// Makes the nineteen pictures of the show: `picture_generator DIR [ICON_DIR]` writes them into
// DIR (normally picture/ at the top of the repository), replacing any that are there, and with
// ICON_DIR also the application icon as N.png for each icon size, as the Windows icon file
// showcase.ico, and as the web app's icons (normally packaging/icons/).
#include <cstdio>
#include <string>
#include <vector>

#include "tools/picture_bmp.h"
#include "tools/picture_designs.h"
#include "tools/picture_icon.h"
#include "tools/picture_text.h"

namespace {

bool Write(const std::string& path, const std::vector<uint8_t>& bytes) {
    if (!bytes.empty() && pictures::WriteFile(path, bytes)) return true;
    std::perror(("picture_generator: cannot write " + path).c_str());
    return false;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2 && argc != 3) {
        std::fprintf(stderr, "usage: %s OUTPUT_DIRECTORY [ICON_DIRECTORY]\n", argv[0]);
        return 2;
    }
    const std::string directory = argv[1];
    pictures::Fonts fonts;
    if (!fonts.Open()) {
        std::fprintf(stderr, "picture_generator: %s\n", fonts.Error().c_str());
        return 1;
    }
    for (const pictures::PictureDesign& design : pictures::PictureDesigns()) {
        const pictures::Canvas texture = pictures::RenderDesign(design, fonts);
        if (!Write(directory + "/" + design.file, pictures::EncodeBitmap(texture, design.placement))) return 1;
        std::printf("%-8s %4d x %-4d %s\n", design.file, texture.Height(), texture.Width(), design.shows);
    }
    if (argc == 3) {
        for (const int size : pictures::IconSizes()) {
            const std::string name = std::to_string(size) + ".png";
            if (!Write(std::string(argv[2]) + "/" + name, pictures::EncodeIcon(size))) return 1;
            std::printf("%-8s %4d x %-4d application icon\n", name.c_str(), size, size);
        }
        for (const pictures::WebIcon& icon : pictures::WebIcons()) {
            if (!Write(std::string(argv[2]) + "/" + icon.file, pictures::EncodeIcon(icon.size, icon.fullBleed))) return 1;
            std::printf("%-8s %4d x %-4d web app icon%s\n", icon.file, icon.size, icon.size,
                        icon.fullBleed ? ", full bleed" : "");
        }
        if (!Write(std::string(argv[2]) + "/showcase.ico", pictures::EncodeWindowsIcon())) return 1;
        std::printf("showcase.ico %zu sizes   Windows application icon\n", pictures::WindowsIconSizes().size());
    }
    return 0;
}
