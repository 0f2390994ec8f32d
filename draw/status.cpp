#include "draw/status.h"

namespace draw {
namespace {
// One value for the process: drawing happens on the GUI thread only.
Status lastStatus = kOk;
}  // namespace

Status LastStatus() { return lastStatus; }

bool Record(Status status) {
  lastStatus = status;
  return status == kOk;
}

}  // namespace draw
