#include "dialogs/DirPath.h"

#include <algorithm>
#include <cctype>

namespace dirpath {

namespace {

char Upper(char c) {
    return char(std::toupper(static_cast<unsigned char>(c)));
}

// The root of a path that uses '\' only: "C:\" for a drive, "\\server\share" for a share, "\"
// for a path from the current drive's root, "" for a relative path. `rest` is what follows.
std::string SplitRoot(std::string_view p, std::string_view& rest) {
    if (p.size() >= 2 && p[1] == ':' && std::isalpha(static_cast<unsigned char>(p[0]))) {
        rest = p.substr(2);
        return std::string{Upper(p[0]), ':', '\\'};
    }
    if (p.starts_with("\\\\")) {
        // The root is the server and the share: the first two names after the separators.
        std::string root = "\\\\";
        std::size_t i = 2;
        for (int part = 0; part < 2; ++part) {
            i = std::min(p.find_first_not_of('\\', i), p.size());
            const std::size_t end = std::min(p.find('\\', i), p.size());
            if (end > i)
                root += (part ? "\\" : "") + std::string(p.substr(i, end - i));
            i = end;
        }
        rest = p.substr(i);
        return root;
    }
    rest = p;
    return p.starts_with('\\') ? "\\" : "";
}

std::vector<std::string> Names(std::string_view rest) {
    std::vector<std::string> names;
    std::size_t i = 0;
    while (i < rest.size()) {
        const std::size_t end = std::min(rest.find('\\', i), rest.size());
        const std::string_view name = rest.substr(i, end - i);
        if (name == "..") {
            if (!names.empty())
                names.pop_back();
        } else if (!name.empty() && name != ".") {
            names.emplace_back(name);
        }
        i = end + 1;
    }
    return names;
}

std::string Join(const std::string& root, const std::vector<std::string>& names, std::size_t n) {
    std::string out = root;
    for (std::size_t i = 0; i < n; ++i) {
        if (!out.empty() && out.back() != '\\')
            out += '\\';
        out += names[i];
    }
    return out;
}

bool LessNoCase(const std::string& a, const std::string& b) {
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(),
                                        [](char x, char y) { return Upper(x) < Upper(y); });
}

} // namespace

std::string Normalize(std::string_view path) {
    std::string p(path);
    std::replace(p.begin(), p.end(), '/', '\\');
    std::string_view rest;
    const std::string root = SplitRoot(p, rest);
    const std::vector<std::string> names = Names(rest);
    return Join(root, names, names.size());
}

char DriveOf(std::string_view path) {
    if (path.size() >= 2 && path[1] == ':' && std::isalpha(static_cast<unsigned char>(path[0])))
        return Upper(path[0]);
    return 0;
}

std::vector<TFolderItem> FolderItems(std::string_view dir, std::vector<std::string> subfolders) {
    const std::string p = Normalize(dir);
    std::string_view rest;
    const std::string root = SplitRoot(p, rest);
    const std::vector<std::string> names = Names(rest);
    std::vector<TFolderItem> items;
    if (!root.empty())
        items.push_back({root, 0, true});
    for (const std::string& n : names)
        items.push_back({n, int(items.size()), true});
    const int level = int(items.size());
    std::sort(subfolders.begin(), subfolders.end(), LessNoCase);
    for (std::string& s : subfolders)
        items.push_back({std::move(s), level, false});
    return items;
}

std::size_t CurrentIndex(const std::vector<TFolderItem>& items) {
    std::size_t open = 0;
    while (open < items.size() && items[open].open)
        ++open;
    return open ? open - 1 : 0;
}

std::string EnterItem(std::string_view dir, const std::vector<TFolderItem>& items,
                      std::size_t index) {
    const std::string p = Normalize(dir);
    if (index >= items.size())
        return p;
    std::string_view rest;
    const std::string root = SplitRoot(p, rest);
    std::vector<std::string> names = Names(rest);
    const std::size_t offset = root.empty() ? 0 : 1;
    if (items[index].open)
        return index < offset ? root : Join(root, names, index - offset + 1);
    names.push_back(items[index].name);
    return Join(root, names, names.size());
}

} // namespace dirpath
