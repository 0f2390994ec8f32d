#pragma once
// "diRaConfig.ini" beside the program: read and written item by item, never cached.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace board {

std::string ConfigFile();
std::string ReadSetting(const std::string& section, const std::string& key, const std::string& fallback = {});
// The value read as LeadingNumber reads it.
int ReadNumberSetting(const std::string& section, const std::string& key, const std::string& fallback);
// No value deletes the key.
void WriteSetting(const std::string& section, const std::string& key, const std::optional<std::string>& value);

// How the board reads every number it stored as text (a setting, a part of one, a hotkey tag, the
// number in a unit name): its leading decimal digits, 0 when it has none. That is the runtime's
// text-to-integer reading, which also takes leading blanks, a sign and full-width digits.
int LeadingNumber(std::string_view text);
// The first `parts` parts of the text split at ","; missing parts are empty.
std::vector<std::string> SplitParts(const std::string& text, int parts);

}  // namespace board
