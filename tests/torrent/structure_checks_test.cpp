// The structural checks: each row's fault, its mended twin and its edges,
// by the rows that fail. libtorrent's decisions on the same shapes are
// checked by structure_agreement_test.py.

#include <gtest/gtest.h>

#include <set>

#include "bencode/memory_stream.h"
#include "tests/support/bencode_writer.h"
#include "torrent/structure_checks.h"
#include "torrent/torrent_file.h"

namespace seedlens {
namespace {

using namespace test;
using Members = std::vector<std::pair<std::string, std::string>>;
using Rows = std::set<int>;

constexpr std::int64_t kPiece = 16384;

Rows FailedRows(const std::string& Torrent) {
    TTorrentFile doc;
    MemoryStream stream(Torrent);
    doc.LoadStream(stream);
    Rows rows;
    for (int row = 0; row < kStructureCheckCount; ++row)
        if ((doc.FailedChecks() & (1u << row)) != 0) rows.insert(row + 1);
    return rows;
}

std::string Hashes(std::size_t Count) { return Str(std::string(20 * Count, 'h')); }

// Members replaced by Changes, in place; a change of "" drops the key.
std::string Info(Members Base, const Members& Changes) {
    for (const auto& change : Changes) {
        const std::string& key = change.first;
        const std::string& value = change.second;
        auto at = std::find_if(Base.begin(), Base.end(), [&](const auto& m) { return m.first == key; });
        if (at == Base.end())
            Base.push_back({key, value});
        else
            at->second = value;
    }
    std::erase_if(Base, [](const auto& m) { return m.second.empty(); });
    std::sort(Base.begin(), Base.end());
    return Dict(Base);
}

std::string Torrent(const std::string& InfoBytes, Members Top = {}) {
    Top.push_back({"info", InfoBytes});
    std::sort(Top.begin(), Top.end());
    return Dict(Top);
}

std::string V1(const Members& Changes = {}) {
    return Torrent(Info({{"length", Int(10)}, {"name", Str("a")}, {"piece length", Int(kPiece)}, {"pieces", Hashes(1)}},
                        Changes));
}

std::string Entry(std::int64_t Length, const std::string& Name) {
    return Dict({{"length", Int(Length)}, {"path", List({Str(Name)})}});
}
std::string Pad(std::int64_t Length) {
    return Dict({{"attr", Str("p")}, {"length", Int(Length)}, {"path", List({Str(".pad"), Str(std::to_string(Length))})}});
}
std::string Multi(const std::vector<std::string>& Entries, std::size_t Pieces, const Members& Changes = {}) {
    Members changes = {{"files", List(Entries)}, {"length", ""}, {"pieces", Hashes(Pieces)}};
    changes.insert(changes.end(), Changes.begin(), Changes.end());
    return V1(changes);
}

std::string Root(char Seed) { return std::string(32, Seed); }
std::string TreeFile(std::int64_t Length, char Seed = 'r', const Members& Extra = {}) {
    Members file = {{"length", Int(Length)}};
    if (Length > 0) file.push_back({"pieces root", Str(Root(Seed))});
    file.insert(file.end(), Extra.begin(), Extra.end());
    std::sort(file.begin(), file.end());
    return Dict({{"", Dict(file)}});
}
std::string V2Info(const std::string& Tree, const Members& Changes = {}) {
    return Info({{"file tree", Tree}, {"meta version", Int(2)}, {"name", Str("a")}, {"piece length", Int(kPiece)}},
                Changes);
}
std::string V2(const std::string& Tree, const Members& Changes = {}, const Members& Top = {}) {
    return Torrent(V2Info(Tree, Changes), Top);
}
const std::string kTree = Dict({{"a", TreeFile(10)}});

struct Case {
    const char* Label;
    std::string Torrent;
    Rows Failed;
};

void ExpectRows(const std::vector<Case>& Cases) {
    for (const Case& c : Cases) EXPECT_EQ(FailedRows(c.Torrent), c.Failed) << c.Label;
}

TEST(StructureChecks, Name) {
    ExpectRows({
        {"mended", V1(), {}},
        {"no name", V1({{"name", ""}}), {1}},
        {"name of another kind", V1({{"name", Int(5)}}), {1}},
        {"name.utf-8 alone", V1({{"name", ""}, {"name.utf-8", Str("x")}}), {}},
        {"empty", V1({{"name", Str("")}}), {1}},
        {"dot", V1({{"name", Str(".")}}), {1}},
        {"dot dot", V1({{"name", Str("..")}}), {1}},
        {"zeros and slashes", V1({{"name", Str(std::string("\0/\0", 3))}}), {1}},
        {"dot and separators", V1({{"name", Str("/.\\")}}), {1}},
        {"ends in a slash", V1({{"name", Str("a/")}}), {}},
        {"three dots", V1({{"name", Str("...")}}), {}},
        {"dot dot split by a slash and a zero", V1({{"name", Str(std::string("./\0.", 4))}}), {1}},
        {"dot dot and a letter after a slash", V1({{"name", Str("../a")}}), {}},
        {"empty name.utf-8 is the name shown", V1({{"name.utf-8", Str("")}}), {1}},
        {"multi-file may have an empty name", Multi({Entry(10, "x")}, 1, {{"name", Str("")}}), {}},
    });
}

TEST(StructureChecks, PieceLength) {
    ExpectRows({
        {"mended", V1(), {}},
        {"missing", V1({{"piece length", ""}}), {2}},
        {"zero", V1({{"piece length", Int(0)}}), {2}},
        {"negative", V1({{"piece length", Int(-1)}}), {2}},
        {"text", V1({{"piece length", Str("16384")}}), {2}},
        {"v1 takes any length", V1({{"piece length", Int(24576)}}), {}},
        {"v2 16,383", V2(kTree, {{"piece length", Int(16383)}}), {2}},
        {"v2 16,384", V2(kTree, {{"piece length", Int(16384)}}), {}},
        {"v2 24,576", V2(kTree, {{"piece length", Int(24576)}}), {2}},
        {"v2 8,192", V2(kTree, {{"piece length", Int(8192)}}), {2}},
        {"v2 32,768", V2(kTree, {{"piece length", Int(32768)}}), {}},
    });
}

TEST(StructureChecks, Pieces) {
    ExpectRows({
        {"mended", V1(), {}},
        {"missing", V1({{"pieces", ""}}), {3}},
        {"of another kind", V1({{"pieces", Int(5)}}), {3}},
        {"0 bytes", V1({{"pieces", Str("")}}), {7}},
        {"19 bytes", V1({{"pieces", Str(std::string(19, 'h'))}}), {3}},
        {"20 bytes", V1({{"pieces", Str(std::string(20, 'h'))}}), {}},
        {"21 bytes", V1({{"pieces", Str(std::string(21, 'h'))}}), {3}},
        {"v2 needs none", V2(kTree), {}},
    });
}

TEST(StructureChecks, FileLength) {
    const std::string link = Dict({{"attr", Str("l")}, {"path", List({Str("l")})}, {"symlink path", List({Str("x")})}});
    ExpectRows({
        {"mended", V1(), {}},
        {"negative", V1({{"length", Int(-10)}}), {4}},
        {"missing", V1({{"length", ""}}), {4}},
        {"text", V1({{"length", Str("10")}}), {4}},
        {"files of another kind, no length", V1({{"files", Dict({{"x", Entry(10, "x")}})}, {"length", ""}}), {4}},
        {"files of another kind beside a length", V1({{"files", Dict({})}}), {}},
        {"an entry without length", Multi({Dict({{"path", List({Str("x")})}}), Entry(10, "y")}, 1), {4}},
        {"an entry of length -1", Multi({Entry(-1, "x"), Entry(11, "y")}, 1), {4}},
        {"a link needs no length", Multi({Entry(10, "x"), link}, 1), {}},
        {"v2 file of length -1", V2(Dict({{"a", TreeFile(-1)}})), {4}},
        {"v2 file without length", V2(Dict({{"a", Dict({{"", Dict({{"pieces root", Str(Root('r'))}})}})}})), {4}},
    });
}

TEST(StructureChecks, Path) {
    const auto entry = [](const Members& Path) {
        Members members = {{"length", Int(10)}};
        members.insert(members.end(), Path.begin(), Path.end());
        return Dict(members);
    };
    ExpectRows({
        {"mended", Multi({entry({{"path", List({Str("x")})}})}, 1), {}},
        {"no path", Multi({entry({})}, 1), {5}},
        {"empty path", Multi({entry({{"path", List({})}})}, 1), {5}},
        {"path of a number", Multi({entry({{"path", List({Int(5)})}})}, 1), {5}},
        {"path.utf-8 alone", Multi({entry({{"path.utf-8", List({Str("x")})}})}, 1), {}},
        {"empty path.utf-8 wins over path", Multi({entry({{"path", List({Str("x")})}, {"path.utf-8", List({})}})}, 1), {5}},
        {"path.utf-8 of another kind", Multi({entry({{"path", List({Str("x")})}, {"path.utf-8", Str("y")}})}, 1), {}},
        {"padding needs none", Multi({Entry(10, "x"), Dict({{"attr", Str("p")}, {"length", Int(6)}})}, 1), {}},
    });
}

TEST(StructureChecks, NoData) {
    ExpectRows({
        {"mended", Multi({Entry(0, "x"), Entry(10, "y")}, 1), {}},
        {"no files", Multi({}, 0), {6}},
        {"only an empty file", Multi({Entry(0, "x")}, 0), {6}},
        {"length 0", V1({{"length", Int(0)}, {"pieces", Str("")}}), {6}},
        {"length 0 with one hash", V1({{"length", Int(0)}}), {6}},
        {"not with a bad length", Multi({Entry(-1, "x")}, 0), {4}},
        {"v2 empty tree", V2(Dict({})), {6}},
        {"v2 only an empty file", V2(Dict({{"a", TreeFile(0)}})), {6}},
    });
}

TEST(StructureChecks, PieceCount) {
    ExpectRows({
        {"mended", V1({{"length", Int(3 * kPiece)}, {"pieces", Hashes(3)}}), {}},
        {"two hashes for 10 bytes", V1({{"pieces", Hashes(2)}}), {7}},
        {"one short", V1({{"length", Int(3 * kPiece + 1)}, {"pieces", Hashes(3)}}), {7}},
        {"padding counts", Multi({Entry(10, "x"), Pad(kPiece - 10), Entry(5, "y")}, 2), {}},
        {"padding at the end counts", Multi({Entry(10, "x"), Pad(kPiece - 10)}, 1), {}},
        {"an empty file beside others", Multi({Entry(kPiece, "x"), Entry(0, "y"), Entry(1, "z")}, 2), {}},
        {"not with another fault", V1({{"pieces", Hashes(2)}, {"piece length", Int(0)}}), {2}},
    });
}

TEST(StructureChecks, MetaVersion) {
    ExpectRows({
        {"mended", V2(kTree), {}},
        {"v2 without", V2(kTree, {{"meta version", ""}}), {8}},
        {"v2 with 1", V2(kTree, {{"meta version", Int(1)}}), {8}},
        {"v2 with text", V2(kTree, {{"meta version", Str("2")}}), {8}},
        {"v2 with 3", V2(kTree, {{"meta version", Int(3)}}), {8}},
        {"v1 with 3", V1({{"meta version", Int(3)}}), {8}},
        {"v1 with 1", V1({{"meta version", Int(1)}}), {}},
        {"v1 with text", V1({{"meta version", Str("2")}}), {}},
    });
}

TEST(StructureChecks, FileTree) {
    ExpectRows({
        {"mended", V2(kTree), {}},
        {"meta version 2 alone", V1({{"meta version", Int(2)}}), {9}},
        {"a tree of another kind, so no v1 keys either", V2(List({})), {3, 4, 9}},
    });
}

TEST(StructureChecks, RootHash) {
    const auto file = [](const std::string& Root) {
        return V2(Dict({{"a", Dict({{"", Dict({{"length", Int(10)}, {"pieces root", Root}})}})}}));
    };
    ExpectRows({
        {"mended", file(Str(Root('r'))), {}},
        {"missing", V2(Dict({{"a", Dict({{"", Dict({{"length", Int(10)}})}})}})), {10}},
        {"zeros", file(Str(std::string(32, '\0'))), {10}},
        {"31 bytes", file(Str(std::string(31, 'r'))), {10}},
        {"of another kind", file(Int(5)), {10}},
        {"an empty file needs none", V2(Dict({{"a", TreeFile(0)}, {"b", TreeFile(5)}})), {}},
    });
}

TEST(StructureChecks, V2Padding) {
    ExpectRows({
        {"mended", V2(Dict({{"a", TreeFile(10, 'r', {{"attr", Str("x")}})}})), {}},
        {"marked", V2(Dict({{"a", TreeFile(10, 'r', {{"attr", Str("p")}})}})), {11}},
        {"among others", V2(Dict({{"a", TreeFile(10, 'r', {{"attr", Str("xp")}})}})), {11}},
        {"attr of another kind", V2(Dict({{"a", TreeFile(10, 'r', {{"attr", Int(1)}})}})), {}},
    });
}

TEST(StructureChecks, PieceLayers) {
    const std::string tree = Dict({{"a", TreeFile(40000)}});
    const auto layers = [&](const Members& Layers) { return V2(tree, {}, {{"piece layers", Dict(Layers)}}); };
    const std::string threeFiles = Dict({{"a", TreeFile(40000)}, {"b", TreeFile(40000)}, {"c", TreeFile(40000)}});
    ExpectRows({
        {"mended", layers({{Root('r'), Str(std::string(96, 'l'))}}), {}},
        {"none", V2(tree), {}},
        {"too short", layers({{Root('r'), Str(std::string(64, 'l'))}}), {12}},
        {"33 bytes", layers({{Root('r'), Str(std::string(33, 'l'))}}), {12}},
        {"key of 31 bytes", layers({{std::string(31, 'r'), Str(std::string(32, 'l'))}}), {12}},
        {"an unknown root", layers({{Root('z'), Str(std::string(32, 'l'))}}), {}},
        {"a value of another kind", layers({{Root('z'), Int(5)}}), {12}},
        {"layers a list", V2(tree, {}, {{"piece layers", List({})}}), {}},
        {"a file of one piece", V2(Dict({{"a", TreeFile(kPiece)}}), {}, {{"piece layers", Dict({{Root('r'), Str(Root('l') + Root('l'))}})}}), {}},
        {"in a v1 torrent", V1({}) , {}},
        // Of a repeated root the first layer counts, whichever side is the larger.
        {"repeated, the first fits", layers({{Root('r'), Str(std::string(96, 'l'))}, {Root('r'), Str(std::string(64, 'l'))}}), {}},
        {"repeated, the first does not", layers({{Root('r'), Str(std::string(64, 'l'))}, {Root('r'), Str(std::string(96, 'l'))}}), {12}},
        {"more files, the first fits", V2(threeFiles, {}, {{"piece layers", Dict({{Root('r'), Str(std::string(96, 'l'))}, {Root('r'), Str(std::string(64, 'l'))}})}}), {}},
        {"more files, the first does not", V2(threeFiles, {}, {{"piece layers", Dict({{Root('r'), Str(std::string(64, 'l'))}, {Root('r'), Str(std::string(96, 'l'))}})}}), {12}},
    });
}

std::string Hybrid(const std::vector<std::string>& Entries, const std::string& Tree, std::size_t Pieces,
                   const Members& Changes = {}) {
    Members changes = {{"files", List(Entries)}, {"file tree", Tree}, {"meta version", Int(2)}, {"name", Str("t")},
                       {"pieces", Hashes(Pieces)}};
    changes.insert(changes.end(), Changes.begin(), Changes.end());
    return V1(changes);
}

TEST(StructureChecks, FileLists) {
    const std::string tree = Dict({{"a", TreeFile(10)}, {"b", TreeFile(5, 's')}});
    const std::string a = Entry(10, "a"), b = Entry(5, "b");
    const std::string folders = Dict({{"b", TreeFile(5, 's')}, {"z", Dict({{"a", TreeFile(10)}})}});
    const std::string za = Dict({{"length", Int(10)}, {"path", List({Str("z"), Str("a")})}});
    const std::string withEmpty = Dict({{"a", TreeFile(10)}, {"a0", TreeFile(0)}, {"b", TreeFile(5, 's')}});
    ExpectRows({
        {"mended", Hybrid({a, Pad(kPiece - 10), b}, tree, 2), {}},
        {"no padding", Hybrid({a, b}, tree, 1), {13}},
        {"padding at the end", Hybrid({a, Pad(kPiece - 10), b, Pad(kPiece - 5)}, tree, 2), {}},
        {"padding of 7 at the end", Hybrid({a, Pad(kPiece - 10), b, Pad(7)}, tree, 2), {13}},
        {"a pad of 0", Hybrid({Entry(kPiece, "a"), Pad(0), b}, Dict({{"a", TreeFile(kPiece)}, {"b", TreeFile(5, 's')}}), 2), {13}},
        {"a pad a piece too long", Hybrid({a, Pad(2 * kPiece - 10), b}, tree, 3), {13}},
        {"sizes differ", Hybrid({Entry(11, "a"), Pad(kPiece - 11), b}, tree, 2), {13}},
        {"paths differ", Hybrid({Entry(10, "c"), Pad(kPiece - 10), b}, tree, 2), {13}},
        {"counts differ", Hybrid({a, Pad(kPiece - 10), b, Pad(kPiece - 5), Entry(3, "c")}, tree, 3), {13}},
        {"folder order other than the tree's", Hybrid({za, Pad(kPiece - 10), b}, folders, 2), {13}},
        {"folder order as the tree's", Hybrid({b, Pad(kPiece - 5), za}, folders, 2), {}},
        {"an empty file needs no padding", Hybrid({a, Pad(kPiece - 10), Entry(0, "a0"), b}, withEmpty, 2), {}},
        {"a pad after an empty file", Hybrid({a, Pad(kPiece - 10), Entry(0, "a0"), Pad(kPiece), b}, withEmpty, 3), {13}},
        {"one file", V2(kTree, {{"length", Int(10)}, {"pieces", Hashes(1)}}), {}},
        {"one file, another name", V2(kTree, {{"length", Int(10)}, {"name", Str("b")}, {"pieces", Hashes(1)}}), {13}},
        {"one file in a folder",
         V2(Dict({{"d", Dict({{"a", TreeFile(10)}})}}), {{"length", Int(10)}, {"pieces", Hashes(1)}}), {13}},
    });
}

TEST(StructureChecks, CanonicalForm) {
    const Members sorted = {{"file tree", kTree}, {"meta version", Int(2)}, {"name", Str("a")}, {"piece length", Int(kPiece)}};
    const auto raw = [&](Members Info) { return Torrent(Dict(Info)); };
    Members swapped = sorted;
    std::swap(swapped[1], swapped[2]);
    Members repeated = sorted;
    repeated.push_back({"piece length", Int(kPiece)});
    Members leadingZero = sorted;
    leadingZero[3].second = "i016384e";
    Members negativeZero = sorted;
    negativeZero.push_back({"x", "i-0e"});
    ExpectRows({
        {"mended", raw(sorted), {}},
        {"keys out of order", raw(swapped), {14}},
        {"a key repeated", raw(repeated), {14}},
        {"a leading zero", raw(leadingZero), {14}},
        {"minus zero", raw(negativeZero), {}},
        {"tree out of order", raw({{"file tree", Dict({{"b", TreeFile(5)}, {"a", TreeFile(10)}})}, sorted[1], sorted[2], sorted[3]}), {14}},
        {"outside the info dictionary", "d1:zi1e" + raw(sorted).substr(1), {}},
        {"v1 out of order", Torrent(Dict({{"pieces", Hashes(1)}, {"name", Str("a")}, {"length", Int(10)}, {"piece length", Int(kPiece)}})), {}},
    });
}

// Messages follow today's three, in the table's order, each once.
TEST(StructureChecks, MessagesFollowInTableOrder) {
    TTorrentFile doc;
    const std::string bytes = Torrent(Info({{"files", List({Dict({{"length", Int(1)}}), Dict({{"length", Int(2)}}), Int(3)})},
                                            {"pieces", Str("x")}, {"piece length", Int(0)}}, {}),
                                      {{"announce-list", Str("x")}});
    MemoryStream stream(bytes);
    doc.LoadStream(stream);
    EXPECT_EQ(doc.ErrorSummary(),
              "Missing or corrupt 'announce-list' segment.;Missing or corrupt 'files' segment.;"
              "Missing or corrupt 'name' value.;Missing or corrupt 'piece length' value.;"
              "Missing or corrupt 'pieces' value.;Missing or corrupt file length.;A file has no path.;");
}

}  // namespace
}  // namespace seedlens
