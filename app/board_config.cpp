#include "app/board_config.h"

#include "app/board_objects.h"
#include "runtime/services/program_files_win.h"
#include "runtime/values/conversion_commands.h"
#include "runtime/values/text_commands.h"
#include "runtime/values/text_value.h"

namespace board {

std::string ConfigFile() { return State().runPrefix + "diRaConfig.ini"; }

std::string ReadSetting(const std::string& section, const std::string& key, const std::string& fallback) {
  return services::ReadConfigItem(ConfigFile(), section, key, fallback);
}

int ReadNumberSetting(const std::string& section, const std::string& key, const std::string& fallback) {
  return LeadingNumber(ReadSetting(section, key, fallback));
}

void WriteSetting(const std::string& section, const std::string& key, const std::optional<std::string>& value) {
  services::WriteConfigItem(ConfigFile(), section, key, value);
}

int LeadingNumber(std::string_view text) { return runtime::TextToInteger(text); }

std::vector<std::string> SplitParts(const std::string& text, int parts) {
  const runtime::Array<runtime::TextValue> split = runtime::SplitText(std::string_view(text), ",", parts);
  std::vector<std::string> result(static_cast<std::size_t>(parts));
  for (std::size_t i = 0; i < split.count() && i < result.size(); ++i) {
    result[i] = std::string(split.Get(static_cast<std::int32_t>(i + 1)).view());
  }
  return result;
}

}  // namespace board
