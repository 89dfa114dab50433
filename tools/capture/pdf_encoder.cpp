#include <cstdio>
#include <vector>

#include "image_encoders.h"
#include "png_encoder.h"

namespace {

constexpr double kPointsPerPixel = 72.0 / 96.0;

std::string number(double value) {
  char text[32];
  std::snprintf(text, sizeof text, "%.4g", value);
  return text;
}

}  // namespace

// The image is stored as PNG-filtered, deflated rows (the same stream a PNG holds), which PDF
// readers undo with the Flate filter and PNG predictors: lossless and compact.
std::string encodePdf(const PixelImage& image, int threads, RowAvailability* arriving) {
  std::string rows = deflateFilteredRows(image, threads, arriving);
  if (rows.empty()) return {};
  const std::string width = std::to_string(image.width);
  const std::string height = std::to_string(image.height);
  const std::string pageWidth = number(image.width * kPointsPerPixel);
  const std::string pageHeight = number(image.height * kPointsPerPixel);
  const std::string content = "q " + pageWidth + " 0 0 " + pageHeight + " 0 0 cm /Im0 Do Q\n";

  std::string pdf = "%PDF-1.4\n%\xe2\xe3\xcf\xd3\n";
  std::vector<std::size_t> offsets;
  auto object = [&](const std::string& body) {
    offsets.push_back(pdf.size());
    pdf += std::to_string(offsets.size()) + " 0 obj\n" + body + "\nendobj\n";
  };
  object("<< /Type /Catalog /Pages 2 0 R >>");
  object("<< /Type /Pages /Kids [3 0 R] /Count 1 >>");
  object("<< /Type /Page /Parent 2 0 R /MediaBox [0 0 " + pageWidth + " " + pageHeight +
         "] /Resources << /XObject << /Im0 4 0 R >> >> /Contents 5 0 R >>");
  object("<< /Type /XObject /Subtype /Image /Width " + width + " /Height " + height +
         " /ColorSpace /DeviceRGB /BitsPerComponent 8 /Filter /FlateDecode"
         " /DecodeParms << /Predictor 15 /Colors 3 /BitsPerComponent 8 /Columns " +
         width + " >> /Length " + std::to_string(rows.size()) + " >>\nstream\n" + rows +
         "\nendstream");
  object("<< /Length " + std::to_string(content.size()) + " >>\nstream\n" + content + "endstream");

  const std::size_t xrefAt = pdf.size();
  pdf += "xref\n0 " + std::to_string(offsets.size() + 1) + "\n0000000000 65535 f \n";
  for (std::size_t offset : offsets) {
    char entry[32];
    std::snprintf(entry, sizeof entry, "%010zu 00000 n \n", offset);
    pdf += entry;
  }
  pdf += "trailer\n<< /Size " + std::to_string(offsets.size() + 1) +
         " /Root 1 0 R >>\nstartxref\n" + std::to_string(xrefAt) + "\n%%EOF\n";
  return pdf;
}
