#pragma once

// The maker's web pages, opened by the desktop's opener. A packager sets their addresses when
// building; otherwise each is the program's own page among its resources.

#include <string>
#include <string_view>

std::string ProjectsPage();
std::string FeedbackForm();
std::string ContactPage();

// Hands the address to the opener as one word and returns without waiting for it.
void OpenLink(std::string_view address);
