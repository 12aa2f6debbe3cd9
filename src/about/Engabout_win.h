#pragma once
// The about window: the product line, the rights notice, where to learn more and where to get
// help, beside the logo; its Credits button opens the credits window. Every text has a default in
// the window; each showing reads the "ProductInfo" section of the about-data file and puts every
// non-empty value over its default. The program itself never writes that section.
#include <string>
#include <windows.h>

// Control ids, for those who drive the window from outside.
constexpr int ABOUTPRODUCTID = 401;
constexpr int ABOUTCREDITSID = 419;

// Shows the about window modally over the program's main window. An empty fileName reads the
// program's own settings file.
void ShowAboutBox(const std::string& fileName);
// The same over `owner`.
void _ShowAboutBox(HWND owner, const std::string& fileName);

// A text of the about-data file, whose bytes are in codePage, as the window shows it.
std::wstring AboutText(const std::string& fileText, UINT codePage = CP_ACP);
