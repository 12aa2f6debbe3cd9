#include "settings/IniEngine.h"

#include "settings/TextLength.h"

#include <algorithm>

namespace {

constexpr std::string_view Utf8Mark = "\xEF\xBB\xBF";

bool IsSpace(char c) {
    return c == ' ' || c == '\t' || c == '\v';
}
bool IsEol(char c) {
    return c == '\r' || c == '\n';
}
char Lower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c + ('a' - 'A')) : c;
}

std::string_view Trim(std::string_view s) {
    while (!s.empty() && IsSpace(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && IsSpace(s.back()))
        s.remove_suffix(1);
    return s;
}

std::string_view StripQuotes(std::string_view v) {
    if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front())
        return v.substr(1, v.size() - 2);
    return v;
}

// UTF-16LE code units to UTF-8; an unpaired surrogate is kept in its 3-byte form so that the text
// converts back to the very same code units.
void AppendUtf8(std::string& out, uint32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

std::string DecodeUtf16(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size());
    const size_t units = bytes.size() / 2;
    auto unit = [&](size_t i) {
        return static_cast<uint32_t>(static_cast<uint8_t>(bytes[2 * i])) |
               static_cast<uint32_t>(static_cast<uint8_t>(bytes[2 * i + 1])) << 8;
    };
    for (size_t i = 0; i < units; ++i) {
        uint32_t u = unit(i);
        if (u >= 0xD800 && u < 0xDC00 && i + 1 < units) {
            const uint32_t lo = unit(i + 1);
            if (lo >= 0xDC00 && lo < 0xE000) {
                AppendUtf8(out, 0x10000 + ((u - 0xD800) << 10) + (lo - 0xDC00));
                ++i;
                continue;
            }
        }
        AppendUtf8(out, u);
    }
    return out;
}

void AppendUnit(std::string& out, uint32_t u) {
    out += static_cast<char>(u & 0xFF);
    out += static_cast<char>(u >> 8);
}

// The reverse of DecodeUtf16. Bytes that are not well-formed UTF-8 (only possible after a caller
// wrote them) become one code unit each, so nothing is dropped.
std::string EncodeUtf16(std::string_view s) {
    std::string out;
    out.reserve(s.size() * 2);
    size_t i = 0;
    auto cont = [&](size_t k) {
        return k < s.size() && (static_cast<uint8_t>(s[k]) & 0xC0) == 0x80;
    };
    while (i < s.size()) {
        const uint8_t b = static_cast<uint8_t>(s[i]);
        uint32_t cp = b;
        size_t n = 1;
        if (b >= 0xF0 && b < 0xF8 && cont(i + 1) && cont(i + 2) && cont(i + 3)) {
            cp = (b & 0x07u) << 18 | (static_cast<uint8_t>(s[i + 1]) & 0x3Fu) << 12 |
                 (static_cast<uint8_t>(s[i + 2]) & 0x3Fu) << 6 |
                 (static_cast<uint8_t>(s[i + 3]) & 0x3Fu);
            n = 4;
        } else if (b >= 0xE0 && b < 0xF0 && cont(i + 1) && cont(i + 2)) {
            cp = (b & 0x0Fu) << 12 | (static_cast<uint8_t>(s[i + 1]) & 0x3Fu) << 6 |
                 (static_cast<uint8_t>(s[i + 2]) & 0x3Fu);
            n = 3;
        } else if (b >= 0xC0 && b < 0xE0 && cont(i + 1)) {
            cp = (b & 0x1Fu) << 6 | (static_cast<uint8_t>(s[i + 1]) & 0x3Fu);
            n = 2;
        }
        if (cp >= 0x10000 && cp < 0x110000) {
            cp -= 0x10000;
            AppendUnit(out, 0xD800 + (cp >> 10));
            AppendUnit(out, 0xDC00 + (cp & 0x3FF));
        } else {
            AppendUnit(out, cp & 0xFFFF);
        }
        i += n;
    }
    return out;
}

} // namespace

size_t IniDocument::CaseHash::operator()(std::string_view s) const noexcept {
    size_t h = 1469598103934665603ull & SIZE_MAX;
    for (char c : s)
        h = (h ^ static_cast<uint8_t>(Lower(c))) *
            (sizeof(size_t) == 8 ? 1099511628211ull : 16777619u);
    return h;
}

bool IniDocument::CaseEqual::operator()(std::string_view a, std::string_view b) const noexcept {
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (Lower(a[i]) != Lower(b[i]))
            return false;
    return true;
}

void IniDocument::Classify(Line& line) {
    const std::string_view all(line.text);
    const std::string_view t = Trim(all);
    const auto at = [&](std::string_view part) {
        return static_cast<uint32_t>(part.data() - all.data());
    };
    line.nameBegin = line.nameLen = line.valueBegin = line.valueLen = 0;
    if (t.empty()) {
        line.kind = Kind::Blank;
    } else if (t.front() == ';') {
        line.kind = Kind::Comment;
    } else if (t.front() == '[') {
        line.kind = Kind::Header;
        std::string_view name = t.substr(1);
        const size_t close = name.find(']');
        if (close != std::string_view::npos)
            name = name.substr(0, close);
        name = Trim(name);
        line.nameBegin = name.empty() ? at(t) + 1 : at(name);
        line.nameLen = static_cast<uint32_t>(name.size());
    } else {
        const size_t eq = t.find('=');
        std::string_view name = Trim(t.substr(0, eq));
        line.nameBegin = at(t);
        line.nameLen = static_cast<uint32_t>(name.size());
        if (eq == std::string_view::npos) {
            line.kind = Kind::KeyNoValue;
        } else {
            line.kind = Kind::Key;
            const std::string_view value = Trim(t.substr(eq + 1));
            line.valueBegin = value.empty() ? at(t) + static_cast<uint32_t>(eq) + 1 : at(value);
            line.valueLen = static_cast<uint32_t>(value.size());
        }
    }
}

IniDocument::Line IniDocument::MakeLine(std::string text, std::string eol) {
    Line line;
    line.text = std::move(text);
    line.eol = std::move(eol);
    Classify(line);
    return line;
}

void IniDocument::SplitLines(std::string_view text, std::vector<Section>& out) {
    size_t pos = 0;
    while (pos < text.size()) {
        size_t end = pos;
        while (end < text.size() && !IsEol(text[end]))
            ++end;
        size_t next = end;
        while (next < text.size() && IsEol(text[next]))
            ++next;
        Line line = MakeLine(std::string(text.substr(pos, end - pos)),
                             std::string(text.substr(end, next - end)));
        if (line.kind == Kind::Header) {
            out.emplace_back();
            out.back().live = true;
        }
        out.back().lines.push_back(std::move(line));
        pos = next;
    }
}

IniDocument IniDocument::Parse(std::string_view bytes) {
    IniDocument doc;
    std::string decoded;
    std::string_view text = bytes;
    if (bytes.size() >= 2 && static_cast<uint8_t>(bytes[0]) == 0xFF &&
        static_cast<uint8_t>(bytes[1]) == 0xFE) {
        doc.utf16 = true;
        const std::string_view body = bytes.substr(2);
        decoded = DecodeUtf16(body);
        if (body.size() % 2)
            doc.oddByte = std::string(1, body.back());
        text = decoded;
    } else if (bytes.starts_with(Utf8Mark)) {
        doc.utf8 = true;
        text.remove_prefix(Utf8Mark.size());
    }
    doc.sections.emplace_back(); // the lines before the first header, which no lookup reaches
    SplitLines(text, doc.sections);
    for (size_t i = 1; i < doc.sections.size(); ++i)
        doc.sectionIndex.try_emplace(std::string(doc.sections[i].lines.front().Name()), i);
    return doc;
}

std::string IniDocument::Serialize() const {
    size_t total = 0;
    for (const Section& s : sections)
        for (const Line& l : s.lines)
            total += l.text.size() + l.eol.size();
    std::string text;
    text.reserve(total + Utf8Mark.size());
    if (utf8)
        text += Utf8Mark;
    for (const Section& s : sections)
        for (const Line& l : s.lines) {
            text += l.text;
            text += l.eol;
        }
    if (!utf16)
        return text;
    return "\xFF\xFE" + EncodeUtf16(text) + oddByte;
}

const IniDocument::Section* IniDocument::FindSection(std::string_view name) const {
    const auto it = sectionIndex.find(Trim(name));
    return it == sectionIndex.end() ? nullptr : &sections[it->second];
}

IniDocument::Section* IniDocument::FindSection(std::string_view name) {
    const auto it = sectionIndex.find(Trim(name));
    return it == sectionIndex.end() ? nullptr : &sections[it->second];
}

void IniDocument::EnsureIndexed(const Section& s) {
    if (s.indexed)
        return;
    s.keys.clear();
    s.keys.reserve(s.lines.size());
    for (size_t i = 1; i < s.lines.size(); ++i) {
        const Line& l = s.lines[i];
        if (l.kind == Kind::Key || l.kind == Kind::KeyNoValue)
            s.keys.try_emplace(std::string(l.Name()), i);
    }
    s.indexed = true;
}

const IniDocument::Line* IniDocument::FindKey(const Section& s, std::string_view key) const {
    EnsureIndexed(s);
    const auto it = s.keys.find(Trim(key));
    return it == s.keys.end() ? nullptr : &s.lines[it->second];
}

std::optional<std::string> IniDocument::Get(std::string_view section, std::string_view key) const {
    const Section* s = FindSection(section);
    if (!s)
        return std::nullopt;
    const Line* l = FindKey(*s, key);
    if (!l || l->kind != Kind::Key)
        return std::nullopt;
    return std::string(StripQuotes(l->Value()));
}

std::string IniDocument::GetString(std::string_view section, std::string_view key,
                                   std::string_view def) const {
    std::optional<std::string> v = Get(section, key);
    if (!v) {
        while (!def.empty() && def.back() == ' ')
            def.remove_suffix(1);
        v = std::string(def);
    }
    v->resize(TextPrefix(*v, MAX_VALUE_LENGTH, utf8 || utf16));
    return *v;
}

std::vector<std::string> IniDocument::Keys(std::string_view section) const {
    std::vector<std::string> names;
    const Section* s = FindSection(section);
    if (!s)
        return names;
    for (size_t i = 1; i < s->lines.size(); ++i)
        if (s->lines[i].kind == Kind::Key)
            names.emplace_back(s->lines[i].Name());
    return names;
}

std::vector<std::string> IniDocument::Sections() const {
    std::vector<std::string> names;
    for (const Section& s : sections)
        if (s.live)
            names.emplace_back(s.lines.front().Name());
    return names;
}

bool IniDocument::HasSection(std::string_view section) const {
    return FindSection(section) != nullptr;
}

void IniDocument::TerminateLastLine() {
    for (auto s = sections.rbegin(); s != sections.rend(); ++s)
        if (!s->lines.empty()) {
            if (s->lines.back().eol.empty())
                s->lines.back().eol = "\r\n";
            return;
        }
}

bool IniDocument::Set(std::string_view section, std::string_view key, std::string_view value) {
    const auto hasEol = [](std::string_view s) {
        return s.find_first_of("\r\n") != std::string_view::npos;
    };
    section = Trim(section);
    key = Trim(key);
    if (hasEol(section) || hasEol(key) || hasEol(value))
        return false;
    if (section.find(']') != std::string_view::npos || key.find('=') != std::string_view::npos)
        return false;
    if (!key.empty() && (key.front() == ';' || key.front() == '['))
        return false;

    Section* s = FindSection(section);
    if (!s) {
        TerminateLastLine();
        Section fresh;
        fresh.live = true;
        fresh.lines.push_back(MakeLine("[" + std::string(section) + "]", "\r\n"));
        fresh.lines.push_back(MakeLine(std::string(key) + "=" + std::string(value), "\r\n"));
        sections.push_back(std::move(fresh));
        sectionIndex.try_emplace(std::string(section), sections.size() - 1);
        return true;
    }
    EnsureIndexed(*s);
    const auto it = s->keys.find(key);
    if (it != s->keys.end()) {
        Line& l = s->lines[it->second];
        // The key keeps the casing it has in the file.
        l.text = std::string(l.Name()) + "=" + std::string(value);
        Classify(l);
        return true;
    }
    // After the last non-blank line of the section; blank lines after it stay after the new key.
    size_t at = s->lines.size();
    while (at > 1 && s->lines[at - 1].kind == Kind::Blank)
        --at;
    Line& prev = s->lines[at - 1];
    std::string eol = "\r\n";
    if (prev.eol.empty()) {
        prev.eol = "\r\n";
    } else {
        // prev's terminator may hold the empty lines that followed it: they move behind the new
        // line together with its own line break.
        const size_t first = prev.eol.compare(0, 2, "\r\n") == 0 ? 2 : 1;
        eol += prev.eol.substr(first);
        prev.eol.resize(first);
    }
    s->lines.insert(s->lines.begin() + static_cast<std::ptrdiff_t>(at),
                    MakeLine(std::string(key) + "=" + std::string(value), std::move(eol)));
    s->keys.try_emplace(std::string(key), at);
    return true;
}

bool IniDocument::DeleteKey(std::string_view section, std::string_view key) {
    Section* s = FindSection(section);
    if (!s)
        return false;
    EnsureIndexed(*s);
    const auto it = s->keys.find(Trim(key));
    if (it == s->keys.end())
        return false;
    const size_t at = it->second;
    // Its terminator may carry the empty lines that followed it; they stay in the file.
    if (s->lines[at].eol.size() > 1 && at > 0) {
        const size_t first = s->lines[at].eol.compare(0, 2, "\r\n") == 0 ? 2 : 1;
        s->lines[at - 1].eol += s->lines[at].eol.substr(first);
    }
    s->lines.erase(s->lines.begin() + static_cast<std::ptrdiff_t>(at));
    s->indexed = false;
    return true;
}

bool IniDocument::DeleteSection(std::string_view section) {
    section = Trim(section);
    const auto it = sectionIndex.find(section);
    if (it == sectionIndex.end())
        return false;
    const size_t idx = it->second;
    Section& s = sections[idx];
    std::vector<Line> kept;
    for (size_t i = 1; i < s.lines.size(); ++i)
        if (s.lines[i].kind == Kind::Comment)
            kept.push_back(std::move(s.lines[i]));
    s.lines = std::move(kept);
    s.live = false;
    s.keys.clear();
    s.indexed = false;
    sectionIndex.erase(it);
    // A later section of the same name now answers lookups.
    for (size_t i = idx + 1; i < sections.size(); ++i)
        if (sections[i].live && CaseEqual{}(sections[i].lines.front().Name(), section)) {
            sectionIndex.try_emplace(std::string(sections[i].lines.front().Name()), i);
            break;
        }
    // The comments that stayed must still end with a line break if anything follows them.
    if (!s.lines.empty() && s.lines.back().eol.empty()) {
        for (size_t i = idx + 1; i < sections.size(); ++i)
            if (!sections[i].lines.empty()) {
                s.lines.back().eol = "\r\n";
                break;
            }
    }
    return true;
}
