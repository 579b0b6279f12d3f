#include "tools/command_line.h"

#include <CLI/CLI.hpp>

#include <algorithm>

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

const CLI::Option* ShortOption(const CLI::App& Command, char Name) {
    for (const CLI::Option* option : Command.get_options())
        for (const std::string& name : option->get_snames())
            if (name.size() == 1 && name[0] == Name) return option;
    return nullptr;
}

const CLI::Option* LongOption(const CLI::App& Command, const std::string& Name) {
    for (const CLI::Option* option : Command.get_options())
        for (const std::string& name : option->get_lnames())
            if (name == Name) return option;
    return nullptr;
}

bool TakesValue(const CLI::Option& Option) { return Option.get_expected_min() > 0; }

// What CLI11 would misread in a command's arguments, said plainly. It takes
// "-dash.torrent" for an unknown option and then complains of a missing
// path, reads "-r-x.torrent" as -r and "--x.torrent", and "-" for a path.
std::optional<std::string> Misread(const CLI::App& Command, const std::vector<std::string>& Arguments) {
    const std::string hint = "; a path that begins with a dash goes after '--': seedlens " + Command.get_name() +
                             " -- ";
    for (std::size_t i = 0; i < Arguments.size(); ++i) {
        const std::string& argument = Arguments[i];
        if (argument == "--") break;
        if (argument == "-")
            return "'-': standard input is not read; name torrent files or folders (./- is a file named '-')";
        if (argument.size() < 2 || argument[0] != '-') continue;
        bool valueFollows = false;
        bool known = true;
        if (argument[1] == '-') {
            const std::size_t equals = argument.find('=');
            const CLI::Option* option = LongOption(Command, argument.substr(2, equals - 2));
            known = option != nullptr;
            valueFollows = known && equals == std::string::npos && TakesValue(*option);
        } else {
            // A run of short flags, the last of which may take a value, given in the rest or next.
            for (std::size_t at = 1; at < argument.size(); ++at) {
                const CLI::Option* option = ShortOption(Command, argument[at]);
                if (option == nullptr) {
                    known = false;
                    break;
                }
                if (TakesValue(*option)) {
                    valueFollows = at + 1 == argument.size();
                    break;
                }
            }
        }
        if (!known) return "unknown option '" + argument + "'" + hint + argument;
        if (valueFollows) ++i;
    }
    return std::nullopt;
}

EarlyExit UsageError(const std::string& Message, const CLI::App& App, const CLI::App& Where) {
    const std::string command = &Where == &App ? "seedlens" : "seedlens " + Where.get_name();
    const std::string help = &Where == &App ? App.help() : Where.help("seedlens");
    return EarlyExit{2, "", "seedlens: " + Message + "\n" + UsageLine(help) + "Run '" + command + " --help' for more.\n"};
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
    CLI::Option* format = show->add_option("-f,--format", line.Show.Format, "Output: table (for people), json (JSON Lines) or csv")
        ->check(CLI::IsMember({"table", "json", "csv"}))
        ->type_name("FORMAT")
        ->capture_default_str();
    show->add_flag("-r,--recursive", line.Show.Recursive, "Look into the folders below the folders named too");
    show->add_flag("--narrow", line.Show.Narrow, "Ask through the 8-bit call instead of the wide one");
    show->add_option("-F,--fields", line.Show.Fields,
                     "Only these columns, in this order: names as JSON spells them, comma-separated, any letter "
                     "case (\"Name,Tracker (Host only),Magnet\")")
        ->type_name("LIST");
    show->add_flag("--bare", line.Show.Bare,
                   "The values alone: one line per column for each file that loads, an empty value an empty line, "
                   "a line break written as \\n (a backslash stays as it is)")
        ->excludes(format);
    show->add_option("PATH", line.Show.Paths, "Torrent files and folders; after -- every argument is a path")
        ->required()
        ->type_name("");

    CLI::App* fields = app.add_subcommand("fields", "Print the plug-in's detect string and field table");
    fields->footer(kExitStatuses);
    AddPluginOption(*fields, line);

    // The arguments of show, after its name; the top level has no option that takes a value.
    const auto named = std::find_if(Arguments.begin(), Arguments.end(),
                                    [](const std::string& Argument) { return !Argument.starts_with('-'); });
    if (named != Arguments.end() && *named == "show") {
        if (const auto message = Misread(*show, std::vector<std::string>(named + 1, Arguments.end())))
            return UsageError(*message, app, *show);
    }

    std::vector<const char*> argv{"seedlens"};
    for (const std::string& argument : Arguments) argv.push_back(argument.c_str());
    try {
        app.parse(static_cast<int>(argv.size()), argv.data());
    } catch (const CLI::CallForHelp&) {
        return EarlyExit{0, app.help(), ""};
    } catch (const CLI::ParseError& e) {
        const CLI::App* where = show->parsed() ? show : fields->parsed() ? fields : &app;
        return UsageError(e.what(), app, *where);
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
