#pragma once
// The program's directory and the conversion of the button-face directory between its stored form
// (relative to the program's directory where possible) and the form that is shown and used.
#include <string>

// Drive and directories of the running program, up to and including the last '\' (or ':'); the
// letter case is kept as the platform reported it. Set once at start-up.
extern std::string AbsolutePath;

// Records the directory part of the program's full path in AbsolutePath.
void SetAbsolutePath(const std::string& exeFullPath);

// The path to use: sS itself when it already holds AbsolutePath, a ':' or starts with '\';
// otherwise AbsolutePath followed by sS. Comparisons are exact (case matters).
std::string AddAbsolutePath(const std::string& sS);

// The path to store: sS without a leading AbsolutePath (exact comparison), or sS unchanged.
std::string RemoveAbsolutePath(const std::string& sS);

// The button-face directory as the main window keeps it after the options dialog: the letters a to
// z upper-cased (nothing else), then RemoveAbsolutePath. The same directory typed in another case
// thus gives the same string, and a different string means a new directory.
std::string NormalisePicturePath(const std::string& path);
