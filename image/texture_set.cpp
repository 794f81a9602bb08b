// The texture set: every picture decoded, uploaded as a texture and freed at once. Runs at each
// opening of the render window, with its new GL context current.
#include "image/texture_set.h"

#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>

#include "image/dib_file.h"

GLuint tex1, tex2, tex3, tex4, tex5, tex6, tex8, tex10, tex11, tex12, tex13, tex14, tex15, tex16, tex17, tex18,
    tex1a, tex4a, tex11a;

const TextureFile kTextureFiles[19] = {
    {"1.bmp", &tex1},   {"2.bmp", &tex2},   {"3.bmp", &tex3},
    {"4.bmp", &tex4},   {"5.bmp", &tex5},   {"6.bmp", &tex6},
    {"10.bmp", &tex10}, {"8.bmp", &tex8},   {"11.bmp", &tex11},
    {"12.bmp", &tex12}, {"13.bmp", &tex13}, {"14.bmp", &tex14},
    {"15.bmp", &tex15}, {"16.bmp", &tex16}, {"17.bmp", &tex17},
    {"18.bmp", &tex18}, {"11a.bmp", &tex11a}, {"4a.bmp", &tex4a},
    {"1a.bmp", &tex1a},
};

namespace {

std::string pictureFolder = kDefaultPictureFolder;

constexpr GLint kThreeComponents = 3;

void FreeImage(RgbImage* image) {
    if (image->pixels != nullptr) std::free(image->pixels);
    std::free(image);
}

}  // namespace

// Nothing is opened here: the decoder opens the file without waiting and reads only a regular
// file, so a pipe, socket, device or folder at the name gets its box instead of hanging the
// show. A link is followed; one that leads nowhere counts as no file.
RgbImage* LoadPicture(const char* fileName) {
    if (fileName == nullptr) return nullptr;
    std::error_code error;
    if (!std::filesystem::exists(fileName, error)) return nullptr;
    return ReadDibImage(fileName);
}

void SetPictureFolder(const char* folder) { pictureFolder = folder != nullptr ? folder : kDefaultPictureFolder; }

const char* PictureFolder() { return pictureFolder.c_str(); }

int LoadTextureSet() {
    int result = 0;
    // Decoded rows are packed without padding, so every width uploads correctly.
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    for (const TextureFile& entry : kTextureFiles) {
        // "picture/1.bmp" on Linux, "picture\1.bmp" on Windows: the names the boxes show.
        const std::string path = pictureFolder + char(std::filesystem::path::preferred_separator) + entry.name;
        RgbImage* image = LoadPicture(path.c_str());
        if (image == nullptr) continue;
        glGenTextures(1, entry.texture);
        glBindTexture(GL_TEXTURE_2D, *entry.texture);
        glTexImage2D(GL_TEXTURE_2D, 0, kThreeComponents, image->width, image->height, 0, GL_RGB, GL_UNSIGNED_BYTE,
                     image->pixels);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
        FreeImage(image);
        result = 1;
    }
    return result;
}
