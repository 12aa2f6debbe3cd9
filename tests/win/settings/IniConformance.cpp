// Our INI engine against the platform's profile functions on a corpus of awkward files, each of
// which catches another way to misread a file. Where Wine answers differently from Windows, the
// Windows answer is in the unit tests of the engine, and so is how it writes.
#include "settings/IniEngine.h"
#include "support/Support.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <windows.h>

namespace {

namespace fs = std::filesystem;

// A file, and the keys to read from it by section. The key lists of the sections are compared too,
// except for a section name with blanks around it, whose key list is not pinned down.
struct Corpus {
    const char* name;
    std::string text;
    std::vector<std::pair<const char*, std::vector<const char*>>> queries;
};

TEST(IniConformance, ValuesAndKeyListsMatchTheProfileFunctions) {
    const Corpus corpus[] = {
        {"blanks",
         "[s]\r\n  k1  =  v1  \r\n\tk2\t=\tv 2\t\r\n k3=\r\nk4 =    \r\n [ t ] \r\nx=1\r\n",
         {{"s", {"k1", "k2", "k3", "k4", " k1 "}}, {"t", {"x"}}, {" t ", {"x"}}}},
        {"cr-only", "[s]\rk=v\r[t]\rk=t", {{"s", {"k"}}, {"t", {"k"}}}},
        {"quotes",
         "[q]\r\na=\"x\"\r\nb='x'\r\nc=\"x'\r\nd=\"\r\ne=\"\"\r\nf= \"x y\" \r\ng=\"a\"b\"\r\n"
         "\"h\"=1\r\n",
         {{"q", {"a", "b", "c", "d", "e", "f", "g", "\"h\"", "h"}}}},
        {"comments",
         "[c]\r\n;k=1\r\n  ;j=2\r\nm=a ; b\r\n#n=3\r\nk=4\r\n",
         {{"c", {"k", "j", "m", "#n"}}}},
        {"no-equals", "[n]\r\nalone\r\nk=v\r\n", {{"n", {"alone", "k"}}}},
        {"duplicates",
         "[d]\r\nk=1\r\nK=2\r\n[D]\r\nk=3\r\nonly=4\r\n[e]\r\nx=1\r\n",
         {{"d", {"k", "only"}}, {"D", {"K"}}, {"e", {"x"}}}},
        {"long-value", "[l]\r\nk=" + std::string(1500, 'x') + "\r\n", {{"l", {"k"}}}},
        {"utf16", std::string("\xFF\xFE[\0s\0]\0\r\0\n\0k\0=\0v\0\r\0\n\0", 20), {{"s", {"k"}}}},
    };
    static char buf[1 << 16];
    const support::TempDir dir;
    for (const Corpus& c : corpus) {
        const std::string file = fs::path(dir / support::Widen(c.name)).string();
        std::ofstream(file, std::ios::binary) << c.text;
        const IniDocument doc = IniDocument::Parse(c.text);
        for (const auto& [section, keys] : c.queries) {
            for (const char* key : keys) {
                DWORD n = GetPrivateProfileStringA(section, key, "dflt  ", buf, 1024, file.c_str());
                EXPECT_EQ(doc.GetString(section, key, "dflt  "), std::string(buf, n))
                    << c.name << " [" << section << "] " << key;
            }
            if (section[0] == ' ')
                continue;
            const DWORD n =
                GetPrivateProfileStringA(section, nullptr, "", buf, sizeof buf, file.c_str());
            std::string ours, theirs;
            for (DWORD i = 0; i < n; i += static_cast<DWORD>(std::strlen(buf + i)) + 1)
                theirs += std::string(buf + i) + "|";
            for (const std::string& k : doc.Keys(section))
                ours += k + "|";
            EXPECT_EQ(ours, theirs) << c.name << " [" << section << "]";
        }
    }
}

} // namespace
