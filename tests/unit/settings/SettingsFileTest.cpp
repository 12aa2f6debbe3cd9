#include "settings/Ini.h"
#include "settings/IniEngine.h"
#include "support/Files.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

// Every field of the options record in one comparable value.
auto Fields(const TEmoticonsOptions& o) {
    return std::tuple(o.Insert.blEnabled, o.Insert.blTrackWindows, o.Insert.blUseClipboard,
                      o.Insert.blKeyboard, int(o.Style), o.sPicturePath, o.sExePath, o.blExeStart,
                      int(o.HotKey.blAlt), int(o.HotKey.blCtrl), int(o.HotKey.blShift),
                      o.HotKey.iVirtCode, o.blDragDrop, o.Spacing.blBefore, o.Spacing.blAfter,
                      o.Rect.Left, o.Rect.Top, o.Rect.Right, o.Rect.Bottom);
}

// An options record unlike the defaults in every field.
TEmoticonsOptions Unusual() {
    TEmoticonsOptions o;
    o.Insert = {false, false, false, false};
    o.Style = stMinimizeOnPress;
    o.sPicturePath = "  faces  ";
    o.sExePath = "\"C:\\Program Files\\x.exe\"";
    o.blExeStart = true;
    o.HotKey = {0, 1, 1, 0, 0x70};
    o.blDragDrop = false;
    o.Spacing = {false, true};
    o.Rect = {-10, 20, 300, 400};
    return o;
}

class SettingsFile : public ::testing::Test {
  protected:
    void TearDown() override { fs::remove(path); }
    void Write(const std::string& text) { support::WriteFile(path, text); }
    TEmoticonsIniFile File() const { return TEmoticonsIniFile::FromIniPath(path); }
    TButtonList Buttons() const {
        TButtonList list;
        File().GetButtons(list);
        return list;
    }
    TButtonList Buttons(const std::string& text) {
        Write(text);
        return Buttons();
    }
    void Save(const TButtonList& list) {
        auto f = File();
        f.SetButtons(list);
        f.Save();
    }
    const std::string path =
        (fs::temp_directory_path() / ("moodpad-settings-" + std::to_string(::getpid()) + ".INI"))
            .string();
};

TEST(SettingsFileName, ExtensionReplacedAndWholePathUpperCased) {
    EXPECT_EQ(TEmoticonsIniFile::IniFileNameFor("C:\\a.b\\pad"), "C:\\A.B\\PAD.INI");
    EXPECT_EQ(TEmoticonsIniFile("c:\\x\\Moodpad.v2.exe").FileName(), "C:\\X\\MOODPAD.V2.INI");
}

TEST_F(SettingsFile, OptionsDefaultWithoutFileOrWithGarbage) {
    for (bool garbage : {true, false}) {
        garbage ? Write(std::string("\x01\xFF garbage \0\0", 14)) : void(fs::remove(path));
        TEmoticonsOptions o = Unusual();
        File().GetOptions(o);
        EXPECT_EQ(Fields(o), Fields(TEmoticonsOptions{}));
    }
}

TEST_F(SettingsFile, OptionValueEncodings) {
    struct Case {
        const char* value;
        int32_t key;   // "Hotkey" "Key", default 69
        uint8_t style; // "Window" "Code", default 1
        bool alt;      // "Hotkey" "Alt", default true
    } cases[] = {
        {"0x45", 69, 69, true},    {"0X10", 16, 16, true},       {"$45", 69, 69, true},
        {"nonsense", 69, 1, true}, {"0x", 69, 1, true},          {"5", 5, 5, true},
        {"0", 0, 0, false},        {"-1", -1, 255, true},        {"513", 513, 1, true},
        {"258", 258, 2, true},     {"12abc", 69, 1, true},       {"", 69, 1, true},
        {"\"7\"", 7, 7, true},     {"99999999999", 69, 1, true}, {"$FFFFFFFF", -1, 255, true},
        {"-$10", -16, 240, true},
    };
    for (const auto& c : cases) {
        Write(std::string("[Hotkey]\nKey=") + c.value + "\nAlt=" + c.value +
              "\n[Window]\nCode=" + c.value + "\n");
        TEmoticonsOptions o;
        File().GetOptions(o);
        EXPECT_EQ(o.HotKey.iVirtCode, c.key) << c.value;
        EXPECT_EQ(o.Style, c.style) << c.value;
        EXPECT_EQ(o.HotKey.blAlt, c.alt ? 1 : 0) << c.value;
    }
}

// Other sections and comments stay and a value is replaced in place. A file of an older version
// has no keyboard keys: they read as their defaults and the save adds them to the end of their
// section. Every option, and a class list of the user's own, reads back as written.
TEST_F(SettingsFile, OptionsRoundTripKeepOtherSectionsAndGainTheKeysOfNewerVersions) {
    Write("[ProductInfo]\r\nName=Moodpad\r\n; mine\r\n[AutoInsert]\r\nEnabled=1\r\n[Window]\r\n"
          "Left = 3\r\n");
    auto f = File();
    TEmoticonsOptions o;
    f.GetOptions(o);
    EXPECT_TRUE(o.Insert.blKeyboard);
    EXPECT_EQ(f.GetPostClasses(), DEFAULT_POST_CLASSES);
    f.SetOptions(o = Unusual());
    f.SetPostClasses(f.GetPostClasses());
    f.SetButtons({});
    f.Save();
    const std::string text = support::ReadFile(path);
    EXPECT_EQ(text.rfind("[ProductInfo]\r\nName=Moodpad\r\n; mine\r\n[AutoInsert]\r\nEnabled=0\r\n"
                         "TrackWindows=0\r\nUseClipboard=0\r\nKeyboard=0\r\nPostClasses=" +
                             std::string(DEFAULT_POST_CLASSES) + "\r\n[Window]\r\nLeft=-10\r\n",
                         0),
              0u)
        << text;
    EXPECT_EQ(text.find("[Buttons]"), std::string::npos); // an empty list leaves no section
    TEmoticonsOptions back;
    File().GetOptions(back);
    EXPECT_EQ(Fields(back), Fields(o));
    auto g = File();
    g.SetPostClasses(" Mine*, Edit ");
    g.Save();
    EXPECT_EQ(File().GetPostClasses(), " Mine*, Edit ");
    // A value that could not be read back is refused.
    o.sExePath = "a\r\nb";
    EXPECT_THROW(File().SetOptions(o), TIniWriteError);
}

// Button lines in their columns or not, with tabs, duplicates, empty and nameless lines, and what
// is cut; a second section of buttons is not read. Saved, the entries come back in the file's
// columns, in one section at the end of the file.
TEST_F(SettingsFile, ButtonLinesBecomeEntriesAndComeBackInOneSectionAtTheEnd) {
    const TButtonList want = {
        MakeEntry(":-)", "Smile", "smile"),
        MakeEntry(";-)", "wink", "wink"), // without a hint the name serves as hint
        MakeEntry(":-)", "Big  smile", "big"),
        MakeEntry("abcdefghijklmnopqrs", "Hint", "long"),
        MakeEntry(":-P", "tab  hint", "tabs"),
        MakeEntry(":o)", "spaced name", "my pic"),
        MakeEntry("x", std::string(179, 'h'), "cut"),
    };
    EXPECT_EQ(Buttons("[Buttons]\n"
                      "smile              =:-)                Smile\n"
                      "wink=;-)\n"
                      "big=:-)      Big  smile\t\n"
                      "empty=\n"
                      "=:-( no name\n"
                      "long=abcdefghijklmnopqrstuvwxy Hint\n"
                      "SMILE=dup\n"
                      "tabs=\t:-P\t\ttab  hint\n"
                      "my pic=:o) spaced name\n"
                      "cut=x " +
                      std::string(300, 'h') + "\n[Window]\nCode=2\n[Buttons]\nstale=:( gone\n"),
              want);
    TButtonList saved = want;
    saved.push_back(MakeEntry("'x", "ends in quote'", "quote"));
    saved.push_back(MakeEntry("8-)", "Cool", "a_picture_name_longer_than_nineteen"));
    Save(saved);
    const std::string text = support::ReadFile(path);
    EXPECT_NE(text.find("smile=:-)                Smile\r\n"), std::string::npos) << text;
    EXPECT_NE(text.find("long=abcdefghijklmnopqrs Hint\r\n"), std::string::npos);
    EXPECT_EQ(IniDocument::Parse(text).Sections(), (std::vector<std::string>{"Window", "Buttons"}));
    EXPECT_EQ(Buttons(), saved);
    EXPECT_TRUE(Buttons("[Other]\na=b\n").empty());
}

// In a file with the UTF-8 mark the columns count UTF-16 units and a cut never splits a
// character (nor a surrogate pair); without the mark they count bytes.
TEST_F(SettingsFile, Utf8ButtonsCountUnitsAndAreWrittenBackWithTheMark) {
    const std::string mark = "\xEF\xBB\xBF", smile = "\xF0\x9F\x98\x80";
    std::string seq, hint;
    for (int i = 0; i < 10; ++i)
        seq += smile; // 20 units, cut to 9 faces and a blank
    for (int i = 0; i < 200; ++i)
        hint += "\xC3\xA9";
    const std::string line = "[Buttons]\r\nrire=" + seq + " " + hint + "\r\n";
    Save(Buttons(mark + line));
    EXPECT_EQ(support::ReadFile(path), mark + "[Buttons]\r\nrire=" + seq.substr(0, 36) + " " +
                                           hint.substr(0, 2 * MAXHINTLENGTH) + "\r\n");
    EXPECT_EQ(EntrySequence(Buttons(line).at(0)), seq.substr(0, 19));
}

// One damaged file with only LF, only CR and in UTF-16: 20,000 buttons, lines of 100,000
// characters, NUL bytes and garbage. Every button read is saved back in the file's own form and
// reads back the same; the rest of the file stays.
TEST_F(SettingsFile, DamagedFilesKeepEveryButtonReadAndEverythingElse) {
    const std::string longLine(100000, 'x');
    const std::string lf = "[Other]\nkept=" + longLine + "\n; note\n[Buttons]\n" +
                           support::DamagedButtons() + "[Tail]\nz=1\n";
    std::string cr = lf, utf16 = "\xFF\xFE";
    std::replace(cr.begin(), cr.end(), '\n', '\r');
    for (char c : lf)
        utf16 += c, utf16 += '\0';
    for (const std::string& text : {lf, cr, utf16}) {
        SCOPED_TRACE(text == lf ? "LF" : text == cr ? "CR" : "UTF-16");
        const TButtonList read = Buttons(text);
        ASSERT_GE(read.size(), 20005u);
        Save(read);
        EXPECT_TRUE(Buttons() == read);
        const IniDocument d = IniDocument::Parse(support::ReadFile(path));
        EXPECT_EQ(d.Get("Other", "kept"), longLine);
        EXPECT_EQ(d.Get("Tail", "z"), "1");
        // The file's own form: the sequence filled to 19 characters.
        EXPECT_EQ(d.Get("Buttons", "b19999"), "s19999" + std::string(13, ' ') + "Hint");
    }
}

} // namespace
