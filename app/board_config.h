#pragma once
// "diRaConfig.ini" beside the program: read and written item by item, never cached.
#include <optional>
#include <string>
#include <vector>

namespace board {

std::string ConfigFile();
std::string ReadSetting(const std::string& section, const std::string& key, const std::string& fallback = {});
// The value's leading decimal digits; 0 when it has none.
int ReadNumberSetting(const std::string& section, const std::string& key, const std::string& fallback);
// No value deletes the key.
void WriteSetting(const std::string& section, const std::string& key, const std::optional<std::string>& value);

// The runtime's reading of a text as an integer.
int TextToInteger(const std::string& text);
// The first `parts` parts of the text split at ","; missing parts are empty.
std::vector<std::string> SplitParts(const std::string& text, int parts);

}  // namespace board
