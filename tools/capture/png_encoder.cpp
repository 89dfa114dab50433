#include "png_encoder.h"

#include <zlib.h>

#include <algorithm>
#include <cstdint>
#include <map>
#include <mutex>
#include <thread>

namespace {

constexpr unsigned char kFilterNone = 0;
constexpr unsigned char kFilterAverage = 3;
// Strips where fewer sampled pixels than this repeat the one above count as photo-like.
constexpr double kFlatShare = 0.3;

void appendBigEndian(std::string& out, uint32_t value) {
  out.push_back(static_cast<char>(value >> 24));
  out.push_back(static_cast<char>(value >> 16));
  out.push_back(static_cast<char>(value >> 8));
  out.push_back(static_cast<char>(value));
}

std::string bigEndian(uint32_t value) {
  std::string out;
  appendBigEndian(out, value);
  return out;
}

struct Band {
  std::string deflated;
  uLong adler = 1;
  std::size_t rawSize = 0;
};

// Screen content (flat areas, repeated lines, text) compresses best unfiltered with LZ77: a
// filter turns its exact repeats into noise and costs bytes. Photo-like content finds almost no
// matches, so there the Average filter with Huffman coding alone is both smaller and several
// times faster. A sample of rows tells them apart.
bool looksLikeScreenContent(const Strip& strip) {
  long long same = 0;
  long long seen = 0;
  for (int y = strip.above ? 0 : 1; y < strip.rows.height; y += 4) {
    const uint32_t* row = strip.rows.row(y);
    const uint32_t* above = y > 0 ? strip.rows.row(y - 1) : strip.above;
    for (int x = 0; x < strip.rows.width; ++x) same += ((row[x] ^ above[x]) & 0xffffff) == 0;
    seen += strip.rows.width;
  }
  return seen == 0 || static_cast<double>(same) >= kFlatShare * static_cast<double>(seen);
}

void filterRowNone(const uint32_t* pixels, const uint32_t*, int width, unsigned char* dst) {
  *dst++ = kFilterNone;
  for (int x = 0; x < width; ++x) {
    uint32_t p = pixels[x];
    dst[0] = static_cast<unsigned char>(p >> 16);
    dst[1] = static_cast<unsigned char>(p >> 8);
    dst[2] = static_cast<unsigned char>(p);
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

bool deflateStrip(const Strip& strip, bool lastStrip, Band& band) {
  const PixelImage& rows = strip.rows;
  const std::size_t rowBytes = 1 + static_cast<std::size_t>(rows.width) * 3;
  std::vector<unsigned char> raw(rowBytes * rows.height);
  bool screenContent = looksLikeScreenContent(strip);
  auto filterRow = screenContent ? filterRowNone : filterRowAverage;
  for (int y = 0; y < rows.height; ++y) {
    filterRow(rows.row(y), y > 0 ? rows.row(y - 1) : strip.above, rows.width,
              raw.data() + rowBytes * y);
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
  int status = deflate(&stream, lastStrip ? Z_FINISH : Z_SYNC_FLUSH);
  bool ok = lastStrip ? status == Z_STREAM_END : status == Z_OK && stream.avail_in == 0;
  band.deflated.resize(stream.total_out);
  band.deflated.shrink_to_fit();
  deflateEnd(&stream);
  return ok;
}

}  // namespace

std::vector<std::string> deflateFilteredRows(StripSource& source, int threads) {
  std::mutex mutex;
  std::map<int, Band> bands;  // by first row
  bool failed = false;
  auto work = [&] {
    for (;;) {
      std::unique_lock lock(mutex);
      std::optional<Strip> strip = failed ? std::nullopt : source.next();
      lock.unlock();
      if (!strip) return;
      Band band;
      bool ok = deflateStrip(*strip, strip->firstRow + strip->rows.height == source.height(), band);
      lock.lock();
      failed = failed || !ok;
      bands.emplace(strip->firstRow, std::move(band));
    }
  };
  {
    std::vector<std::jthread> helpers;
    for (int t = 1; t < threads; ++t) helpers.emplace_back(work);
    work();
  }
  if (failed || source.failed() || bands.empty()) return {};

  std::vector<std::string> pieces;
  pieces.emplace_back("\x78\x01", 2);  // zlib header: deflate, 32 KiB window, fastest level
  uLong adler = 1;
  for (auto& [row, band] : bands) {
    adler = adler32_combine(adler, band.adler, static_cast<z_off_t>(band.rawSize));
    pieces.push_back(std::move(band.deflated));
  }
  pieces.push_back(bigEndian(static_cast<uint32_t>(adler)));
  return pieces;
}

std::string joinPieces(std::vector<std::string>& pieces) {
  std::string joined;
  std::size_t total = 0;
  for (const std::string& piece : pieces) total += piece.size();
  joined.reserve(total);
  for (std::string& piece : pieces) {
    joined += piece;
    std::string().swap(piece);
  }
  return joined;
}

std::string encodePng(StripSource& source, int threads) {
  std::vector<std::string> rows = deflateFilteredRows(source, threads);
  if (rows.empty()) return {};
  std::size_t dataSize = 0;
  for (const std::string& piece : rows) dataSize += piece.size();

  std::string png("\x89PNG\r\n\x1a\n", 8);
  std::string header = bigEndian(static_cast<uint32_t>(source.width())) +
                       bigEndian(static_cast<uint32_t>(source.height())) +
                       std::string("\x08\x02\x00\x00\x00", 5);  // 8-bit RGB, no interlace
  png.reserve(8 + 25 + 12 + dataSize + 12);
  // Each chunk: length, type, data, then the CRC of type and data.
  auto chunk = [&](const char* type, std::vector<std::string> data) {
    std::size_t size = 0;
    for (const std::string& piece : data) size += piece.size();
    appendBigEndian(png, static_cast<uint32_t>(size));
    png.append(type, 4);
    uLong crc = crc32(0, reinterpret_cast<const Bytef*>(type), 4);
    for (std::string& piece : data) {
      crc =
          crc32(crc, reinterpret_cast<const Bytef*>(piece.data()), static_cast<uInt>(piece.size()));
      png += piece;
      std::string().swap(piece);
    }
    appendBigEndian(png, static_cast<uint32_t>(crc));
  };
  chunk("IHDR", {header});
  chunk("IDAT", std::move(rows));
  chunk("IEND", {});
  return png;
}

std::string encodePng(const PixelImage& image, int threads) {
  ImageStrips strips(image);
  return encodePng(strips, threads);
}
