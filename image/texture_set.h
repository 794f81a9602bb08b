// The nineteen pictures of the show as GL textures, one program-wide texture name per picture.
#pragma once

#include <GL/gl.h>

#include "image/dib_decode.h"

extern GLuint tex1, tex2, tex3, tex4, tex5, tex6, tex8, tex10, tex11, tex12, tex13, tex14, tex15, tex16, tex17,
    tex18, tex1a, tex4a, tex11a;

struct TextureFile {
    const char* name;  // inside the picture folder
    GLuint* texture;
};
// The files in load order.
extern const TextureFile kTextureFiles[19];

// The folder the pictures are read from. It starts as "picture", relative to the current
// directory, so the files are "picture/1.bmp" and so on; a null folder restores that.
inline constexpr char kDefaultPictureFolder[] = "picture";
void SetPictureFolder(const char* folder);
const char* PictureFolder();

// Decodes one picture; null, without a message, when there is no file at the name at all.
// Anything else there that is not a readable picture gets the decoder's box.
RgbImage* LoadPicture(const char* fileName);

// Loads every picture of the picture folder that can be read into a new texture of the current GL context. 1 when at
// least one loaded, 0 when none did.
int LoadTextureSet();
