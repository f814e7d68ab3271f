#include "app/win32/StartupImageCheck.h"

#include <windows.h>

#include "payload/ImageCheck.h"
#include "platform/Win32Sha256.h"

namespace vorpane::app {

StartupImageCheck::StartupImageCheck() {
  thread_ = handles::KernelHandle(CreateThread(nullptr, 0, run, this, 0, nullptr));
  // Without a thread of its own the check still happens, only not alongside.
  if (!thread_) check();
}

StartupImageCheck::~StartupImageCheck() { wait(); }

unsigned long __stdcall StartupImageCheck::run(void* self) {
  static_cast<StartupImageCheck*>(self)->check();
  return 0;
}

const std::vector<std::string>& StartupImageCheck::damagedImages() {
  wait();
  if (failure_) std::rethrow_exception(failure_);
  return damaged_;
}

void StartupImageCheck::check() noexcept {
  try {
    platform::Win32Sha256 sha256;
    damaged_ = payload::DamagedImages(sha256, payload::EmbeddedImages());
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
