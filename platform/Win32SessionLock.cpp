#include "platform/Win32SessionLock.h"

#include <windows.h>

namespace vorpane::platform {

Win32SessionLock::Win32SessionLock(const std::string& name) {
  HANDLE mutex = CreateMutexA(nullptr, TRUE, name.c_str());
  // Another holder is reported as ERROR_ALREADY_EXISTS with a handle that does
  // not own the mutex; a name taken by another kind of object gives no handle.
  held_ = mutex != nullptr && GetLastError() != ERROR_ALREADY_EXISTS;
  mutex_ = handles::KernelHandle(mutex);
}

}  // namespace vorpane::platform
