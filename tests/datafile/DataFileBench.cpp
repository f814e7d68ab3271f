// How long the installer spends writing the data file, and the decoder reading it.
#include <benchmark/benchmark.h>

#include "datafile/DataFileDecoder.h"
#include "datafile/InitialDataFile.h"
#include "tests/support/FakePlatform.h"

namespace {

using namespace vorpane;

class CountingFile : public platform::OutputFile {
 public:
  void write(const std::uint8_t* data, std::size_t size) override {
    bytes.append(reinterpret_cast<const char*>(data), size);
    ++writes;
  }
  void close() override {}
  std::string bytes;
  std::size_t writes = 0;
};

void WriteInitialDataFile(benchmark::State& state) {
  platform::FakePlatform host;
  std::size_t size = 0, writes = 0;
  for (auto _ : state) {
    CountingFile file;
    datafile::WriteInitialDataFileContents(host, file, "C:\\Program Files\\Vorpane\\");
    size = file.bytes.size();
    writes = file.writes;
    benchmark::DoNotOptimize(file.bytes.data());
  }
  state.counters["bytes"] = static_cast<double>(size);
  state.counters["writes"] = static_cast<double>(writes);
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * size));
}
BENCHMARK(WriteInitialDataFile)->Unit(benchmark::kMillisecond);

void DecodeInitialDataFile(benchmark::State& state) {
  platform::FakePlatform host;
  CountingFile file;
  datafile::WriteInitialDataFileContents(host, file, "C:\\Program Files\\Vorpane\\");
  for (auto _ : state) {
    auto decoded = datafile::DecodeDataFile(file.bytes);
    benchmark::DoNotOptimize(decoded.seedHosts.data());
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * file.bytes.size()));
}
BENCHMARK(DecodeInitialDataFile)->Unit(benchmark::kMillisecond);

}  // namespace
