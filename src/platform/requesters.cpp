#include "platform/requesters.h"

namespace {

Requesters* installed = nullptr;

struct ChoiceLabels {
  const char* prefix;
  const char* yes;
  const char* no;
  const char* cancel;
};

constexpr ChoiceLabels LabelsByLanguage[] = {
    {"fr", "Oui", "Non", "Annuler"},
    {"de", "Ja", "Nein", "Abbrechen"},
    {"it", "S\u00cc", "NO", "Annulla"},
    {"es", "S\u00ed", "No", "Cancelar"},
};
constexpr ChoiceLabels EnglishLabels = {"", "Yes", "No", "Cancel"};

const ChoiceLabels& LabelsFor(std::string_view language) {
  for (const ChoiceLabels& labels : LabelsByLanguage) {
    if (language.starts_with(labels.prefix)) return labels;
  }
  return EnglishLabels;
}

AlertIcon IconFor(std::uint32_t flags) {
  if ((flags & AlertCaution) != 0) return AlertIcon::Caution;
  if ((flags & AlertNote) != 0) return AlertIcon::Note;
  if ((flags & AlertStop) != 0) return AlertIcon::Stop;
  return AlertIcon::Application;
}

}  // namespace

void InstallRequesters(Requesters* requesters) {
  installed = requesters;
}

AlertRequest MakeAlertRequest(std::string_view title, std::string_view text, std::uint32_t flags,
                              std::string_view language) {
  AlertRequest request;
  request.title = std::string(title);
  request.text = std::string(text);
  request.icon = IconFor(flags);
  if ((flags & (AlertYesNo | AlertYesNoCancel)) != 0) {
    const ChoiceLabels& labels = LabelsFor(language);
    request.buttons.push_back({labels.yes, AnswerYes});
    request.buttons.push_back({labels.no, AnswerNo});
    if ((flags & AlertYesNoCancel) != 0) request.buttons.push_back({labels.cancel, AnswerCancel});
  }
  return request;
}

int ShowAlert(std::string_view title, std::string_view text, std::uint32_t flags) {
  if (installed == nullptr) return AnswerNone;
  const AlertRequest request = MakeAlertRequest(title, text, flags, installed->PreferredLanguage());
  const int tag = installed->RunAlert(request);
  if (request.buttons.empty() || tag < 0) return AnswerNone;
  return tag;
}

int ShowMessageBox(std::string_view message, std::string_view text,
                   const std::vector<std::string>& buttons, void* image) {
  if (installed == nullptr) return -1;
  AlertRequest request;
  request.title = std::string(message);
  request.text = std::string(text);
  request.image = image;
  for (const std::string& label : buttons) {
    request.buttons.push_back(
        {label, FirstButtonAnswer + static_cast<int>(request.buttons.size())});
  }
  request.escapeTag = FirstButtonAnswer;
  return installed->RunAlert(request);
}

FolderRequest MakeFolderRequest(std::string_view title, std::string_view initialPath) {
  FolderRequest request;
  request.title = std::string(title);
  if (initialPath.size() < 2) {
    request.name = std::string(initialPath);
    return request;
  }
  // A "/" at position 0 does not split: "/x" starts nowhere with the name "/x".
  const std::size_t slash = initialPath.find_last_of('/');
  if (slash == std::string_view::npos || slash == 0) {
    request.name = std::string(initialPath);
    return request;
  }
  request.startFolder = std::string(initialPath.substr(0, slash));
  request.name = std::string(initialPath.substr(slash + 1));
  return request;
}

std::string ChooseFolder(std::string_view title, std::string_view initialPath) {
  if (installed == nullptr) return {};
  std::string chosen = installed->RunFolderChooser(MakeFolderRequest(title, initialPath));
  if (!chosen.empty() && chosen.back() != '/') chosen += '/';
  return chosen;
}
