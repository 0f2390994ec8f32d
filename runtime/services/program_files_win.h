#pragma once
// Program, file and configuration services. Texts are GBK bytes.
#include <optional>
#include <string>

namespace services {

std::string GetRunDirectory();      // no trailing "\"
std::string GetProgramFileName();   // without directory
bool FileExists(const std::string& path);  // a directory or a wildcard match counts
void Delay(int milliseconds);       // negative sleeps 0 ms
int GetFaceColour();

// Empty without touching the file when the file, section or key is empty after its leading
// blanks; values are cut to 10239 bytes.
std::string ReadConfigItem(const std::string& file, const std::string& section, const std::string& key,
                           const std::string& fallback = {});
// No key deletes the section, no value the key.
bool WriteConfigItem(const std::string& file, const std::string& section,
                     const std::optional<std::string>& key, const std::optional<std::string>& value);

// Returns the previous DLL search directory of the runtime; no argument empties it.
std::string SetDllSearchDirectory(const std::optional<std::string>& directory);

}  // namespace services
