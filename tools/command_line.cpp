#include "tools/command_line.h"

#include <CLI/CLI.hpp>

namespace seedlens::tool {

namespace {

constexpr const char* kExitStatuses =
    "Exit status: 0 every file loaded; 1 some file did not load or a folder could not\n"
    "be read; 2 usage error; 3 the plug-in could not be loaded; 4 output error.";

void AddPluginOption(CLI::App& Command, CommandLine& Line) {
    Command.add_option("-p,--plugin", Line.PluginPath,
                       "The plug-in to load (default: Seedlens.wdx beside seedlens, else ../lib/seedlens/)")
        ->type_name("PATH");
}

// The "Usage: ..." line of a help text.
std::string UsageLine(const std::string& Help) {
    const std::size_t start = Help.find("Usage: ");
    if (start == std::string::npos) return "";
    return Help.substr(start, Help.find('\n', start) + 1 - start);
}

}  // namespace

std::variant<CommandLine, EarlyExit> ParseCommandLine(const std::vector<std::string>& Arguments) {
    CommandLine line;
    CLI::App app("Loads the Seedlens plug-in as a file manager does and prints what it says of torrent files.",
                 "seedlens");
    app.footer(kExitStatuses);
    app.require_subcommand(0, 1);
    bool version = false;
    app.add_flag("--version", version, "Print the version and the plug-in it would load, and exit");

    CLI::App* show = app.add_subcommand(
        "show", "Print every field of each torrent file; a folder gives every *.torrent in it, sorted");
    show->footer(kExitStatuses);
    AddPluginOption(*show, line);
    show->add_option("-f,--format", line.Show.Format, "Output: table (for people), json (JSON Lines) or csv")
        ->check(CLI::IsMember({"table", "json", "csv"}))
        ->type_name("FORMAT")
        ->capture_default_str();
    show->add_flag("-r,--recursive", line.Show.Recursive, "Look into the folders below the folders named too");
    show->add_flag("--narrow", line.Show.Narrow, "Ask through the 8-bit call instead of the wide one");
    show->add_option("PATH", line.Show.Paths, "Torrent files and folders; after -- every argument is a path")
        ->required()
        ->type_name("");

    CLI::App* fields = app.add_subcommand("fields", "Print the plug-in's detect string and field table");
    fields->footer(kExitStatuses);
    AddPluginOption(*fields, line);

    std::vector<const char*> argv{"seedlens"};
    for (const std::string& argument : Arguments) argv.push_back(argument.c_str());
    try {
        app.parse(static_cast<int>(argv.size()), argv.data());
    } catch (const CLI::CallForHelp&) {
        return EarlyExit{0, app.help(), ""};
    } catch (const CLI::ParseError& e) {
        const CLI::App* where = show->parsed() ? show : fields->parsed() ? fields : &app;
        const std::string command = where == &app ? "seedlens" : "seedlens " + where->get_name();
        const std::string help = where == &app ? app.help() : where->help("seedlens");
        return EarlyExit{2, "",
                         "seedlens: " + std::string(e.what()) + "\n" + UsageLine(help) + "Run '" + command +
                             " --help' for more.\n"};
    }
    if (version) {
        line.Which = Command::Version;
        return line;
    }
    if (app.get_subcommands().empty()) return EarlyExit{2, "", app.help()};
    line.Which = show->parsed() ? Command::Show : Command::Fields;
    return line;
}

}  // namespace seedlens::tool
