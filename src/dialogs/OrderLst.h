#pragma once
// Moving the selected entries of a list: one place up or down, or all of them to the top or the
// bottom, keeping the selection on the moved entries and the other entries in their order. The
// moves run over a small interface that the order dialog's list box (and a plain vector in the
// tests) provides.
#include "settings/Ini.h"

#include <string>

// The primitives of a list with multiple selection.
class TSelectableList {
  public:
    virtual ~TSelectableList() = default;
    virtual int Count() const = 0;
    virtual std::string Item(int index) const = 0;
    virtual bool Selected(int index) const = 0;
    // Selects the entry at index; the others keep their state.
    virtual void Select(int index) = 0;
    // Takes the entry at `from` out and puts it in at `to` (the entries between shift by one). The
    // entry arrives unselected, as a list control's re-inserted item does; the others keep their
    // state.
    virtual void Move(int from, int to) = 0;
};

// The finders and moves of the selection. Every finder returns NOITEMS when there is no such entry.
class TOrderList : public TSelectableList {
  public:
    static constexpr int NOITEMS = -1;

    // The selection iterator: First and Last restart it at either end; Next goes on upward from
    // the entry after the last hit, Previous downward from the entry before it. A move may
    // rearrange the entries the iterator has passed, so one pass both finds and moves.
    int GetFirstSelectedItemNum();
    int GetNextSelectedItemNum();
    int GetLastSelectedItemNum();
    int GetPreviousSelectedItemNum();
    int GetFirstNonSelectedItemNum() const;
    int GetLastNonSelectedItemNum() const;

    // A selected entry passes the unselected neighbour above (below) it; a selected block at the
    // top (bottom) stays, and the gaps between selected entries shrink by one.
    void UpSelected();
    void DownSelected();
    // All selected entries to the top (bottom), in their order, followed (preceded) by the others.
    void ToBeginSelected();
    void ToEndSelected();

    // The entries in their present order.
    TButtonList Items() const;

  private:
    int FIterator = 0;
};

// Takes over `given` as the button list when it holds another order than `current` and reports
// whether it did. Lists of different lengths count as different orders.
bool TakeOrderList(const TButtonList& given, TButtonList& current);
