// The button order dialog as a user drives it: opened with the key O, rows selected with the mouse
// and Shift+Down, moved with Alt+Down, closed with Enter or Esc.
#include "dialogs/OrderDlg_win.h"
#include "settings/IniEngine.h"
#include "support/Support.h"

#include <gtest/gtest.h>

using namespace support;

namespace {

void ClickRow(HWND list, int row) {
    const int h = int(SendMessageW(list, LB_GETITEMHEIGHT, 0, 0));
    POINT p{20, h * row + h / 2};
    ClientToScreen(list, &p);
    Click(p);
}

std::vector<int> SelectedRows(HWND list) {
    std::vector<int> rows;
    for (int i = 0, n = int(SendMessageW(list, LB_GETCOUNT, 0, 0)); i < n; ++i)
        if (SendMessageW(list, LB_GETSEL, WPARAM(i), 0) > 0)
            rows.push_back(i);
    return rows;
}

TEST(OrderDialog, MovedRowsReorderThePaletteAtOnceAndReachTheFileAtTheClose) {
    const Settings s{.faces = NumberedFaces(5)};
    Moodpad pad;
    ASSERT_TRUE(pad.Start(s) && pad.WaitReady() && BringToFront(pad.main));
    Faces faces(pad.Palette());
    const auto names = [&] {
        std::wstring all;
        for (long k = 1; k <= faces.Count(); ++k)
            all += faces.Name(k) + L" ";
        return all;
    };
    const std::wstring before = L":-) s1 s2 s3 s4 ";
    ASSERT_EQ(names(), before);

    // Esc after a move: the palette keeps its order.
    HWND dlg = pad.OpenDialog('O', OrderDialogCaption), list = GetDlgItem(dlg, ORDERLISTID);
    ASSERT_TRUE(dlg && list);
    ClickRow(list, 0);
    Chord({VK_MENU, VK_DOWN});
    EXPECT_TRUE(WaitFor([&] { return SelectedRows(list) == std::vector{1}; }));
    Chord({VK_ESCAPE});
    ASSERT_TRUE(WaitFor([&] { return !IsWindow(dlg); }));
    EXPECT_EQ(names(), before);

    // Rows 1 and 2 one place down, then Enter: the new order at once.
    dlg = pad.OpenDialog('O', OrderDialogCaption), list = GetDlgItem(dlg, ORDERLISTID);
    ASSERT_TRUE(dlg && list);
    ClickRow(list, 1);
    Chord({VK_SHIFT, VK_DOWN});
    ASSERT_TRUE(WaitFor([&] { return SelectedRows(list) == std::vector{1, 2}; }));
    Chord({VK_MENU, VK_DOWN});
    EXPECT_TRUE(WaitFor([&] { return SelectedRows(list) == std::vector{2, 3}; }));
    Chord({VK_RETURN});
    ASSERT_TRUE(WaitFor([&] { return !IsWindow(dlg); }));
    EXPECT_TRUE(WaitFor([&] { return names() == L":-) s3 s1 s2 s4 "; })) << Narrow(names());

    ASSERT_TRUE(pad.Close());
    EXPECT_EQ(IniDocument::Parse(ReadFile(pad.Ini())).Keys("Buttons"),
              (std::vector<std::string>{"b0", "b3", "b1", "b2", "b4"}));
}

} // namespace
