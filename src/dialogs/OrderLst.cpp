#include "dialogs/OrderLst.h"

int TOrderList::GetFirstSelectedItemNum() {
    FIterator = 0;
    return GetNextSelectedItemNum();
}

int TOrderList::GetNextSelectedItemNum() {
    const int count = Count();
    while (FIterator >= 0 && FIterator < count)
        if (Selected(FIterator++))
            return FIterator - 1;
    return NOITEMS;
}

int TOrderList::GetLastSelectedItemNum() {
    FIterator = Count() - 1;
    return GetPreviousSelectedItemNum();
}

int TOrderList::GetPreviousSelectedItemNum() {
    const int count = Count();
    while (FIterator >= 0 && FIterator < count)
        if (Selected(FIterator--))
            return FIterator + 1;
    return NOITEMS;
}

int TOrderList::GetFirstNonSelectedItemNum() const {
    for (int i = 0, n = Count(); i < n; ++i)
        if (!Selected(i))
            return i;
    return NOITEMS;
}

int TOrderList::GetLastNonSelectedItemNum() const {
    for (int i = Count() - 1; i >= 0; --i)
        if (!Selected(i))
            return i;
    return NOITEMS;
}

void TOrderList::UpSelected() {
    for (int i = GetFirstSelectedItemNum(); i != NOITEMS; i = GetNextSelectedItemNum())
        if (i > 0 && !Selected(i - 1)) {
            Move(i, i - 1);
            Select(i - 1);
        }
}

void TOrderList::DownSelected() {
    const int last = Count() - 1;
    for (int i = GetLastSelectedItemNum(); i != NOITEMS; i = GetPreviousSelectedItemNum())
        if (i < last && !Selected(i + 1)) {
            Move(i, i + 1);
            Select(i + 1);
        }
}

void TOrderList::ToBeginSelected() {
    int target = GetFirstNonSelectedItemNum();
    if (target == NOITEMS)
        return;
    for (int i = GetFirstSelectedItemNum(); i != NOITEMS; i = GetNextSelectedItemNum())
        if (i > target) {
            Move(i, target);
            Select(target++);
        }
}

void TOrderList::ToEndSelected() {
    int target = GetLastNonSelectedItemNum();
    if (target == NOITEMS)
        return;
    for (int i = GetLastSelectedItemNum(); i != NOITEMS; i = GetPreviousSelectedItemNum())
        if (i < target) {
            Move(i, target);
            Select(target--);
        }
}

TButtonList TOrderList::Items() const {
    TButtonList items;
    for (int i = 0, n = Count(); i < n; ++i)
        items.push_back(Item(i));
    return items;
}

bool TakeOrderList(const TButtonList& given, TButtonList& current) {
    if (given == current)
        return false;
    current = given;
    return true;
}
