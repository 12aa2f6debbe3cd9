// Our INI engine against the platform's profile functions on a corpus of awkward files, each of
// which catches another way to misread a file. Where Wine answers differently from Windows, the
// Windows answer is in the unit tests of the engine.
#include "settings/IniEngine.h"
#include "support/Support.h"

#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <windows.h>

namespace {

namespace fs = std::filesystem;

struct Corpus {
    const char* name;
    std::string text;
    std::vector<std::pair<const char*, const char*>> queries; // section, key
};

const std::vector<Corpus>& TheCorpus() {
    static const std::vector<Corpus> corpus = {
        {"blanks",
         "[s]\r\n  k1  =  v1  \r\n\tk2\t=\tv 2\t\r\n k3=\r\nk4 =    \r\n [ t ] \r\nx=1\r\n",
         {{"s", "k1"},
          {"s", "k2"},
          {"s", "k3"},
          {"s", "k4"},
          {"t", "x"},
          {" t ", "x"},
          {"s", " k1 "}}},
        {"cr-only", "[s]\rk=v\r[t]\rk=t", {{"s", "k"}, {"t", "k"}}},
        {"quotes",
         "[q]\r\na=\"x\"\r\nb='x'\r\nc=\"x'\r\nd=\"\r\ne=\"\"\r\nf= \"x y\" \r\ng=\"a\"b\"\r\n"
         "\"h\"=1\r\n",
         {{"q", "a"},
          {"q", "b"},
          {"q", "c"},
          {"q", "d"},
          {"q", "e"},
          {"q", "f"},
          {"q", "g"},
          {"q", "\"h\""},
          {"q", "h"}}},
        {"comments",
         "[c]\r\n;k=1\r\n  ;j=2\r\nm=a ; b\r\n#n=3\r\nk=4\r\n",
         {{"c", "k"}, {"c", "j"}, {"c", "m"}, {"c", "#n"}}},
        {"no-equals", "[n]\r\nalone\r\nk=v\r\n", {{"n", "alone"}, {"n", "k"}}},
        {"duplicates",
         "[d]\r\nk=1\r\nK=2\r\n[D]\r\nk=3\r\nonly=4\r\n[e]\r\nx=1\r\n",
         {{"d", "k"}, {"D", "K"}, {"d", "only"}, {"e", "x"}}},
        {"long-value", "[l]\r\nk=" + std::string(1500, 'x') + "\r\n", {{"l", "k"}}},
        {"utf16", std::string("\xFF\xFE[\0s\0]\0\r\0\n\0k\0=\0v\0\r\0\n\0", 20), {{"s", "k"}}},
    };
    return corpus;
}

class IniConformance : public ::testing::Test {
  protected:
    std::string Path(const std::string& name) const {
        return fs::path(dir / support::Widen(name + ".ini")).string();
    }
    support::TempDir dir;
};

TEST_F(IniConformance, ValuesAndKeyListsMatchTheProfileFunctions) {
    static char buf[1 << 16];
    for (const Corpus& c : TheCorpus()) {
        const std::string file = Path(c.name);
        std::ofstream(file, std::ios::binary) << c.text;
        const IniDocument doc = IniDocument::Parse(c.text);
        for (const auto& [section, key] : c.queries) {
            DWORD n = GetPrivateProfileStringA(section, key, "dflt  ", buf, 1024, file.c_str());
            EXPECT_EQ(doc.GetString(section, key, "dflt  "), std::string(buf, n))
                << c.name << " [" << section << "] " << key;
            // How the key list treats section names with blanks around them is not pinned down.
            if (section[0] == ' ')
                continue;
            n = GetPrivateProfileStringA(section, nullptr, "", buf, sizeof buf, file.c_str());
            std::string ours, theirs;
            for (DWORD i = 0; i < n; i += static_cast<DWORD>(std::strlen(buf + i)) + 1)
                theirs += std::string(buf + i) + "|";
            for (const std::string& k : doc.Keys(section))
                ours += k + "|";
            EXPECT_EQ(ours, theirs) << c.name << " [" << section << "]";
        }
    }
}

TEST_F(IniConformance, WritesFromNothingGiveTheSameBytes) {
    const std::vector<std::vector<std::array<const char*, 3>>> series = {
        {{"a", "k", "1"}, {"a", "j", "2"}, {"a", "k", "3"}},
        {{"a", "k", "1"}, {"b", "k", "2"}, {"A", "K", "3"}, {"a", "new", "4"}},
    };
    for (size_t i = 0; i < series.size(); ++i) {
        const std::string file = Path("new" + std::to_string(i));
        IniDocument doc = IniDocument::Parse("");
        for (const auto& [section, key, value] : series[i]) {
            ASSERT_TRUE(WritePrivateProfileStringA(section, key, value, file.c_str()));
            ASSERT_TRUE(doc.Set(section, key, value));
        }
        EXPECT_EQ(doc.Serialize(), support::ReadFile(support::Widen(file))) << i;
    }
}

} // namespace
