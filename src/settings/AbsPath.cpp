#include "settings/AbsPath.h"

std::string AbsolutePath;

void SetAbsolutePath(const std::string& exeFullPath) {
    const size_t cut = exeFullPath.find_last_of("\\:");
    AbsolutePath = cut == std::string::npos ? std::string() : exeFullPath.substr(0, cut + 1);
}

std::string AddAbsolutePath(const std::string& sS) {
    // An empty AbsolutePath "occurs" in every string, so sS is then always kept as it is.
    if (sS.find(AbsolutePath) != std::string::npos)
        return sS;
    if (sS.find(':') != std::string::npos)
        return sS;
    if (!sS.empty() && sS[0] == '\\')
        return sS;
    return AbsolutePath + sS;
}

std::string RemoveAbsolutePath(const std::string& sS) {
    if (!AbsolutePath.empty() && sS.compare(0, AbsolutePath.size(), AbsolutePath) == 0)
        return sS.substr(AbsolutePath.size());
    return sS;
}

std::string NormalisePicturePath(const std::string& path) {
    std::string upper = path;
    for (char& c : upper)
        if (c >= 'a' && c <= 'z')
            c = char(c - 'a' + 'A');
    return RemoveAbsolutePath(upper);
}
