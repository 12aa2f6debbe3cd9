#include "dialogs/OrderLst.h"

#include <gtest/gtest.h>

namespace {

// Entries named by their first index, with their selection.
class TVectorList final : public TOrderList {
  public:
    TVectorList(int count, const std::vector<int>& selected) {
        for (int i = 0; i < count; ++i)
            rows.push_back({i, false});
        for (int i : selected)
            rows[std::size_t(i)].selected = true;
    }
    int Count() const override { return int(rows.size()); }
    std::string Item(int i) const override { return std::to_string(rows.at(std::size_t(i)).name); }
    bool Selected(int i) const override { return rows.at(std::size_t(i)).selected; }
    void Select(int i) override { rows.at(std::size_t(i)).selected = true; }
    void Move(int from, int to) override {
        Row r = rows.at(std::size_t(from));
        r.selected = false;
        rows.erase(rows.begin() + from);
        rows.insert(rows.begin() + to, r);
    }

    // The names in order, each selected one marked with '*'.
    std::string State() const {
        std::string s;
        for (const Row& r : rows)
            s += std::to_string(r.name) + (r.selected ? "* " : " ");
        return s;
    }

  private:
    struct Row {
        int name;
        bool selected;
    };
    std::vector<Row> rows;
};

enum TMove { mvUp, mvDown, mvTop, mvBottom };
constexpr void (TOrderList::*Moves[])() = {&TOrderList::UpSelected, &TOrderList::DownSelected,
                                           &TOrderList::ToBeginSelected,
                                           &TOrderList::ToEndSelected};

TEST(OrderList, MovesTheSelectionAndKeepsItSelected) {
    struct Case {
        int count;
        std::vector<int> selected;
        std::vector<TMove> moves; // each from the same start
        const char* after;
    };
    const std::vector<TMove> any = {mvUp, mvDown, mvTop, mvBottom};
    const Case cases[] = {
        {5, {1, 3}, {mvUp}, "1* 0 3* 2 4 "},
        {5, {1, 3}, {mvDown}, "0 2 1* 4 3* "},
        {5, {1, 3}, {mvTop}, "1* 3* 0 2 4 "},
        {5, {1, 3}, {mvBottom}, "0 2 4 1* 3* "},
        {5, {0, 2, 3}, {mvUp}, "0* 2* 3* 1 4 "},
        {5, {2, 3, 4}, {mvDown}, "0 1 2* 3* 4* "},
        {5, {0, 1}, {mvUp, mvTop}, "0* 1* 2 3 4 "},
        {5, {3, 4}, {mvDown, mvBottom}, "0 1 2 3* 4* "},
        {5, {0, 4}, {mvTop}, "0* 4* 1 2 3 "},
        {5, {0, 4}, {mvBottom}, "1 2 3 0* 4* "},
        {5, {}, any, "0 1 2 3 4 "},
        {5, {0, 1, 2, 3, 4}, any, "0* 1* 2* 3* 4* "},
        {0, {}, any, ""},
    };
    for (const Case& c : cases)
        for (TMove m : c.moves) {
            TVectorList list(c.count, c.selected);
            (list.*Moves[m])();
            EXPECT_EQ(list.State(), c.after)
                << "move " << m << " of " << testing::PrintToString(c.selected);
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
