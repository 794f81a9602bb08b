// The texture set on the headless backend: which pictures become textures, and what a missing,
// empty or foreign file does. (No picture at all fails the opening: the recorder's tests.)
#include <gtest/gtest.h>

#include <GL/gl.h>

#include <filesystem>
#include <fstream>
#include <set>
#include <vector>

#include "app/viewer.h"
#include "app/viewer_globals.h"
#include "image/texture_set.h"
#include "platform/subset/headless/headless.h"
#include "scene/scene_state.h"
#include "tests/support/test_pictures.h"

#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/lsan_interface.h>
#endif

namespace {

class TextureSet : public ::testing::Test {
  protected:
    testpics::PictureFolder pictures;

    void SetUp() override {
        headless::Reset();
        for (const TextureFile& entry : kTextureFiles) *entry.texture = 0;
        ResetViewerGlobals();
        fullscreen = false;
    }
    void TearDown() override {
        if (windowHandle != nullptr) CloseRenderWindow();
        headless::Reset();
    }

    GLuint& Variable(const std::string& name) {
        for (const TextureFile& entry : kTextureFiles) {
            if (std::string(entry.name) == name + ".bmp") return *entry.texture;
        }
        throw std::runtime_error("no texture for " + name);
    }

    // The texels of a texture of the current context, rows unpadded; its first texel's colour.
    static std::vector<std::uint8_t> Texels(GLuint texture) {
        glBindTexture(GL_TEXTURE_2D, texture);
        GLint width = 0, height = 0;
        glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &width);
        glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &height);
        std::vector<std::uint8_t> texels(static_cast<std::size_t>(width * height * 3) + 1);
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glGetTexImage(GL_TEXTURE_2D, 0, GL_RGB, GL_UNSIGNED_BYTE, texels.data());
        return texels;
    }
    static testpics::Rgb FirstTexel(GLuint texture) {
        const std::vector<std::uint8_t> texels = Texels(texture);
        return {texels[0], texels[1], texels[2]};
    }

    int Open() { return OpenRenderWindow(kStartupTitle, 640, 480, 16, false); }
};

TEST_F(TextureSet, AllNineteenLoadIntoDistinctTexturesHoldingTheirOwnPictures) {
    ASSERT_EQ(Open(), 1);
    std::set<GLuint> names;
    for (const std::string& name : testpics::PictureNames()) {
        GLuint texture = Variable(name);
        ASSERT_NE(texture, 0u) << name;
        names.insert(texture);
        EXPECT_EQ(FirstTexel(texture), testpics::FlatColour(name)) << name;
        glBindTexture(GL_TEXTURE_2D, texture);
        GLint filter = 0;
        glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &filter);
        EXPECT_EQ(filter, GL_NEAREST) << name;
        glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, &filter);
        EXPECT_EQ(filter, GL_NEAREST) << name;
    }
    EXPECT_EQ(names.size(), 19u);
    EXPECT_TRUE(headless::Boxes().empty());
#if defined(__SANITIZE_ADDRESS__)
    EXPECT_EQ(__lsan_do_recoverable_leak_check(), 0) << "a decoded image was left allocated";
#endif
}

TEST_F(TextureSet, OddWidthsUploadWithoutSkew) {
    // Rows of 5 pixels are 15 bytes: with a 4-byte unpack alignment the second row would start
    // 1 byte late and show the wrong colour.
    testpics::WriteBmp(pictures.PicturePath("6"), 5, 2, [](int x, int row) {
        return row == 0 ? testpics::Rgb{10, 20, 30} : testpics::Rgb{static_cast<std::uint8_t>(200 + x), 100, 50};
    });
    ASSERT_EQ(Open(), 1);
    const std::vector<std::uint8_t> texels = Texels(tex6);
    EXPECT_EQ((std::vector<int>{texels[15], texels[16], texels[17], texels[27]}), (std::vector<int>{200, 100, 50, 204}));
}

// A missing file is skipped silently and its variable left alone; a foreign and an empty file
// are reported; the files after them still load.
TEST_F(TextureSet, MissingForeignAndEmptyFiles) {
    std::filesystem::remove(pictures.PicturePath("5"));
    tex5 = 4242;  // from an earlier window, say
    std::ofstream(pictures.PicturePath("3")) << "not a picture at all, just some words long enough to hold a header";
    std::ofstream(pictures.PicturePath("12")).flush();
    ASSERT_EQ(Open(), 1);
    EXPECT_EQ(tex5, 4242u);
    ASSERT_EQ(headless::Boxes().size(), 2u);
    EXPECT_EQ(headless::Boxes()[0].text, "Unknown DIB file format.");
    EXPECT_EQ(headless::Boxes()[0].caption, "Error");
    EXPECT_EQ(headless::Boxes()[1].text, "Failed to open DIB file picture/12.bmp.\n");
    EXPECT_EQ(headless::Boxes()[1].type, MB_OK);
    EXPECT_EQ(tex3, 0u);
    EXPECT_EQ(tex12, 0u);
    EXPECT_EQ(FirstTexel(tex13), testpics::FlatColour("13"));
    EXPECT_EQ(FirstTexel(tex1a), testpics::FlatColour("1a"));
}

}  // namespace
