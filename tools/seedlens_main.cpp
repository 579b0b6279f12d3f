// seedlens: loads the Seedlens plug-in as a file manager does and prints what
// it says.

#include <cstring>
#include <exception>
#include <iostream>
#include <string>
#include <vector>

#include "tools/field_listing.h"
#include "tools/loaded_plugin.h"

namespace {

constexpr const char* kUsage =
    "usage: seedlens <command> [options]\n"
    "\n"
    "commands:\n"
    "  fields [--plugin PATH]   print the plug-in's detect string and field table\n"
    "\n"
    "By default the plug-in is the Seedlens.wdx beside this program.\n";

int Usage(std::ostream& Out, int ExitCode) {
    Out << kUsage;
    return ExitCode;
}

}  // namespace

int main(int argc, char** argv) {
    using namespace seedlens::tool;
    std::vector<std::string> args(argv + 1, argv + argc);
    if (args.empty()) return Usage(std::cout, 2);
    if (args[0] == "--help" || args[0] == "-h" || args[0] == "help") return Usage(std::cout, 0);

    std::string pluginPath = DefaultPluginPath();
    std::vector<std::string> rest;
    for (std::size_t i = 1; i < args.size(); ++i) {
        if (args[i] == "--plugin") {
            if (++i == args.size()) {
                std::cerr << "seedlens: --plugin needs a path\n";
                return 2;
            }
            pluginPath = args[i];
        } else {
            rest.push_back(args[i]);
        }
    }

    try {
        if (args[0] == "fields") {
            if (!rest.empty()) {
                std::cerr << "seedlens: fields takes no paths\n";
                return 2;
            }
            PrintFieldTable(LoadedPlugin(pluginPath), std::cout);
            return 0;
        }
        std::cerr << "seedlens: unknown command '" << args[0] << "'\n";
        return Usage(std::cerr, 2);
    } catch (const std::exception& e) {
        std::cerr << "seedlens: " << pluginPath << ": " << e.what() << "\n";
        return 1;
    }
}
