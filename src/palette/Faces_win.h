#pragma once
// The pictures of the palette's faces. The face directory is listed once, so a missing picture is
// known without opening a file; each picture is read and decoded on first use and kept in one of a
// few shared 32-bit images (64 pictures each), so a palette of thousands of faces costs neither a
// GDI bitmap per face nor a file read for faces that are never shown.
#include "ui/Handles_win.h"

#include <string>
#include <unordered_map>
#include <vector>
#include <windows.h>

class TFacePictures {
  public:
    // The most of a picture that is kept, at 96 dpi the face less its 2-pixel edges. Larger
    // pictures show their centre.
    static constexpr int SIDE = 32;

    TFacePictures();
    TFacePictures(const TFacePictures&) = delete;
    TFacePictures& operator=(const TFacePictures&) = delete;
    ~TFacePictures();

    // Forgets every picture and lists `dir` (ANSI, as the settings file holds it).
    void Open(const std::string& dir);
    // False when the picture is known to be unusable: no such file, or one too small to hold a
    // bitmap. True says only that it may load.
    bool Present(const std::string& name) const;
    // Reads and decodes the picture unless that was done before; false when it cannot be had.
    bool Load(const std::string& name);
    // Draws the picture enlarged `factor` times and centred in the square (x, y, side x side);
    // false when it cannot be had. A stretch mode other than HALFTONE on `dc` (COLORONCOLOR, say)
    // makes each picture pixel a sharp factor x factor square.
    bool Draw(HDC dc, const std::string& name, int x, int y, int side, int factor = 1);

  private:
    struct TSlot {
        int index = -1; // place in the shared images, -1 when the picture cannot be had
        int width = 0;
        int height = 0;
    };
    static std::wstring Key(const std::string& name);
    const TSlot& Find(const std::string& name);
    TSlot Decode(const std::wstring& key);

    std::wstring directory;
    std::unordered_map<std::wstring, unsigned long long> files; // lower-case name -> size
    std::unordered_map<std::wstring, TSlot> slots;
    std::vector<ui::TUniqueBitmap> images;
    std::vector<uint32_t*> imageBits;
    int used = 0;
    ui::TUniqueMemDC dc;
};
