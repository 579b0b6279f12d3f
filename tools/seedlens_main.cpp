// seedlens: loads the Seedlens plug-in as a file manager does and prints what
// it says.

#include <exception>
#include <iostream>
#include <string>
#include <vector>

#include "tools/field_listing.h"
#include "tools/loaded_plugin.h"
#include "tools/show_command.h"

namespace {

constexpr const char* kUsage =
    "usage: seedlens <command> [options] [PATH...]\n"
    "\n"
    "commands:\n"
    "  show PATH...   print every field of each torrent file; folders give every\n"
    "                 *.torrent in them, sorted\n"
    "  fields         print the plug-in's detect string and field table\n"
    "\n"
    "options:\n"
    "  --plugin PATH             the plug-in to load (default: Seedlens.wdx beside seedlens)\n"
    "  --narrow                  ask through the 8-bit call instead of the wide one\n"
    "  --format table|json|csv   output of show (default: table)\n"
    "  --recursive               look into folders below the folders named\n"
    "\n"
    "Exit status: 0 when every file loaded, 1 when any could not, 2 for a usage error.\n";

int UsageError(const std::string& Message) {
    std::cerr << "seedlens: " << Message << "\n\n" << kUsage;
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    using namespace seedlens::tool;
    const std::vector<std::string> args(argv + 1, argv + argc);
    if (args.empty()) {
        std::cout << kUsage;
        return 2;
    }
    if (args[0] == "--help" || args[0] == "-h" || args[0] == "help") {
        std::cout << kUsage;
        return 0;
    }

    ShowOptions options;
    options.PluginPath = DefaultPluginPath();
    for (std::size_t i = 1; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--plugin" || arg == "--format") {
            if (i + 1 == args.size()) return UsageError(arg + " needs a value");
            (arg == "--plugin" ? options.PluginPath : options.Format) = args[++i];
        } else if (arg == "--narrow") {
            options.Narrow = true;
        } else if (arg == "--recursive") {
            options.Recursive = true;
        } else if (arg.size() > 1 && arg[0] == '-' && arg != "--") {
            return UsageError("unknown option '" + arg + "'");
        } else {
            options.Paths.push_back(arg);
        }
    }

    try {
        if (args[0] == "fields") {
            if (!options.Paths.empty()) return UsageError("fields takes no paths");
            PrintFieldTable(LoadedPlugin(options.PluginPath), std::cout);
            return 0;
        }
        if (args[0] == "show") return RunShow(options);
        return UsageError("unknown command '" + args[0] + "'");
    } catch (const std::exception& e) {
        std::cerr << "seedlens: " << options.PluginPath << ": " << e.what() << "\n";
        return 1;
    }
}
