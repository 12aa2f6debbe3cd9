// Settings files in UTF-8 and in the ANSI code page through the real program: what it writes it
// reads and writes again unchanged, and an emoji face reaches Wine's notepad and a keyboard-only
// target whole.
#include "support/Support.h"

#include <gtest/gtest.h>

using namespace support;

namespace {

// UTF-8 into a keyboard-only target by typed Ctrl+V (the clipboard's Unicode text) and by typed
// characters, into Wine's notepad by posted characters (the two surrogate halves of U+1F600); and
// ANSI. The pictures' names differ from the shipped ones: the tests' folder "faces"
// is the shipped "Faces" where case is ignored.
TEST(Unicode, AFileTheProgramWroteComesBackByteForByteAndAnEmojiArrivesWhole) {
    const struct {
        bool utf8, useClipboard, notepad;
    } runs[] = {
        {true, true, false}, {true, false, true}, {true, false, false}, {false, true, false}};
    for (const auto& run : runs) {
        SCOPED_TRACE(testing::Message() << run.utf8 << run.useClipboard << run.notepad);
        const Settings s{.useClipboard = run.useClipboard,
                         .faces = {{"uni0", run.utf8 ? "\xF0\x9F\x98\x80" : "\xFC",
                                    run.utf8 ? "Caf\xC3\xA9" : "Caf\xE9"}}};
        const std::string mark = run.utf8 ? "\xEF\xBB\xBF" : "";
        Moodpad pad;
        ASSERT_TRUE(pad.Prepare(&s) && WriteFile(pad.Ini(), mark + s.Text()));
        ASSERT_TRUE(pad.Launch() && pad.WaitReady());
        if (run.utf8) {
            Faces faces(pad.Palette());
            EXPECT_EQ(faces.Name(1) + L" " + faces.Hint(1), L"\U0001F600 Caf\u00e9");
            // Put away, as a user works: the hot key brings it back.
            ASSERT_TRUE(pad.Minimise());
            Target target;
            ASSERT_TRUE(run.notepad ? target.StartNotepad(L"C:\\windows\\notepad.exe")
                                    : target.Start(true) && target.Activate());
            const HWND edit = target.edit;
            ASSERT_TRUE(pad.HotKey());
            faces.Click(1);
            EXPECT_TRUE(WaitFor([&] { return Text(edit) == L" \U0001F600 "; }))
                << Narrow(Text(edit)) << " (" << Text(edit).size() << " units); target's log:\n"
                << ReadFile(target.dir / L"target.log");
            EXPECT_EQ(Text(pad.Control(mcSequence)), L"\U0001F600");
        }
        ASSERT_TRUE(pad.Close());
        const std::string first = ReadFile(pad.Ini());
        EXPECT_EQ(first.rfind(mark + "[AutoInsert]", 0), 0u);
        EXPECT_NE(first.find(s.faces[0].hint + "\r\n"), std::string::npos) << first;
        ASSERT_TRUE(pad.Launch() && pad.WaitReady() && pad.Close());
        EXPECT_EQ(ReadFile(pad.Ini()), first);
    }
}

} // namespace
