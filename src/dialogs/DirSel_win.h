#pragma once
// The directory selection dialog: a name field, the directory list and the drive box.
//
//   std::string dir = "C:\\Faces";
//   if (SelectDir(dir, sdNone, owner)) ... // dir holds the chosen directory
#include <cstdint>
#include <string>
#include <windows.h>

// The options of one run, as bits of one byte.
enum TSelectDirOpt : std::uint8_t {
    sdAllowCreate = 1,   // the name field is editable and may name a directory that does not exist
    sdPerformCreate = 2, // create such a directory when the user agrees
    sdPrompt = 4,        // ask whether to create such a directory
};
using TSelectDirOpts = std::uint8_t;
constexpr TSelectDirOpts sdNone = 0;

// Shows the dialog owned by `owner`, starting at `dir`. True when the user closed it with OK; `dir`
// then holds the chosen directory, otherwise it is unchanged. The process's current directory and
// error mode are as before when it returns.
bool SelectDir(std::string& dir, TSelectDirOpts options, HWND owner = nullptr);
