#pragma once
// Shell services: shortcuts, running documents and addresses, special folders.
#include <optional>
#include <string>

namespace services {

// Arguments and working directory are set only when both are passed, as the five-argument
// form does. ".lnk" is appended to a link name without ".". COM must be initialised.
bool CreateShortcut(const std::string& link, const std::string& target,
                    const std::optional<std::string>& description = std::nullopt,
                    const std::optional<std::string>& arguments = std::nullopt,
                    const std::optional<std::string>& directory = std::nullopt);

void ShellRun(int verb, const std::string& file, const std::string& parameters = {},
              const std::string& directory = {}, int show = 0);

// Codes 1..11 with a trailing "\"; anything else, or a failing call, the empty text.
std::string GetSpecialFolder(int folder);

void OpenLink(const std::optional<std::string>& address = std::nullopt);

}  // namespace services
