#pragma once
// A lock held by one program at a time: a named kernel mutex, in whichever
// namespace its name gives ("Global\..." for the whole machine). The
// installer and the uninstaller of every version take the same one, so that
// two of them never write over each other. It is released when the holder
// ends, however it ends.

#include <string>

#include "platform/Win32Handles.h"

namespace vorpane::platform {

class Win32SessionLock {
 public:
  // Tries once, without waiting; held() tells whether this program got it. A
  // name that another program's mutex holds, or one that this program may not
  // open, counts as held elsewhere.
  explicit Win32SessionLock(const std::string& name);
  bool held() const { return held_; }

 private:
  handles::KernelHandle mutex_;
  bool held_ = false;
};

}  // namespace vorpane::platform
