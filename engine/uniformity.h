// Uniformity of the separators' leading forms and linear general position.
#pragma once

class scheme;

// The m-subsets of {0, ..., n-1} in co-lexicographic order (the last index
// changes slowest), starting with {0, ..., m-1}.
class subset {
public:
    subset(int m, int n);
    subset(const subset&) = delete;
    subset& operator=(const subset&) = delete;
    ~subset();

    // The chosen indices, increasing; idx[m] is the sentinel n.
    const int* idx() const { return index; }
    int operator[](int i) const { return index[i]; }

    // Moves to the next subset; false when there is none (the enumeration
    // is finished).  last_moved() then tells whether the step changed the
    // last index, which is true for the final, finishing step as well.
    bool next();
    bool last_moved() const { return moved_last; }

private:
    int m;
    int* index;  // m entries and the sentinel
    bool moved_last = false;
};

// Command is_duf: whether every delta separators have linearly independent
// leading forms.
void is_delta_uf(scheme& X);

// Command is_uf with its number n: whether every n separators have linearly
// independent leading forms (n = delta is is_delta_uf; n > delta is refused).
void is_n_uf(scheme& X, int n);

// Command lingenpos: whether the points are in linearly general position.
void lingenpos(scheme& X);
