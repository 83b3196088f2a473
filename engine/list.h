// A singly linked list that owns its nodes: the work queues and result
// collections of the algorithms.  Besides appending it offers min_del,
// which removes the smallest item under the item type's operator< / >.
#pragma once

template <class T>
struct part_of_list {
    part_of_list* next = nullptr;
    T item;  // default-constructed, then assigned
};

template <class T>
class list {
public:
    int no_of_items = 0;
    part_of_list<T>* first = nullptr;
    part_of_list<T>* last = nullptr;

    list() = default;
    list(const list&) = delete;
    list& operator=(const list&) = delete;
    ~list()
    {
        while (first) {
            part_of_list<T>* p = first;
            first = first->next;
            delete p;
        }
    }

    // Appends a copy of x after the last node.
    void add(const T& x)
    {
        auto* p = new part_of_list<T>;
        p->item = x;
        if (last)
            last->next = p;
        else
            first = p;
        last = p;
        ++no_of_items;
    }

    // 1 when some item == x.
    int is_element(const T& x) const
    {
        for (part_of_list<T>* p = first; p; p = p->next)
            if (p->item == x) return 1;
        return 0;
    }

    // Appends x unless an equal item is present.
    void add_set(const T& x)
    {
        if (!is_element(x)) add(x);
    }

    // Removes a smallest item and assigns it to x; the list must not be
    // empty.  The candidate is the earliest minimal item among the nodes
    // after the first; the first node is taken only when that candidate is
    // strictly greater, so ties go to the later node.
    void min_del(T& x)
    {
        if (no_of_items == 1) {
            x = first->item;
            delete first;
            first = last = nullptr;
            no_of_items = 0;
            return;
        }
        --no_of_items;
        part_of_list<T>* before_m = first;  // predecessor of the candidate
        part_of_list<T>* m = first->next;
        for (part_of_list<T>* prev = m, *p = m->next; p; prev = p, p = p->next) {
            if (p->item < m->item) {
                m = p;
                before_m = prev;
            }
        }
        if (m->item > first->item) {
            part_of_list<T>* old = first;
            x = old->item;
            first = old->next;
            delete old;
            return;
        }
        x = m->item;
        before_m->next = m->next;
        if (m == last) last = before_m;
        delete m;
    }
};

// For records with a monomial `t`, a counter `ins` and operator==: finds the
// first item equal to x, counts the repeated insertion in its `ins` and
// returns 1; returns 0 and changes nothing when there is none.  The caller
// appends x itself on 0.
template <class M>
int element(list<M>& L, const M& x)
{
    for (part_of_list<M>* p = L.first; p; p = p->next) {
        if (p->item == x) {
            p->item.ins += 1;
            return 1;
        }
    }
    return 0;
}
