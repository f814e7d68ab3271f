#include "platform/Win32ComApartment.h"

#include <windows.h>

#include <objbase.h>

#include <stdexcept>

namespace vorpane::platform {

Win32ComApartment::Win32ComApartment() {
  if (FAILED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE)))
    throw std::runtime_error("COM could not be initialised");
}

Win32ComApartment::~Win32ComApartment() { CoUninitialize(); }

}  // namespace vorpane::platform
