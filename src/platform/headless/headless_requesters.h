#pragma once

#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "platform/requesters.h"

namespace headless {

// Alerts and folder choosers answered from queues the test fills; everything shown is kept.
class Requesters final : public ::Requesters {
 public:
  void QueueAlertAnswer(int tag) { alertAnswers_.push_back(tag); }
  void QueueFolderChoice(std::string folder) { folderChoices_.push_back(std::move(folder)); }
  // Runs `during` while the next alert is up, as the desktop handles events under a modal box.
  void WhileNextAlertIsUp(std::function<void()> during) { during_ = std::move(during); }

  const std::vector<AlertRequest>& Alerts() const { return alerts_; }
  const std::vector<FolderRequest>& FolderRequests() const { return folders_; }

  int RunAlert(const AlertRequest& request) override;
  std::string RunFolderChooser(const FolderRequest& request) override;
  std::string PreferredLanguage() override { return "en-US"; }

 private:
  std::function<void()> during_;
  std::deque<int> alertAnswers_;
  std::deque<std::string> folderChoices_;
  std::vector<AlertRequest> alerts_;
  std::vector<FolderRequest> folders_;
};

}  // namespace headless
