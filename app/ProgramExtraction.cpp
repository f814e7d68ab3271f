#include "app/ProgramExtraction.h"

#include <optional>

#include "payload/Uninstall_Vorpane_Exe.h"
#include "payload/Vorpane_Exe.h"

namespace vorpane::app {

namespace {

// One payload module seen through its protocol, so that one loop serves both.
struct PayloadModule {
  const char* fileName;
  std::int64_t (*size)();
  void (*setBusyTargetWait)(payload::ImageWriter::BusyTargetWait);
  void (*beginHeldWrite)(const std::string&);
  void (*writeNextChunk)();
  bool (*writeDone)();
  std::int64_t (*bytesWritten)();
  void (*placeWritten)();
  void (*discardWritten)();
};

const PayloadModule kClient{kClientFileName,
                            &payload::Vorpane_Exe::size,
                            &payload::Vorpane_Exe::SetBusyTargetWait,
                            &payload::Vorpane_Exe::BeginHeldWrite,
                            &payload::Vorpane_Exe::WriteNextChunk,
                            &payload::Vorpane_Exe::WriteDone,
                            &payload::Vorpane_Exe::BytesWritten,
                            &payload::Vorpane_Exe::PlaceWritten,
                            &payload::Vorpane_Exe::DiscardWritten};
const PayloadModule kUninstaller{kUninstallerFileName,
                                 &payload::Uninstall_Vorpane_Exe::size,
                                 &payload::Uninstall_Vorpane_Exe::SetBusyTargetWait,
                                 &payload::Uninstall_Vorpane_Exe::BeginHeldWrite,
                                 &payload::Uninstall_Vorpane_Exe::WriteNextChunk,
                                 &payload::Uninstall_Vorpane_Exe::WriteDone,
                                 &payload::Uninstall_Vorpane_Exe::BytesWritten,
                                 &payload::Uninstall_Vorpane_Exe::PlaceWritten,
                                 &payload::Uninstall_Vorpane_Exe::DiscardWritten};

// Waits in short steps, pumping messages, until the patience runs out.
class BusyProgramWait {
 public:
  BusyProgramWait(platform::Platform& platform, RunProgress& progress)
      : platform_(platform), progress_(progress) {}
  bool operator()() {
    const std::uint64_t now = platform_.tickCount();
    if (!deadline_) deadline_ = now + kBusyProgramPatienceMs;
    if (now >= *deadline_) return false;
    progress_.processMessages();
    platform_.sleep(kStepMs);
    return true;
  }

 private:
  static constexpr int kStepMs = 100;
  platform::Platform& platform_;
  RunProgress& progress_;
  std::optional<std::uint64_t> deadline_;
};

// The wait refers to this extraction's progress; it must not outlive it.
class BusyWaitScope {
 public:
  BusyWaitScope(const PayloadModule& module, platform::Platform& platform, RunProgress& progress)
      : module_(module) {
    module_.setBusyTargetWait(BusyProgramWait(platform, progress));
  }
  ~BusyWaitScope() { module_.setBusyTargetWait({}); }
  BusyWaitScope(const BusyWaitScope&) = delete;
  BusyWaitScope& operator=(const BusyWaitScope&) = delete;

 private:
  const PayloadModule& module_;
};

// Writes the image beside its target, where it waits until both are complete.
void writeBeside(const PayloadModule& module, const std::string& directory, std::int64_t offset,
                 RunProgress& progress) {
  const std::int64_t maximum = RunProgressMaximum();
  module.beginHeldWrite(directory + module.fileName);
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

void place(platform::Platform& platform, const PayloadModule& module, const std::string& directory,
           RunProgress& progress) {
  const std::string target = directory + module.fileName;
  const bool isNew = !platform.fileExists(target);
  module.placeWritten();
  progress.fileWritten(target, static_cast<std::uint64_t>(module.size()), isNew);
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

// Both programs are complete on disk before either replaces anything, so that a
// failure while writing leaves an installation's two programs as they were.
// The client goes first: it is the one that may still be running, and a refusal
// there also leaves both old programs in place.
void ExtractPrograms(platform::Platform& platform, const std::string& directory, RunProgress& progress) {
  const BusyWaitScope clientWait(kClient, platform, progress);
  const BusyWaitScope uninstallerWait(kUninstaller, platform, progress);
  try {
    writeBeside(kClient, directory, 0, progress);
    writeBeside(kUninstaller, directory, kClient.size(), progress);
    place(platform, kClient, directory, progress);
    place(platform, kUninstaller, directory, progress);
  } catch (...) {
    kClient.discardWritten();
    kUninstaller.discardWritten();
    throw;
  }
}

}  // namespace vorpane::app
