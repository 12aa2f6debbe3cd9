#pragma once
// The settings file: the options record, the button list and the class that maps them to the INI
// file beside the program.
#include "settings/HotKey.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class IniDocument;

enum TEmoticonsStyle : uint8_t { stNormal = 0, stAlwaysOnTop = 1, stMinimizeOnPress = 2 };

// The window classes known to take a posted paste request and posted characters: the system's edit
// and rich-edit controls (any version), Scintilla, the class library's edits and memos, and the
// edits of .NET forms. A trailing '*' matches any rest of a name; case does not matter.
extern const char DEFAULT_POST_CLASSES[];

struct TEmoticonsAutoInsert {
    bool blEnabled = true;
    bool blTrackWindows = true;
    bool blUseClipboard = true;
    // A target whose class is not in the settings' PostClasses gets the text as keyboard input;
    // off, every target gets posted messages.
    bool blKeyboard = true;
};

struct TExtraSpacing {
    bool blBefore = true;
    bool blAfter = false;
};

// Left, Top, then the width in Right and the height in Bottom.
struct TOptionsRect {
    int32_t Left = 0;
    int32_t Top = 0;
    int32_t Right = 0;
    int32_t Bottom = 0;
};

struct TEmoticonsOptions {
    TEmoticonsAutoInsert Insert;
    uint8_t Style = stAlwaysOnTop; // any byte after reading; only 1 and 2 have a meaning
    std::string sPicturePath;
    std::string sExePath;
    bool blExeStart = false;
    THotKey HotKey;
    bool blDragDrop = true;
    TExtraSpacing Spacing;
    TOptionsRect Rect;
};

constexpr int MAXSMILELENGTH = 19;
constexpr int MAXHINTLENGTH = 179;
constexpr int MAX_SMILE_HINT_LENGTH = 198;

// One entry per palette button: columns 1-19 sequence, 20-198 hint, 199 blank, 200- picture name.
// The texts of a settings file with the UTF-8 mark are UTF-8 and a column is a UTF-16 unit
// (utf8 = true); in an 8-bit file a column is a byte.
using TButtonList = std::vector<std::string>;

// The fields of one button-list entry, as the palette reads them.
// Columns 1-19, trailing blanks removed.
std::string EntrySequence(const std::string& entry, bool utf8 = false);
// Columns 20-198, trailing blanks and tabs removed.
std::string EntryHint(const std::string& entry, bool utf8 = false);
// Column 200 to the end.
std::string EntryPicture(const std::string& entry, bool utf8 = false);
// Builds an entry from its parts, cutting the sequence and hint to their columns.
std::string MakeEntry(const std::string& sequence, const std::string& hint,
                      const std::string& picture, bool utf8 = false);

// Thrown when the settings file cannot be written; the old file is left as it was.
struct TIniWriteError {
    std::string message;
};

class TEmoticonsIniFile {
  public:
    // Binds to the settings file of the program at exePath: its extension replaced by ".INI" and
    // the whole path upper-cased. Nothing is opened or read. On Windows paths are UTF-8.
    explicit TEmoticonsIniFile(const std::string& exePath);
    // Binds to the given settings file itself (no name rule applied).
    static TEmoticonsIniFile FromIniPath(const std::string& iniPath);
    // The settings file of the program at exePath.
    static std::string IniFileNameFor(const std::string& exePath);
    const std::string& FileName() const { return fileName; }

    // The entry for one line of the button section: picture = the key as read, value = its value.
    static std::string EntryFromLine(const std::string& picture, const std::string& value,
                                     bool utf8 = false);
    // True when the file's texts are Unicode (it starts with the UTF-8 or UTF-16 mark): options and
    // entries are then UTF-8 and their lengths count UTF-16 units; otherwise they are bytes of the
    // system's code page.
    bool UnicodeText();

    // Reading never fails: a missing or unreadable file, section or key gives the defaults.
    void GetOptions(TEmoticonsOptions& options);
    // Appends one entry per key of the "Buttons" section, however many there are; the first of
    // keys equal but for case wins, keys with empty values (or empty names) are skipped.
    void GetButtons(TButtonList& list);
    // Both writes go to memory; Save() replaces the file atomically (temporary file beside it,
    // then rename). Save throws TIniWriteError and leaves the old file untouched on failure.
    // A value that cannot be stored (a line break in it) throws TIniWriteError.
    // True when the file exists but could not be read (another program holds it locked, or it
    // cannot be opened): what was read are the defaults, and Save refuses to replace the file.
    bool Unreadable();
    // The whole file as read, for sections other than the program's own (the about data).
    const IniDocument& Contents() { return Document(); }

    void SetOptions(const TEmoticonsOptions& options);
    // The classes that take posted messages ("AutoInsert" "PostClasses"), kept in the file only;
    // without the key, DEFAULT_POST_CLASSES.
    std::string GetPostClasses();
    void SetPostClasses(const std::string& classes);
    void SetButtons(const TButtonList& list);
    void Save();

  private:
    IniDocument& Document(); // the file's contents, read at first use
    void SaveFile();
    std::string fileName;
    struct Impl;
    std::shared_ptr<Impl> impl;
};
