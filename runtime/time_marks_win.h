// Time marks for the benchmark. When the environment names a file in SB_BENCH_MARKS, the process
// appends a line per mark to it ("<name> <ticks>", or "<name> <start> <end>" for a span, in
// QueryPerformanceCounter ticks, which every process of the machine shares); otherwise a mark
// costs one test of a flag.
#pragma once

namespace runtime::marks {

bool Enabled();
void Mark(const char* name);

// Marks the time from its construction to its end under one name.
class Span {
 public:
  explicit Span(const char* name);
  ~Span();
  Span(const Span&) = delete;
  Span& operator=(const Span&) = delete;

 private:
  const char* name_;
  long long start_ = 0;
};

}  // namespace runtime::marks
