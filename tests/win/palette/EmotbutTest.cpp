#include "palette/Emotbut_win.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>
#include <windows.h>

namespace {

// A bottom-up BMP of w x h pixels with a palette of 2^bpp colours (bpp 4 or 8).
void WriteBmp(const std::string& file, int bpp, int w, int h) {
    const int colours = 1 << bpp;
    const int stride = ((w * bpp + 31) / 32) * 4;
    const int offBits = 14 + 40 + 4 * colours;
    const int size = offBits + stride * h;
    std::vector<unsigned char> b(static_cast<std::size_t>(size), 0);
    auto put16 = [&](int at, int v) {
        b[at] = static_cast<unsigned char>(v);
        b[at + 1] = static_cast<unsigned char>(v >> 8);
    };
    auto put32 = [&](int at, int v) {
        put16(at, v & 0xFFFF);
        put16(at + 2, (v >> 16) & 0xFFFF);
    };
    b[0] = 'B';
    b[1] = 'M';
    put32(2, size);
    put32(10, offBits);
    put32(14, 40);
    put32(18, w);
    put32(22, h);
    put16(26, 1);
    put16(28, bpp);
    put32(34, stride * h);
    put32(46, colours);
    for (int i = 0; i < colours; ++i)
        put32(54 + 4 * i, (i * 0x10203) & 0xFFFFFF);
    for (int i = offBits; i < size; ++i)
        b[i] = static_cast<unsigned char>(i * 7);
    std::ofstream(file, std::ios::binary)
        .write(reinterpret_cast<const char*>(b.data()), static_cast<std::streamsize>(b.size()));
}

int Clicks = 0;
LRESULT CALLBACK ParentProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_COMMAND && HIWORD(wParam) == BN_CLICKED && TEmotButton::FromHandle(HWND(lParam)))
        ++Clicks;
    return DefWindowProcW(wnd, msg, wParam, lParam);
}

class EmotButtonTest : public ::testing::Test {
  protected:
    void SetUp() override {
        char temp[MAX_PATH];
        GetTempPathA(MAX_PATH, temp);
        dir = std::string(temp) + "moodpad-faces-" + std::to_string(GetCurrentProcessId());
        CreateDirectoryA(dir.c_str(), nullptr);
        WNDCLASSW wc{};
        wc.lpfnWndProc = ParentProc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = L"EmotButtonTestParent";
        RegisterClassW(&wc);
        parent = CreateWindowExW(0, L"EmotButtonTestParent", L"palette", WS_OVERLAPPEDWINDOW, 0, 0,
                                 300, 200, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
        ASSERT_NE(parent, nullptr);
    }
    void TearDown() override {
        DestroyWindow(parent);
        for (const char* name : {"face16", "face256", "garbage"})
            DeleteFileA((dir + "\\" + name + ".bmp").c_str());
        RemoveDirectoryA(dir.c_str());
    }
    std::string dir;
    HWND parent = nullptr;
};

} // namespace

TEST_F(EmotButtonTest, LoadsSixteenAndTwoHundredFiftySixColourFaces) {
    WriteBmp(dir + "\\face16.bmp", 4, 32, 32);
    WriteBmp(dir + "\\face256.bmp", 8, 30, 30);
    for (const char* name : {"face16", "face256"}) {
        TEmotButton button(0);
        ASSERT_TRUE(button.Create(parent, name, dir));
        EXPECT_TRUE(button.FLoaded) << name;
        EXPECT_NE(SendMessageW(button.Handle(), BM_GETIMAGE, IMAGE_BITMAP, 0), 0) << name;
        RECT r{};
        GetWindowRect(button.Handle(), &r);
        EXPECT_EQ(r.right - r.left, 36);
        EXPECT_EQ(r.bottom - r.top, 36);
    }
    // The same face through a trailing backslash and through the shared cache.
    TFaceCache faces;
    TEmotButton a(0), b(1);
    ASSERT_TRUE(a.Create(parent, "face16", dir + "\\", 0, 0, &faces));
    ASSERT_TRUE(b.Create(parent, "face16", dir, 37, 0, &faces));
    EXPECT_TRUE(a.FLoaded && b.FLoaded);
    EXPECT_EQ(SendMessageW(a.Handle(), BM_GETIMAGE, IMAGE_BITMAP, 0),
              SendMessageW(b.Handle(), BM_GETIMAGE, IMAGE_BITMAP, 0));
}

TEST_F(EmotButtonTest, MissingOrGarbageFaceGivesWorkingBlankButton) {
    std::ofstream(dir + "\\garbage.bmp", std::ios::binary) << "BM this is not a bitmap at all";
    for (const char* name : {"missing", "garbage"}) {
        TEmotButton button(0);
        ASSERT_TRUE(button.Create(parent, name, dir));
        EXPECT_FALSE(button.FLoaded) << name;
        EXPECT_EQ(SendMessageW(button.Handle(), BM_GETIMAGE, IMAGE_BITMAP, 0), 0) << name;
        EXPECT_TRUE(IsWindow(button.Handle()));
    }
}

TEST_F(EmotButtonTest, TextFocusAndKeys) {
    std::vector<std::unique_ptr<TEmotButton>> buttons;
    for (int i = 0; i < 3; ++i) {
        buttons.push_back(std::make_unique<TEmotButton>(i));
        ASSERT_TRUE(buttons.back()->Create(parent, "missing", dir, 1 + 37 * i, 1));
        buttons.back()->FMean = ":-" + std::to_string(i);
        buttons.back()->SetHint("hint  with\tinner blanks", nullptr);
    }
    char text[300] = {};
    GetWindowTextA(buttons[1]->Handle(), text, sizeof text);
    EXPECT_STREQ(text, ":-1 hint  with\tinner blanks");
    EXPECT_EQ(TEmotButton::FromHandle(buttons[2]->Handle()), buttons[2].get());
    EXPECT_EQ(TEmotButton::FromHandle(parent), nullptr);

    ShowWindow(parent, SW_SHOW);
    int entered = -1;
    for (auto& b : buttons)
        b->OnEnter = [&](TEmotButton* s) { entered = s->FIndex; };
    HWND h0 = buttons[0]->Handle(), h2 = buttons[2]->Handle();
    SetFocus(h0);
    ASSERT_EQ(GetFocus(), h0);
    SendMessageW(h0, WM_KEYDOWN, VK_LEFT, 0); // wraps to the last button
    EXPECT_EQ(GetFocus(), h2);
    EXPECT_EQ(entered, 2);
    SendMessageW(h2, WM_KEYDOWN, VK_RIGHT, 0); // wraps to the first
    EXPECT_EQ(GetFocus(), h0);

    Clicks = 0;
    SendMessageW(h0, WM_KEYDOWN, VK_RETURN, 0);
    SendMessageW(h0, WM_KEYDOWN, VK_RETURN, 1 << 30); // auto-repeat chooses nothing more
    EXPECT_EQ(Clicks, 1);
    // Other keys keep their default handling: the dialog code claims only ours.
    MSG tab{h0, WM_KEYDOWN, VK_TAB, 0, 0, {0, 0}};
    EXPECT_FALSE(SendMessageW(h0, WM_GETDLGCODE, VK_TAB, LPARAM(&tab)) & DLGC_WANTMESSAGE);
    MSG up{h0, WM_KEYDOWN, VK_UP, 0, 0, {0, 0}};
    EXPECT_TRUE(SendMessageW(h0, WM_GETDLGCODE, VK_UP, LPARAM(&up)) & DLGC_WANTMESSAGE);

    buttons.clear();
    EXPECT_FALSE(IsWindow(h0));
}
