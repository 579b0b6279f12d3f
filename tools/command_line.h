#pragma once
// The arguments of `seedlens`, read with CLI11.

#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "tools/show_command.h"

namespace seedlens::tool {

enum class Command { Show, Fields, Version };

struct CommandLine {
    Command Which = Command::Show;
    std::optional<std::string> PluginPath;  // as given with --plugin
    ShowOptions Show;
};

// Parsing ended the run: help asked for (on the output stream, status 0) or
// a usage error (on the error stream, status 2).
struct EarlyExit {
    int Status = 0;
    std::string Output;
    std::string Error;
};

// Arguments without the program's name.
std::variant<CommandLine, EarlyExit> ParseCommandLine(const std::vector<std::string>& Arguments);

}  // namespace seedlens::tool
