#include "palette/Emotbut.h"

#include "settings/Ini.h"

uint16_t TEmotButton::ColumnCount = 1;

TEmotButton::TEmotButton(int index, const std::string& entry, bool utf8)
    : FMean(EntrySequence(entry, utf8)), FIndex(index), hint(EntryHint(entry, utf8)),
      picture(EntryPicture(entry, utf8)) {}

TGridCell TEmotButton::DefineBounds(uint16_t width, uint16_t height, const TGridMetrics& m) const {
    const TGridCell cell = GridCell(static_cast<std::size_t>(FIndex), width, height, m);
    ColumnCount = cell.columns;
    return cell;
}

std::optional<std::size_t> TEmotButton::CMWantSpecialKey(TArrow key, std::size_t count) const {
    const auto i = static_cast<std::size_t>(FIndex);
    if (count == 0 || i >= count)
        return std::nullopt;
    switch (key) {
    case akUp:
    case akDown:
        return ArrowTarget(i, count, ColumnCount, key == akUp);
    case akLeft:
        return i == 0 ? count - 1 : i - 1;
    case akRight:
        return i + 1 == count ? 0 : i + 1;
    }
    return std::nullopt;
}
