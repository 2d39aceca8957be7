// The outside libraries link and work: decode a PNG, JPEG and GIF made here, an MD5
// known answer, a tag read back from a tiny MP3 written here.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include <gif_lib.h>
#include <jpeglib.h>
#include <openssl/evp.h>
#include <png.h>
#include <zlib.h>

#include <taglib/fileref.h>
#include <taglib/mpegfile.h>
#include <taglib/id3v2tag.h>
#include <taglib/tag.h>

namespace {

std::filesystem::path TempFile(const char* name) {
  auto dir = std::filesystem::temp_directory_path() / "qorn-deps-test";
  std::filesystem::create_directories(dir);
  return dir / name;
}

TEST(Deps, ZlibRoundTrip) {
  const std::string text(1000, 'q');
  uLongf packedSize = compressBound(text.size());
  std::vector<Bytef> packed(packedSize);
  ASSERT_EQ(compress(packed.data(), &packedSize, reinterpret_cast<const Bytef*>(text.data()), text.size()), Z_OK);
  EXPECT_LT(packedSize, text.size());
  std::string back(text.size(), '\0');
  uLongf backSize = back.size();
  ASSERT_EQ(uncompress(reinterpret_cast<Bytef*>(back.data()), &backSize, packed.data(), packedSize), Z_OK);
  EXPECT_EQ(back, text);
}

TEST(Deps, PngWriteAndReadWithAlpha) {
  const int w = 3, h = 2;
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  image.width = w;
  image.height = h;
  image.format = PNG_FORMAT_RGBA;
  std::vector<unsigned char> pixels(w * h * 4);
  for (size_t i = 0; i < pixels.size(); ++i) pixels[i] = static_cast<unsigned char>(i * 10);
  png_alloc_size_t size = 0;
  ASSERT_TRUE(png_image_write_get_memory_size(image, size, 0, pixels.data(), 0, nullptr));
  std::vector<unsigned char> file(size);
  ASSERT_TRUE(png_image_write_to_memory(&image, file.data(), &size, 0, pixels.data(), 0, nullptr));

  png_image in{};
  in.version = PNG_IMAGE_VERSION;
  ASSERT_TRUE(png_image_begin_read_from_memory(&in, file.data(), size));
  in.format = PNG_FORMAT_RGBA;
  std::vector<unsigned char> back(PNG_IMAGE_SIZE(in));
  ASSERT_TRUE(png_image_finish_read(&in, nullptr, back.data(), 0, nullptr));
  EXPECT_EQ(in.width, 3u);
  EXPECT_EQ(back, pixels);
}

TEST(Deps, JpegEncodeAndDecode) {
  const int w = 16, h = 8;
  std::vector<unsigned char> rgb(w * h * 3);
  for (int i = 0; i < w * h; ++i) { rgb[i * 3] = 200; rgb[i * 3 + 1] = 40; rgb[i * 3 + 2] = 90; }

  jpeg_compress_struct c{};
  jpeg_error_mgr err{};
  c.err = jpeg_std_error(&err);
  jpeg_create_compress(&c);
  unsigned char* out = nullptr;
  unsigned long outSize = 0;
  jpeg_mem_dest(&c, &out, &outSize);
  c.image_width = w;
  c.image_height = h;
  c.input_components = 3;
  c.in_color_space = JCS_RGB;
  jpeg_set_defaults(&c);
  jpeg_set_quality(&c, 95, TRUE);
  jpeg_start_compress(&c, TRUE);
  while (c.next_scanline < c.image_height) {
    JSAMPROW row = &rgb[c.next_scanline * w * 3];
    jpeg_write_scanlines(&c, &row, 1);
  }
  jpeg_finish_compress(&c);
  jpeg_destroy_compress(&c);
  ASSERT_GT(outSize, 100u);

  jpeg_decompress_struct d{};
  d.err = jpeg_std_error(&err);
  jpeg_create_decompress(&d);
  jpeg_mem_src(&d, out, outSize);
  ASSERT_EQ(jpeg_read_header(&d, TRUE), JPEG_HEADER_OK);
  jpeg_start_decompress(&d);
  EXPECT_EQ(d.output_width, 16u);
  EXPECT_EQ(d.output_height, 8u);
  std::vector<unsigned char> row(d.output_width * d.output_components);
  JSAMPROW r = row.data();
  while (d.output_scanline < d.output_height) jpeg_read_scanlines(&d, &r, 1);
  EXPECT_NEAR(row[0], 200, 6);
  EXPECT_NEAR(row[1], 40, 6);
  EXPECT_NEAR(row[2], 90, 6);
  jpeg_finish_decompress(&d);
  jpeg_destroy_decompress(&d);
  free(out);
}

TEST(Deps, GifWriteAndRead) {
  const auto path = TempFile("tiny.gif").string();
  int error = 0;
  GifFileType* out = EGifOpenFileName(path.c_str(), false, &error);
  ASSERT_NE(out, nullptr);
  GifColorType colors[2] = {{0, 0, 0}, {255, 128, 0}};
  ColorMapObject* map = GifMakeMapObject(2, colors);
  ASSERT_EQ(EGifPutScreenDesc(out, 4, 2, 1, 0, map), GIF_OK);
  ASSERT_EQ(EGifPutImageDesc(out, 0, 0, 4, 2, false, nullptr), GIF_OK);
  GifPixelType line[4] = {0, 1, 1, 0};
  for (int y = 0; y < 2; ++y) ASSERT_EQ(EGifPutLine(out, line, 4), GIF_OK);
  ASSERT_EQ(EGifCloseFile(out, &error), GIF_OK);
  GifFreeMapObject(map);

  GifFileType* in = DGifOpenFileName(path.c_str(), &error);
  ASSERT_NE(in, nullptr);
  ASSERT_EQ(DGifSlurp(in), GIF_OK);
  EXPECT_EQ(in->SWidth, 4);
  ASSERT_EQ(in->ImageCount, 1);
  EXPECT_EQ(in->SavedImages[0].RasterBits[1], 1);
  EXPECT_EQ(in->SColorMap->Colors[1].Red, 255);
  DGifCloseFile(in, &error);
}

TEST(Deps, Md5KnownAnswers) {
  struct Case { const char* in; const char* hex; };
  const Case cases[] = {
    {"", "d41d8cd98f00b204e9800998ecf8427e"},
    {"abc", "900150983cd24fb0d6963f7d28e17f72"},
    {"The quick brown fox jumps over the lazy dog", "9e107d9d372bb6826bd81d3542a419d6"},
  };
  for (const auto& c : cases) {
    unsigned char md[EVP_MAX_MD_SIZE];
    unsigned int len = 0;
    ASSERT_EQ(EVP_Digest(c.in, strlen(c.in), md, &len, EVP_md5(), nullptr), 1);
    char hex[33] = {};
    for (unsigned i = 0; i < len; ++i) snprintf(hex + i * 2, 3, "%02x", md[i]);
    EXPECT_STREQ(hex, c.hex) << c.in;
  }
}

// An MPEG file of a few silent frames; TagLib writes the ID3v2 tag, then reads it back.
TEST(Deps, TagLibWritesAndReadsId3) {
  const auto path = TempFile("tiny.mp3");
  {
    std::vector<unsigned char> mp3;
    // MPEG-1 Layer III, 128 kbit/s, 44100 Hz, no padding: 417-byte frames.
    for (int f = 0; f < 20; ++f) {
      const unsigned char header[4] = {0xFF, 0xFB, 0x90, 0x00};
      mp3.insert(mp3.end(), header, header + 4);
      mp3.insert(mp3.end(), 417 - 4, 0);
    }
    FILE* fp = fopen(path.string().c_str(), "wb");
    ASSERT_NE(fp, nullptr);
    fwrite(mp3.data(), 1, mp3.size(), fp);
    fclose(fp);
  }
  {
    TagLib::MPEG::File file(path.string().c_str());
    ASSERT_TRUE(file.isValid());
    auto* tag = file.ID3v2Tag(true);
    tag->setTitle(L"Qorn title");
    tag->setArtist("Artist");
    tag->setYear(2026);
    ASSERT_TRUE(file.save());
  }
  TagLib::FileRef ref(path.string().c_str());
  ASSERT_FALSE(ref.isNull());
  EXPECT_EQ(ref.tag()->title().to8Bit(true), "Qorn title");
  EXPECT_EQ(ref.tag()->artist().to8Bit(true), "Artist");
  EXPECT_EQ(ref.tag()->year(), 2026u);
}

}  // namespace
