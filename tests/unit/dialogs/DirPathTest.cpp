#include "dialogs/DirPath.h"

#include <gtest/gtest.h>

using namespace dirpath;

TEST(DirPath, NormalizesSeparatorsDotsAndRoots) {
    const std::pair<const char*, const char*> cases[] = {
        {"c:/Tools//Faces\\", "C:\\Tools\\Faces"},
        {"C:\\", "C:\\"},
        {"c:", "C:\\"},
        {"C:\\a\\.\\b\\..\\..\\..\\c", "C:\\c"}, // ".." stops at the root
        {"\\\\srv\\share\\\\x\\", "\\\\srv\\share\\x"},
        {"\\\\srv\\share\\..", "\\\\srv\\share"},
        {"rel\\x\\..", "rel"},
        {"", ""},
    };
    for (const auto& [in, out] : cases)
        EXPECT_EQ(Normalize(in), out) << in;
    EXPECT_EQ(DriveOf("d:\\x"), 'D');
    EXPECT_EQ(DriveOf("\\x"), 0);
    EXPECT_EQ(DriveOf("1:\\x"), 0);
}

// The open folders from the root down, then the subfolders sorted without case one level deeper;
// every item enters the path it stands for.
TEST(DirPath, ListsTheOpenFoldersAndTheSubfoldersAndEntersEachItem) {
    const auto items = FolderItems("c:\\Tools\\Faces\\", {"zeta", "Beta", "alpha"});
    const std::vector<TFolderItem> expected = {{"C:\\", 0, true},  {"Tools", 1, true},
                                               {"Faces", 2, true}, {"alpha", 3, false},
                                               {"Beta", 3, false}, {"zeta", 3, false}};
    EXPECT_EQ(items, expected);
    EXPECT_EQ(CurrentIndex(items), 2u);
    std::string entered; // the last item is past the end: where it is
    for (std::size_t i = 0; i <= items.size(); ++i)
        entered += EnterItem("c:\\Tools\\Faces\\", items, i) + "|";
    EXPECT_EQ(entered,
              "C:\\|C:\\Tools|C:\\Tools\\Faces|C:\\Tools\\Faces\\alpha|C:\\Tools\\Faces\\Beta|"
              "C:\\Tools\\Faces\\zeta|C:\\Tools\\Faces|");

    const auto root = FolderItems("D:\\", {"x"});
    EXPECT_EQ(root, (std::vector<TFolderItem>{{"D:\\", 0, true}, {"x", 1, false}}));
    EXPECT_EQ(EnterItem("D:\\", root, 1), "D:\\x");
    const auto share = FolderItems("\\\\srv\\share\\a", {});
    EXPECT_EQ(share.front().name, "\\\\srv\\share");
    EXPECT_EQ(EnterItem("\\\\srv\\share\\a", share, 0), "\\\\srv\\share");
}
