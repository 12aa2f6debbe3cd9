#include "app/Splash_win.h"

#include "app/resource.h"
#include "ui/Controls_win.h"
#include "ui/Window_win.h"

#include <algorithm>

namespace {

constexpr wchar_t SplashClass[] = L"TSplashForm";
// At 96 dpi; scaled by dpi/96, and the picture enlarged by the dpi's whole factor.
constexpr int ClientWidth = 402;
constexpr int ClientHeight = 156;
constexpr RECT PanelRect{1, 1, 401, 155};
constexpr RECT ImageRect{2, 2, 398, 152};

RECT Scaled(RECT r, int dpi) {
    return {ui::ScaleDpi(r.left, dpi), ui::ScaleDpi(r.top, dpi), ui::ScaleDpi(r.right, dpi),
            ui::ScaleDpi(r.bottom, dpi)};
}

} // namespace

TSplashForm::TSplashForm() = default;
TSplashForm::~TSplashForm() {
    if (Handle())
        ShowWindow(Handle(), SW_HIDE);
}

void TSplashForm::Show() {
    RegisterWindowClass(SplashClass, 0, GetSysColorBrush(COLOR_BTNFACE));
    HINSTANCE inst = GetModuleHandleW(nullptr);
    // Until the program carries its title picture the splash shows the name in plain letters.
    if (FindResourceW(inst, MAKEINTRESOURCEW(IDB_SPLASH), reinterpret_cast<LPCWSTR>(RT_BITMAP)))
        picture.Reset(static_cast<HBITMAP>(
            LoadImageW(inst, MAKEINTRESOURCEW(IDB_SPLASH), IMAGE_BITMAP, 0, 0, LR_DEFAULTCOLOR)));
    // The splash opens before the main window, on the primary screen.
    dpi = ui::ScreenDpi();
    if (picture && ui::PictureFactor(dpi) > 1)
        if (HBITMAP big = ui::EnlargeBitmap(picture.Get(), ui::PictureFactor(dpi)))
            picture.Reset(big);
    const int w = ui::ScaleDpi(ClientWidth, dpi), h = ui::ScaleDpi(ClientHeight, dpi);
    const int x = (GetSystemMetrics(SM_CXSCREEN) - w) / 2;
    const int y = (GetSystemMetrics(SM_CYSCREEN) - h) / 2;
    // A tool window so the splash gets no taskbar button of its own.
    CreateHandle(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, SplashClass, L"", WS_POPUP, x, y, w, h);
    ShowWindow(Handle(), SW_SHOWNORMAL);
    UpdateWindow(Handle());
    ui::SetWindowZOrder(Handle(), HWND_TOPMOST);
}

void TSplashForm::FormPaint() {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(Handle(), &ps);
    RECT panel = Scaled(PanelRect, dpi);
    DrawEdge(dc, &panel, BDR_SUNKENINNER, BF_RECT);
    const RECT image = Scaled(ImageRect, dpi);
    if (picture) {
        BITMAP bm{};
        GetObjectW(picture.Get(), sizeof bm, &bm);
        ui::TUniqueMemDC mem(CreateCompatibleDC(dc));
        ui::TSelectObject sel(mem.Get(), picture.Get());
        // Centred in the image area and cut to it.
        const int w = image.right - image.left;
        const int h = image.bottom - image.top;
        const int srcX = bm.bmWidth > w ? (bm.bmWidth - w) / 2 : 0;
        const int srcY = bm.bmHeight > h ? (bm.bmHeight - h) / 2 : 0;
        const int dstX = image.left + (bm.bmWidth < w ? (w - bm.bmWidth) / 2 : 0);
        const int dstY = image.top + (bm.bmHeight < h ? (h - bm.bmHeight) / 2 : 0);
        BitBlt(dc, dstX, dstY, std::min<int>(w, bm.bmWidth), std::min<int>(h, bm.bmHeight),
               mem.Get(), srcX, srcY, SRCCOPY);
    } else {
        ui::TUniqueFont font(CreateFontW(-ui::ScaleDpi(48, dpi), 0, 0, 0, FW_BOLD, FALSE, FALSE,
                                         FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                                         CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                                         DEFAULT_PITCH | FF_SWISS, L"Arial"));
        ui::TSelectObject sel(dc, font.Get());
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
        RECT r = image;
        DrawTextW(dc, L"Moodpad", -1, &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    }
    EndPaint(Handle(), &ps);
}

LRESULT TSplashForm::WndProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_PAINT:
        FormPaint();
        return 0;
    case WM_NCHITTEST:
        return HTCLIENT;
    default:
        return Default(msg, wParam, lParam);
    }
}
