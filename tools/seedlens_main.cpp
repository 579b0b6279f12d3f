// seedlens: loads the Seedlens plug-in as a file manager does and prints what
// it says.

#include <exception>
#include <optional>
#include <sstream>
#include <string>
#include <variant>
#include <vector>

#include "platform/dynamic_library.h"
#include "tools/checked_output.h"
#include "tools/command_line.h"
#include "tools/field_listing.h"
#include "tools/loaded_plugin.h"
#include "tools/plugin_location.h"
#include "tools/show_command.h"
#include "tools/terminal_text.h"

namespace {

using namespace seedlens::tool;
using seedlens::platform::Stream;

constexpr int kPluginFailed = 3;
constexpr int kOutputFailed = 4;

// The plug-in could not be found or loaded; what() says which and why.
class PluginError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

std::vector<PluginPlace> DefaultPlaces() {
    return DefaultPluginPlaces(seedlens::platform::ExecutableDirectory(), seedlens::platform::HostModuleConvention());
}

LoadedPlugin OpenPlugin(const std::optional<std::string>& Given) {
    std::string shown;
    std::string path;
    if (Given) {
        shown = *Given;
        path = AsLoadablePath(*Given);
    } else {
        const std::vector<PluginPlace> places = DefaultPlaces();
        const auto found = FirstUsable(places);
        if (!found) throw PluginError(NotFoundMessage(places));
        shown = path = *found;
    }
    try {
        return LoadedPlugin(path);
    } catch (const std::exception& e) {
        throw PluginError("cannot load the plug-in " + shown + ": " + e.what());
    }
}

std::string VersionText() {
    const std::vector<PluginPlace> places = DefaultPlaces();
    const auto found = FirstUsable(places);
    return std::string("seedlens ") + SEEDLENS_VERSION + "\nplug-in: " + (found ? *found : NotFoundMessage(places)) + "\n";
}

int Run(const CommandLine& Line) {
    switch (Line.Which) {
        case Command::Version: WriteNow(Stream::Output, VersionText()); return 0;
        case Command::Fields: {
            std::ostringstream table;
            PrintFieldTable(OpenPlugin(Line.PluginPath), table);
            WriteNow(Stream::Output, table.str());
            return 0;
        }
        case Command::Show: break;
    }
    return RunShow(OpenPlugin(Line.PluginPath), Line.Show);
}

// Nothing more can be done when the error stream fails too.
void Complain(const std::string& Message) {
    try {
        WriteNow(Stream::Error, "seedlens: " + Message + "\n");
    } catch (const WriteError&) {
    }
}

}  // namespace

int main(int argc, char** argv) {
    const auto parsed = ParseCommandLine(std::vector<std::string>(argv + 1, argv + argc));
    try {
        if (const auto* early = std::get_if<EarlyExit>(&parsed)) {
            WriteNow(Stream::Output, early->Output);
            WriteNow(Stream::Error, early->Error);
            return early->Status;
        }
        return Run(std::get<CommandLine>(parsed));
    } catch (const WriteError& e) {
        Complain(std::string("write error: ") + e.what());
        return kOutputFailed;
    } catch (const PluginError& e) {
        Complain(seedlens::platform::IsTerminal(Stream::Error) ? EscapeControls(e.what()) : e.what());
        return kPluginFailed;
    } catch (const std::exception& e) {
        Complain(e.what());
        return 1;
    }
}
