#pragma once
// The portable half of DLL-command binding: how a declared (library, function) pair turns into
// the files to try and the export to look up, and the text of a failed binding.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace runtime {

// "#123" names an export by ordinal; the number wraps at 65536 like the loader's WORD does.
struct DllExportName {
  bool byOrdinal = false;
  std::uint16_t ordinal = 0;
  std::string name;  // the function name when not by ordinal
};
DllExportName ParseExportName(std::string_view function);

struct DllSearchPlaces {
  std::string searchDirectory;   // set by the program, ends in "\" or is empty
  std::string programDirectory;  // without a trailing "\"
  std::string moduleDirectory;   // with a trailing "\", or empty when unknown
};

struct DllLibraryCandidates {
  // true: look the export up in each file in turn and keep the first that has it (the system
  // list for an empty library name); false: keep the first file that loads, then look it up.
  bool firstWithExport = false;
  std::vector<std::string> files;
};
DllLibraryCandidates LibraryCandidates(std::string_view library, const DllSearchPlaces& places);

// The fatal text for a library or export that cannot be found.
std::string DllBindFailureText(std::string_view library, std::string_view function);

// A non-empty directory always ends in "\" (the search-directory setter, the special folders).
std::string WithTrailingBackslash(std::string directory);

}  // namespace runtime
