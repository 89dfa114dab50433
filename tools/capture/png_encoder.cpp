#include "png_encoder.h"

#include "png_row_filters.h"

#include <zlib.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <map>
#include <memory>
#include <mutex>
#include <thread>

namespace {

// zlib level 2: several times faster than its default; level 1 finds too few of the matches
// that filtered gradients leave.
constexpr int kLevel = 2;
// A band is judged by two blocks of this many rows, near its top and in its middle.
constexpr int kSampleBlock = 2;
// Huffman coding alone is several times faster than matching; taken while it costs this little.
constexpr double kHuffmanAllowance = 1.02;
// Pixels per band, whatever the strips they arrive in: each band starts deflate afresh, so
// smaller bands cost size, and larger ones leave a thread idle at the end.
constexpr std::size_t kBandPixels = 1 << 18;
// A band is filtered and deflated this many bytes at a time.
constexpr std::size_t kChunkBytes = 1 << 16;

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

// How a band's rows are stored. Screen content (flat areas, repeated lines, text, pixel art,
// dither patterns) is smallest unfiltered, where deflate finds its exact repeats; smooth
// gradients want a filter that predicts each pixel, and then deflate's matches on the small
// remainders; photos and noise find few matches, so Huffman coding alone does as well, faster.
struct BandCoding {
  bool filtered = false;
  int strategy = Z_DEFAULT_STRATEGY;
};

// What Huffman coding alone would store `size` bytes in: each byte costs its information, but
// at least the one bit of the shortest code. A Huffman code comes within a few percent of that
// on this much data, and it is far cheaper to count than to code.
double huffmanEstimate(const unsigned char* bytes, std::size_t size) {
  std::array<uint32_t, 256> counts{};
  for (std::size_t i = 0; i < size; ++i) ++counts[bytes[i]];
  double bits = 0;
  for (uint32_t count : counts) {
    if (count == 0) continue;
    const double information = -std::log2(static_cast<double>(count) / static_cast<double>(size));
    bits += count * std::max(1.0, information);
  }
  return bits / 8;
}

// Bytes that are always written before they are read. A vector would zero them first and so
// touch every page, where deflate's output buffer is mostly never used.
class ScratchBytes {
 public:
  unsigned char* data() { return bytes_.get(); }
  // Room for at least `size` bytes, keeping the first `keep`.
  void reserve(std::size_t size, std::size_t keep = 0) {
    if (size <= size_) return;
    std::unique_ptr<unsigned char[]> grown = std::make_unique_for_overwrite<unsigned char[]>(size);
    if (keep > 0) std::memcpy(grown.get(), bytes_.get(), keep);
    bytes_ = std::move(grown);
    size_ = size;
  }

 private:
  std::unique_ptr<unsigned char[]> bytes_;
  std::size_t size_ = 0;
};

// What one encoder thread reuses from band to band: fresh buffers of a megabyte each would cost
// more in page faults than the filtering itself.
class Workspace {
 public:
  Workspace() {
    ready_ = deflateInit2(&stream_, kLevel, Z_DEFLATED, -15, 9, Z_DEFAULT_STRATEGY) == Z_OK;
  }
  ~Workspace() {
    if (ready_) deflateEnd(&stream_);
  }
  Workspace(const Workspace&) = delete;
  Workspace& operator=(const Workspace&) = delete;

  // Starts a band of about `rows` rows with the strip's rows, and the row above them, as RGB
  // bytes.
  void begin(const Strip& strip, int rows) {
    rowBytes_ = static_cast<std::size_t>(strip.rows.width) * 3;
    rows_ = 0;
    topOfPicture_ = !strip.above;
    pixels_.reserve(rowBytes_ * static_cast<std::size_t>(rows + strip.rows.height + 1));
    if (strip.above) rgbBytes(strip.above, strip.rows.width, pixels_.data());
    add(strip);
  }
  // Adds the next strip's rows to the band.
  void add(const Strip& strip) {
    pixels_.reserve(rowBytes_ * static_cast<std::size_t>(rows_ + 1 + strip.rows.height),
                    rowBytes_ * static_cast<std::size_t>(rows_ + 1));
    for (int y = 0; y < strip.rows.height; ++y) {
      rgbBytes(strip.rows.row(y), strip.rows.width, row(rows_ + y));
    }
    rows_ += strip.rows.height;
  }
  int rows() const { return rows_; }

  BandCoding chooseCoding();
  // The whole band coded so, as the next piece of the stream.
  bool encode(BandCoding coding, bool last, Band& band);

 private:
  unsigned char* row(int y) { return pixels_.data() + rowBytes_ * static_cast<std::size_t>(y + 1); }
  const unsigned char* above(int y) { return y == 0 && topOfPicture_ ? nullptr : row(y - 1); }
  // `count` rows from `first`, each with its filter byte, into filtered_; the bytes written.
  std::size_t filterRows(bool filtered, int first, int count);
  // Starts a deflate stream into deflated_ with room for `size` bytes of input, as if the
  // first `context` bytes of filtered_ had come just before.
  bool startDeflate(std::size_t context, std::size_t size, int strategy);
  // Deflates `size` bytes of filtered_ from `offset`; `end` ends the piece, `last` the stream.
  bool deflateMore(std::size_t offset, std::size_t size, bool end, bool last);
  // Deflates `size` bytes of filtered_ after the first `context`, on their own; the size
  // written, 0 on failure.
  std::size_t deflateFiltered(std::size_t context, std::size_t size);

  z_stream stream_{};
  bool ready_ = false;
  std::size_t rowBytes_ = 0;
  int rows_ = 0;
  bool topOfPicture_ = false;
  ScratchBytes pixels_, filtered_, deflated_;
};

std::size_t Workspace::filterRows(bool filtered, int first, int count) {
  const std::size_t lineBytes = rowBytes_ + 1;
  filtered_.reserve(lineBytes * static_cast<std::size_t>(count));
  unsigned char* out = filtered_.data();
  for (int y = first; y < first + count; ++y) {
    if (filtered) {
      filterRowAdaptively(row(y), above(y), rowBytes_, out);
    } else {
      filterRow(kNone, row(y), above(y), rowBytes_, out);
    }
    out += lineBytes;
  }
  return static_cast<std::size_t>(out - filtered_.data());
}

bool Workspace::startDeflate(std::size_t context, std::size_t size, int strategy) {
  if (!ready_ || deflateReset(&stream_) != Z_OK ||
      deflateParams(&stream_, kLevel, strategy) != Z_OK ||
      (context > 0 &&
       deflateSetDictionary(&stream_, filtered_.data(), static_cast<uInt>(context)) != Z_OK)) {
    return false;
  }
  const std::size_t room = deflateBound(&stream_, size) + 16;
  deflated_.reserve(room);
  stream_.next_out = deflated_.data();
  stream_.avail_out = static_cast<uInt>(room);
  return true;
}

bool Workspace::deflateMore(std::size_t offset, std::size_t size, bool end, bool last) {
  stream_.next_in = filtered_.data() + offset;
  stream_.avail_in = static_cast<uInt>(size);
  // The last piece finishes the stream; the others end on a byte boundary for the next to follow.
  const int flush = !end ? Z_NO_FLUSH : last ? Z_FINISH : Z_SYNC_FLUSH;
  const int status = deflate(&stream_, flush);
  return flush == Z_FINISH ? status == Z_STREAM_END : status == Z_OK && stream_.avail_in == 0;
}

std::size_t Workspace::deflateFiltered(std::size_t context, std::size_t size) {
  const bool ok =
      startDeflate(context, size, Z_DEFAULT_STRATEGY) && deflateMore(context, size, true, true);
  return ok ? stream_.total_out : 0;
}

// Stores a sample of the band's rows each way and keeps the smallest. Each block of the sample
// is deflated after the row above it, as in the band, so that rows repeating the one above
// count as the repeats they are.
BandCoding Workspace::chooseCoding() {
  const bool small = rows_ < 2 * (kSampleBlock + 1);
  const std::size_t lineBytes = rowBytes_ + 1;
  BandCoding best;
  double bestSize = HUGE_VAL;
  for (bool filtered : {false, true}) {
    std::size_t matched = 0;
    double huffman = 0;
    for (int start : {1, rows_ / 2}) {
      const std::size_t bytes = small ? filterRows(filtered, 0, rows_)
                                      : filterRows(filtered, start - 1, kSampleBlock + 1);
      const std::size_t context = small ? 0 : lineBytes;
      const std::size_t size = deflateFiltered(context, bytes - context);
      matched = size == 0 || matched == SIZE_MAX ? SIZE_MAX : matched + size;
      huffman += huffmanEstimate(filtered_.data() + context, bytes - context);
      if (small) break;
    }
    if (matched == SIZE_MAX) continue;
    const bool preferHuffman = huffman <= kHuffmanAllowance * static_cast<double>(matched);
    const double size = preferHuffman ? huffman : static_cast<double>(matched);
    if (size < bestSize) {
      bestSize = size;
      best = {filtered, preferHuffman ? Z_HUFFMAN_ONLY : Z_DEFAULT_STRATEGY};
    }
  }
  return best;
}

// Filters and deflates a few rows at a time, while they are still in the cache, and needs no
// buffer the size of the band.
bool Workspace::encode(BandCoding coding, bool last, Band& band) {
  const std::size_t lineBytes = rowBytes_ + 1;
  const int chunkRows = std::max(1, static_cast<int>(kChunkBytes / lineBytes));
  band.rawSize = lineBytes * static_cast<std::size_t>(rows_);
  band.adler = 1;
  if (!startDeflate(0, band.rawSize, coding.strategy)) return false;
  for (int first = 0; first < rows_; first += chunkRows) {
    const int count = std::min(chunkRows, rows_ - first);
    const std::size_t size = filterRows(coding.filtered, first, count);
    band.adler = adler32(band.adler, filtered_.data(), static_cast<uInt>(size));
    if (!deflateMore(0, size, first + count == rows_, last)) return false;
  }
  band.deflated.assign(reinterpret_cast<const char*>(deflated_.data()), stream_.total_out);
  return true;
}

}  // namespace

std::vector<std::string> deflateFilteredRows(StripSource& source, int threads) {
  std::mutex mutex;
  std::map<int, Band> bands;  // by first row
  bool failed = false;
  const int bandRows = std::max(1, static_cast<int>(kBandPixels / std::max(source.width(), 1)));
  auto work = [&] {
    Workspace workspace;
    for (;;) {
      // A band's strips are taken in turn and converted as they come, so that each strip's
      // buffer is free again before the next arrives.
      std::unique_lock lock(mutex);
      int firstRow = -1;
      while (!failed && (firstRow < 0 || workspace.rows() < bandRows)) {
        std::optional<Strip> strip = source.next();
        if (!strip) break;
        if (firstRow < 0) {
          firstRow = strip->firstRow;
          workspace.begin(*strip, bandRows);
        } else {
          workspace.add(*strip);
        }
      }
      lock.unlock();
      if (firstRow < 0) return;
      Band band;
      bool ok = workspace.encode(workspace.chooseCoding(),
                                 firstRow + workspace.rows() == source.height(), band);
      lock.lock();
      failed = failed || !ok;
      bands.emplace(firstRow, std::move(band));
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
