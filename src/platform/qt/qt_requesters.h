#pragma once

// Alerts and the folder chooser as Qt dialogs; and, for a session without a display, alerts
// written to the standard error stream.

#include "platform/requesters.h"

class QtRequesters final : public Requesters {
 public:
  int RunAlert(const AlertRequest& request) override;
  std::string RunFolderChooser(const FolderRequest& request) override;
  std::string PreferredLanguage() override;
};

class ConsoleRequesters final : public Requesters {
 public:
  int RunAlert(const AlertRequest& request) override;
  std::string RunFolderChooser(const FolderRequest&) override { return {}; }
  std::string PreferredLanguage() override { return {}; }
};
