#pragma once
// The peer addresses that a fresh data file carries, fixed in the installer
// (generated once by datafile/data/generate_hosts.py), and the writers of the
// two address lists.

#include <array>
#include <cstdint>
#include <string>

#include "platform/Platform.h"

namespace vorpane::datafile {

struct SeedHost {
  std::uint8_t octets[4];
  std::uint16_t port;
};

inline constexpr std::size_t kSeedHostCount = 3500;
inline constexpr std::size_t kAddressListCount = 181;
inline constexpr std::size_t kGnuNodeCount = 50;
inline constexpr std::size_t kZeppNodeCount = 19;

extern const std::array<SeedHost, kSeedHostCount> kSeedHosts;
extern const std::array<SeedHost, kAddressListCount> kAddressList;
// The node entries of the settings section.
extern const std::array<SeedHost, kGnuNodeCount> kGnuNodes;
extern const std::array<SeedHost, kZeppNodeCount> kZeppNodes;

// Record markers of the two lists.
inline constexpr std::uint8_t kSeedHostMarker = 3;
inline constexpr std::uint8_t kAddressListMarker = 30;

// "82.103.45.7"
std::string DottedQuad(const SeedHost& host);
// "082.103.045.007:6346"
std::string PaddedHostAndPort(const SeedHost& host);

// Both write through the current writer. lastSeen is the date-time stored
// with every record (a day before the file is written).
void WriteSeedHostTable(platform::OutputFile& f, double lastSeen);
void WriteAddressList(platform::OutputFile& f, double lastSeen);

}  // namespace vorpane::datafile
