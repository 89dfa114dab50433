// The word lists the engine builds, and the same words in other orders.
#include <gtest/gtest.h>

#include "capture_request.h"

namespace {

CaptureRequest parsed(const std::vector<std::string_view>& words) {
  ParsedWords result = parseCaptureWords(words);
  EXPECT_TRUE(result.request.has_value()) << result.error;
  return result.request.value_or(CaptureRequest{});
}

TEST(WordParsing, EngineOrdersMeanWhatTheySay) {
  CaptureRequest full = parsed({"-t", "jpg", "-D2", "-x", "-C", "-P", "-c", "/d/a b.jpeg"});
  EXPECT_EQ(full.mode, CaptureMode::Display);
  EXPECT_EQ(full.displayNumber, 2);
  EXPECT_EQ(full.format, ImageFormat::Jpeg);
  EXPECT_FALSE(full.playSound);
  EXPECT_TRUE(full.drawPointer);
  EXPECT_TRUE(full.openAfterwards);
  EXPECT_TRUE(full.toClipboard);
  EXPECT_EQ(full.outputPath, "/d/a b.jpeg");

  CaptureRequest window = parsed({"-W", "-t", "png", "-o", "-x", "-P", "-c", "/d/w.png"});
  EXPECT_EQ(window.mode, CaptureMode::Window);
  EXPECT_FALSE(window.drawPointer);

  CaptureRequest area = parsed({"-s", "-t", "tiff", "-c", "-P", "/d/s.tiff"});
  EXPECT_EQ(area.mode, CaptureMode::Selection);
  EXPECT_EQ(area.format, ImageFormat::Tiff);
  EXPECT_TRUE(area.playSound);

  CaptureRequest plain = parsed({"-t", "png", "/d/f.png"});
  EXPECT_EQ(plain.mode, CaptureMode::MainDisplay);
  EXPECT_FALSE(plain.toClipboard || plain.openAfterwards || plain.drawPointer);
}

TEST(WordParsing, OptionsMayComeInAnyOrderBeforeThePath) {
  CaptureRequest request = parsed({"-c", "-D", "3", "-x", "-t", "bmp", "/d/x.bmp"});
  EXPECT_EQ(request.mode, CaptureMode::Display);
  EXPECT_EQ(request.displayNumber, 3);
  EXPECT_EQ(request.format, ImageFormat::Bmp);
  EXPECT_TRUE(request.toClipboard);
  EXPECT_EQ(parsed({"-x", "-t", "pdf", "-s", "/d/p.pdf"}).format, ImageFormat::Pdf);
}

}  // namespace
