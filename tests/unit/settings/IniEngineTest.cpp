#include "settings/IniEngine.h"

#include <gtest/gtest.h>

namespace {

using V = std::vector<std::string>;

// The platform's own reader is compared on trimming, quotes, comments, duplicates and line ends
// (tests/win/settings/IniConformance.cpp); these are the rules Wine's reader does not follow.
TEST(IniEngineRead, FollowsTheProfileRules) {
    // File, section, key, and the value read (nullptr: not found).
    const char* cases[][4] = {
        {"[s]\rk=v\r\n\n\r\nj=w", "s", "j", "w"},
        // key split at the first '='
        {"[s]\nk=a=b\n", "s", "k", "a=b"},
        // a first line without '=' hides a later one with it
        {"[s]\nk\nk=v\n", "s", "k", nullptr},
        // missing ']' and text after it
        {"[s\nk=v\n", "s", "k", "v"},
        {"[s] junk ]\nk=v\n", "s", "k", "v"},
        {"[]\nk=v\n", "", "k", "v"},
        // keys before the first section are unreachable
        {"k=v\n[s]\n", "", "k", nullptr},
        {"k=v\n[s]\n", "s", "k", nullptr},
        // the first of two sections equal but for case answers, also for keys only the second has
        {"[s]\nk=1\n[S]\nj=4\n", "s", "j", nullptr},
        // a comment line is no key, even when asked for by its text
        {"[c]\n;k=1\n", "c", ";k", nullptr},
    };
    for (const auto& [file, section, key, expected] : cases)
        EXPECT_EQ(IniDocument::Parse(file).Get(section, key),
                  expected ? std::optional<std::string>(expected) : std::nullopt)
            << file;
}

TEST(IniEngineRead, EnumerationListsEveryNameInFileOrder) {
    const IniDocument d =
        IniDocument::Parse("x=1\n[a]\nk1=1\nnovalue\n;c=1\nK1=2\n[b]\n[A]\nk9=1\n[]\n");
    EXPECT_EQ(d.Sections(), (V{"a", "b", "A", ""}));
    EXPECT_EQ(d.Keys("A"), (V{"k1", "K1"}));
    // Tens of thousands of keys: SettingsFile.DamagedFilesKeepEveryButtonReadAndEverythingElse.
}

TEST(IniEngineRead, Utf16FileIsDecodedAndWrittenBackAsUtf16) {
    // "[s]\r\nk=\u00e9\U0001F600\r\n" plus an unpaired surrogate value
    std::string bytes = "\xFF\xFE";
    for (char16_t u : u"[s]\r\nk=\u00e9\U0001F600\r\nlone=\xD800x\r\n")
        if (u)
            bytes += char(u & 0xFF), bytes += char(u >> 8);
    IniDocument d = IniDocument::Parse(bytes);
    EXPECT_EQ(d.GetString("s", "k", ""), "\xC3\xA9\xF0\x9F\x98\x80");
    ASSERT_TRUE(d.Set("s", "n", "1"));
    const std::string out = d.Serialize();
    EXPECT_EQ(out.substr(0, bytes.size()), bytes);
    EXPECT_EQ(out.substr(bytes.size()), std::string("n\0=\0"
                                                    "1\0\r\0\n\0",
                                                    10));
}

// The mark is no text of the first line and comes back on writing; a value is cut between
// characters, counting UTF-16 units.
TEST(IniEngineRead, Utf8FileKeepsItsMarkAndCutsValuesBetweenCharacters) {
    const std::string smile = "\xF0\x9F\x98\x80"; // U+1F600
    const std::string bytes = "\xEF\xBB\xBF[s]\r\nlong=" + std::string(1022, 'x') + smile + "\r\n";
    IniDocument d = IniDocument::Parse(bytes);
    EXPECT_EQ(d.GetString("s", "long", ""), std::string(1022, 'x')); // not half a pair
    ASSERT_TRUE(d.Set("s", "n", smile));
    EXPECT_EQ(d.Serialize(), bytes + "n=" + smile + "\r\n");
}

TEST(IniEngineWrite, ChangesOnlyWhatItMustAndRefusesWhatCouldNotBeReadBack) {
    // The file before, section, key and value written, and the file after.
    const char* cases[][5] = {
        {"", "App", "key", "val", "[App]\r\nkey=val\r\n"},
        // replace in place, keep the file's casing and the other bytes
        {"; top\n[S]\n  Key = old  \n\n[t]\nx=1", "s", "KEY", "new",
         "; top\n[S]\nKey=new\n\n[t]\nx=1"},
        // new key after the last non-blank line of its section; blank lines stay after it
        {"[s]\na=1\n\n\n[t]\n", "s", "b", "2", "[s]\na=1\nb=2\r\n\n\n[t]\n"},
        {"[s]\na=1\n;note\n  \n[t]\n", "s", "b", "2", "[s]\na=1\n;note\nb=2\r\n  \n[t]\n"},
        {"[s]\na=1", "s", "b", "2", "[s]\na=1\r\nb=2\r\n"},
        // new section at the end, no blank line before it
        {"[s]\na=1\n\n", "t", "b", "2", "[s]\na=1\n\n[t]\r\nb=2\r\n"},
        {"[s]\na=1", "t", "b", "2", "[s]\na=1\r\n[t]\r\nb=2\r\n"},
        // names are written trimmed, values as given
        {"", " s ", " k ", " v ", "[s]\r\nk= v \r\n"},
        // duplicates: the first section gets the new key, the first key is replaced
        {"[s]\na=1\n[s]\nb=1\n", "s", "b", "2", "[s]\na=1\nb=2\r\n[s]\nb=1\n"},
        {"[s]\nk=1\nk=2\n", "s", "k", "3", "[s]\nk=3\nk=2\n"},
        // a key line without '=' gets its value
        {"[s]\nk\n", "s", "k", "1", "[s]\nk=1\n"},
        {"[]\n", "", "k", "1", "[]\nk=1\r\n"},
    };
    for (const auto& [before, section, key, value, after] : cases) {
        IniDocument d = IniDocument::Parse(before);
        ASSERT_TRUE(d.Set(section, key, value)) << before;
        EXPECT_EQ(d.Serialize(), after) << before;
        // what was written reads back (the reader trims " v " to "v")
        EXPECT_EQ(IniDocument::Parse(d.Serialize()).Get(section, key),
                  value[0] == ' ' ? "v" : value)
            << before;
    }
    // What could not be read back is refused, and the file stays as it was.
    const char* bad[][3] = {
        {"s", "k", "a\nb"}, {"s", "k", "a\rb"}, {"s\n", "k", "v"}, {"s", "k\r", "v"},
        {"s", "a=b", "v"},  {"s", ";k", "v"},   {"s", "[k", "v"},  {"a]b", "k", "v"},
    };
    IniDocument d = IniDocument::Parse("[s]\nk=1\n");
    for (const auto& b : bad)
        EXPECT_FALSE(d.Set(b[0], b[1], b[2])) << b[0] << "/" << b[1];
    EXPECT_EQ(d.Serialize(), "[s]\nk=1\n");
}

// The settings file replaces its button sections by deleting them and writing one anew.
TEST(IniEngineWrite, DeletingASectionKeepsItsCommentsAndLetsTheNextOfItsNameAnswer) {
    IniDocument d = IniDocument::Parse("[a]\nk=1\n\n[b]\n; keep me\nx=1\n\n[c]\ny=1\n[B]\nz=1\n");
    EXPECT_TRUE(d.DeleteSection("b"));
    EXPECT_EQ(d.Serialize(), "[a]\nk=1\n\n; keep me\n[c]\ny=1\n[B]\nz=1\n");
    EXPECT_EQ(d.Get("b", "z"), "1");
    EXPECT_TRUE(d.DeleteSection("b"));
    EXPECT_FALSE(d.DeleteSection("b"));
    d.Set("b", "n", "1"); // written anew at the end
    EXPECT_EQ(d.Serialize(), "[a]\nk=1\n\n; keep me\n[c]\ny=1\n[b]\r\nn=1\r\n");
}

} // namespace
