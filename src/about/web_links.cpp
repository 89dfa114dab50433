#include "about/web_links.h"

#include "platform/build_info.h"
#include "platform/files.h"
#include "platform/process.h"
#include "platform/process_opener.h"
#include "platform/program_location.h"

namespace {

std::string AddressOr(std::string_view chosen, std::string_view ownPage) {
  if (!chosen.empty()) return std::string(chosen);
  return FileAddress(ResourcesFolder() + std::string(ownPage));
}

}  // namespace

std::string ProjectsPage() {
  return AddressOr(ProjectsPageSetting, "projects.html");
}
std::string FeedbackForm() {
  return AddressOr(FeedbackFormSetting, "feedback.html");
}
std::string ContactPage() {
  return AddressOr(ContactPageSetting, "contact.html");
}

void OpenLink(std::string_view address) {
  StartProcessWords(OpenerProgram(), {std::string(address)}, "", 0);
}
