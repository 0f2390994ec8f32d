#include "draw/gdiplus_session.h"

#include "draw/gdiplus_commands.h"
#include "draw/status.h"

namespace draw {

GdiplusSession::GdiplusSession() {
  StartupInput input;
  ULONG_PTR token = 0;
  if (Record(runtime::CallDll(commands::kStartup, &token, &input, nullptr))) token_ = token;
}

GdiplusSession::~GdiplusSession() { Shutdown(); }

void GdiplusSession::Shutdown() {
  if (token_ == 0) return;
  runtime::CallDll(commands::kShutdown, token_);
  token_ = 0;
}

}  // namespace draw
