#include "app/capture_report.h"

#include <cstdio>

namespace {

struct Word {
  CaptureResult result;
  std::string_view word;  // followed by a blank and the file or reason, where one is told
};

constexpr Word Words[] = {{CaptureResult::Saved, "saved"},
                          {CaptureResult::Copied, "copied"},
                          {CaptureResult::Cancelled, "cancelled"},
                          {CaptureResult::Failed, "failed"}};

// One line of text: a line break in a reason would end the answer early.
std::string OneLine(std::string text) {
  for (char& c : text) {
    if (c == '\n' || c == '\r') c = ' ';
  }
  return text;
}

}  // namespace

std::string CaptureAnswer(const CaptureEnd& end) {
  for (const Word& word : Words) {
    if (word.result != end.result) continue;
    const std::string& detail = end.result == CaptureResult::Saved ? end.file : end.why;
    std::string answer(word.word);
    if (!detail.empty()) answer.append(" ").append(OneLine(detail));
    return answer;
  }
  return "failed";
}

CaptureEnd CaptureEndFromAnswer(std::string_view answer) {
  const std::size_t blank = answer.find(' ');
  const std::string_view first = answer.substr(0, blank);
  const std::string detail =
      blank == std::string_view::npos ? std::string() : std::string(answer.substr(blank + 1));
  for (const Word& word : Words) {
    if (word.word != first) continue;
    if (word.result == CaptureResult::Saved) return {word.result, detail, {}};
    return {word.result, {}, detail};
  }
  return {CaptureResult::Failed, {}, "the running program gave an answer that cannot be read"};
}

int TellCaptureEnd(const CaptureEnd& end) {
  switch (end.result) {
    case CaptureResult::Saved: std::printf("%s\n", end.file.c_str()); return StatusDone;
    case CaptureResult::Copied: return StatusDone;
    case CaptureResult::Cancelled:
      std::fputs("Capture cancelled\n", stderr);
      return StatusCancelled;
    case CaptureResult::Failed:
      std::fprintf(stderr, "Capture failed%s%s\n", end.why.empty() ? "" : ": ", end.why.c_str());
      return StatusFailed;
  }
  return StatusFailed;
}

int TellCaptureBusy() {
  std::fputs("vantorshot: a capture is already underway; nothing was taken\n", stderr);
  return StatusBusy;
}
