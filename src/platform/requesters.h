#pragma once

// Modal requesters: an alert with an optional Yes/No(/Cancel) choice, and a folder chooser.
// Both return when the user has answered and give the focus back to the window that had it.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

inline constexpr std::uint32_t AlertYesNo = 1;
inline constexpr std::uint32_t AlertYesNoCancel = 2;
inline constexpr std::uint32_t AlertNote = 4;
inline constexpr std::uint32_t AlertStop = 8;
inline constexpr std::uint32_t AlertCaution = 16;

inline constexpr int AnswerNone = 0;
inline constexpr int AnswerCancel = 2;
inline constexpr int AnswerYes = 6;
inline constexpr int AnswerNo = 7;

enum class AlertIcon { Application, Caution, Note, Stop };

struct AlertButton {
  std::string label;
  int tag = 0;
};

// An alert as the realisation is asked to show it. No buttons means the platform's single OK;
// otherwise the first button is the default one (Return presses it).
struct AlertRequest {
  std::string title;  // the bold message
  std::string text;
  AlertIcon icon = AlertIcon::Application;
  std::vector<AlertButton> buttons;
  // A picture (a native image of the toolkit) shown instead of the icon, or null.
  void* image = nullptr;
  // The answer Escape gives, when a button carries it.
  int escapeTag = AnswerCancel;
};

struct FolderRequest {
  std::string title;
  std::string startFolder;  // empty: the realisation's choice
  std::string name;
};

class Requesters {
 public:
  virtual ~Requesters() = default;
  // Runs the alert modally; returns the tag of the pressed button (0 for the single OK), or -1
  // when the alert could not be shown at all.
  virtual int RunAlert(const AlertRequest& request) = 0;
  // Runs the folder chooser modally; returns the chosen folder, or empty when cancelled.
  virtual std::string RunFolderChooser(const FolderRequest& request) = 0;
  // The user's first preferred language, for example "fr-CA".
  virtual std::string PreferredLanguage() = 0;
};

void InstallRequesters(Requesters* requesters);

int ShowAlert(std::string_view title, std::string_view text, std::uint32_t flags);
std::string ChooseFolder(std::string_view title, std::string_view initialPath);

// The first button of a message box answers FirstButtonAnswer, the next one more, and so on.
inline constexpr int FirstButtonAnswer = 1000;

// A message box with its own buttons, the first the default one; Escape presses the first as
// well. `image` is a native image of the toolkit, or null. Returns the answer of the pressed
// button, or -1 when the box could not be shown.
int ShowMessageBox(std::string_view message, std::string_view text,
                   const std::vector<std::string>& buttons, void* image);

// The pieces of the requesters that do not depend on the desktop, exposed for their tests.
AlertRequest MakeAlertRequest(std::string_view title, std::string_view text, std::uint32_t flags,
                              std::string_view language);
FolderRequest MakeFolderRequest(std::string_view title, std::string_view initialPath);
