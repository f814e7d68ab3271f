#include "datafile/InitialDataFile.h"

#include <array>
#include <string_view>
#include <utility>

#include "datafile/DateTime.h"
#include "datafile/LIB_Data1_ReadWrite.h"
#include "datafile/PackedText.h"
#include "datafile/SeedHosts.h"
#include "platform/WindowsPath.h"
#include "product/Product.h"

namespace vorpane::datafile {

namespace {

std::string webUrl(std::string_view path) { return std::string(product::kWebHost).append(path); }
std::string providerUrl(std::string_view path) { return std::string(product::kProviderHost).append(path); }

// The client learns its own address once it runs; until then it has none.
constexpr const char* kOwnNodeAddress = "0.0.0.0:6346";
// The "this network" block can never hold a peer.
constexpr const char* kBlockedNodeRange = "0.0.0.0/8";
constexpr const char* kNeverSuspended = "01/01/1900";
constexpr const char* kRemoteSettingsFile = "vorpane.rms";

constexpr std::array<const char*, 14> kFileTypes = {
    "001~Audio~0~0~2~MP3;WMA*Y",
    "002~Audio- Song~1~12~2~MP3;WMA*Y",
    "003~Audio - Album~25~180~3~MP3;WMA*Y",
    "004~Video~0~0~2~MPG;MPEG*Y#AVI;ASF*Y#WMV*Y",
    "005~Video - Movie~100~999~3~MPG;MPEG*Y#AVI;ASF*Y#WMV*Y",
    "006~Video - Episode~35~180~3~MPG;MPEG*Y#AVI;ASF*Y#WMV*Y",
    "007~Video - Clip~10~350~3~MPG;MPEG*Y#AVI;ASF*Y#WMV*Y",
    "008~Image~0~0~2~JPG;JPE;JPEG*Y#GIF*Y#TIFF*Y",
    "009~Image - Picture~20~800~1~JPG;JPE;JPEG*Y#GIF*Y#TIFF*Y",
    "010~Document~0~0~3~TXT;PDF;DOC*Y",
    "011~Document - Text~0~999~1~TXT;PDF;DOC*Y",
    "012~Document - EBook~1~100~2~TXT;PDF;DOC*Y",
    "013~Software~0~0~2~EXE;ZIP;RAR;LZH;ARJ*Y",
    "014~CD Image~35~800~2~ISO*Y",
};

// The client has always carried a carriage return inside "PPT"; clients read
// the list as stored, so it stays.
constexpr std::array<const char*, 63> kDangerousExtensions = {
    "ADE", "ADP", "ARC", "ARJ", "BAS", "BAT", "BIN", "CAB",  "CHM", "CMD", "COM", "CPL", "CRT",
    "DLL", "DOC", "EML", "EXE", "HQX", "HTA", "HTM", "HTML", "INF", "INS", "ISP", "JS",  "JSE",
    "LNK", "LZH", "MDB", "MDE", "MME", "MSC", "MSI", "MSP",  "MST", "NWS", "PCD", "PIF", "PP\rT",
    "RAR", "REG", "SCR", "SCT", "SHB", "SHS", "SIT", "TAR",  "TAZ", "TGZ", "URL", "UUE", "VB",
    "VBE", "VBS", "VBX", "VXD", "WSC", "WSF", "WSH", "XLS",  "XML", "Z",   "ZIP",
};

std::string dangerousFileType() {
  std::string text = "998~Dangerous~0~0~0~";
  for (std::size_t i = 0; i < kDangerousExtensions.size(); ++i) {
    if (i > 0) text += '#';
    text.append(kDangerousExtensions[i]).append("*N");
  }
  return text;
}

using platform::path::withoutTrailingBackslash;

// Everything the file needs that depends on when it is written.
struct Clock {
  double date;  // today at midnight
  double now;
};

class InitialDataFileWriter {
 public:
  InitialDataFileWriter(TLibData1_ReadWrite& writer, platform::OutputFile& file, Clock clock)
      : w_(writer), f_(file), clock_(clock) {}

  void writeHeader(platform::Platform& platform, const std::string& installDir);
  void writeInstallSection(const std::string& installDir);
  void writeHostSection();
  void writeAddressSection();
  void writeSettingsSection();
  void writeEnd();

 private:
  void writeEmptyStrings(int count);
  void writeSetting(std::string_view key, std::string_view value);

  TLibData1_ReadWrite& w_;
  platform::OutputFile& f_;
  Clock clock_;
};

void InitialDataFileWriter::writeEmptyStrings(int count) {
  for (int i = 0; i < count; ++i) w_.WriteString(f_, "");
}

void InitialDataFileWriter::writeHeader(platform::Platform& platform, const std::string& installDir) {
  const double date = clock_.date;
  w_.WriteByte(f_, kDataFileVersion);
  w_.WritePlainString(f_, w_.BeginKeyTable());
  w_.WriteString(f_, product::kVersion);
  w_.WriteString(f_, installDir);
  w_.WriteInteger(f_, 3);
  w_.WriteInteger(f_, 3);
  w_.WriteInteger(f_, 6346);
  writeEmptyStrings(1);
  w_.WriteInteger(f_, 1);
  w_.WriteInteger(f_, 100);
  writeEmptyStrings(3);
  w_.WriteInteger(f_, 0);
  w_.WriteDateTime(f_, date + 25);
  w_.WriteBoolean(f_, true);
  w_.WriteGuid(f_, platform.createGuid());
  w_.WriteBoolean(f_, false);
  for (int i = 0; i < 3; ++i) w_.WriteDateTime(f_, date - 7);
  w_.WriteInteger(f_, 0);
  w_.WriteInteger(f_, 0);
  w_.WriteBoolean(f_, false);
  w_.WriteBoolean(f_, false);
  w_.WriteDateTimeTrunc(f_, date + 100);
  w_.WriteInteger(f_, 9);
  w_.WriteInteger(f_, 9);
  w_.WriteDateTimeTrunc(f_, date + 900);
  w_.WriteString(f_, webUrl("/TEL/GEBRUIK/"));
  w_.WriteString(f_, webUrl("/TEL/INSTALL/"));
  w_.WriteInteger(f_, 120);
  w_.WriteBoolean(f_, true);
  w_.WriteString(f_, providerUrl("/~vorpane/REMSET/"));
  w_.WriteString(f_, webUrl("/REMSET/"));
  writeEmptyStrings(1);
  w_.WriteInteger(f_, 27);
  w_.WriteInteger(f_, 10080);
  w_.WriteInteger(f_, 15);
  w_.WriteString(f_, webUrl("/Install_Vorpane.exe"));
  w_.WriteString(f_, providerUrl("/~vorpane/Install_Vorpane.exe"));
  // Four fields the client fills in itself once it runs.
  writeEmptyStrings(4);
  w_.WriteDateTimeTrunc(f_, clock_.now - 100);
  for (int i = 0; i < 3; ++i) w_.WriteBoolean(f_, false);
}

void InitialDataFileWriter::writeInstallSection(const std::string& installDir) {
  w_.WriteMarker(f_, kInstallSectionMarker);
  w_.WriteInteger(f_, 1);
  w_.WriteMarker(f_, kInstallSectionMarker);
  w_.WriteString(f_, withoutTrailingBackslash(installDir));
  w_.WriteBoolean(f_, true);
  w_.WriteBoolean(f_, true);
  w_.WriteMarker(f_, kEndMarker);
}

void InitialDataFileWriter::writeHostSection() {
  w_.WriteMarker(f_, kHostSectionMarker);
  w_.WriteMarker(f_, kHostTableMarker);
  WriteSeedHostTable(f_, clock_.now - 1);
}

void InitialDataFileWriter::writeAddressSection() {
  w_.WriteMarker(f_, kEndMarker);
  w_.WriteMarker(f_, kAddressSectionMarker);
  WriteAddressList(f_, clock_.now - 1);
}

void InitialDataFileWriter::writeSetting(std::string_view key, std::string_view value) {
  w_.WriteMarker(f_, kSettingsMarker);
  w_.WriteString(f_, key);
  w_.WriteString(f_, value);
}

void InitialDataFileWriter::writeSettingsSection() {
  w_.WriteMarker(f_, kEndMarker);
  w_.WriteMarker(f_, kSettingsMarker);
  for (const std::string& text : {providerUrl("/~vorpane/REMSET/"), webUrl("/REMSET/"), std::string(),
                                  std::string(kRemoteSettingsFile)}) {
    w_.WritePlainString2(f_, PackText(text));
  }
  w_.WriteInteger(f_, 10);
  w_.WriteInteger(f_, 7200);
  w_.WriteInteger(f_, 15);
  w_.WriteReal(f_, 0);
  w_.WriteReal(f_, 0);
  w_.WriteInteger(f_, 10);

  writeSetting("CntInstallPath", webUrl("/TEL/INSTALL/CNTINST"));
  writeSetting("CntSuspendedTill", kNeverSuspended);
  writeSetting("CntUsePath", webUrl("/TEL/GEBRUIK/CNTUSE"));
  writeSetting("CntUseTreshold", "120");
  writeSetting("PathDownloadLocation1", webUrl("/Install_Vorpane.exe"));
  writeSetting("PathDownloadLocation2", providerUrl("/~vorpane/Install_Vorpane.exe"));
  writeSetting("RemSetDelay", "10");
  writeSetting("RemSetFile", kRemoteSettingsFile);
  writeSetting("RemSetInterval", "7200");
  writeSetting("RemSetPath1", providerUrl("/~vorpane/REMSET/"));
  writeSetting("RemSetPath2", webUrl("/REMSET/"));
  writeSetting("RemSetPath3", "");
  writeSetting("RemSetRetryInterval", "15");
  writeSetting("RemSetSuspendedTill", kNeverSuspended);
  writeSetting("VerLatestExpired", "3.17");
  for (const char* fileType : kFileTypes) writeSetting("ZFileType", fileType);
  writeSetting("ZFileType", dangerousFileType());
  writeSetting("ZNodeBlockedIP", kBlockedNodeRange);
  writeSetting("ZNodeIP", kOwnNodeAddress);
  writeSetting("VerLatestVersion", "3.30");
  for (const SeedHost& node : kGnuNodes) writeSetting("ZNodeGnu", PaddedHostAndPort(node));
  for (const SeedHost& node : kZeppNodes) writeSetting("ZNodeZepp", PaddedHostAndPort(node));
  w_.WriteMarker(f_, kEndMarker);
}

void InitialDataFileWriter::writeEnd() {
  w_.WriteMarker(f_, kEndMarker);
  w_.WriteMarker(f_, kEndMarker);
}

void report(const ProgressCallback& progress, int percent) {
  if (progress) progress(percent);
}

}  // namespace

void WriteInitialDataFileContents(platform::Platform& platform, platform::OutputFile& file,
                                  const std::string& installDir, const ProgressCallback& progress) {
  const platform::LocalDateTime now = platform.now();
  TLibData1_ReadWrite writer(platform);
  CurrentWriterScope current(writer);
  InitialDataFileWriter sections(writer, file, Clock{EncodeDate(now), EncodeDateTime(now)});

  sections.writeHeader(platform, installDir);
  report(progress, 94);
  sections.writeInstallSection(installDir);
  report(progress, 95);
  sections.writeHostSection();
  report(progress, 96);
  report(progress, 97);
  sections.writeAddressSection();
  report(progress, 98);
  sections.writeSettingsSection();
  report(progress, 99);
  sections.writeEnd();
}

namespace {

// Counts what passes through, so the caller can say how large the file is.
class CountingFile final : public platform::OutputFile {
 public:
  explicit CountingFile(platform::OutputFile& file) : file_(file) {}
  void write(const std::uint8_t* data, std::size_t size) override {
    file_.write(data, size);
    count += size;
  }
  void close() override { file_.close(); }
  std::uint64_t count = 0;

 private:
  platform::OutputFile& file_;
};

}  // namespace

std::uint64_t WriteInitialDataFileAt(platform::Platform& platform, const std::string& path,
                                     const std::string& installDir, const ProgressCallback& progress) {
  std::unique_ptr<platform::OutputFile> file = platform.createFile(path);
  try {
    CountingFile counting(*file);
    WriteInitialDataFileContents(platform, counting, installDir, progress);
    file->close();
    return counting.count;
  } catch (...) {
    // A half-written data file would pass the upgrade's version check and then
    // fail in the client, so none is left behind.
    file.reset();
    platform.removeFile(path);
    throw;
  }
}

std::uint64_t WriteInitialDataFile(platform::Platform& platform, const std::string& installDir,
                                   const ProgressCallback& progress) {
  return WriteInitialDataFileAt(platform, installDir + product::kDataFileName, installDir, progress);
}

std::optional<std::uint8_t> ReadDataFileVersion(platform::Platform& platform, const std::string& path) {
  try {
    std::unique_ptr<platform::InputFile> file = platform.openFile(path);
    if (!file) return std::nullopt;
    return TLibData1_ReadWrite::ReadByte(*file);
  } catch (const std::exception&) {
    return std::nullopt;
  }
}

}  // namespace vorpane::datafile
