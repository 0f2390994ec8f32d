#include "forms/resource_error.h"

#include "runtime/values/error_report.h"

namespace forms {

void FailResourceLoad() { runtime::ReportError(runtime::error_codes::Text, kResourceLoadError); }

}  // namespace forms
