#include "platform/CommandLine.h"

namespace vorpane::platform {

namespace {

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

// Reads one argument starting at position; leaves position after it.
std::string nextArgument(const std::string& text, std::size_t& position) {
  std::string argument;
  bool quoted = false;
  for (; position < text.size(); ++position) {
    const char c = text[position];
    if (c == '"') {
      quoted = !quoted;
    } else if (!quoted && isBlank(c)) {
      break;
    } else {
      argument += c;
    }
  }
  return argument;
}

void skipBlanks(const std::string& text, std::size_t& position) {
  while (position < text.size() && isBlank(text[position])) ++position;
}

}  // namespace

std::vector<std::string> SplitCommandLine(const std::string& commandLine) {
  std::size_t position = 0;
  skipBlanks(commandLine, position);
  nextArgument(commandLine, position);  // the program's own name
  std::vector<std::string> arguments;
  for (;;) {
    skipBlanks(commandLine, position);
    if (position >= commandLine.size()) return arguments;
    arguments.push_back(nextArgument(commandLine, position));
  }
}

}  // namespace vorpane::platform
