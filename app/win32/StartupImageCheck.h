#pragma once
// The installer's check of its own images, started as the program starts and
// run on a thread of its own, so that hashing three megabytes overlaps with
// building the window instead of delaying it. Nothing may show or be written
// before damagedImages() has given its verdict.

#include <exception>
#include <memory>
#include <string>
#include <vector>

#include "platform/Win32Handles.h"
#include "platform/Win32Sha256.h"

namespace vorpane::app {

class StartupImageCheck {
 public:
  StartupImageCheck();
  ~StartupImageCheck();
  StartupImageCheck(const StartupImageCheck&) = delete;
  StartupImageCheck& operator=(const StartupImageCheck&) = delete;

  // Waits for the check; the names of the images that differ from the ones
  // built (empty: intact). Raises what the check raised, such as a system
  // without SHA-256.
  const std::vector<std::string>& damagedImages();

 private:
  static unsigned long __stdcall run(void* self);
  void check() noexcept;
  void wait() noexcept;

  std::unique_ptr<platform::Win32Sha256> sha256_;
  handles::KernelHandle running_;
  handles::KernelHandle thread_;
  std::vector<std::string> damaged_;
  std::exception_ptr failure_;
};

}  // namespace vorpane::app
