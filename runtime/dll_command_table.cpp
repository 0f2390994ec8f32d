#include "runtime/dll_command_table.h"

#include "runtime/values/error_report.h"

namespace runtime {

DllCommandTable::DllCommandTable(std::size_t count) : entries_(count) {}

void DllCommandTable::SetProgramPlaces(std::string programDirectory, std::string moduleDirectory) {
  places_.programDirectory = std::move(programDirectory);
  places_.moduleDirectory = std::move(moduleDirectory);
}

void DllCommandTable::SetSearchDirectory(std::string directory) {
  places_.searchDirectory = WithTrailingBackslash(std::move(directory));
}

bool DllCommandTable::Declare(std::size_t index, std::string_view library, std::string_view function) {
  if (index >= entries_.size()) return false;
  Entry& entry = entries_[index];
  if (entry.declared) return entry.library == library && entry.function == function;
  entry.library = std::string(library);
  entry.function = std::string(function);
  entry.declared = true;
  return true;
}

namespace {

FARPROC LookUp(HMODULE module, const DllExportName& name) {
  if (name.byOrdinal) {
    // Ordinal 0 would be read as a null name pointer.
    if (name.ordinal == 0) return nullptr;
    return GetProcAddress(module, MAKEINTRESOURCEA(name.ordinal));
  }
  return GetProcAddress(module, name.name.c_str());
}

}  // namespace

DllCommandTable::BindResult DllCommandTable::TryBind(std::size_t index) {
  if (index >= entries_.size() || !entries_[index].declared) {
    return {nullptr, DllBindFailureText("", "#" + std::to_string(index))};
  }
  Entry& entry = entries_[index];
  if (entry.address) return {entry.address, {}};

  const DllExportName name = ParseExportName(entry.function);
  const DllLibraryCandidates candidates = LibraryCandidates(entry.library, places_);
  ModuleHandle module;
  FARPROC address = nullptr;
  if (candidates.firstWithExport) {
    for (const std::string& file : candidates.files) {
      ModuleHandle tried(LoadLibraryA(file.c_str()));
      if (!tried) continue;
      address = LookUp(tried.Get(), name);
      if (address) {
        module = std::move(tried);
        break;
      }
    }
  } else {
    for (const std::string& file : candidates.files) {
      module.Reset(LoadLibraryA(file.c_str()));
      if (module) break;
    }
    if (module) address = LookUp(module.Get(), name);
  }
  if (!address) return {nullptr, DllBindFailureText(entry.library, entry.function)};

  entry.address = reinterpret_cast<void*>(address);
  entry.module = std::move(module);
  return {entry.address, {}};
}

void* DllCommandTable::Bind(std::size_t index) {
  BindResult result = TryBind(index);
  if (!result.address) ReportError(error_codes::Text, result.failure);
  return result.address;
}

HMODULE DllCommandTable::ModuleOf(std::size_t index) const {
  return index < entries_.size() ? entries_[index].module.Get() : nullptr;
}

void DllCommandTable::Release() {
  entries_.clear();
  entries_.shrink_to_fit();
  places_.searchDirectory.clear();
}

void DllCommandTable::ReportClash(std::size_t, std::string_view library, std::string_view function) {
  ReportError(error_codes::Text, DllBindFailureText(library, function));
}

}  // namespace runtime
