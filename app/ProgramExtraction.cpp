#include "app/ProgramExtraction.h"

#include <optional>
#include <string>
#include <utility>

#include "payload/Uninstall_Vorpane_Exe.h"
#include "payload/Vorpane_Exe.h"

namespace vorpane::app {

namespace {

using payload::ImageWriter;

// Waits in short steps, pumping messages and saying what it waits for, until
// the patience runs out and nobody asks for more.
class BusyProgramWait {
 public:
  BusyProgramWait(SetupTransaction& transaction, RunProgress& progress, std::string target)
      : transaction_(transaction), progress_(progress), target_(std::move(target)) {}
  bool operator()() {
    platform::Platform& platform = transaction_.platform();
    if (!deadline_) {
      transaction_.log("Waiting for the program that holds " + target_ + " to end");
      progress_.showWaiting(kWaitingForClientText);
      deadline_ = platform.tickCount() + kBusyProgramPatienceMs;
    }
    if (platform.tickCount() >= *deadline_) {
      if (!progress_.waitAgain(kStillRunningQuestion)) return false;
      transaction_.log("Waiting again for " + target_ + ", as asked");
      deadline_ = platform.tickCount() + kBusyProgramPatienceMs;
    }
    progress_.processMessages();
    platform.sleep(kStepMs);
    return true;
  }

 private:
  static constexpr int kStepMs = 100;
  SetupTransaction& transaction_;
  RunProgress& progress_;
  std::string target_;
  std::optional<std::uint64_t> deadline_;
};

// The percentage comes back once a program is placed or given up.
class WaitShownUntilPlaced {
 public:
  explicit WaitShownUntilPlaced(RunProgress& progress) : progress_(progress) {}
  ~WaitShownUntilPlaced() {
    try {
      progress_.waitOver();
    } catch (...) {
      // A label that cannot be redrawn changes nothing in the setup.
    }
  }
  WaitShownUntilPlaced(const WaitShownUntilPlaced&) = delete;
  WaitShownUntilPlaced& operator=(const WaitShownUntilPlaced&) = delete;

 private:
  RunProgress& progress_;
};

// One program on its way into the directory; a program not placed by the end
// of the extraction leaves nothing beside its target.
class ProgramInWriting {
 public:
  ProgramInWriting(ImageWriter& writer, const char* fileName, const std::string& directory)
      : writer_(writer), target_(directory + fileName) {}
  ~ProgramInWriting() { writer_.discardHeldImage(); }
  ProgramInWriting(const ProgramInWriting&) = delete;
  ProgramInWriting& operator=(const ProgramInWriting&) = delete;

  // Writes the image beside its target, where it waits until both are complete.
  void writeBeside(SetupTransaction& transaction, std::int64_t offset, RunProgress& progress) {
    const std::int64_t maximum = RunProgressMaximum();
    writer_.beginWrite(transaction.platform(), target_, ImageWriter::Placement::Held,
                       BusyProgramWait(transaction, progress, target_));
    do {
      writer_.writeNextChunk();
      // Once complete the writer counts one byte more than the image holds;
      // the bar shows that count as it is.
      const std::int64_t position = offset + writer_.bytesWritten();
      progress.setPosition(static_cast<int>(position));
      progress.setPercent(PercentOf(position, maximum));
      progress.processMessages();
    } while (!writer_.writeDone());
  }

  void place(SetupTransaction& transaction, RunProgress& progress) {
    transaction.aboutToWrite(target_);
    const WaitShownUntilPlaced wait(progress);
    writer_.placeHeldImage();
    transaction.fileWritten(target_, static_cast<std::uint64_t>(writer_.size()));
  }

 private:
  ImageWriter& writer_;
  std::string target_;
};

}  // namespace

std::int64_t ProgramsSize() { return payload::Vorpane_Exe::size() + payload::Uninstall_Vorpane_Exe::size(); }

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
// there also leaves both old programs in place; a refusal of the uninstaller
// after it is taken back with the rest of the setup.
void ExtractPrograms(SetupTransaction& transaction, const std::string& directory, RunProgress& progress) {
  ProgramInWriting client(payload::Vorpane_Exe::Writer(), product::kClientFileName, directory);
  ProgramInWriting uninstaller(payload::Uninstall_Vorpane_Exe::Writer(), product::kUninstallerFileName,
                               directory);
  client.writeBeside(transaction, 0, progress);
  uninstaller.writeBeside(transaction, payload::Vorpane_Exe::size(), progress);
  client.place(transaction, progress);
  uninstaller.place(transaction, progress);
}

}  // namespace vorpane::app
