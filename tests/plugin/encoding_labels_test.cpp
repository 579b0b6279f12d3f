// Every encoding label of the WHATWG Encoding Standard, as a torrent's
// "encoding" declares it, through the built module's wide value export:
// the comment must come out in the code page the label names.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <sstream>

#include "platform/code_pages.h"
#include "tests/support/bencode_writer.h"
#include "tests/support/hex.h"
#include "tests/support/plugin_module.h"
#include "tests/support/temp_dir.h"

namespace seedlens {
namespace {

using namespace test;
namespace fs = std::filesystem;

// For each code page, bytes that read as Text in it and as something else
// in every other code page here (found and decoded with Python's codecs).
struct Sample {
    std::uint32_t CodePage;
    const char* Bytes;
    const char* Text;
};
const Sample kSamples[] = {
    {936, "d6 d0 ce c4 80", "中文€"},
    {54936, "d6 d0 ce c4 81 30 8b 37", "中文ÿ"},
    {950, "a4 a4 a4 e5", "中文"},
    {932, "93 fa 96 7b 8c ea", "日本語"},
    {20932, "c6 fc cb dc b8 ec", "日本語"},
    {949, "c7 d1 b1 b9 be ee", "한국어"},
    {874, "c0 d2 c9 d2 e4 b7 c2", "ภาษาไทย"},
    {866, "90 e3 e1 e1 aa a8 a9", "Русский"},
    {20866, "f2 d5 d3 d3 cb c9 ca 20 a4", "Русский ╓"},
    {21866, "f5 cb d2 c1 a7 ce c1", "Україна"},
    {10000, "43 61 66 8e 20 a7", "Café ß"},
    {1250, "a3 f3 64 9f", "Łódź"},
    {1251, "d0 f3 f1 f1 ea e8 e9", "Русский"},
    {1252, "43 61 66 e9 20 de 80", "Café Þ€"},
    {1253, "c5 eb eb e7 ed e9 ea dc 20 80", "Ελληνικά €"},
    {1254, "de 69 6d 64 69 20 80", "Şimdi €"},
    {1255, "f2 e1 f8 e9 fa 20 80", "עברית €"},
    {1256, "da d1 c8 ed", "عربي"},
    {1257, "c0 fe 75 6f 6c 61 73 20 80", "Ąžuolas €"},
    {1258, "d0 f5 6e 20 fe 20 61", "Đơn ₫ a"},
    {28592, "a3 f3 64 bc", "Łódź"},
    {28593, "a1 61 f5 61 72", "Ħaġar"},
    {28594, "ab 69 6d 65 6e 65", "Ģimene"},
    {28595, "c0 e3 e1 e1 da d8 d9", "Русский"},
    {28596, "d9 d1 c8 ea", "عربي"},
    {28597, "c5 eb eb e7 ed e9 ea dc 20 b6", "Ελληνικά Ά"},
    {28598, "f2 e1 f8 e9 fa 20 df", "עברית ‗"},
    {28599, "de 69 6d 64 69 20 80", "Şimdi \u0080"},
    {28603, "a1 c0 fe 75 6f 6c 61 73", "”Ąžuolas"},
    {28605, "43 61 66 e9 20 a4", "Café €"},
};

// The standard's encodings by their Windows code page; 0: none.
const std::map<std::string, std::uint32_t> kCodePageOfEncoding = {
    {"GBK", 936},          {"gb18030", 54936},    {"Big5", 950},          {"Shift_JIS", 932},
    {"EUC-JP", 20932},     {"EUC-KR", 949},       {"windows-874", 874},   {"IBM866", 866},
    {"KOI8-R", 20866},     {"KOI8-U", 21866},     {"macintosh", 10000},   {"windows-1250", 1250},
    {"windows-1251", 1251}, {"windows-1252", 1252}, {"windows-1253", 1253}, {"windows-1254", 1254},
    {"windows-1255", 1255}, {"windows-1256", 1256}, {"windows-1257", 1257}, {"windows-1258", 1258},
    {"ISO-8859-2", 28592}, {"ISO-8859-3", 28593}, {"ISO-8859-4", 28594}, {"ISO-8859-5", 28595},
    {"ISO-8859-6", 28596}, {"ISO-8859-7", 28597}, {"ISO-8859-8", 28598}, {"ISO-8859-13", 28603},
    {"ISO-8859-15", 28605}, {"UTF-8", 0},          {"UTF-16LE", 0},        {"UTF-16BE", 0},
    {"ISO-8859-10", 0},    {"ISO-8859-14", 0},    {"ISO-8859-16", 0},     {"x-user-defined", 0},
};

// Label to code page, from the standard's list, and "cp" names.
std::map<std::string, std::uint32_t> Labels() {
    std::ifstream in(fs::path(SEEDLENS_SOURCE_DIR) / ".." / "shared" / "encoding-labels" / "labels-to-names.json");
    std::stringstream text;
    text << in.rdbuf();
    const std::string json = text.str();
    std::map<std::string, std::uint32_t> labels;
    const std::regex pair("\"([^\"]+)\": \"([^\"]+)\"");
    for (auto it = std::sregex_iterator(json.begin(), json.end(), pair); it != std::sregex_iterator(); ++it)
        labels[(*it)[1]] = kCodePageOfEncoding.at((*it)[2]);
    for (const Sample& s : kSamples) labels["cp" + std::to_string(s.CodePage)] = s.CodePage;
    return labels;
}

// The label in alternating letter case, with ASCII whitespace around it.
std::string OddlyWritten(const std::string& Label, std::size_t Variant) {
    static const char* const kSpaces[] = {" ", "\t", "\r\n", "\f ", ""};
    std::string odd = Label;
    for (std::size_t i = Variant % 2; i < odd.size(); i += 2)
        if (odd[i] >= 'a' && odd[i] <= 'z') odd[i] = static_cast<char>(odd[i] - 32);
    return kSpaces[Variant % 5] + odd + kSpaces[(Variant + 2) % 5];
}

TEST(EncodingCodePages, EveryCodePageConvertsHere) {
    for (const Sample& s : kSamples) {
        const auto text = platform::CodePageToUtf16(Hex(s.Bytes), s.CodePage);
#ifdef _WIN32
        // Wine 8 has no GB18030; the torrent's texts then read in the legacy code page.
        if (!text && s.CodePage == 54936) continue;
#endif
        ASSERT_TRUE(text) << s.CodePage;
        EXPECT_EQ(platform::Utf16ToUtf8(*text), s.Text) << s.CodePage;
    }
}

class EncodingLabels : public testing::Test {
protected:
    // The comment of a torrent that declares Encoding.
    std::string Comment(const std::string& Encoding, const std::string& Bytes) {
        const std::string path =
            Dir.Write("t" + std::to_string(++Written) + ".torrent",
                      Dict({{"comment", Str(Bytes)}, {"encoding", Str(Encoding)}, {"info", Dict({{"name", Str("n")}})}}))
                .string();
        return Module.WideText(path, 8, 512);
    }

    // What Bytes read as in CodePage, or in the legacy code page where this
    // platform cannot convert from CodePage (Wine 8 lacks 54936).
    static std::string Expected(std::uint32_t CodePage, const std::string& Bytes, const std::string& Text) {
        if (CodePage != 0 && platform::CodePageToUtf16(Bytes, CodePage)) return Text;
        return platform::Utf16ToUtf8(platform::LegacyToUtf16(Bytes));
    }

    TempDir Dir;
    PluginModule Module{Dir.Path()};
    int Written = 0;
};

TEST_F(EncodingLabels, EveryLabelSelectsItsCodePage) {
    const auto labels = Labels();
    ASSERT_GE(labels.size(), 215u);
    std::size_t variant = 0;
    for (const auto& [label, codePage] : labels) {
        // Each sample reads right in one code page alone: a label that chose
        // another would show something else. Labels that select nothing
        // read each sample in turn in the legacy code page.
        ++variant;
        const Sample& s = *std::find_if(std::begin(kSamples), std::end(kSamples), [&, codePage = codePage](const Sample& Each) {
            return codePage == 0 ? &Each == &kSamples[variant % std::size(kSamples)] : Each.CodePage == codePage;
        });
        const std::string bytes = Hex(s.Bytes);
        EXPECT_EQ(Comment(OddlyWritten(label, variant), bytes), Expected(codePage, bytes, s.Text)) << label;
    }
}

TEST_F(EncodingLabels, NamesThatAreNoLabelSelectNothing) {
    std::size_t next = 0;
    for (const char* name : {"shift jis", "gb 2312", "utf-7", "utf-16", "unicode", "x-user-defined", "iso-8859-10",
                             "cp65001", "cp0", "big5\v", "\xc2\xa0gbk", "", "cp9999999999", "iso-8859-1x"}) {
        const std::string bytes = Hex(kSamples[next++ % std::size(kSamples)].Bytes);
        EXPECT_EQ(Comment(name, bytes), Expected(0, bytes, "")) << name;
    }
}

}  // namespace
}  // namespace seedlens
