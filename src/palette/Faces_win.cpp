#include "palette/Faces_win.h"

#include "palette/Bmp.h"
#include "ui/Window_win.h"

#include <algorithm>

namespace {

constexpr int PERIMAGE = 64; // pictures in one shared image, side by side
// Files below the smallest bitmap (file header, core header, one pixel) or above the largest
// picture accepted are not read.
constexpr unsigned long long MINBMPSIZE = 14 + 12 + 4;
constexpr unsigned long long MAXBMPSIZE = 16ull << 20;

std::wstring Lower(std::wstring s) {
    if (!s.empty())
        CharLowerBuffW(s.data(), static_cast<DWORD>(s.size()));
    return s;
}

// A path the file functions take whatever its length.
std::wstring LongPath(const std::wstring& p) {
    if (p.size() < MAX_PATH || p.rfind(L"\\\\", 0) == 0 || p.size() < 3 || p[1] != L':')
        return p;
    return L"\\\\?\\" + p;
}

bool ReadWholeFile(const std::wstring& path, unsigned long long size, std::vector<uint8_t>& out) {
    ui::TUniqueFile file(CreateFileW(LongPath(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                     OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!file)
        return false;
    out.resize(static_cast<std::size_t>(size));
    DWORD got = 0;
    return ReadFile(file.Get(), out.data(), static_cast<DWORD>(out.size()), &got, nullptr) &&
           got == out.size();
}

} // namespace

TFacePictures::TFacePictures() = default;
TFacePictures::~TFacePictures() = default;

std::wstring TFacePictures::Key(const std::string& name) {
    return Lower(ui::Widen(name));
}

void TFacePictures::Open(const std::string& dir) {
    directory = ui::Widen(dir);
    files.clear();
    slots.clear();
    used = 0;
    WIN32_FIND_DATAW fd;
    const std::wstring pattern = LongPath(directory + L"\\*.bmp");
    HANDLE find = FindFirstFileExW(pattern.c_str(), FindExInfoBasic, &fd, FindExSearchNameMatch,
                                   nullptr, FIND_FIRST_EX_LARGE_FETCH);
    if (find == INVALID_HANDLE_VALUE)
        return;
    do {
        if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            continue;
        std::wstring name = Lower(fd.cFileName);
        if (name.size() < 4 || name.compare(name.size() - 4, 4, L".bmp") != 0)
            continue; // a short-name match such as "x.bmpx"
        name.resize(name.size() - 4);
        files[name] = (static_cast<unsigned long long>(fd.nFileSizeHigh) << 32) | fd.nFileSizeLow;
    } while (FindNextFileW(find, &fd));
    FindClose(find);
}

bool TFacePictures::Present(const std::string& name) const {
    const auto f = files.find(Key(name));
    return f != files.end() && f->second >= MINBMPSIZE && f->second <= MAXBMPSIZE;
}

TFacePictures::TSlot TFacePictures::Decode(const std::wstring& key) {
    TSlot slot;
    const auto f = files.find(key);
    if (f == files.end() || f->second < MINBMPSIZE || f->second > MAXBMPSIZE)
        return slot;
    std::vector<uint8_t> bytes;
    TImage image;
    if (!ReadWholeFile(directory + L"\\" + key + L".bmp", f->second, bytes) ||
        !DecodeBmp(bytes.data(), bytes.size(), image))
        return slot;
    if (used % PERIMAGE == 0) {
        if (!dc)
            dc.Reset(CreateCompatibleDC(nullptr));
        BITMAPINFO bi{};
        bi.bmiHeader.biSize = sizeof bi.bmiHeader;
        bi.bmiHeader.biWidth = SIDE * PERIMAGE;
        bi.bmiHeader.biHeight = -SIDE; // top row first, as TImage
        bi.bmiHeader.biPlanes = 1;
        bi.bmiHeader.biBitCount = 32;
        void* bits = nullptr;
        HBITMAP bm = CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
        if (!bm || !dc)
            return slot;
        images.emplace_back(bm);
        imageBits.push_back(static_cast<uint32_t*>(bits));
    }
    slot.index = used++;
    uint32_t* dst = imageBits[slot.index / PERIMAGE] + (slot.index % PERIMAGE) * SIDE;
    const TCopied c = CopyCentre(image, SIDE, dst, SIDE * PERIMAGE);
    slot.width = c.width;
    slot.height = c.height;
    GdiFlush();
    return slot;
}

const TFacePictures::TSlot& TFacePictures::Find(const std::string& name) {
    std::wstring key = Key(name);
    auto found = slots.find(key);
    if (found == slots.end()) {
        const TSlot slot = Decode(key);
        found = slots.emplace(std::move(key), slot).first;
    }
    return found->second;
}

bool TFacePictures::Load(const std::string& name) {
    return Find(name).index >= 0;
}

bool TFacePictures::Draw(HDC target, const std::string& name, int x, int y, int side, int factor) {
    const TSlot& slot = Find(name);
    if (slot.index < 0)
        return false;
    ui::TSelectObject sel(dc.Get(), images[slot.index / PERIMAGE].Get());
    const int w = slot.width * factor, h = slot.height * factor;
    StretchBlt(target, x + (side - w) / 2, y + (side - h) / 2, w, h, dc.Get(),
               (slot.index % PERIMAGE) * SIDE, 0, slot.width, slot.height, SRCCOPY);
    return true;
}
