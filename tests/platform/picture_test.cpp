#include <gtest/gtest.h>
#include <gdk-pixbuf/gdk-pixbuf.h>
#include <glib.h>
#include <sys/resource.h>
#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "platform/error.h"
#include "platform/picture.h"
#include "test_support.h"

namespace {

using platform::LoadPicture;

// A 24-bit bitmap file: rows bottom-up, blue-green-red, each padded to 4 bytes.
// Pixels are given top-down as 0xRRGGBB.
std::string Bitmap(int width, int height, const std::vector<std::uint32_t>& pixels) {
    const int rowBytes = (width * 3 + 3) / 4 * 4;
    const std::uint32_t dataBytes = static_cast<std::uint32_t>(rowBytes) * static_cast<std::uint32_t>(height);
    std::string file;
    auto put16 = [&](std::uint32_t value) {
        file += static_cast<char>(value & 0xFF);
        file += static_cast<char>((value >> 8) & 0xFF);
    };
    auto put32 = [&](std::uint32_t value) {
        put16(value & 0xFFFF);
        put16(value >> 16);
    };
    file += "BM";
    put32(14 + 40 + dataBytes);
    put32(0);
    put32(14 + 40);
    put32(40);
    put32(static_cast<std::uint32_t>(width));
    put32(static_cast<std::uint32_t>(height));
    put16(1);   // planes
    put16(24);  // bits per pixel
    put32(0);   // no compression
    put32(dataBytes);
    put32(2835);
    put32(2835);
    put32(0);
    put32(0);
    for (int row = height - 1; row >= 0; --row) {
        for (int x = 0; x < width; ++x) {
            const std::uint32_t rgb = pixels.empty() ? 0 : pixels[static_cast<size_t>(row * width + x)];
            file += static_cast<char>(rgb & 0xFF);
            file += static_cast<char>((rgb >> 8) & 0xFF);
            file += static_cast<char>((rgb >> 16) & 0xFF);
        }
        file.append(static_cast<size_t>(rowBytes - width * 3), '\0');
    }
    return file;
}

std::string WriteFile(const std::string& name, const std::string& content) {
    const auto path = testing_support::TempRoot() / name;
    std::ofstream(path, std::ios::binary) << content;
    return path.string();
}

int ErrorNumberOfLoading(const std::string& path) {
    try {
        LoadPicture(path);
    } catch (const platform::ToolkitError& error) {
        return error.Number();
    }
    return 0;
}

std::uint32_t PixelAt(const platform::Picture& picture, int x, int y) {
    const auto& surface = picture.Surface();
    surface->flush();
    const auto* row = surface->get_data() + y * surface->get_stride();
    return reinterpret_cast<const std::uint32_t*>(row)[x] & 0xFFFFFF;
}

// A PNG file of varied pixels, made by gdk-pixbuf.
std::string Png(int width, int height) {
    GdkPixbuf* pixbuf = gdk_pixbuf_new(GDK_COLORSPACE_RGB, FALSE, 8, width, height);
    guchar* pixels = gdk_pixbuf_get_pixels(pixbuf);
    const int stride = gdk_pixbuf_get_rowstride(pixbuf);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width * 3; ++x) pixels[y * stride + x] = static_cast<guchar>((x * 7919 + y * 104729) >> 3);
    gchar* buffer = nullptr;
    gsize size = 0;
    gdk_pixbuf_save_to_buffer(pixbuf, &buffer, &size, "png", nullptr, nullptr);
    std::string file(buffer, size);
    g_free(buffer);
    g_object_unref(pixbuf);
    return file;
}

long PeakResidentKilobytes() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

TEST(LoadPictureTest, ABitmapLoadsWithItsSizeAndItsPixelsTheRightWayUp) {
    const std::string path = WriteFile("small.bmp", Bitmap(3, 2, {0xFF0000, 0x00FF00, 0x0000FF,  //
                                                                  0xFFFFFF, 0x000000, 0x808080}));
    const auto picture = LoadPicture(path);
    ASSERT_FALSE(picture.Empty());
    EXPECT_EQ(picture.PixelWidth(), 3);
    EXPECT_EQ(picture.PixelHeight(), 2);
    EXPECT_EQ(PixelAt(picture, 0, 0), 0xFF0000u);
    EXPECT_EQ(PixelAt(picture, 1, 0), 0x00FF00u);
    EXPECT_EQ(PixelAt(picture, 2, 0), 0x0000FFu);
    EXPECT_EQ(PixelAt(picture, 0, 1), 0xFFFFFFu);
    EXPECT_EQ(PixelAt(picture, 1, 1), 0x000000u);
    EXPECT_EQ(PixelAt(picture, 2, 1), 0x808080u);
    EXPECT_TRUE(platform::Picture().Empty());
    EXPECT_EQ(platform::Picture().PixelWidth(), 0);
}

TEST(LoadPictureTest, AMissingFileRaises53) {
    EXPECT_EQ(ErrorNumberOfLoading((testing_support::TempRoot() / "none.bmp").string()),
              platform::errors::FileNotFound);
    EXPECT_EQ(ErrorNumberOfLoading(""), platform::errors::FileNotFound);
    EXPECT_EQ(ErrorNumberOfLoading(testing_support::TempRoot().string()), platform::errors::FileNotFound);
}

TEST(LoadPictureTest, ATextFileAnEmptyFileOrATruncatedBitmapRaises481) {
    EXPECT_EQ(ErrorNumberOfLoading(WriteFile("notes.bmp", "[Skin]\r\nName=Blue\r\n")), 481);
    EXPECT_EQ(ErrorNumberOfLoading(WriteFile("empty.bmp", "")), 481);
    const std::string whole = Bitmap(64, 64, {});
    EXPECT_EQ(ErrorNumberOfLoading(WriteFile("truncated.bmp", whole.substr(0, whole.size() / 2))), 481);
    EXPECT_EQ(ErrorNumberOfLoading(WriteFile("header-only.bmp", whole.substr(0, 30))), 481);

    const std::string png = Png(64, 64);
    EXPECT_EQ(LoadPicture(WriteFile("whole.png", png)).PixelHeight(), 64);
    EXPECT_EQ(ErrorNumberOfLoading(WriteFile("truncated.png", png.substr(0, png.size() / 2))), 481);
}

TEST(LoadPictureTest, AHeaderClaimingAHugeBitmapRaises481WithoutAllocatingIt) {
    std::string huge = Bitmap(20000, 1, {}).substr(0, 54);
    // 20000 x 20000 claimed, with a few bytes of data.
    huge[22] = static_cast<char>(20000 & 0xFF);
    huge[23] = static_cast<char>(20000 >> 8);
    huge += std::string(64, '\x7F');
    const std::string path = WriteFile("huge.bmp", huge);
    const long peakBefore = PeakResidentKilobytes();
    EXPECT_EQ(ErrorNumberOfLoading(path), 481);
    EXPECT_LT(PeakResidentKilobytes() - peakBefore, 100 * 1024);
}

// Skin pieces are pictures of pixels within a size no skin reaches: a drawing
// named like a bitmap and a bitmap past the limit are refused before decoding.
TEST(LoadPictureTest, ADrawingOrABitmapPastTheLimitRaises481) {
    const std::string svg =
        "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"64\" height=\"64\">"
        "<rect width=\"64\" height=\"64\" fill=\"red\"/></svg>";
    EXPECT_EQ(ErrorNumberOfLoading(WriteFile("titlebar.bmp", svg)), 481);

    const int side = platform::MaxPictureSide + 1;
    std::string header = Bitmap(side, 1, {}).substr(0, 54);
    header[22] = static_cast<char>(side & 0xFF);
    header[23] = static_cast<char>(side >> 8);
    // The pixels are a sparse run of zeros: the file is whole but costs no disk.
    const std::string path = WriteFile("large.bmp", header);
    const auto rowBytes = static_cast<off_t>((side * 3 + 3) / 4 * 4);
    ASSERT_EQ(truncate(path.c_str(), 54 + rowBytes * side), 0);
    EXPECT_EQ(ErrorNumberOfLoading(path), 481);
    std::filesystem::remove(path);

    const int largest = platform::MaxPictureSide;
    EXPECT_EQ(LoadPicture(WriteFile("wide.bmp", Bitmap(largest, 1, {}))).PixelWidth(), largest);
}

}  // namespace
