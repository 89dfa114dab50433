#include <cstdio>
#include <vector>

#include "image_encoders.h"
#include "png_encoder.h"

namespace {

// 96 pixels per inch on a page measured in points (72 per inch): three quarters of a point each,
// written exactly, since readers fall back to another page size when they cannot parse it.
std::string points(int pixels) {
  int quarters = pixels * 3;
  std::string text = std::to_string(quarters / 4);
  static constexpr const char* kFractions[] = {"", ".25", ".5", ".75"};
  return text + kFractions[quarters % 4];
}

}  // namespace

// The image is stored as PNG-filtered, deflated rows (the same stream a PNG holds), which PDF
// readers undo with the Flate filter and PNG predictors: lossless and compact.
std::string encodePdf(StripSource& source, int threads) {
  std::vector<std::string> pieces = deflateFilteredRows(source, threads);
  if (pieces.empty()) return {};
  const std::string rows = joinPieces(pieces);
  const std::string width = std::to_string(source.width());
  const std::string height = std::to_string(source.height());
  const std::string pageWidth = points(source.width());
  const std::string pageHeight = points(source.height());
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
