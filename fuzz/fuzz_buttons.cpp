// Arbitrary bytes as the settings file: every button read survives a save and a new read, in the
// same order, and the options read back as they were written.
#include "settings/Ini.h"
#include "settings/TextLength.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <unistd.h>

namespace {

void Check(bool ok) {
    if (!ok)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const std::string path = "/tmp/fuzz_buttons_" + std::to_string(::getpid()) + ".INI";
    std::ofstream(path, std::ios::binary | std::ios::trunc)
        .write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));

    TEmoticonsOptions options;
    TButtonList first;
    bool utf8 = false;
    {
        auto file = TEmoticonsIniFile::FromIniPath(path);
        file.GetOptions(options);
        file.GetButtons(first);
        utf8 = file.UnicodeText();
        for (const std::string& e : first) {
            const size_t blank = TextPrefix(e, 198, utf8);
            Check(blank < e.size() && e[blank] == ' ' && TextLength(e, utf8) >= 200);
        }
        file.SetOptions(options);
        file.SetButtons(first);
        file.Save();
    }
    TEmoticonsOptions options2;
    TButtonList second;
    {
        auto file = TEmoticonsIniFile::FromIniPath(path);
        file.GetOptions(options2);
        file.GetButtons(second);
        file.SetButtons(second);
        file.Save();
    }
    Check(second.size() == first.size());
    for (size_t i = 0; i < first.size(); ++i)
        Check(EntryPicture(second[i], utf8) == EntryPicture(first[i], utf8));
    Check(options2.sPicturePath == options.sPicturePath && options2.sExePath == options.sExePath);
    Check(std::memcmp(&options2.HotKey, &options.HotKey, sizeof options.HotKey) == 0);
    Check(options2.Style == options.Style && options2.Rect.Left == options.Rect.Left &&
          options2.Rect.Bottom == options.Rect.Bottom);

    // A file without the UTF-16 mark is stable after the first save.
    const bool utf16 = size >= 2 && data[0] == 0xFF && data[1] == 0xFE;
    if (!utf16) {
        TButtonList third;
        TEmoticonsIniFile::FromIniPath(path).GetButtons(third);
        Check(third == second);
    }
    return 0;
}
