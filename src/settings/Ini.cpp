#include "settings/Ini.h"

#include "settings/IniEngine.h"
#include "settings/TextLength.h"
#include "settings/Token.h"

#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <stdexcept>
#include <sys/stat.h>
#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif
#include <algorithm>
#include <unordered_map>

namespace {

const char* const WRITE_ERROR = "INI File could not be stored";
const char* const BUTTONS = "Buttons";

// The settings file is read and written with the C library's stdio: <fstream> and <filesystem>
// would link the whole of the C++ locale machinery into the program, about 900 KB.
using File = std::unique_ptr<std::FILE, int (*)(std::FILE*)>;

#ifdef _WIN32
// Declared here so that the core stays free of windows.h. File names are UTF-8 and are opened by
// their UTF-16 form, so a program folder whose name the system's code page cannot spell still
// finds its settings. The C library's rename does not replace an existing file on Windows,
// MoveFileExW does, in one step.
extern "C" __declspec(dllimport) int __stdcall MultiByteToWideChar(unsigned codePage,
                                                                   unsigned long flags,
                                                                   const char* text, int size,
                                                                   wchar_t* out, int room);
extern "C" __declspec(dllimport) int __stdcall MoveFileExW(const wchar_t* from, const wchar_t* to,
                                                           unsigned long flags);

std::wstring Wide(const std::string& utf8) {
    const unsigned cpUtf8 = 65001;
    const int n = MultiByteToWideChar(cpUtf8, 0, utf8.c_str(), -1, nullptr, 0);
    std::wstring w(static_cast<size_t>(n > 0 ? n : 1), L'\0');
    MultiByteToWideChar(cpUtf8, 0, utf8.c_str(), -1, w.data(), n);
    w.resize(w.size() - 1);
    return w;
}

File Open(const std::string& name, const char* mode) {
    return File(_wfopen(Wide(name).c_str(), Wide(mode).c_str()), &std::fclose);
}

// The file's mode bits; false when it does not exist.
bool Mode(const std::string& name, unsigned& mode) {
    struct _stat64 st;
    return _wstat64(Wide(name).c_str(), &st) == 0 && ((mode = st.st_mode), true);
}

void Remove(const std::string& name) {
    _wremove(Wide(name).c_str());
}

// Moves `from` over `to`, replacing it.
bool MoveOver(const std::string& from, const std::string& to) {
    const unsigned long replaceExisting = 0x1, writeThrough = 0x8;
    return MoveFileExW(Wide(from).c_str(), Wide(to).c_str(), replaceExisting | writeThrough) != 0;
}
#else
File Open(const std::string& name, const char* mode) {
    return File(std::fopen(name.c_str(), mode), &std::fclose);
}

bool Mode(const std::string& name, unsigned& mode) {
    struct stat st;
    return stat(name.c_str(), &st) == 0 && ((mode = st.st_mode), true);
}

void Remove(const std::string& name) {
    std::remove(name.c_str());
}

bool MoveOver(const std::string& from, const std::string& to) {
    return std::rename(from.c_str(), to.c_str()) == 0;
}
#endif

bool SyncFile(std::FILE* f) {
#ifdef _WIN32
    return _commit(_fileno(f)) == 0;
#else
    return fsync(fileno(f)) == 0;
#endif
}

// Test hook, read here only: with MOODPAD_TEST_SAVE_STOP=N in the environment a save writes the
// first N bytes of its temporary file and then ends the program on the spot, as a kill at that
// moment of the write would (N at least the file's size: all of it, before the rename). The tests
// prove with it that an interrupted save leaves the old file whole.
void StopForTest(std::FILE* out, const std::string& bytes) {
    const char* stop = std::getenv("MOODPAD_TEST_SAVE_STOP");
    if (!stop || !*stop)
        return;
    const size_t n = std::min<size_t>(std::strtoul(stop, nullptr, 10), bytes.size());
    std::fwrite(bytes.data(), 1, n, out);
    std::fflush(out);
    std::_Exit(3);
}

bool IsBlankOrTab(char c) {
    return c == ' ' || c == '\t';
}

std::string Column(const std::string& entry, size_t first, size_t count, bool utf8) {
    const size_t begin = TextPrefix(entry, first - 1, utf8);
    if (begin >= entry.size())
        return std::string();
    const std::string_view rest = std::string_view(entry).substr(begin);
    return std::string(rest.substr(0, TextPrefix(rest, count, utf8)));
}

std::string TrimRight(std::string s, bool tabsToo) {
    while (!s.empty() && (s.back() == ' ' || (tabsToo && s.back() == '\t')))
        s.pop_back();
    return s;
}

// The file's integer form: signed decimal, "$" hex, or "0x"/"0X" hex when the text is longer than
// two characters. Anything else (trailing text, no digits, out of range) is not a number.
bool ParseInteger(std::string_view s, int32_t& out) {
    bool negative = false;
    if (!s.empty() && (s.front() == '-' || s.front() == '+')) {
        negative = s.front() == '-';
        s.remove_prefix(1);
    }
    unsigned base = 10;
    if (!s.empty() && s.front() == '$') {
        base = 16;
        s.remove_prefix(1);
    } else if (s.size() > 2 && s[0] == '0' && (s[1] == 'x' || s[1] == 'X')) {
        base = 16;
        s.remove_prefix(2);
    }
    if (s.empty())
        return false;
    uint64_t n = 0;
    for (char c : s) {
        unsigned d;
        if (c >= '0' && c <= '9')
            d = static_cast<unsigned>(c - '0');
        else if (base == 16 && c >= 'a' && c <= 'f')
            d = static_cast<unsigned>(c - 'a' + 10);
        else if (base == 16 && c >= 'A' && c <= 'F')
            d = static_cast<unsigned>(c - 'A' + 10);
        else
            return false;
        n = n * base + d;
        if (n > 0xFFFFFFFFull)
            return false;
    }
    if (base == 10) {
        if (n > (negative ? 0x80000000ull : 0x7FFFFFFFull))
            return false;
        out = static_cast<int32_t>(negative ? -static_cast<int64_t>(n) : static_cast<int64_t>(n));
        return true;
    }
    // Hex spells the 32 bits of the number.
    const uint32_t bits = static_cast<uint32_t>(n);
    out = static_cast<int32_t>(negative ? 0u - bits : bits);
    return true;
}

// Values are read with one outer pair of equal quotes removed and with blanks trimmed at both
// ends. A value that would lose characters that way is written inside an extra pair of quotes,
// which the reader removes again.
std::string Protect(const std::string& value) {
    if (value.empty())
        return value;
    const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\v'; };
    const bool quoted = value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
                        value.back() == value.front();
    if (quoted || blank(value.front()) || blank(value.back()))
        return '"' + value + '"';
    return value;
}

} // namespace

const char DEFAULT_POST_CLASSES[] = "Edit,RichEdit*,Scintilla,TEdit,TMemo,TMaskEdit,TRichEdit,"
                                    "WindowsForms10.EDIT*,WindowsForms10.RichEdit*";

std::string EntrySequence(const std::string& entry, bool utf8) {
    return TrimRight(Column(entry, 1, MAXSMILELENGTH, utf8), false);
}

std::string EntryHint(const std::string& entry, bool utf8) {
    return TrimRight(Column(entry, MAXSMILELENGTH + 1, MAXHINTLENGTH, utf8), true);
}

std::string EntryPicture(const std::string& entry, bool utf8) {
    return Column(entry, MAX_SMILE_HINT_LENGTH + 2, std::string::npos, utf8);
}

std::string MakeEntry(const std::string& sequence, const std::string& hint,
                      const std::string& picture, bool utf8) {
    std::string e =
        FitText(FitText(sequence, MAXSMILELENGTH, utf8) + hint, MAX_SMILE_HINT_LENGTH, utf8);
    e += ' ';
    e += picture;
    return e;
}

struct TEmoticonsIniFile::Impl {
    IniDocument doc;
    bool loaded = false;
    bool unreadable = false;
};

TEmoticonsIniFile::TEmoticonsIniFile(const std::string& exePath)
    : fileName(IniFileNameFor(exePath)), impl(std::make_shared<Impl>()) {}

TEmoticonsIniFile TEmoticonsIniFile::FromIniPath(const std::string& iniPath) {
    TEmoticonsIniFile f("");
    f.fileName = iniPath;
    return f;
}

std::string TEmoticonsIniFile::IniFileNameFor(const std::string& exePath) {
    const size_t dir = exePath.find_last_of("\\/:");
    const size_t dot = exePath.rfind('.');
    std::string name = exePath;
    if (dot != std::string::npos && (dir == std::string::npos || dot > dir))
        name.resize(dot);
    name += ".INI";
    for (char& c : name)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return name;
}

IniDocument& TEmoticonsIniFile::Document() {
    if (!impl->loaded) {
        impl->loaded = true;
        // Reading never fails: a file that cannot be read is a file with nothing in it. One that
        // exists but cannot be read is not replaced by Save, which would lose what it holds.
        std::string bytes;
        try {
            errno = 0;
            const File in = Open(fileName, "rb");
            if (!in) {
                impl->unreadable = errno != ENOENT;
            } else {
                constexpr size_t chunk = 64 * 1024;
                size_t got = chunk;
                while (got == chunk) {
                    const size_t old = bytes.size();
                    bytes.resize(old + chunk);
                    got = std::fread(bytes.data() + old, 1, chunk, in.get());
                    bytes.resize(old + got);
                }
                if (std::ferror(in.get()))
                    throw std::runtime_error("read error");
            }
        } catch (const std::exception&) {
            bytes.clear();
            impl->unreadable = true;
        }
        impl->doc = IniDocument::Parse(bytes);
    }
    return impl->doc;
}

bool TEmoticonsIniFile::UnicodeText() {
    return Document().IsUtf8() || Document().IsUtf16();
}

bool TEmoticonsIniFile::Unreadable() {
    Document();
    return impl->unreadable;
}

void TEmoticonsIniFile::GetOptions(TEmoticonsOptions& o) {
    const IniDocument& d = Document();
    const auto readInt = [&](const char* section, const char* key, int32_t def) {
        int32_t v;
        return ParseInteger(d.GetString(section, key, ""), v) ? v : def;
    };
    const auto readBool = [&](const char* section, const char* key, bool def) {
        return readInt(section, key, def ? 1 : 0) != 0;
    };
    auto readBoolByte = [&](const char* section, const char* key, bool def) {
        return static_cast<uint8_t>(readBool(section, key, def) ? 1 : 0);
    };
    o.Insert.blEnabled = readBool("AutoInsert", "Enabled", true);
    o.Insert.blTrackWindows = readBool("AutoInsert", "TrackWindows", true);
    o.Insert.blUseClipboard = readBool("AutoInsert", "UseClipboard", true);
    o.Insert.blKeyboard = readBool("AutoInsert", "Keyboard", true);
    o.sPicturePath = d.GetString("ButtonPath", "Value", "");
    o.blExeStart = readBool("Startup", "Enabled", false);
    o.sExePath = d.GetString("Startup", "Name", "");
    o.HotKey.blAlt = readBoolByte("Hotkey", "Alt", true);
    o.HotKey.blCtrl = readBoolByte("Hotkey", "Ctrl", false);
    o.HotKey.blShift = readBoolByte("Hotkey", "Shift", false);
    o.HotKey.reserved = 0;
    o.HotKey.iVirtCode = readInt("Hotkey", "Key", 69);
    o.blDragDrop = readBool("DragDrop", "Enabled", true);
    o.Rect.Left = readInt("Window", "Left", 0);
    o.Rect.Top = readInt("Window", "Top", 0);
    o.Rect.Right = readInt("Window", "Width", 0);
    o.Rect.Bottom = readInt("Window", "Height", 0);
    o.Style = static_cast<uint8_t>(readInt("Window", "Code", stAlwaysOnTop) & 0xFF);
    o.Spacing.blBefore = readBool("ExtraSpacing", "Before", true);
    o.Spacing.blAfter = readBool("ExtraSpacing", "After", false);
}

void TEmoticonsIniFile::SetOptions(const TEmoticonsOptions& o) {
    IniDocument& d = Document();
    const auto write = [&](const char* section, const char* key, const std::string& value) {
        if (!d.Set(section, key, Protect(value)))
            throw TIniWriteError{WRITE_ERROR};
    };
    const auto writeInt = [&](const char* section, const char* key, int32_t v) {
        write(section, key, std::to_string(v));
    };
    const auto writeBool = [&](const char* section, const char* key, bool v) {
        write(section, key, v ? "1" : "0");
    };
    writeBool("AutoInsert", "Enabled", o.Insert.blEnabled);
    writeBool("AutoInsert", "TrackWindows", o.Insert.blTrackWindows);
    writeBool("AutoInsert", "UseClipboard", o.Insert.blUseClipboard);
    writeBool("AutoInsert", "Keyboard", o.Insert.blKeyboard);
    write("ButtonPath", "Value", o.sPicturePath);
    writeBool("Startup", "Enabled", o.blExeStart);
    write("Startup", "Name", o.sExePath);
    writeBool("Hotkey", "Alt", o.HotKey.blAlt != 0);
    writeBool("Hotkey", "Ctrl", o.HotKey.blCtrl != 0);
    writeBool("Hotkey", "Shift", o.HotKey.blShift != 0);
    writeInt("Hotkey", "Key", o.HotKey.iVirtCode);
    writeBool("DragDrop", "Enabled", o.blDragDrop);
    writeInt("Window", "Left", o.Rect.Left);
    writeInt("Window", "Top", o.Rect.Top);
    writeInt("Window", "Width", o.Rect.Right);
    writeInt("Window", "Height", o.Rect.Bottom);
    writeInt("Window", "Code", o.Style);
    writeBool("ExtraSpacing", "Before", o.Spacing.blBefore);
    writeBool("ExtraSpacing", "After", o.Spacing.blAfter);
}

std::string TEmoticonsIniFile::GetPostClasses() {
    return Document().GetString("AutoInsert", "PostClasses", DEFAULT_POST_CLASSES);
}

void TEmoticonsIniFile::SetPostClasses(const std::string& classes) {
    if (!Document().Set("AutoInsert", "PostClasses", Protect(classes)))
        throw TIniWriteError{WRITE_ERROR};
}

std::string TEmoticonsIniFile::EntryFromLine(const std::string& picture, const std::string& value,
                                             bool utf8) {
    // The picture is the whole key as read, so a name holding blanks survives a save; the
    // sequence and the hint are the words of the value.
    uint16_t begin = 0;
    const std::string sequence = GetToken(value, 1, begin);
    std::string hint = picture;
    if (!GetToken(value, 2, begin).empty())
        hint = value.substr(begin - 1u);
    return MakeEntry(sequence, hint, picture, utf8);
}

void TEmoticonsIniFile::GetButtons(TButtonList& list) {
    const IniDocument& d = Document();
    const bool utf8 = UnicodeText();
    std::unordered_map<std::string, bool> seen;
    for (const std::string& key : d.Keys(BUTTONS)) {
        std::string lower = key;
        for (char& c : lower)
            if (c >= 'A' && c <= 'Z')
                c = static_cast<char>(c - 'A' + 'a');
        if (!seen.emplace(std::move(lower), true).second)
            continue;
        const std::string value = d.GetString(BUTTONS, key, "");
        // A line "=value" names no picture: there is no face to show and no name to save it by.
        if (value.empty() || key.empty())
            continue;
        list.push_back(EntryFromLine(key, value, utf8));
    }
}

void TEmoticonsIniFile::SetButtons(const TButtonList& list) {
    IniDocument& d = Document();
    const bool utf8 = UnicodeText();
    // Every section of that name goes: keys left in a later duplicate would otherwise come back
    // as buttons at the next start.
    while (d.DeleteSection(BUTTONS)) {
    }
    for (const std::string& entry : list) {
        std::string key = EntryPicture(entry, utf8);
        if (key.size() < static_cast<size_t>(MAXSMILELENGTH))
            key.resize(MAXSMILELENGTH, ' ');
        std::string value = Column(entry, 1, MAXSMILELENGTH, utf8);
        if (TextLength(value, utf8) == static_cast<size_t>(MAXSMILELENGTH) &&
            !IsBlankOrTab(value.back()))
            value += ' ';
        value += Column(entry, MAXSMILELENGTH + 1, MAXHINTLENGTH, utf8);
        value = TrimRight(std::move(value), false);
        if (!d.Set(BUTTONS, key, Protect(value)))
            throw TIniWriteError{WRITE_ERROR};
    }
}

void TEmoticonsIniFile::Save() {
    // Any failure of the file system (or of memory) ends as the one error the caller shows.
    try {
        SaveFile();
    } catch (const std::exception&) {
        throw TIniWriteError{WRITE_ERROR};
    }
}

void TEmoticonsIniFile::SaveFile() {
    const std::string bytes = Document().Serialize();
    if (impl->unreadable)
        throw TIniWriteError{WRITE_ERROR};
    // Replacing a read-only file would succeed where the platform's rename allows it; the user
    // marked it read-only, so it is not ours to overwrite. Nor is anything but a regular file.
    unsigned mode = 0;
    if (Mode(fileName, mode) && (!S_ISREG(mode) || !(mode & S_IWUSR)))
        throw TIniWriteError{WRITE_ERROR};
    // A regular file there is left over from an interrupted save and is overwritten; anything
    // else (a folder, say) cannot be opened for writing and ends the save.
    const std::string temp = fileName + ".tmp";
    {
        File out = Open(temp, "wb");
        if (!out || (Mode(temp, mode) && !S_ISREG(mode)))
            throw TIniWriteError{WRITE_ERROR};
        StopForTest(out.get(), bytes);
        // On the disk before the rename: a crash after it must not find a short file in place.
        const bool written =
            std::fwrite(bytes.data(), 1, bytes.size(), out.get()) == bytes.size() &&
            std::fflush(out.get()) == 0 && SyncFile(out.get());
        if (std::fclose(out.release()) != 0 || !written) {
            Remove(temp);
            throw TIniWriteError{WRITE_ERROR};
        }
    }
    if (!MoveOver(temp, fileName)) {
        Remove(temp);
        throw TIniWriteError{WRITE_ERROR};
    }
}
