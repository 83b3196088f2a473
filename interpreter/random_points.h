// Random point sets: the commands random and random2, the one seeded
// generator they share, and the search for repeated points.
#pragma once

#include <cstdint>
#include <map>
#include <set>
#include <utility>
#include <vector>

// An additive lagged Fibonacci generator, x_n = x_(n-55) + x_(n-24) modulo
// 2^32, on a table of 55 words filled from the seed by a fixed linear
// congruential recurrence.  Only fixed-width integer arithmetic is used, so
// the sequence is the same on every platform.
class lagged_fibonacci {
public:
    explicit lagged_fibonacci(uint32_t seed) { reseed(seed); }

    void reseed(uint32_t seed)
    {
        uint32_t z = seed;
        for (uint32_t& w : table) {
            z = z * 1664525u + 1013904223u;
            w = z ^ (z >> 16);
        }
        table[0] |= 1u;  // an odd word gives the full period
        pos = 0;
        // Mix the table before use.
        for (int i = 0; i < 4 * size; ++i) next();
    }

    uint32_t next()
    {
        int lag = pos + (size - 24);
        if (lag >= size) lag -= size;
        uint32_t v = table[pos] += table[lag];
        if (++pos == size) pos = 0;
        return v;
    }

    // A uniform integer of [low, high] (low <= high), by rejection of the
    // draws above the largest multiple of the interval length.
    int uniform(int low, int high)
    {
        const uint64_t m = uint64_t(int64_t(high) - int64_t(low) + 1);
        const uint64_t span = uint64_t(1) << 32;
        if (m == span) return int(int64_t(low) + int64_t(next()));
        const uint64_t limit = span - span % m;
        uint64_t x;
        do x = next();
        while (x >= limit);
        return int(int64_t(low) + int64_t(x % m));
    }

private:
    static constexpr int size = 55;
    uint32_t table[size];
    int pos = 0;  // the oldest word, x_(n-55)
};

// The generator of the random commands, seeded with random_seed at start-up
// (set_defaults); each command continues its sequence.
constexpr uint32_t random_seed = 1234;
lagged_fibonacci& random_generator();

// Keeps track of equal points among s points given by integer coordinate
// tuples and names the first equal pair (i, k), i < k, in the order i
// ascending, then k ascending: i is the first index whose point occurs again
// and k the next index with that point.
class repeat_finder {
public:
    using point = std::vector<int>;

    explicit repeat_finder(const std::vector<point>& points) : points(points)
    {
        for (int i = 0; i < int(points.size()); ++i) insert(i);
    }

    // False when all points differ.
    bool first_pair(int& i, int& k) const
    {
        if (pairs.empty()) return false;
        i = pairs.begin()->first;
        k = pairs.begin()->second;
        return true;
    }

    // Point k takes the coordinates p.
    void replace(int k, const point& p)
    {
        erase(k);
        points[k] = p;
        insert(k);
    }

private:
    std::vector<point> points;
    std::map<point, std::set<int>> where;  // point -> indices holding it
    std::set<std::pair<int, int>> pairs;   // the two smallest indices of each repeated point

    void unlist(const std::set<int>& ix)
    {
        if (ix.size() >= 2) pairs.erase({*ix.begin(), *std::next(ix.begin())});
    }
    void relist(const std::set<int>& ix)
    {
        if (ix.size() >= 2) pairs.insert({*ix.begin(), *std::next(ix.begin())});
    }
    void insert(int i)
    {
        std::set<int>& ix = where[points[i]];
        unlist(ix);
        ix.insert(i);
        relist(ix);
    }
    void erase(int i)
    {
        auto it = where.find(points[i]);
        unlist(it->second);
        it->second.erase(i);
        relist(it->second);
        if (it->second.empty()) where.erase(it);
    }
};

// The commands random and random2: a new identifier and the number of points.
void random1();
void random2();
