// Stands in for the browser and the messenger in the end-to-end tests: the test makes it the
// program that opens web pages, and it appends what it was asked to open to the file named by
// SB_LINK_LOG, one line each.
#include <windows.h>

#include <cstdio>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR arguments, int) {
  char path[MAX_PATH] = {};
  if (GetEnvironmentVariableA("SB_LINK_LOG", path, MAX_PATH) == 0) return 1;
  std::FILE* log = std::fopen(path, "ab");
  if (!log) return 1;
  std::fprintf(log, "%s\n", arguments);
  std::fclose(log);
  return 0;
}
