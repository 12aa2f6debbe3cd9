// Arbitrary bytes as an INI file: parsing keeps every byte, and a write changes only the value it
// is meant to change.
#include "settings/IniEngine.h"

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstdlib>
#include <map>
#include <string>

namespace {

bool SameName(const std::string& a, const std::string& b) {
    return std::ranges::equal(
        a, b, [](unsigned char x, unsigned char y) { return std::tolower(x) == std::tolower(y); });
}

void Check(bool ok) {
    if (!ok)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    IniDocument doc = IniDocument::Parse(bytes);
    Check(doc.Serialize() == bytes);

    // Every value that can be read now, by its section and key.
    std::map<std::pair<std::string, std::string>, std::optional<std::string>> before;
    const std::vector<std::string> sections = doc.Sections();
    for (size_t i = 0; i < sections.size() && i < 16; ++i)
        for (const std::string& key : doc.Keys(sections[i])) {
            before.emplace(std::make_pair(sections[i], key), doc.Get(sections[i], key));
            (void)doc.GetString(sections[i], key, " d ");
        }

    // A write into the first section (or a new one) changes nothing else.
    const std::string target = sections.empty() ? std::string("new") : sections.front();
    const std::string key = "fuzz key";
    const std::string value = "'value'' ; x";
    Check(doc.Set(target, key, value));
    const IniDocument again = IniDocument::Parse(doc.Serialize());
    Check(again.Get(target, key) == std::optional<std::string>(value));
    for (const auto& [where, v] : before)
        if (!(SameName(where.first, target) && SameName(where.second, key)))
            Check(again.Get(where.first, where.second) == v);
    Check(again.Sections().size() == sections.size() + (sections.empty() ? 1 : 0));

    // Deleting a section removes exactly one header.
    if (!sections.empty()) {
        IniDocument d = IniDocument::Parse(bytes);
        Check(d.DeleteSection(sections.back()));
        Check(IniDocument::Parse(d.Serialize()).Sections().size() == sections.size() - 1);
    }
    return 0;
}
