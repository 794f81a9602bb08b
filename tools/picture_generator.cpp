// Makes the nineteen pictures of the show: `picture_generator DIR` writes them into DIR
// (normally picture/ at the top of the repository), replacing any that are there.
#include <cstdio>
#include <string>

#include "tools/picture_bmp.h"
#include "tools/picture_designs.h"
#include "tools/picture_text.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT_DIRECTORY\n", argv[0]);
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
        const std::string path = directory + "/" + design.file;
        if (!pictures::WriteFile(path, pictures::EncodeBitmap(texture, design.placement))) {
            std::perror(("picture_generator: cannot write " + path).c_str());
            return 1;
        }
        std::printf("%-8s %4d x %-4d %s\n", design.file, texture.Height(), texture.Width(), design.shows);
    }
    return 0;
}
