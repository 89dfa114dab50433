#include "platform/headless/headless_requesters.h"

#include <utility>

namespace headless {

int Requesters::RunAlert(const AlertRequest& request) {
  alerts_.push_back(request);
  if (during_) std::exchange(during_, nullptr)();
  if (!alertAnswers_.empty()) {
    const int answer = alertAnswers_.front();
    alertAnswers_.pop_front();
    return answer;
  }
  // Return presses the first (default) button.
  return request.buttons.empty() ? 0 : request.buttons.front().tag;
}

std::string Requesters::RunFolderChooser(const FolderRequest& request) {
  folders_.push_back(request);
  if (folderChoices_.empty()) return {};  // Escape
  std::string choice = std::move(folderChoices_.front());
  folderChoices_.pop_front();
  return choice;
}

}  // namespace headless
