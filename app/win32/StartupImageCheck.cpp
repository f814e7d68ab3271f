#include "app/win32/StartupImageCheck.h"

#include <windows.h>

#include "payload/ImageCheck.h"

namespace vorpane::app {

// The system's SHA-256 is loaded here, and the constructor returns once the
// thread runs. A thread starts, and a library loads, only under the loader's
// lock, which the window's first system library keeps for as long as it
// takes to connect to the display; started before that, the check runs
// alongside it instead of after it.
StartupImageCheck::StartupImageCheck() {
  try {
    sha256_ = std::make_unique<platform::Win32Sha256>();
  } catch (...) {
    failure_ = std::current_exception();
    return;
  }
  running_ = handles::KernelHandle(CreateEventW(nullptr, TRUE, FALSE, nullptr));
  thread_ = handles::KernelHandle(CreateThread(nullptr, 0, run, this, 0, nullptr));
  // Without a thread of its own the check still happens, only not alongside.
  if (!thread_) {
    check();
    return;
  }
  if (running_) WaitForSingleObject(running_.get(), INFINITE);
}

StartupImageCheck::~StartupImageCheck() { wait(); }

unsigned long __stdcall StartupImageCheck::run(void* self) {
  auto* check = static_cast<StartupImageCheck*>(self);
  if (check->running_) SetEvent(check->running_.get());
  check->check();
  return 0;
}

const std::vector<std::string>& StartupImageCheck::damagedImages() {
  wait();
  if (failure_) std::rethrow_exception(failure_);
  return damaged_;
}

void StartupImageCheck::check() noexcept {
  try {
    damaged_ = payload::DamagedImages(*sha256_, payload::EmbeddedImages());
  } catch (...) {
    failure_ = std::current_exception();
  }
}

void StartupImageCheck::wait() noexcept {
  if (!thread_) return;
  WaitForSingleObject(thread_.get(), INFINITE);
  thread_.reset();
}

}  // namespace vorpane::app
