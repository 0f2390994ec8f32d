#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace resgen {

// UTF-8 layout text to the GBK bytes the resource stores; nullopt when a character has no GBK form.
std::optional<std::string> Utf8ToGbk(std::string_view utf8);

}  // namespace resgen
