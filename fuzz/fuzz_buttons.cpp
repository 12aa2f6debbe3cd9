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

    // Reads the file and saves what it read: twice.
    bool utf8 = false;
    const auto Round = [&](TEmoticonsOptions& options, TButtonList& buttons) {
        auto file = TEmoticonsIniFile::FromIniPath(path);
        file.GetOptions(options);
        file.GetButtons(buttons);
        utf8 = file.UnicodeText();
        file.SetOptions(options);
        file.SetButtons(buttons);
        file.Save();
    };
    TEmoticonsOptions options, options2;
    TButtonList first, second;
    Round(options, first);
    for (const std::string& e : first) {
        const size_t blank = TextPrefix(e, 198, utf8);
        Check(blank < e.size() && e[blank] == ' ' && TextLength(e, utf8) >= 200);
    }
    Round(options2, second);
    Check(second.size() == first.size());
    for (size_t i = 0; i < first.size(); ++i)
        Check(EntryPicture(second[i], utf8) == EntryPicture(first[i], utf8));
    Check(options2.sPicturePath == options.sPicturePath && options2.sExePath == options.sExePath);
    Check(std::memcmp(&options2.HotKey, &options.HotKey, sizeof options.HotKey) == 0);
    Check(options2.Style == options.Style && options2.Rect.Left == options.Rect.Left &&
          options2.Rect.Bottom == options.Rect.Bottom);

    // A file without the UTF-16 mark is stable after the first save.
    if (size < 2 || data[0] != 0xFF || data[1] != 0xFE) {
        TButtonList third;
        TEmoticonsIniFile::FromIniPath(path).GetButtons(third);
        Check(third == second);
    }
    return 0;
}
