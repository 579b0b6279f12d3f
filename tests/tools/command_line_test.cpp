// The arguments of `seedlens`: what each command line asks for.

#include <gtest/gtest.h>

#include "tools/command_line.h"

namespace seedlens::tool {
namespace {

using Args = std::vector<std::string>;

TEST(CommandLine, Accepted) {
    const struct {
        Args Arguments;
        Command Which;
        std::optional<std::string> Plugin;
        std::string Format;
        bool Recursive;
        bool Narrow;
        Args Paths;
    } cases[] = {
        {{"show", "a.torrent"}, Command::Show, std::nullopt, "table", false, false, {"a.torrent"}},
        {{"show", "--format=json", "a", "b"}, Command::Show, std::nullopt, "json", false, false, {"a", "b"}},
        {{"show", "-f", "csv", "-r", "--narrow", "d"}, Command::Show, std::nullopt, "csv", true, true, {"d"}},
        {{"show", "--recursive", "-fjson", "d"}, Command::Show, std::nullopt, "json", true, false, {"d"}},
        // After "--" everything is a path, options included.
        {{"show", "-r", "--", "-f", "--narrow", "--", "-"}, Command::Show, std::nullopt, "table", true, false,
         {"-f", "--narrow", "--", "-"}},
        {{"show", "-rfcsv", "-p-x.wdx", "a"}, Command::Show, "-x.wdx", "csv", true, false, {"a"}},
        {{"show", "-p", "Seedlens.wdx", "a"}, Command::Show, "Seedlens.wdx", "table", false, false, {"a"}},
        {{"show", "a", "--plugin=/opt/p.wdx"}, Command::Show, "/opt/p.wdx", "table", false, false, {"a"}},
        {{"fields", "--plugin", "p.wdx"}, Command::Fields, "p.wdx", "table", false, false, {}},
        {{"--version"}, Command::Version, std::nullopt, "table", false, false, {}},
    };
    for (const auto& c : cases) {
        const auto parsed = ParseCommandLine(c.Arguments);
        const auto* line = std::get_if<CommandLine>(&parsed);
        ASSERT_NE(line, nullptr) << c.Arguments[0] << " " << std::get<EarlyExit>(parsed).Error;
        EXPECT_EQ(line->Which, c.Which);
        EXPECT_EQ(line->PluginPath, c.Plugin);
        EXPECT_EQ(line->Show.Format, c.Format);
        EXPECT_EQ(line->Show.Recursive, c.Recursive);
        EXPECT_EQ(line->Show.Narrow, c.Narrow);
        EXPECT_EQ(line->Show.Paths, c.Paths);
    }
}

TEST(CommandLine, HelpOnTheOutputWithStatusZero) {
    const struct {
        Args Arguments;
        const char* Usage;
    } cases[] = {
        {{"--help"}, "Usage: seedlens [OPTIONS]"},
        {{"-h"}, "Usage: seedlens [OPTIONS]"},
        {{"show", "--help"}, "Usage: seedlens show [OPTIONS] PATH..."},
        {{"show", "-h", "a"}, "Usage: seedlens show"},
        {{"fields", "--help"}, "Usage: seedlens fields"},
    };
    for (const auto& c : cases) {
        const auto parsed = ParseCommandLine(c.Arguments);
        const auto* early = std::get_if<EarlyExit>(&parsed);
        ASSERT_NE(early, nullptr) << c.Usage;
        EXPECT_EQ(early->Status, 0);
        EXPECT_NE(early->Output.find(c.Usage), std::string::npos) << early->Output;
        EXPECT_NE(early->Output.find("Exit status: 0"), std::string::npos);
        EXPECT_EQ(early->Error, "");
    }
}

TEST(CommandLine, UsageErrorsOnTheErrorStreamWithStatusTwo) {
    const Args cases[] = {
        {},
        {"show"},
        {"show", "--format", "xml", "a"},
        {"show", "--format"},
        {"show", "--nope", "a"},
        {"show", "-p"},
        {"fields", "a"},
        {"bogus"},
    };
    for (const Args& arguments : cases) {
        const auto parsed = ParseCommandLine(arguments);
        const auto* early = std::get_if<EarlyExit>(&parsed);
        ASSERT_NE(early, nullptr) << testing::PrintToString(arguments);
        EXPECT_EQ(early->Status, 2);
        EXPECT_EQ(early->Output, "");
        EXPECT_NE(early->Error.find("Usage: seedlens"), std::string::npos) << early->Error;
    }
}

TEST(CommandLine, MisreadArgumentsAreNamed) {
    const struct {
        Args Arguments;
        const char* Message;
    } cases[] = {
        {{"show", "-dash.torrent"},
         "seedlens: unknown option '-dash.torrent'; a path that begins with a dash goes after '--': "
         "seedlens show -- -dash.torrent\n"},
        {{"show", "-r-x.torrent", "a.torrent"}, "seedlens: unknown option '-r-x.torrent';"},
        {{"show", "-r-x.torrent"}, "seedlens: unknown option '-r-x.torrent';"},
        {{"show", "a", "--frmat=json"}, "seedlens: unknown option '--frmat=json';"},
        {{"show", "-"}, "seedlens: '-': standard input is not read;"},
        {{"show", "-f", "json", "-"}, "seedlens: '-': standard input is not read;"},
        // What an option takes as its value is not looked at.
        {{"show", "-p", "-", "-x"}, "seedlens: unknown option '-x';"},
        {{"show", "--format"}, "seedlens: --format: 1 required FORMAT:{table,json,csv} missing"},
    };
    for (const auto& c : cases) {
        const auto parsed = ParseCommandLine(c.Arguments);
        const auto* early = std::get_if<EarlyExit>(&parsed);
        ASSERT_NE(early, nullptr) << c.Message;
        EXPECT_EQ(early->Status, 2);
        EXPECT_TRUE(early->Error.starts_with(c.Message)) << early->Error;
    }
}

}  // namespace
}  // namespace seedlens::tool
