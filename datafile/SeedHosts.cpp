#include "datafile/SeedHosts.h"

#include <cstdio>
#include <stdexcept>

#include "datafile/LIB_Data1_ReadWrite.h"

namespace vorpane::datafile {

namespace {

TLibData1_ReadWrite& currentWriter() {
  TLibData1_ReadWrite* writer = CurrentWriter();
  if (writer == nullptr) throw std::logic_error("no data file is being written");
  return *writer;
}

TAddressRecord addressRecordOf(const SeedHost& host) {
  return MakeAddressRecord(DottedQuad(host), host.port);
}

}  // namespace

std::string DottedQuad(const SeedHost& host) {
  char text[16];
  std::snprintf(text, sizeof text, "%u.%u.%u.%u", host.octets[0], host.octets[1], host.octets[2],
                host.octets[3]);
  return text;
}

std::string PaddedHostAndPort(const SeedHost& host) {
  char text[22];
  std::snprintf(text, sizeof text, "%03u.%03u.%03u.%03u:%u", host.octets[0], host.octets[1], host.octets[2],
                host.octets[3], static_cast<unsigned>(host.port));
  return text;
}

void WriteSeedHostTable(platform::OutputFile& f, double lastSeen) {
  TLibData1_ReadWrite& w = currentWriter();
  w.WriteMarker(f, kSeedHostMarker);
  for (const SeedHost& host : kSeedHosts) {
    w.WriteMarker(f, kSeedHostMarker);
    w.WriteAddress(f, addressRecordOf(host));
    w.WriteReal(f, lastSeen);
    w.WriteReal(f, lastSeen);
    w.WriteInteger(f, 0);
    w.WriteReal(f, lastSeen);
    w.WriteReal(f, 0);
    w.WriteReal(f, 0);
    w.WriteReal(f, 0);
    w.WriteInt64(f, 0);
    w.WriteInt64(f, 0);
    w.WriteMarker(f, 0);
    w.WriteReal(f, 0);
  }
  w.WriteMarker(f, 0);
}

void WriteAddressList(platform::OutputFile& f, double lastSeen) {
  TLibData1_ReadWrite& w = currentWriter();
  w.WriteMarker(f, kAddressListMarker);
  for (const SeedHost& host : kAddressList) {
    w.WriteMarker(f, kAddressListMarker);
    w.WriteAddress(f, addressRecordOf(host));
    w.WriteReal(f, lastSeen);
  }
  w.WriteMarker(f, 0);
}

}  // namespace vorpane::datafile
