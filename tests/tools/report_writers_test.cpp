// The records of `seedlens show`, from answers made by hand.

#include <gtest/gtest.h>

#include "tools/report_writers.h"

namespace seedlens::tool {
namespace {

const std::vector<Column> kColumns = {
    {0, 0, "Name", 11}, {2, 0, "Total Size", 2}, {7, 0, "Created", 10},
    {9, 0, "Comment", 11}, {11, 0, "Private", 6}, {1, 0, "File count", 1},
};

FieldAnswer Text(std::string Value, bool Cut = false) { return {11, 0, std::move(Value), Cut}; }
FieldAnswer Number(std::int32_t Type, std::int64_t Value) { return {Type, Value, "", false}; }
FieldAnswer Result(std::int32_t Code) { return {Code, 0, "", false}; }

TorrentReport Loaded(std::vector<FieldAnswer> Answers) { return {"a \"b\".torrent", true, "", std::move(Answers)}; }
TorrentReport Failed(std::string Reason) { return {"bad,name.torrent", false, std::move(Reason), {}}; }

// 2016-01-10T23:32:05.091Z as a file time.
constexpr std::int64_t kCreated = 130969423250910000;

template <typename Writer>
std::string Written(Writer& W, const std::vector<TorrentReport>& Reports) {
    std::string out;
    W.Begin(kColumns, out);
    for (const TorrentReport& report : Reports) W.Write(kColumns, report, out);
    return out;
}

TEST(JsonWriter, ValuesNullsAndErrors) {
    const struct {
        TorrentReport Report;
        const char* Line;
    } cases[] = {
        {Loaded({Text("x"), Number(2, 5'000'000'000), Number(10, kCreated), Text("two\nlines"), Number(6, -1),
                 Number(1, 3)}),
         R"({"path": "a \"b\".torrent", "error": null, "Name": "x", "Total Size": 5000000000, )"
         R"("Created": "2016-01-10T23:32:05.091Z", "Comment": "two\nlines", "Private": true, "File count": 3})"},
        // Empty texts, -3 and 0 are all no value.
        {Loaded({Text(""), Result(-3), Result(-3), Result(0), Number(6, 0), Number(1, 0)}),
         R"({"path": "a \"b\".torrent", "error": null, "Name": null, "Total Size": null, "Created": null, )"
         R"("Comment": null, "Private": false, "File count": 0})"},
        {Failed("not a torrent"),
         R"({"path": "bad,name.torrent", "error": "not a torrent", "Name": null, "Total Size": null, )"
         R"("Created": null, "Comment": null, "Private": null, "File count": null})"},
    };
    for (const auto& c : cases) {
        JsonWriter writer;
        EXPECT_EQ(Written(writer, {c.Report}), std::string(c.Line) + "\n");
    }
}

TEST(JsonWriter, PathThatIsNoUtf8AlsoGoesAsBytes) {
    const struct {
        const char* Path;
        const char* Start;
    } cases[] = {
        {"caf\xe9.torrent", R"({"path": "caf\udce9.torrent", "path_bytes": "636166e92e746f7272656e74", "error": )"},
        {"\x01\xff", R"({"path": "\u0001\udcff", "path_bytes": "01ff", "error": )"},
        {"caf\xc3\xa9\x1b", "{\"path\": \"caf\xc3\xa9\\u001b\", \"error\": "},  // UTF-8: no bytes
    };
    for (const auto& c : cases) {
        JsonWriter writer;
        EXPECT_TRUE(Written(writer, {{c.Path, false, "empty", {}}}).starts_with(c.Start)) << c.Start;
    }
}

TEST(CsvWriter, HeaderAlwaysThenEveryFile) {
    CsvWriter none(false);
    const std::string header = "path,error,Name,Total Size,Created,Comment,Private,File count\n";
    EXPECT_EQ(Written(none, {}), header);

    CsvWriter writer(false);
    EXPECT_EQ(Written(writer, {Loaded({Text("x,y"), Result(-3), Number(10, kCreated), Text("say \"hi\"\n"),
                                       Number(6, 0), Number(1, 3)}),
                               Failed("permission denied")}),
              header +
                  "\"a \"\"b\"\".torrent\",,\"x,y\",,2016-01-10T23:32:05.091Z,\"say \"\"hi\"\"\n\",false,3\n"
                  "\"bad,name.torrent\",permission denied,,,,,,\n");
}

TEST(CsvWriter, ControlsEscapedForATerminalOnly) {
    const TorrentReport report{"\x1b[2J\xe9.torrent", true, "",
                               {Text("n\x1b]0;t\x07"), Result(-3), Result(-3), Text("a,\xc2\x9b\nb"), Number(6, 0),
                                Number(1, 1)}};
    const struct {
        bool Terminal;
        const char* Row;
    } cases[] = {
        {true, "\\e[2J\\xe9.torrent,,n\\e]0;t\\a,,,\"a,\\x9b\\nb\",false,1\n"},
        {false, "\x1b[2J\xe9.torrent,,n\x1b]0;t\x07,,,\"a,\xc2\x9b\nb\",false,1\n"},
    };
    for (const auto& c : cases) {
        CsvWriter writer(c.Terminal);
        std::string out;
        writer.Write(kColumns, report, out);
        EXPECT_EQ(out, c.Row);
    }
}

TEST(BareWriter, ValuesAloneOneLineEach) {
    const std::vector<TorrentReport> reports = {
        Loaded({Text("x"), Number(2, 5), Number(10, kCreated), Text("two\r\nlines\x1b"), Number(6, -1), Result(-3)}),
        Failed("not a torrent"),
        Loaded({Text(""), Result(-3), Result(-3), Text("a\\n"), Number(6, 0), Number(1, 0)}),
    };
    const struct {
        bool Terminal;
        const char* Out;
    } cases[] = {
        {false, "x\n5\n2016-01-10T23:32:05.091Z\ntwo\\r\\nlines\x1b\ntrue\n\n\n\n\na\\n\nfalse\n0\n"},
        {true, "x\n5\n2016-01-10T23:32:05.091Z\ntwo\\r\\nlines\\e\ntrue\n\n\n\n\na\\n\nfalse\n0\n"},
    };
    for (const auto& c : cases) {
        BareWriter writer(c.Terminal);
        EXPECT_EQ(Written(writer, reports), c.Out) << c.Terminal;
    }
}

TEST(TableWriter, LinesCutTextsAndTerminals) {
    const TorrentReport report{"dir/\x1b[2Jx.torrent", true, "",
                               {Text("n\x1b]0;t\x07"), Result(-3), Result(-3), Text("one\r\ntwo\n\nfour\n"),
                                Number(6, 0), Number(1, 1)}};
    const struct {
        bool Terminal;
        TorrentReport Report;
        std::string Expected;
    } cases[] = {
        {true, report,
         "dir/\\e[2Jx.torrent\n"
         "  Name        n\\e]0;t\\a\n"
         "  Total Size\n"
         "  Created\n"
         "  Comment     one\n"
         "              two\n"
         "\n"
         "              four\n"
         "  Private     no\n"
         "  File count  1\n"},
        // Not a terminal: the bytes as they are.
        {false, Loaded({Text("n\x1b]0;t\x07"), Result(-3), Result(-3), Result(-3), Number(6, 0), Number(1, 1)}),
         "a \"b\".torrent\n"
         "  Name        n\x1b]0;t\x07\n"
         "  Total Size\n"
         "  Created\n"
         "  Comment\n"
         "  Private     no\n"
         "  File count  1\n"},
        {false, Loaded({Text("long", true), Number(2, 1048575), Result(-3), Text("x\ty"), Number(6, -1), Result(-3)}),
         "a \"b\".torrent\n"
         "  Name        long\u2026\n"
         "  Total Size  1.0 MiB (1048575 bytes)\n"
         "  Created\n"
         "  Comment     x\ty\n"
         "  Private     yes\n"
         "  File count\n"},
        // Files that did not load are told on the error stream only.
        {true, Failed("empty"), ""},
    };
    for (const auto& c : cases) {
        TableWriter writer(c.Terminal);
        EXPECT_EQ(Written(writer, {c.Report}), c.Expected);
    }
}

}  // namespace
}  // namespace seedlens::tool
