#pragma once
// Gives the process's idle memory back when the program loses the foreground: a short worker
// thread trims our own working set. It writes no file and starts no process.
#include <windows.h>

#include <atomic>
#include <thread>

namespace skin {

class WorkingSetTrim {
 public:
  WorkingSetTrim() = default;
  ~WorkingSetTrim();
  WorkingSetTrim(const WorkingSetTrim&) = delete;
  WorkingSetTrim& operator=(const WorkingSetTrim&) = delete;

  // Starts a trim unless one is still running.
  void Start();
  // Waits for the running trim, if any.
  void Wait();
  // Finished trims, and how many of them the system accepted.
  int Completed() const { return completed_.load(); }
  int Succeeded() const { return succeeded_.load(); }

 private:
  std::thread worker_;
  std::atomic<bool> running_{false};
  std::atomic<int> completed_{0};
  std::atomic<int> succeeded_{0};
};

}  // namespace skin
