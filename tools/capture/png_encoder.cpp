#include "png_encoder.h"

#include <zlib.h>

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <thread>
#include <vector>

namespace {

constexpr int kBandsPerThread = 4;
constexpr unsigned char kFilterUp = 2;
constexpr unsigned char kFilterAverage = 3;
// Bands where fewer pixels than this repeat the one above count as photo-like.
constexpr double kFlatShare = 0.3;

void appendBigEndian(std::string& out, uint32_t value) {
  out.push_back(static_cast<char>(value >> 24));
  out.push_back(static_cast<char>(value >> 16));
  out.push_back(static_cast<char>(value >> 8));
  out.push_back(static_cast<char>(value));
}

// One chunk: length, type, data, CRC of type and data.
void appendChunk(std::string& out, const char type[4], const std::string& data) {
  appendBigEndian(out, static_cast<uint32_t>(data.size()));
  std::size_t typeAt = out.size();
  out.append(type, 4);
  out += data;
  uLong crc = crc32(0, reinterpret_cast<const Bytef*>(out.data() + typeAt), 4 + data.size());
  appendBigEndian(out, static_cast<uint32_t>(crc));
}

struct Band {
  int firstRow = 0;
  int rowCount = 0;
  std::string deflated;
  uLong adler = 1;
  std::size_t rawSize = 0;
};

// Screen content (flat areas, repeated lines, text) compresses best with the Up filter and
// LZ77; photo-like content finds almost no matches, so there the Average filter with Huffman
// coding alone is both smaller and several times faster. A sample of rows tells them apart.
bool looksLikeScreenContent(const PixelImage& image, const Band& band) {
  long long same = 0;
  long long seen = 0;
  for (int y = std::max(band.firstRow, 1); y < band.firstRow + band.rowCount; y += 4) {
    const uint32_t* row = image.row(y);
    const uint32_t* above = image.row(y - 1);
    for (int x = 0; x < image.width; ++x) same += ((row[x] ^ above[x]) & 0xffffff) == 0;
    seen += image.width;
  }
  return seen == 0 || static_cast<double>(same) >= kFlatShare * static_cast<double>(seen);
}

void filterRowUp(const uint32_t* pixels, const uint32_t* above, int width, unsigned char* dst) {
  *dst++ = kFilterUp;
  for (int x = 0; x < width; ++x) {
    uint32_t p = pixels[x];
    uint32_t q = above ? above[x] : 0;
    dst[0] = static_cast<unsigned char>((p >> 16) - (q >> 16));
    dst[1] = static_cast<unsigned char>((p >> 8) - (q >> 8));
    dst[2] = static_cast<unsigned char>(p - q);
    dst += 3;
  }
}

void filterRowAverage(const uint32_t* pixels, const uint32_t* above, int width,
                      unsigned char* dst) {
  *dst++ = kFilterAverage;
  uint32_t left = 0;
  for (int x = 0; x < width; ++x) {
    uint32_t p = pixels[x];
    uint32_t q = above ? above[x] : 0;
    for (int shift = 16, i = 0; shift >= 0; shift -= 8, ++i) {
      uint32_t predicted = (((left >> shift) & 0xff) + ((q >> shift) & 0xff)) >> 1;
      dst[i] = static_cast<unsigned char>(((p >> shift) & 0xff) - predicted);
    }
    left = p;
    dst += 3;
  }
}

bool deflateBand(const PixelImage& image, Band& band, bool lastBand) {
  const std::size_t rowBytes = 1 + static_cast<std::size_t>(image.width) * 3;
  std::vector<unsigned char> raw(rowBytes * band.rowCount);
  bool screenContent = looksLikeScreenContent(image, band);
  auto filterRow = screenContent ? filterRowUp : filterRowAverage;
  for (int r = 0; r < band.rowCount; ++r) {
    int y = band.firstRow + r;
    filterRow(image.row(y), y > 0 ? image.row(y - 1) : nullptr, image.width,
              raw.data() + rowBytes * r);
  }
  band.rawSize = raw.size();
  band.adler = adler32(1, raw.data(), static_cast<uInt>(raw.size()));

  z_stream stream{};
  // Level 1: several times faster than zlib's default and nearly as small on screen content.
  int strategy = screenContent ? Z_DEFAULT_STRATEGY : Z_HUFFMAN_ONLY;
  if (deflateInit2(&stream, 1, Z_DEFLATED, -15, 9, strategy) != Z_OK) return false;
  band.deflated.resize(deflateBound(&stream, raw.size()) + 16);
  stream.next_in = raw.data();
  stream.avail_in = static_cast<uInt>(raw.size());
  stream.next_out = reinterpret_cast<Bytef*>(band.deflated.data());
  stream.avail_out = static_cast<uInt>(band.deflated.size());
  int status = deflate(&stream, lastBand ? Z_FINISH : Z_SYNC_FLUSH);
  bool ok = lastBand ? status == Z_STREAM_END : status == Z_OK && stream.avail_in == 0;
  band.deflated.resize(stream.total_out);
  deflateEnd(&stream);
  return ok;
}

std::vector<Band> cutIntoBands(int height, int count) {
  count = std::clamp(count, 1, std::max(height, 1));
  std::vector<Band> bands(count);
  for (int i = 0; i < count; ++i) {
    bands[i].firstRow = static_cast<int>(static_cast<long long>(height) * i / count);
    int end = static_cast<int>(static_cast<long long>(height) * (i + 1) / count);
    bands[i].rowCount = end - bands[i].firstRow;
  }
  return bands;
}

}  // namespace

std::string deflateFilteredRows(const PixelImage& image, int threads, RowAvailability* arriving) {
  threads = std::max(threads, 1);
  std::vector<Band> bands = cutIntoBands(image.height, threads * kBandsPerThread);

  std::atomic<std::size_t> next{0};
  std::atomic<bool> failed{false};
  auto work = [&] {
    for (std::size_t i = next++; i < bands.size(); i = next++) {
      if (arriving && !arriving->waitFor(bands[i].firstRow + bands[i].rowCount)) failed = true;
      if (failed || !deflateBand(image, bands[i], i + 1 == bands.size())) failed = true;
    }
  };
  std::vector<std::jthread> helpers;
  for (int t = 1; t < threads; ++t) helpers.emplace_back(work);
  work();
  helpers.clear();  // joins
  if (failed) return {};

  std::string stream;
  std::size_t total = 2 + 4;
  for (const Band& band : bands) total += band.deflated.size();
  stream.reserve(total);
  stream += std::string("\x78\x01", 2);  // zlib header: deflate, 32 KiB window, fastest level
  uLong adler = 1;
  for (const Band& band : bands) {
    stream += band.deflated;
    adler = adler32_combine(adler, band.adler, static_cast<z_off_t>(band.rawSize));
  }
  appendBigEndian(stream, static_cast<uint32_t>(adler));
  return stream;
}

std::string encodePng(const PixelImage& image, int threads, RowAvailability* arriving) {
  std::string rows = deflateFilteredRows(image, threads, arriving);
  if (rows.empty()) return {};
  std::string png("\x89PNG\r\n\x1a\n", 8);
  std::string header;
  appendBigEndian(header, static_cast<uint32_t>(image.width));
  appendBigEndian(header, static_cast<uint32_t>(image.height));
  header += std::string("\x08\x02\x00\x00\x00", 5);  // 8 bits, RGB, deflate, adaptive, no interlace
  appendChunk(png, "IHDR", header);
  png.reserve(png.size() + rows.size() + 32);
  appendChunk(png, "IDAT", rows);
  appendChunk(png, "IEND", std::string());
  return png;
}
