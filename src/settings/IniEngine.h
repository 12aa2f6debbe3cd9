#pragma once
// A portable reader and writer of INI files that follows the rules of the Windows private-profile
// functions: the same lines are found, the same values returned, and a write changes only the line
// it concerns, so a file edited by hand keeps its comments, blank lines and layout.
//
// Strings are byte strings as the ANSI profile functions see them. A file that starts with the
// UTF-16LE mark is decoded to UTF-8 for the caller (unpaired surrogates survive in the 3-byte
// form) and encoded back to UTF-16LE by Serialize. A file that starts with the UTF-8 mark is UTF-8:
// the mark is not part of the first line, and Serialize puts it back.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

class IniDocument {
  public:
    // The longest value the reader hands out (a 1024-byte buffer with its terminating zero).
    static constexpr size_t MAX_VALUE_LENGTH = 1023;

    static IniDocument Parse(std::string_view bytes);
    std::string Serialize() const;
    bool IsUtf16() const { return utf16; }
    bool IsUtf8() const { return utf8; }

    // The value of the first matching key in the first matching section, with one outer pair of
    // equal quotes removed; nullopt when the section or key is missing or the key's line has no
    // '='. The whole value, however long.
    std::optional<std::string> Get(std::string_view section, std::string_view key) const;
    // As the profile string reader: at most MAX_VALUE_LENGTH characters (UTF-16 units in a Unicode
    // file, never splitting a character); a missing value gives def without its trailing blanks.
    std::string GetString(std::string_view section, std::string_view key,
                          std::string_view def) const;
    // Names of the keys (lines with '=') of the first matching section, in file order,
    // duplicates included. Never limited in length.
    std::vector<std::string> Keys(std::string_view section) const;
    // Names of all sections in file order, duplicates included.
    std::vector<std::string> Sections() const;
    bool HasSection(std::string_view section) const;

    // Writes key=value: in place when the key exists (keeping its casing), otherwise after the
    // last non-blank line of the section, or in a new section at the end. Returns false, and
    // changes nothing, for a name or value holding CR or LF, a key holding '=' or starting with
    // ';' or '[', or a section name holding ']' (none of these could be read back).
    bool Set(std::string_view section, std::string_view key, std::string_view value);
    // Removes the first matching key line; the section stays. False when there was none.
    bool DeleteKey(std::string_view section, std::string_view key);
    // Removes the first matching section's header and keys; comment lines inside it stay.
    bool DeleteSection(std::string_view section);

  private:
    enum class Kind : uint8_t { Blank, Comment, Header, Key, KeyNoValue };
    struct Line {
        std::string text; // the line as in the file, without its terminator
        std::string eol;  // the run of CR and LF that ended it ("" for a last unterminated line)
        Kind kind = Kind::Blank;
        // Trimmed name (of the key, or of the section for a header) and value inside text.
        uint32_t nameBegin = 0, nameLen = 0, valueBegin = 0, valueLen = 0;
        std::string_view Name() const { return std::string_view(text).substr(nameBegin, nameLen); }
        std::string_view Value() const {
            return std::string_view(text).substr(valueBegin, valueLen);
        }
    };
    struct CaseHash {
        using is_transparent = void;
        size_t operator()(std::string_view s) const noexcept;
    };
    struct CaseEqual {
        using is_transparent = void;
        bool operator()(std::string_view a, std::string_view b) const noexcept;
    };
    using NameIndex = std::unordered_map<std::string, size_t, CaseHash, CaseEqual>;
    struct Section {
        bool live = false;       // false for the lines before the first header and deleted ones
        std::vector<Line> lines; // lines[0] is the header of a live section
        mutable bool indexed = false;
        mutable NameIndex keys; // first line of each key name
    };

    static void Classify(Line& line);
    static void SplitLines(std::string_view text, std::vector<Section>& out);
    const Section* FindSection(std::string_view name) const;
    Section* FindSection(std::string_view name);
    const Line* FindKey(const Section& s, std::string_view key) const;
    static void EnsureIndexed(const Section& s);
    static Line MakeLine(std::string text, std::string eol);
    void TerminateLastLine();

    std::vector<Section> sections;
    NameIndex sectionIndex; // first live section of each name
    bool utf16 = false;
    bool utf8 = false;
    std::string oddByte; // a last odd byte of a UTF-16 file, kept as it was
};
