#pragma once
// COM for the calling thread, apartment-threaded, for as long as the object
// lives: the shell's links and the imaging component need it. Every program
// of the product sets it up once on its UI thread.

namespace vorpane::platform {

class Win32ComApartment {
 public:
  // Throws std::runtime_error when COM cannot be initialised.
  Win32ComApartment();
  ~Win32ComApartment();
  Win32ComApartment(const Win32ComApartment&) = delete;
  Win32ComApartment& operator=(const Win32ComApartment&) = delete;
};

}  // namespace vorpane::platform
