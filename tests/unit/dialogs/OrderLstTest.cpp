#include "dialogs/OrderLst.h"

#include <gtest/gtest.h>

#include <cctype>

namespace {

// Entries named a, b, c, ... in their first order; a selected one is in upper case. A moved entry
// arrives unselected.
class TLetterList final : public TOrderList {
  public:
    explicit TLetterList(std::string rows) : rows(std::move(rows)) {}
    int Count() const override { return int(rows.size()); }
    std::string Item(int i) const override { return {char(std::tolower(rows.at(size_t(i))))}; }
    bool Selected(int i) const override { return std::isupper(rows.at(size_t(i))) != 0; }
    void Select(int i) override { rows.at(size_t(i)) = char(std::toupper(rows.at(size_t(i)))); }
    void Move(int from, int to) override {
        const std::string r = Item(from);
        rows.erase(size_t(from), 1);
        rows.insert(size_t(to), r);
    }
    std::string rows;
};

enum TMove { mvUp, mvDown, mvTop, mvBottom };
constexpr void (TOrderList::*Moves[])() = {&TOrderList::UpSelected, &TOrderList::DownSelected,
                                           &TOrderList::ToBeginSelected,
                                           &TOrderList::ToEndSelected};

TEST(OrderList, MovesTheSelectionAndKeepsItSelected) {
    struct Case {
        const char* before;
        std::vector<TMove> moves; // each from the same start
        const char* after;
    };
    const std::vector<TMove> any = {mvUp, mvDown, mvTop, mvBottom};
    const Case cases[] = {
        {"aBcDe", {mvUp}, "BaDce"},
        {"aBcDe", {mvDown}, "acBeD"},
        {"aBcDe", {mvTop}, "BDace"},
        {"aBcDe", {mvBottom}, "aceBD"},
        {"AbCDe", {mvUp}, "ACDbe"},
        {"abCDE", {mvDown}, "abCDE"},
        {"ABcde", {mvUp, mvTop}, "ABcde"},
        {"abcDE", {mvDown, mvBottom}, "abcDE"},
        {"AbcdE", {mvTop}, "AEbcd"},
        {"AbcdE", {mvBottom}, "bcdAE"},
        {"abcde", any, "abcde"},
        {"ABCDE", any, "ABCDE"},
        {"", any, ""},
    };
    for (const Case& c : cases)
        for (TMove m : c.moves) {
            TLetterList list(c.before);
            (list.*Moves[m])();
            EXPECT_EQ(list.rows, c.after) << "move " << m << " of " << c.before;
        }
}

// A list of another length is another order, whatever its common part: the shorter one is never
// read past its end.
TEST(TakeOrderList, TakesOnlyAnotherOrder) {
    const TButtonList current = {"a", "b", "c"};
    const TButtonList same = current, swapped = {"b", "a", "c"}, shorter = {"a", "b"},
                      longer = {"a", "b", "c", "d"};
    for (const TButtonList* given : {&same, &swapped, &shorter, &longer}) {
        TButtonList list = current;
        EXPECT_EQ(TakeOrderList(*given, list), given != &same);
        EXPECT_EQ(list, *given);
    }
}

} // namespace
