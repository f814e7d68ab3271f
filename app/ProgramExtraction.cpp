#include "app/ProgramExtraction.h"

#include "payload/Uninstall_Vorpane_Exe.h"
#include "payload/Vorpane_Exe.h"

namespace vorpane::app {

namespace {

// One payload module seen through its protocol, so that one loop serves both.
struct PayloadModule {
  const char* fileName;
  std::int64_t (*size)();
  void (*beginWrite)(const std::string&);
  void (*writeNextChunk)();
  bool (*writeDone)();
  std::int64_t (*bytesWritten)();
};

const PayloadModule kClient{kClientFileName,
                            &payload::Vorpane_Exe::size,
                            &payload::Vorpane_Exe::BeginWrite,
                            &payload::Vorpane_Exe::WriteNextChunk,
                            &payload::Vorpane_Exe::WriteDone,
                            &payload::Vorpane_Exe::BytesWritten};
const PayloadModule kUninstaller{kUninstallerFileName,
                                 &payload::Uninstall_Vorpane_Exe::size,
                                 &payload::Uninstall_Vorpane_Exe::BeginWrite,
                                 &payload::Uninstall_Vorpane_Exe::WriteNextChunk,
                                 &payload::Uninstall_Vorpane_Exe::WriteDone,
                                 &payload::Uninstall_Vorpane_Exe::BytesWritten};

void extract(const PayloadModule& module, const std::string& directory, std::int64_t offset,
             RunProgress& progress) {
  const std::int64_t maximum = RunProgressMaximum();
  module.beginWrite(directory + module.fileName);
  do {
    module.writeNextChunk();
    // Once complete the writer counts one byte more than the image holds;
    // the bar shows that count as it is.
    const std::int64_t position = offset + module.bytesWritten();
    progress.setPosition(static_cast<int>(position));
    progress.setPercent(PercentOf(position, maximum));
    progress.processMessages();
  } while (!module.writeDone());
}

}  // namespace

std::int64_t ProgramsSize() { return kClient.size() + kUninstaller.size(); }

int RunProgressMaximum() {
  const auto size = static_cast<int>(ProgramsSize());
  return size + size / 10;
}

void BeginRunProgress(RunProgress& progress) {
  progress.setPosition(0);
  progress.setMaximum(static_cast<int>(ProgramsSize()));
  progress.setMaximum(RunProgressMaximum());
}

void ExtractPrograms(const std::string& directory, RunProgress& progress) {
  extract(kClient, directory, 0, progress);
  extract(kUninstaller, directory, kClient.size(), progress);
}

}  // namespace vorpane::app
