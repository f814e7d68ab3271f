#include "app/RunLog.h"

#include "app/DirectoryChoices.h"
#include "platform/WindowsPath.h"

namespace vorpane::app {

std::unique_ptr<platform::LogFile> OpenRunLog(platform::Platform& platform, const std::string& path) {
  const std::string folder = platform::path::folderOf(platform.fullPath(path));
  for (const auto& level : MissingLevels(platform, {folder})) MakeDirectoryIfMissing(platform, level);
  return std::make_unique<platform::LogFile>(platform, path);
}

}  // namespace vorpane::app
