// The linked list: appending, min_del's tie rules, element.
#include <vector>

#include <gtest/gtest.h>

#include "engine/list.h"
#include "engine/monom.h"
#include "fields/field.h"
#include "unit/test_support.h"

namespace {

using test_support::var;

class ListTest : public test_support::engine_test {
protected:
    void SetUp() override { test_support::use(3, 1); }
};

// A record like the Buchberger-Moeller candidates: ordered and compared by
// its monomial only; `id` tells equal monomials apart.
struct rec {
    monom t;
    int ins = 0;
    int id = 0;
    bool operator<(const rec& y) const { return t < y.t; }
    bool operator>(const rec& y) const { return t > y.t; }
    bool operator==(const rec& y) const { return t == y.t; }
};

rec make(const monom& t, int id)
{
    rec r;
    r.t = t;
    r.id = id;
    return r;
}

template <class T>
int count_nodes(const list<T>& L)
{
    int n = 0;
    for (part_of_list<T>* p = L.first; p; p = p->next) ++n;
    return n;
}

std::vector<int> ids(const list<rec>& L)
{
    std::vector<int> v;
    for (part_of_list<rec>* p = L.first; p; p = p->next) v.push_back(p->item.id);
    return v;
}

TEST_F(ListTest, AppendKeepsOrderAndLinks)
{
    list<monom> L;
    EXPECT_EQ(L.first, nullptr);
    EXPECT_EQ(L.is_element(var(0)), 0);
    L.add(var(0));
    L.add(var(1));
    L.add(var(0));
    EXPECT_EQ(L.no_of_items, 3);
    EXPECT_EQ(count_nodes(L), 3);
    EXPECT_EQ(L.first->item, var(0));
    EXPECT_EQ(L.last->item, var(0));
    EXPECT_EQ(L.last->next, nullptr);
    L.add_set(var(1));
    EXPECT_EQ(L.no_of_items, 3);
    L.add_set(var(2));
    EXPECT_EQ(L.no_of_items, 4);
    EXPECT_EQ(L.last->item, var(2));
    EXPECT_EQ(L.is_element(var(2)), 1);
    EXPECT_EQ(L.is_element(var(0, 2)), 0);
}

TEST_F(ListTest, MinDelOfTheOnlyNodeEmptiesTheList)
{
    list<monom> L;
    L.add(var(1));
    monom x;
    L.min_del(x);
    EXPECT_EQ(x, var(1));
    EXPECT_EQ(L.no_of_items, 0);
    EXPECT_EQ(L.first, nullptr);
    EXPECT_EQ(L.last, nullptr);
    L.add(var(2));
    EXPECT_EQ(L.first, L.last);
    EXPECT_EQ(L.first->item, var(2));
}

TEST_F(ListTest, MinDelOfTheLastNodeMovesLast)
{
    list<monom> L;
    L.add(var(0));
    L.add(var(1, 2));
    L.add(var(2));  // Z is the smallest
    monom x;
    L.min_del(x);
    EXPECT_EQ(x, var(2));
    EXPECT_EQ(L.no_of_items, 2);
    EXPECT_EQ(L.last->item, var(1, 2));
    L.add(var(1));
    EXPECT_EQ(count_nodes(L), 3);
    EXPECT_EQ(L.last->item, var(1));
    EXPECT_EQ(L.first->next->next, L.last);
}

TEST_F(ListTest, MinDelOfTheFirstNode)
{
    list<monom> L;
    L.add(var(2));
    L.add(var(0));
    L.add(var(1));
    monom x;
    L.min_del(x);
    EXPECT_EQ(x, var(2));
    EXPECT_EQ(L.first->item, var(0));
    EXPECT_EQ(count_nodes(L), 2);
}

TEST_F(ListTest, TiesAmongLaterNodesGoToTheEarliest)
{
    monom X = var(0), Y = var(1);
    list<rec> L;
    L.add(make(X, 1));
    L.add(make(Y, 2));
    L.add(make(Y, 3));
    rec r;
    L.min_del(r);
    EXPECT_EQ(r.id, 2);
    EXPECT_EQ(ids(L), (std::vector<int>{1, 3}));
    EXPECT_EQ(L.last->item.id, 3);
}

TEST_F(ListTest, TieWithTheFirstNodeGoesToTheLaterNode)
{
    monom Y = var(1);
    list<rec> L;
    L.add(make(Y, 1));
    L.add(make(Y, 2));
    rec r;
    L.min_del(r);
    EXPECT_EQ(r.id, 2);
    EXPECT_EQ(ids(L), (std::vector<int>{1}));
    EXPECT_EQ(L.first, L.last);

    // Monomials the ordering cannot tell apart are ties as well: a projective
    // and an affine X are compared under the affine ordering.
    monom xt = var(0);
    prj(xt);
    xt.exp[proj - 1] = 1;
    list<rec> M;
    M.add(make(xt, 1));
    M.add(make(var(0), 2));
    M.min_del(r);
    EXPECT_EQ(r.id, 2);
}

TEST_F(ListTest, ElementCountsRepeatedInsertions)
{
    list<rec> L;
    rec x = make(var(2), 9);
    EXPECT_EQ(element(L, x), 0);
    L.add(make(var(0), 1));
    L.add(make(var(1), 2));
    EXPECT_EQ(element(L, x), 0);
    EXPECT_EQ(L.first->item.ins + L.last->item.ins, 0);
    L.add(make(var(2), 3));
    EXPECT_EQ(element(L, x), 1);
    EXPECT_EQ(element(L, x), 1);
    EXPECT_EQ(L.last->item.ins, 2);
    EXPECT_EQ(L.first->item.ins, 0);
    EXPECT_EQ(x.ins, 0);
    EXPECT_EQ(x.id, 9);
    // Only the first equal node counts.
    L.add(make(var(0), 4));
    EXPECT_EQ(element(L, make(var(0), 0)), 1);
    EXPECT_EQ(L.first->item.ins, 1);
    EXPECT_EQ(L.last->item.ins, 0);
}

TEST_F(ListTest, RepeatedMinDelSortsAscending)
{
    // Every monomial of degree <= 3 in X, Y, Z, inserted in a scrambled order.
    std::vector<monom> all;
    for (int a = 0; a <= 3; ++a)
        for (int b = 0; a + b <= 3; ++b)
            for (int c = 0; a + b + c <= 3; ++c) {
                monom m;
                m.exp[0] = static_cast<int16_t>(a);
                m.exp[1] = static_cast<int16_t>(b);
                m.exp[2] = static_cast<int16_t>(c);
                all.push_back(m);
            }
    for (monom_order_fn lt : {degrevlex_lt, deglex_lt}) {
        monom_ordering_lt = lt;
        list<monom> L;
        for (size_t i = 0; i < all.size(); ++i) L.add(all[(i * 7) % all.size()]);
        ASSERT_EQ(L.no_of_items, static_cast<int>(all.size()));
        monom prev, x;
        L.min_del(prev);
        while (L.no_of_items > 0) {
            L.min_del(x);
            ASSERT_TRUE(lt(prev, x)) << prev << " before " << x;
            prev = x;
        }
        EXPECT_EQ(L.first, nullptr);
    }
}

}  // namespace
