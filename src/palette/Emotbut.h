#pragma once
// TEmotButton: one face of the palette. It is not a window of its own: the palette window draws
// every face, hit-tests them with the grid arithmetic and passes their events to these handlers.
#include "palette/Grid.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

class TEmotButton {
  public:
    using TMouseLeave = std::function<void(TEmotButton&)>;

    // The face for one entry of the button list, at position `index`; utf8 as for the entry
    // functions of the settings file.
    TEmotButton(int index, const std::string& entry, bool utf8 = false);

    // The face's cell in a box of width x height (client coordinates at scroll position 0); records
    // the column count of that layout for the up and down arrows.
    TGridCell DefineBounds(uint16_t width, uint16_t height, const TGridMetrics& m = {}) const;

    // The mouse left the face.
    void CMMouseLeave() {
        if (FOnMouseLeave)
            FOnMouseLeave(*this);
    }

    enum TArrow { akUp, akDown, akLeft, akRight };
    // Where an arrow key moves the focus in a palette of `count` faces: up and down keep the
    // column, wrapping between the first and the last row; left and right go to the previous or
    // next face in list order, wrapping at the ends. Nothing when the palette is empty.
    std::optional<std::size_t> CMWantSpecialKey(TArrow key, std::size_t count) const;

    const std::string& Hint() const { return hint; }
    const std::string& Picture() const { return picture; }

    // Column count of the most recent layout, at least 1.
    static uint16_t ColumnCount;

    std::string FMean;
    int FIndex;
    // False once the face's picture is known to be missing or unreadable.
    bool FLoaded = true;
    TMouseLeave FOnMouseLeave;

  private:
    std::string hint;
    std::string picture;
};
