// Decoding the same bitmap files with ReadDibImage, stb_image and SDL_LoadBMP: 24-bit, 8-bit
// palettised and 32-bit pictures of 512 x 512 and 2048 x 2048, written to a temporary
// directory at start. Every case starts from the file name and ends with packed 8-bit RGB in
// memory, freed again:
//   ReadDibImage  map, convert, swap to RGB rows (bottom row first)
//   stb_image     stbi_load(..., 3): buffered reads, RGB rows top row first
//   SDL_LoadBMP   SDL_LoadBMP, then SDL_ConvertSurfaceFormat to SDL_PIXELFORMAT_RGB24
//   memcpy        the file's bytes (already in memory) copied into a new buffer: the floor
#include <SDL.h>
#include <benchmark/benchmark.h>
#include <stb/stb_image.h>
#include <stdlib.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "image/dib_file.h"

namespace {

struct Picture {
    const char* name;
    int bitCount;
    int side;
    std::string path;
    std::vector<unsigned char> bytes;
};

void Put(std::vector<unsigned char>& out, std::uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) out.push_back(static_cast<unsigned char>(value >> (8 * i)));
}

// A bottom-up BI_RGB file with a file header and an info header; 8-bit files carry a full
// 256-entry table. The content is a busy pattern so no decoder meets flat runs.
std::vector<unsigned char> MakeFile(int bitCount, int side) {
    std::uint32_t colors = bitCount == 8 ? 256 : 0;
    std::uint32_t stride = (std::uint32_t(side) * bitCount / 8 + 3) / 4 * 4;
    std::uint32_t offset = 14 + 40 + 4 * colors;
    std::vector<unsigned char> out{'B', 'M'};
    Put(out, offset + stride * side, 4);
    Put(out, 0, 4);
    Put(out, offset, 4);
    for (std::uint32_t field : {40u, std::uint32_t(side), std::uint32_t(side)}) Put(out, field, 4);
    Put(out, 1, 2);
    Put(out, bitCount, 2);
    for (std::uint32_t field : {0u, stride * side, 2835u, 2835u, colors, 0u}) Put(out, field, 4);
    for (std::uint32_t i = 0; i < colors; ++i) Put(out, (i * 0x010307u) ^ 0x00A05010u, 4);
    for (int y = 0; y < side; ++y) {
        std::size_t rowStart = out.size();
        for (int x = 0; x < side; ++x) {
            std::uint32_t b = (x * 3) ^ y, g = y * 5 + x, r = (x * y) >> 4;
            if (bitCount == 8)
                out.push_back(static_cast<unsigned char>((x ^ (y * 7)) + (x >> 3)));
            else
                Put(out, (b & 255) | (g & 255) << 8 | (r & 255) << 16 | 0xFF000000u, bitCount / 8);
        }
        out.resize(rowStart + stride, 0);
    }
    return out;
}

void ReadDib(benchmark::State& state, const Picture* picture) {
    for (auto _ : state) {
        RgbImage* image = ReadDibImage(picture->path.c_str());
        if (image == nullptr) state.SkipWithError("ReadDibImage failed");
        benchmark::DoNotOptimize(image);
        if (image != nullptr) {
            std::free(image->pixels);
            std::free(image);
        }
    }
}

void StbLoad(benchmark::State& state, const Picture* picture) {
    for (auto _ : state) {
        int width, height, channels;
        unsigned char* pixels = stbi_load(picture->path.c_str(), &width, &height, &channels, 3);
        if (pixels == nullptr) state.SkipWithError("stbi_load failed");
        benchmark::DoNotOptimize(pixels);
        stbi_image_free(pixels);
    }
}

void SdlLoad(benchmark::State& state, const Picture* picture) {
    for (auto _ : state) {
        SDL_Surface* loaded = SDL_LoadBMP(picture->path.c_str());
        SDL_Surface* rgb = loaded != nullptr ? SDL_ConvertSurfaceFormat(loaded, SDL_PIXELFORMAT_RGB24, 0) : nullptr;
        if (rgb == nullptr) state.SkipWithError("SDL_LoadBMP or the conversion failed");
        benchmark::DoNotOptimize(rgb);
        SDL_FreeSurface(rgb);
        SDL_FreeSurface(loaded);
    }
}

void Memcpy(benchmark::State& state, const Picture* picture) {
    for (auto _ : state) {
        void* copy = std::malloc(picture->bytes.size());
        std::memcpy(copy, picture->bytes.data(), picture->bytes.size());
        benchmark::DoNotOptimize(copy);
        benchmark::ClobberMemory();
        std::free(copy);
    }
}

}  // namespace

int main(int argc, char** argv) {
    char dir[] = "/tmp/dib_bench_XXXXXX";
    if (mkdtemp(dir) == nullptr) return 1;
    std::vector<Picture> pictures = {
        {"24bit_512", 24, 512, "", {}}, {"24bit_2048", 24, 2048, "", {}}, {"8bit_512", 8, 512, "", {}},
        {"8bit_2048", 8, 2048, "", {}}, {"32bit_512", 32, 512, "", {}},   {"32bit_2048", 32, 2048, "", {}},
    };
    for (Picture& picture : pictures) {
        picture.bytes = MakeFile(picture.bitCount, picture.side);
        picture.path = std::string(dir) + "/" + picture.name + ".bmp";
        FILE* file = std::fopen(picture.path.c_str(), "wb");
        if (file == nullptr || std::fwrite(picture.bytes.data(), 1, picture.bytes.size(), file) != picture.bytes.size())
            return 1;
        std::fclose(file);
    }
    showDibErrors = false;
    for (const Picture& picture : pictures) {
        std::string name = picture.name;
        benchmark::RegisterBenchmark((name + "/ReadDibImage").c_str(), ReadDib, &picture)
            ->Unit(benchmark::kMicrosecond);
        benchmark::RegisterBenchmark((name + "/stb_image").c_str(), StbLoad, &picture)->Unit(benchmark::kMicrosecond);
        benchmark::RegisterBenchmark((name + "/SDL_LoadBMP").c_str(), SdlLoad, &picture)->Unit(benchmark::kMicrosecond);
        benchmark::RegisterBenchmark((name + "/memcpy").c_str(), Memcpy, &picture)->Unit(benchmark::kMicrosecond);
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    for (const Picture& picture : pictures) unlink(picture.path.c_str());
    rmdir(dir);
    return 0;
}
