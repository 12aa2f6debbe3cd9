// Settings files in UTF-8 and in the ANSI code page through the real program: what it writes it
// reads and writes again unchanged, and a face outside the code page reaches Wine's notepad whole.
#include "support/Support.h"

#include <gtest/gtest.h>

using namespace support;

namespace {

const std::string kMark = "\xEF\xBB\xBF";
const std::string kGrin = "\xF0\x9F\x98\x80"; // U+1F600, two UTF-16 units

// Faces with hints in the ANSI code page, for a file without the mark. The pictures' names differ
// from the shipped ones: the tests' folder "faces" is the shipped "Faces", as case is ignored.
Settings AnsiFaces() {
    Settings s;
    s.faces = {{"ansi0", ":-)", "Caf\xE9"}, {"ansi1", "\xFC", "\xFC\xFC"}};
    return s;
}

// A face of an emoji with an accented hint and a plain one, in a file with the UTF-8 mark.
Settings Utf8Faces() {
    Settings s;
    s.faces = {{"uni0", kGrin, "Caf\xC3\xA9 \xC3\xA0 la cr\xC3\xA8me"},
               {"uni1", ":-)", "Sm\xC3\xAFle"}};
    return s;
}

TEST(Unicode, AFileTheProgramWroteIsWrittenAgainByteForByte) {
    const struct {
        const char* name;
        Settings settings;
        std::string mark;
    } cases[] = {
        {"UTF-8", Utf8Faces(), kMark},
        {"ANSI", AnsiFaces(), ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Moodpad pad;
        ASSERT_TRUE(pad.Prepare(&c.settings) && WriteFile(pad.Ini(), c.mark + c.settings.Text()));
        ASSERT_TRUE(pad.Launch() && pad.WaitReady());
        Faces faces(pad.Palette());
        ASSERT_EQ(faces.Count(), 2);
        if (!c.mark.empty()) {
            EXPECT_EQ(faces.Name(1), L"\U0001F600");
            EXPECT_EQ(faces.Hint(1), L"Caf\u00e9 \u00e0 la cr\u00e8me");
            MoveMouse(Centre(faces.Location(1)));
            EXPECT_TRUE(WaitFor([&] { return Text(pad.Control(mcSequence)) == L"\U0001F600"; }))
                << Narrow(Text(pad.Control(mcSequence)));
        }
        ASSERT_TRUE(pad.Close());
        const std::string first = ReadFile(pad.Ini());
        EXPECT_EQ(first.rfind(c.mark + "[AutoInsert]", 0), 0u);
        EXPECT_NE(first.find(c.settings.faces[1].hint + "\r\n"), std::string::npos) << first;
        ASSERT_TRUE(pad.Launch() && pad.WaitReady() && pad.Close());
        EXPECT_EQ(ReadFile(pad.Ini()), first);
    }
}

// By paste (the clipboard's Unicode text) and by posted characters (the two surrogate halves).
TEST(Unicode, AnEmojiFaceReachesNotepadWhole) {
    for (bool paste : {true, false}) {
        SCOPED_TRACE(paste ? "paste" : "characters");
        Settings s = Utf8Faces();
        s.useClipboard = paste;
        Moodpad pad;
        ASSERT_TRUE(pad.Prepare(&s) && WriteFile(pad.Ini(), kMark + s.Text()));
        ASSERT_TRUE(pad.Launch() && pad.WaitReady());
        Process notepad;
        HWND top = nullptr, edit = nullptr;
        ASSERT_TRUE(notepad.Start(L"C:\\windows\\notepad.exe") && WaitFor([&] {
                        return (top = TopWindow(notepad.pid, L"Notepad")) &&
                               (edit = FindWindowExW(top, nullptr, L"Edit", nullptr));
                    }));
        MoveWindow(top, 20, 20, 400, 240, TRUE); // beside the palette, as in the insertion tests
        ASSERT_TRUE(BringToFront(top) && WaitFor([&] { return FocusOf(top) == edit; }));
        Chord({VK_MENU, 'E'});
        ASSERT_TRUE(WaitFor([&] { return GetForegroundWindow() == pad.main; }));
        Faces(pad.Palette()).Click(1);
        EXPECT_TRUE(WaitFor([&] { return Text(edit) == L" \U0001F600 "; }))
            << "notepad holds '" << Narrow(Text(edit)) << "' (" << Text(edit).size() << " units)";
        notepad.Kill();
        ASSERT_TRUE(pad.Close());
    }
}

} // namespace
