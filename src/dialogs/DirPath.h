#pragma once
// The path logic of the directory list: a directory shown as an indented list of folders (the
// open folders from the root down to the current one, then the current folder's subfolders one
// level deeper), the path that choosing an item of that list enters, and the normal form of a
// path. Paths use '\' and begin with a drive ("C:\") or a share ("\\server\share").
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace dirpath {

struct TFolderItem {
    std::string name;  // the root as "C:\", every other folder by its own name
    int level = 0;     // indentation: 0 for the root
    bool open = false; // on the path from the root to the current folder (which is the last one)
    bool operator==(const TFolderItem&) const = default;
};

// '/' as '\', repeated separators as one, "." dropped, ".." climbs (never above the root), no
// trailing separator except after the root, an upper-case drive letter.
std::string Normalize(std::string_view path);

// The upper-case drive letter of a path that starts with "X:", else 0 (a path without a drive
// letter names no drive).
char DriveOf(std::string_view path);

// The list for the directory `dir` (normalised here) with the subfolder names of its current
// folder, sorted without regard to case.
std::vector<TFolderItem> FolderItems(std::string_view dir, std::vector<std::string> subfolders);

// The index of the current folder in a list from FolderItems.
std::size_t CurrentIndex(const std::vector<TFolderItem>& items);

// The directory that choosing items[index] enters; `dir` as it is when index is out of range.
std::string EnterItem(std::string_view dir, const std::vector<TFolderItem>& items,
                      std::size_t index);

} // namespace dirpath
