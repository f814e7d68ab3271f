#pragma once
// The switches that deployment tools pass to every setup program of this
// switch style and that change nothing here: nothing asks before it starts,
// restarts the machine or can be cancelled. The installer and the uninstaller
// both accept them, so that either can be declared to a package manager.

#include <algorithm>
#include <array>
#include <cctype>
#include <string_view>

namespace vorpane::product {

// Whether an argument is one of them (in any case).
inline bool IsNoOpSwitch(std::string_view argument) {
  constexpr std::array<std::string_view, 3> kNoOps = {"/SP-", "/NORESTART", "/NOCANCEL"};
  return std::any_of(kNoOps.begin(), kNoOps.end(), [argument](std::string_view noOp) {
    return std::equal(noOp.begin(), noOp.end(), argument.begin(), argument.end(),
                      [](char a, char b) { return a == std::toupper(static_cast<unsigned char>(b)); });
  });
}

// Their line in either program's list of switches.
inline constexpr const char* kNoOpSwitchesHelpLine =
    "/SP-, /NORESTART, /NOCANCEL: accepted and ignored (nothing to confirm, restart or cancel)\r";

}  // namespace vorpane::product
