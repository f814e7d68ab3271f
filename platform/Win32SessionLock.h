#pragma once
// A lock held by one program of the session at a time: a named kernel mutex in
// the session's namespace. The installer and the uninstaller take the same one,
// so that two of them never write over each other. It is released when the
// holder ends, however it ends.

#include <string>

#include "platform/Win32Handles.h"

namespace vorpane::platform {

class Win32SessionLock {
 public:
  // Tries once, without waiting; held() tells whether this program got it.
  explicit Win32SessionLock(const std::string& name);
  bool held() const { return held_; }

 private:
  handles::KernelHandle mutex_;
  bool held_ = false;
};

}  // namespace vorpane::platform
