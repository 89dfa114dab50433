#include "png_row_filters.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

constexpr std::size_t kPixelBytes = 3;

// Branch-free, so that the compiler can work on many bytes at once.
unsigned char paeth(int left, int up, int upLeft) {
  const int toLeft = std::abs(up - upLeft);
  const int toUp = std::abs(left - upLeft);
  const int toUpLeft = std::abs(left + up - 2 * upLeft);
  const int notLeft = toUp <= toUpLeft ? up : upLeft;
  return static_cast<unsigned char>(toLeft <= toUp && toLeft <= toUpLeft ? left : notLeft);
}

// Bytes [from, to) of the filtered row, without the filter byte, at out[0..to - from). `above`
// is all zeros for the top row; the first pixel has zeros on its left.
void predict(PngFilter filter, const unsigned char* row, const unsigned char* above,
             std::size_t from, std::size_t to, unsigned char* out) {
  out -= from;
  for (std::size_t i = from; i < to && i < kPixelBytes; ++i) {
    const int up = above[i];
    const int predicted = filter == kUp || filter == kPaeth ? up : filter == kAverage ? up >> 1 : 0;
    out[i] = static_cast<unsigned char>(row[i] - predicted);
  }
  const std::size_t start = from < kPixelBytes ? kPixelBytes : from;
  switch (filter) {
    case kNone: std::memcpy(out + start, row + start, to > start ? to - start : 0); return;
    case kSub:
      for (std::size_t i = start; i < to; ++i) {
        out[i] = static_cast<unsigned char>(row[i] - row[i - kPixelBytes]);
      }
      return;
    case kUp:
      for (std::size_t i = start; i < to; ++i) {
        out[i] = static_cast<unsigned char>(row[i] - above[i]);
      }
      return;
    case kAverage:
      for (std::size_t i = start; i < to; ++i) {
        out[i] = static_cast<unsigned char>(row[i] - ((row[i - kPixelBytes] + above[i]) >> 1));
      }
      return;
    case kPaeth:
      for (std::size_t i = start; i < to; ++i) {
        out[i] = static_cast<unsigned char>(
            row[i] - paeth(row[i - kPixelBytes], above[i], above[i - kPixelBytes]));
      }
      return;
  }
}

// A filtered byte read as signed, by size: small remainders of either sign count as small.
unsigned size(unsigned char filtered) {
  const auto negated = static_cast<unsigned char>(-filtered);
  return filtered < negated ? filtered : negated;
}

const unsigned char* zerosOfAtLeast(std::size_t bytes) {
  thread_local std::vector<unsigned char> zeros;
  if (zeros.size() < bytes) zeros.assign(bytes, 0);
  return zeros.data();
}

}  // namespace

void rgbBytes(const uint32_t* pixels, int width, unsigned char* out) {
  int x = 0;
  if constexpr (std::endian::native == std::endian::little) {
    // Two pixels in one eight-byte store, whose last two bytes the next store overwrites:
    // several times faster than a store per byte.
    const auto rgb = [](uint64_t p) { return (p >> 16 & 0xff) | (p & 0xff00) | (p & 0xff) << 16; };
    for (; x + 2 < width; x += 2) {
      const uint64_t two = rgb(pixels[x]) | rgb(pixels[x + 1]) << 24;
      std::memcpy(out, &two, sizeof two);
      out += 2 * kPixelBytes;
    }
  }
  for (; x < width; ++x) {
    const uint32_t p = pixels[x];
    out[0] = static_cast<unsigned char>(p >> 16);
    out[1] = static_cast<unsigned char>(p >> 8);
    out[2] = static_cast<unsigned char>(p);
    out += kPixelBytes;
  }
}

void filterRow(PngFilter filter, const unsigned char* row, const unsigned char* above,
               std::size_t bytes, unsigned char* out) {
  out[0] = filter;
  predict(filter, row, above ? above : zerosOfAtLeast(bytes), 0, bytes, out + 1);
}

PngFilter filterRowAdaptively(const unsigned char* row, const unsigned char* above,
                              std::size_t bytes, unsigned char* out) {
  if (!above) above = zerosOfAtLeast(bytes);
  // All five sums in one pass over the row, none of the filtered bytes kept.
  std::array<unsigned, 5> sums{};
  const std::size_t head = bytes < kPixelBytes ? bytes : kPixelBytes;
  for (std::size_t i = 0; i < head; ++i) {
    sums[kNone] += size(row[i]);
    sums[kSub] += size(row[i]);
    sums[kUp] += size(static_cast<unsigned char>(row[i] - above[i]));
    sums[kAverage] += size(static_cast<unsigned char>(row[i] - (above[i] >> 1)));
    sums[kPaeth] += size(static_cast<unsigned char>(row[i] - above[i]));
  }
  unsigned none = 0, sub = 0, up = 0, average = 0, paethSum = 0;
  for (std::size_t i = kPixelBytes; i < bytes; ++i) {
    const unsigned char x = row[i], left = row[i - kPixelBytes], upper = above[i];
    none += size(x);
    sub += size(static_cast<unsigned char>(x - left));
    up += size(static_cast<unsigned char>(x - upper));
    average += size(static_cast<unsigned char>(x - ((left + upper) >> 1)));
    paethSum += size(static_cast<unsigned char>(x - paeth(left, upper, above[i - kPixelBytes])));
  }
  sums[kNone] += none;
  sums[kSub] += sub;
  sums[kUp] += up;
  sums[kAverage] += average;
  sums[kPaeth] += paethSum;
  const auto best =
      static_cast<PngFilter>(std::min_element(sums.begin(), sums.end()) - sums.begin());
  out[0] = best;
  predict(best, row, above, 0, bytes, out + 1);
  return best;
}
