// The texture set: every picture decoded, uploaded as a texture and freed at once. Runs at each
// opening of the render window, with its new GL context current.
#include "image/texture_set.h"

#include <cstdio>
#include <cstdlib>

GLuint tex1, tex2, tex3, tex4, tex5, tex6, tex8, tex10, tex11, tex12, tex13, tex14, tex15, tex16, tex17, tex18,
    tex1a, tex4a, tex11a;

const TextureFile kTextureFiles[19] = {
    {"picture/1.bmp", &tex1},   {"picture/2.bmp", &tex2},   {"picture/3.bmp", &tex3},
    {"picture/4.bmp", &tex4},   {"picture/5.bmp", &tex5},   {"picture/6.bmp", &tex6},
    {"picture/10.bmp", &tex10}, {"picture/8.bmp", &tex8},   {"picture/11.bmp", &tex11},
    {"picture/12.bmp", &tex12}, {"picture/13.bmp", &tex13}, {"picture/14.bmp", &tex14},
    {"picture/15.bmp", &tex15}, {"picture/16.bmp", &tex16}, {"picture/17.bmp", &tex17},
    {"picture/18.bmp", &tex18}, {"picture/11a.bmp", &tex11a}, {"picture/4a.bmp", &tex4a},
    {"picture/1a.bmp", &tex1a},
};

namespace {

constexpr GLint kThreeComponents = 3;

void FreeImage(RgbImage* image) {
    if (image->pixels != nullptr) std::free(image->pixels);
    std::free(image);
}

}  // namespace

RgbImage* LoadPicture(const char* fileName) {
    if (fileName == nullptr) return nullptr;
    std::FILE* file = std::fopen(fileName, "r");
    if (file == nullptr) return nullptr;
    std::fclose(file);
    return ReadDibImage(fileName);
}

int LoadTextureSet() {
    int result = 0;
    // Decoded rows are packed without padding, so every width uploads correctly.
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    for (const TextureFile& entry : kTextureFiles) {
        RgbImage* image = LoadPicture(entry.path);
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
