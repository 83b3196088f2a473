#include "engine/strand_rows.h"

#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <climits>
#include <cstdint>
#include <iostream>
#include <memory>
#include <mutex>
#include <system_error>
#include <thread>
#include <utility>

#include "engine/dense_rows.h"
#include "engine/flagged_blocks.h"
#include "engine/globals.h"
#include "engine/interrupt.h"
#include "engine/parallel.h"
#include "engine/progress.h"
#include "engine/scaled_vector.h"

namespace {

std::size_t half_the_memory()
{
    const long pages = sysconf(_SC_PHYS_PAGES), size = sysconf(_SC_PAGE_SIZE);
    if (pages <= 0 || size <= 0) return std::size_t(1) << 32;
    return static_cast<std::size_t>(pages) * static_cast<std::size_t>(size) / 2;
}

// Degree of a projective monomial, the homogenizing exponent included.
int full_deg(const monom& m)
{
    int d = 0;
    for (int v = 0; v < proj; ++v) d += m.exp[v];
    return d;
}

// Every exponent vector of proj entries with sum d, into out.
void enumerate(monom& m, int v, int left, std::vector<monom>& out)
{
    if (v == proj - 1) {
        m.exp[v] = static_cast<int16_t>(left);
        out.push_back(m);
        return;
    }
    for (int e = left; e >= 0; --e) {
        m.exp[v] = static_cast<int16_t>(e);
        enumerate(m, v + 1, left - e, out);
    }
    m.exp[v] = 0;
}

struct greater_monom {
    bool operator()(const monom& x, const monom& y) const { return x > y; }
};

monom variable(int v)
{
    monom m;
    m.exp[v] = 1;
    return m;
}

// The arithmetic of the vectors being reduced.
using arith = lazy_arith<K>;

// A dense vector being reduced.  Blocks of 64 entries that may hold a
// non-zero entry are flagged (an unflagged block is zero), so the next
// non-zero entry is found a block at a time and writing costs one byte store.
class dense_vector {
public:
    explicit dense_vector(std::size_t n) : val_(n, arith::acc(0)), flag_((n + 63) / 64 + 1, 0), n_(n) {}

    // entry p += f * x (f prepared from c: entry p -= c * x)
    void add(int p, const arith::factor& f, const K& x)
    {
        flag_[p >> 6] = 1;
        a_.add(val_[p], f, x);
    }
    // entry pos[e] += f * x[e] for e < len; through local pointers, so the
    // stores of the flags are not taken to change them.
    void add_row(const int* pos, const K* x, int len, const arith::factor& f)
    {
        arith::acc* const v = val_.data();
        uint32_t* const flag = flag_.data();
        const arith a = a_;
        for (int e = 0; e < len; ++e) {
            const int p = pos[e];
            flag[p >> 6] = 1;
            a.add(v[p], f, x[e]);
        }
    }
#if defined(TARV_FIELD_FP) || defined(TARV_FIELD_FP8)
    // entries p0 .. p0+len-1 += f * x[e], x residues, with one contiguous loop.
    void add_run(int p0, const uint16_t* x, int len, uint32_t f)
    {
        for (int b = p0 >> 6, last = (p0 + len - 1) >> 6; b <= last; ++b) flag_[b] = 1;
        dense_kernels::lazy_axpy(val_.data() + p0, f, x, len, a_.P2);
    }
#endif
    K operator[](int p) const { return a_.value(val_[p]); }
    const arith& field() const { return a_; }

    // The first non-zero position from p on, -1 when there is none; entries
    // before p must be zero.
    int first_nonzero(int p)
    {
        return first_flagged_nonzero(flag_, n_, p, [&](std::size_t q) { return a_.nonzero(val_[q]); });
    }
    // As first_nonzero, for a vector whose entries before p need not be
    // zero: no block is unflagged.
    int scan(int p)
    {
        return first_flagged_nonzero(flag_, n_, p, [&](std::size_t q) { return a_.nonzero(val_[q]); }, false);
    }
    // The entries at the positions ps, appended to out; every other entry
    // must be zero (as scan leaves them), and the vector is zero afterwards.
    void take_rest(const std::vector<int>& ps, std::vector<K>& out)
    {
        for (int q : ps) {
            out.push_back(a_.value(val_[q]));
            val_[q] = arith::acc(0);
        }
        std::fill(flag_.begin(), flag_.end(), 0);
    }

    // The non-zero entries from p on times x, appended in order; the vector
    // is zero afterwards (entries before p must be zero already).
    void take_from(int p, const K& x, std::vector<int>& pos, std::vector<K>& coef)
    {
        take_from(p, x, [&](int q, const K& c) {
            pos.push_back(q);
            coef.push_back(c);
        });
    }
    template <class Put>
    void take_from(int p, const K& x, Put put)
    {
        for (int q = first_nonzero(p); q >= 0; q = first_nonzero(q + 1)) {
            put(q, a_.value(val_[q]) * x);
            val_[q] = arith::acc(0);
        }
    }

private:
    arith a_;
    std::vector<arith::acc> val_;
    std::vector<uint32_t> flag_;  // one per block, and a sentinel
    std::size_t n_;
};

#if defined(TARV_FIELD_FP) || defined(TARV_FIELD_FP8)
// The rows of a step that are dense enough (at least one in run_fill of the
// positions from the first to the last entry of each monomial taken), as one run per
// monomial over those columns, zeros filled in, in residues.  A multiple
// x_v * row then goes into the S-vector run by run, each a contiguous loop
// the compiler vectorises, sixteen residues at a time, instead of entry by
// entry; the values are the same (the zeros add nothing).  Runs of a few
// positions on average (rows over one or two columns, such as the
// generators of I_X) cost more in calls than they save, and their rows are
// added entry by entry.
constexpr long long run_fill = 8;
class dense_runs {
public:
    struct run {
        int mono, col, len;
        std::size_t at;
    };
    // Nothing is made unless wanted: every row is then added entry by entry.
    dense_runs(const strand_rows& A, int cA, bool wanted) : first_(static_cast<std::size_t>(A.rows()) + 1, 0)
    {
        for (int k = 0; k < A.rows() && wanted; ++k) {
            const int from = A.start[k], to = A.start[k + 1];
            long long span = 0, runs = 0;
            for_each_run(A, cA, from, to, [&](int x, int y) {
                span += A.pos[y] - A.pos[x] + 1;
                ++runs;
            });
            if (to > from && span <= run_fill * (to - from) && runs * 4 <= span)
                for_each_run(A, cA, from, to, [&](int x, int y) {
                    const run R{A.pos[x] / cA, A.pos[x] % cA, A.pos[y] - A.pos[x] + 1, coef_.size()};
                    coef_.resize(coef_.size() + static_cast<std::size_t>(R.len), 0);
                    for (int z = x; z <= y; ++z)
                        coef_[R.at + static_cast<std::size_t>(A.pos[z] - A.pos[x])] =
                            small_prime_field<K>::residue(A.coef[z]);
                    runs_.push_back(R);
                });
            first_[static_cast<std::size_t>(k) + 1] = runs_.size();
        }
    }
    bool dense(int k) const { return first_[k + 1] > first_[k]; }
    const run* begin(int k) const { return runs_.data() + first_[k]; }
    const run* end(int k) const { return runs_.data() + first_[k + 1]; }
    const uint16_t* coef(const run& R) const { return coef_.data() + R.at; }

private:
    // f(x, y) for the entries x .. y of one monomial, in order.
    template <class F>
    static void for_each_run(const strand_rows& A, int cA, int from, int to, F f)
    {
        for (int x = from; x < to;) {
            int y = x;
            while (y + 1 < to && A.pos[y + 1] / cA == A.pos[x] / cA) ++y;
            f(x, y);
            x = y + 1;
        }
    }
    std::vector<std::size_t> first_;
    std::vector<run> runs_;
    std::vector<uint16_t> coef_;
};

// Rows made one after another (the irreducible S-vectors, the interreduced
// rows), those that are dense (at least one in run_fill of the positions
// from their first entry to their last taken) also as one run of residues,
// zeros filled in: such a row is then added by one contiguous loop the
// compiler vectorises instead of entry by entry.  The values are the same.
class dense_row_runs {
public:
    void add(const int* pos, const K* coef, int len)
    {
        run R{0, 0, 0};
        if (len > 0 && run_fill * len >= static_cast<long long>(pos[len - 1]) - pos[0] + 1) {
            R = {pos[0], pos[len - 1] - pos[0] + 1, val_.size()};
            val_.resize(val_.size() + static_cast<std::size_t>(R.len), 0);
            for (int e = 0; e < len; ++e)
                val_[R.at + static_cast<std::size_t>(pos[e] - pos[0])] = small_prime_field<K>::residue(coef[e]);
        }
        runs_.push_back(R);
    }
    bool has(int g) const { return runs_[g].len > 0; }
    // v += f * row g when it is dense; whether it was.
    bool add_to(dense_vector& v, int g, arith::factor f) const
    {
        if (!has(g)) return false;
        v.add_run(from(g), values(g), len(g), f);
        return true;
    }
    std::size_t residues() const { return val_.size(); }

private:
    struct run {
        int from, len;
        std::size_t at;
    };
    int from(int g) const { return runs_[g].from; }
    int len(int g) const { return runs_[g].len; }
    const uint16_t* values(int g) const { return val_.data() + runs_[g].at; }
    std::vector<run> runs_;
    std::vector<uint16_t> val_;
};

// What the runs of a step take at most for one entry of its rows: up to
// run_fill residues and a run.
constexpr std::size_t run_bytes_per_entry() { return run_fill * sizeof(uint16_t) + sizeof(dense_runs::run); }
#else
constexpr std::size_t run_bytes_per_entry() { return 0; }
#endif

// Lists of positions that never move once written, kept in chunks (a list
// inside one chunk): the shifted rows of a step are made one at a time as
// the reduction meets them, and growing one vector would copy them again
// and again.
class stable_lists {
public:
    int* add(std::size_t len)
    {
        if (chunks_.empty() || used_ + len > cap_) {
            cap_ = std::max(chunk, len);
            chunks_.emplace_back(new int[cap_]);
            used_ = 0;
        }
        int* at = chunks_.back().get() + used_;
        used_ += len;
        total_ += len;
        return at;
    }
    std::size_t size() const { return total_; }

private:
    static constexpr std::size_t chunk = std::size_t(1) << 18;
    std::vector<std::unique_ptr<int[]>> chunks_;
    std::size_t used_ = 0, cap_ = 0, total_ = 0;
};

// A row store filled in order (the irreducible S-vectors and their rows of
// B).  Rows are kept in chunks that are never moved, each row inside one
// chunk: a row that outgrows its chunk is moved alone to a new one.
class row_pool {
public:
    row_pool() { new_chunk(chunk); }
    void push(int p, const K& c)
    {
        if (pos_.back().size() == pos_.back().capacity()) {
            const std::size_t part = pos_.back().size() - from_;
            new_chunk(std::max(chunk, 2 * part));
            auto& P = pos_[pos_.size() - 2];
            auto& C = coef_[coef_.size() - 2];
            pos_.back().insert(pos_.back().end(), P.begin() + static_cast<long>(from_), P.end());
            for (std::size_t e = from_; e < C.size(); ++e) coef_.back().push_back(std::move(C[e]));
            P.resize(from_);
            C.resize(from_);
            from_ = 0;
        }
        pos_.back().push_back(p);
        coef_.back().push_back(c);
        ++total_;
    }
    void end_row()
    {
        rows_.push_back({pos_.size() - 1, from_, static_cast<int>(pos_.back().size() - from_)});
        from_ = pos_.back().size();
    }
    int rows() const { return static_cast<int>(rows_.size()); }
    const int* pos(int g) const { return pos_[rows_[g].chunk].data() + rows_[g].from; }
    const K* coef(int g) const { return coef_[rows_[g].chunk].data() + rows_[g].from; }
    int len(int g) const { return rows_[g].len; }
    std::size_t size() const { return total_; }

private:
    static constexpr std::size_t chunk = std::size_t(1) << 16;
    struct row {
        std::size_t chunk, from;
        int len;
    };
    void new_chunk(std::size_t cap)
    {
        pos_.emplace_back();
        pos_.back().reserve(cap);
        coef_.emplace_back();
        coef_.back().reserve(cap);
    }
    std::vector<std::vector<int>> pos_;
    std::vector<std::vector<K>> coef_;
    std::vector<row> rows_;
    std::size_t from_ = 0, total_ = 0;
};

// The bytes one element of a vector being reduced takes, its heap parts
// included: a rational holds two integers of at least a limb each, an
// element of Q(zeta_N) field_degree() rationals.
std::size_t element_bytes()
{
    if (small_prime_field<K>::value) return sizeof(arith::acc);
    constexpr std::size_t rational = 32 + 2 * 24;
    return sizeof(K) + (field_degree() > 1 ? 24 : 0) + static_cast<std::size_t>(field_degree()) * rational;
}

// Refusal of a step that does not fit.
bool too_large()
{
    ++reported_errors;
    std::cout << "linear strand too large to be computed !\n";
    return false;
}

// The positions of x_v * (row k of A), computed at first use: the reducers
// are used again and again, by pair after pair.  Safe to call from several
// threads: a row is made once, under a lock, and never moves.
class shifted_positions {
public:
    // mul[v * |bA| + a]: the index in bT of x_v times monomial a of bA.
    shifted_positions(const strand_rows& A, int cA, int nv, int sA, std::vector<int> mul)
        : A_(A), cA_(cA), nv_(nv), sA_(sA), mul_(std::move(mul)),
          at_(new std::atomic<const int*>[static_cast<std::size_t>(A.rows()) * nv])
    {
        for (std::size_t x = 0; x < static_cast<std::size_t>(A.rows()) * nv; ++x) at_[x].store(nullptr);
    }
    const int* row(int k, int v)
    {
        std::atomic<const int*>& at = at_[static_cast<std::size_t>(k) * nv_ + v];
        if (const int* made = at.load(std::memory_order_acquire)) return made;
        std::lock_guard<std::mutex> lock(making_);
        if (const int* made = at.load(std::memory_order_relaxed)) return made;
        int* out = lists_.add(static_cast<std::size_t>(A_.start[k + 1] - A_.start[k]));
        const int* m = times(v);
        for (int e = A_.start[k], *o = out; e < A_.start[k + 1]; ++e) *o++ = m[A_.pos[e] / cA_] * cA_ + A_.pos[e] % cA_;
        at.store(out, std::memory_order_release);
        return out;
    }
    // The index in bT of x_v times each monomial of bA.
    const int* times(int v) const { return &mul_[static_cast<std::size_t>(v) * sA_]; }
    std::size_t size()
    {
        std::lock_guard<std::mutex> lock(making_);
        return lists_.size();
    }

private:
    const strand_rows& A_;
    int cA_, nv_, sA_;
    std::vector<int> mul_;
    std::unique_ptr<std::atomic<const int*>[]> at_;
    std::mutex making_;
    stable_lists lists_;
};

// The pairs that go through the first stage together: four when the rows
// of A are too many for the nearer caches (more would keep more S-vectors
// than those hold), else one, as there is nothing to share then and the
// vectors of the group would only take room.
int first_group_size(const strand_rows& A)
{
    if (strand_first_group > 0) return strand_first_group;
    constexpr std::size_t near_cache_entries = std::size_t(1) << 17;
    return A.pos.size() > near_cache_entries ? 4 : 1;
}

// A pair of rows of A and what its S-vector x_uj * row j - x_ui * row i
// starts from: e_bj - e_bi in the row of B.
struct strand_pair {
    int i, ui, bi, j, uj, bj;
};

// The order of the reductions.  The variable multiples
// of the rows of A are a fixed set of reducers with distinct leading terms;
// the irreducible S-vectors met so far join them one by one, each at a
// leading term no multiple has.  The row of B that a pair leaves is the
// unique syzygy in e_bj - e_bi + span(the rows of B of the reducers): two
// of them would differ by a combination of reducers mapping to 0, and
// reducers with distinct leading terms are independent.  An S-vector is
// irreducible exactly when it is not in the span of the reducers before it,
// and its first term outside their leading terms does not depend on how it
// was reduced either.  So the order of the reductions is free.  With
// strand_rows_first set, the first stage reduces every pair by the
// multiples wherever one of them leads (the pairs are independent, and
// shared between the cores), and the second stage, pair after pair, reduces
// what is left by the irreducible S-vectors, which are kept reduced the
// same way.  Otherwise the second stage alone reduces each S-vector from
// the front, by whichever reducer leads.  The results are the same.
//
// A pair after the first stage: what is left of the S-vector (at positions
// where no multiple leads, in order) and its row of B.
struct reduced_pair {
    std::vector<int> tpos, bpos;
#if defined(TARV_FIELD_Q)
    std::vector<mpz_class> tnum, bnum;  // numerators over d
    mpz_class d;
#else
    std::vector<K> tval, bval;
#endif
    void clear()
    {
        tpos.clear();
        bpos.clear();
#if defined(TARV_FIELD_Q)
        tnum.clear();
        bnum.clear();
#else
        tval.clear();
        bval.clear();
#endif
    }
    std::size_t size() const { return tpos.size() + bpos.size(); }
};

#if defined(TARV_FIELD_FP) || defined(TARV_FIELD_FP8)
// The variable multiples x_v * row k of A at the positions a sampled step
// keeps (compressed[position] >= 0), numbered as there, made on all cores.
class restricted_rows {
public:
    restricted_rows(const strand_rows& A, int cA, int nv, const shifted_positions& shifted,
                    const std::vector<int>& compressed)
        : nv_(nv), start_(static_cast<std::size_t>(A.rows()) * nv + 1, 0)
    {
        // Counted, then written, row by row of A.
        auto each = [&](int k, int v, auto put) {
            const int* m = shifted.times(v);
            for (int e = A.start[k]; e < A.start[k + 1]; ++e) {
                const int q = compressed[static_cast<std::size_t>(m[A.pos[e] / cA] * cA + A.pos[e] % cA)];
                if (q >= 0) put(q, A.coef[e]);
            }
        };
        parallel_ranges(static_cast<std::size_t>(A.rows()), 16, [&](std::size_t from, std::size_t to) {
            for (std::size_t k = from; k < to; ++k)
                for (int v = 0; v < nv; ++v) {
                    std::size_t n = 0;
                    each(static_cast<int>(k), v, [&](int, const K&) { ++n; });
                    start_[k * nv + v + 1] = n;
                }
        });
        for (std::size_t x = 1; x < start_.size(); ++x) start_[x] += start_[x - 1];
        pos_.resize(start_.back());
        coef_.resize(start_.back());
        parallel_ranges(static_cast<std::size_t>(A.rows()), 16, [&](std::size_t from, std::size_t to) {
            for (std::size_t k = from; k < to; ++k)
                for (int v = 0; v < nv; ++v) {
                    std::size_t at = start_[k * nv + v];
                    each(static_cast<int>(k), v, [&](int q, const K& c) {
                        pos_[at] = q;
                        coef_[at++] = small_prime_field<K>::residue(c);
                    });
                }
        });
    }
    const int* pos(int k, int v) const { return pos_.data() + start_[index(k, v)]; }
    const uint16_t* coef(int k, int v) const { return coef_.data() + start_[index(k, v)]; }
    int len(int k, int v) const { return static_cast<int>(start_[index(k, v) + 1] - start_[index(k, v)]); }

private:
    std::size_t index(int k, int v) const { return static_cast<std::size_t>(k) * nv_ + v; }
    int nv_;
    std::vector<std::size_t> start_;
    std::vector<int> pos_;
    std::vector<uint16_t> coef_;  // residues
};
#endif

// What the reducers of a step share, read only (the shifted positions are
// made under their own lock).
struct step_reducers {
    const strand_rows& A;
    int cA;
    shifted_positions& shifted;
#if defined(TARV_FIELD_FP) || defined(TARV_FIELD_FP8)
    dense_runs runs;  // the dense rows of A in residues, when wanted
    step_reducers(const strand_rows& A_, int cA_, shifted_positions& shifted_, bool runs_wanted)
        : A(A_), cA(cA_), shifted(shifted_), runs(A_, cA_, runs_wanted)
    {
    }
#endif
#if defined(TARV_FIELD_Q)
    std::vector<mpz_class> num, den;  // the rows of A as numerators over den[row]
#endif
#if !defined(TARV_FIELD_FP) && !defined(TARV_FIELD_FP8)
    step_reducers(const strand_rows& A_, int cA_, shifted_positions& shifted_)
        : A(A_), cA(cA_), shifted(shifted_)
    {
#if defined(TARV_FIELD_Q)
        num.resize(A.coef.size());
        den.resize(static_cast<std::size_t>(A.rows()));
        for (int k = 0; k < A.rows(); ++k) {
            common_denominator(A.coef.data() + A.start[k], static_cast<std::size_t>(A.start[k + 1] - A.start[k]), den[k]);
            for (int e = A.start[k]; e < A.start[k + 1]; ++e) numerator_over(A.coef[e], den[k], num[e]);
        }
#endif
    }
#endif
};

#if !defined(TARV_FIELD_Q)
// The S-vector and its row of B in K, the residues of the small prime
// fields accumulated without reduction.
class field_vectors {
protected:
    field_vectors(std::size_t spanT, std::size_t spanB) : tmp_(spanT), brow_(spanB) {}
    dense_vector tmp_, brow_;
    const K one_ = K(1), minus_one_ = -K(1);
};

// The reduction by the variable multiples of the rows of A: the first
// stage, and part of the second when there is no first.
class row_work : protected field_vectors {
public:
    row_work(const step_reducers& R, std::size_t spanT, std::size_t spanB) : field_vectors(spanT, spanB), R_(R) {}
    // tmp = x_uj * row j - x_ui * row i, brow = e_bj - e_bi.
    void begin(const strand_pair& P)
    {
        sub_shifted(P.j, P.uj, minus_one_);
        sub_shifted(P.i, P.ui, one_);
        brow_.add(P.bi, brow_.field().prepare(one_), one_);
        brow_.add(P.bj, brow_.field().prepare(minus_one_), one_);
    }
    int scan(int p) { return tmp_.scan(p); }
    // By x_v * row k of A, monic at L; b is its position in the row of B.
    void reduce_by_row(int k, int v, int b, int L)
    {
        const K lc = tmp_[L];
        sub_shifted(k, v, lc);
        brow_.add(b, brow_.field().prepare(lc), one_);
    }
    // out gets the entries at out.tpos and the row of B; both vectors are
    // zero afterwards.
    void finish(reduced_pair& out)
    {
        tmp_.take_rest(out.tpos, out.tval);
        brow_.take_from(0, one_, out.bpos, out.bval);
    }

private:
    // tmp -= c * x_v * (row k of A)
    void sub_shifted(int k, int v, const K& c)
    {
        const strand_rows& A = R_.A;
#if defined(TARV_FIELD_FP) || defined(TARV_FIELD_FP8)
        if (R_.runs.dense(k)) {
            const auto f = tmp_.field().prepare(c);
            const int* m = R_.shifted.times(v);
            for (const dense_runs::run* r = R_.runs.begin(k); r != R_.runs.end(k); ++r)
                tmp_.add_run(m[r->mono] * R_.cA + r->col, R_.runs.coef(*r), r->len, f);
            return;
        }
#endif
        tmp_.add_row(R_.shifted.row(k, v), A.coef.data() + A.start[k], A.start[k + 1] - A.start[k],
                     tmp_.field().prepare(c));
    }
    const step_reducers& R_;
};

// The second stage: the irreducible S-vectors met so far as reducers (and
// the multiples, when there was no first stage).
class kept_work : public row_work {
public:
    kept_work(const step_reducers& R, std::size_t spanT, std::size_t spanB) : row_work(R, spanT, spanB) {}
    // The pair's rest and row of B into the vectors.
    void load(const reduced_pair& P)
    {
        const arith::factor plus = tmp_.field().prepare(minus_one_);
        for (std::size_t e = 0; e < P.tpos.size(); ++e) tmp_.add(P.tpos[e], plus, P.tval[e]);
        for (std::size_t e = 0; e < P.bpos.size(); ++e) brow_.add(P.bpos[e], plus, P.bval[e]);
    }
    // Nothing left: the row of B is a syzygy, appended.
    bool take_if_reduced(const reduced_pair& P, std::vector<int>& pos, std::vector<K>& coef)
    {
        if (!P.tpos.empty()) return false;
        pos.insert(pos.end(), P.bpos.begin(), P.bpos.end());
        coef.insert(coef.end(), P.bval.begin(), P.bval.end());
        return true;
    }
    int first_nonzero(int p) { return tmp_.first_nonzero(p); }
    // By irreducible S-vector g, monic at L.
    void reduce_by_kept(int g, int L)
    {
        const arith::factor f = tmp_.field().prepare(tmp_[L]);
#if defined(TARV_FIELD_FP) || defined(TARV_FIELD_FP8)
        if (!gb_dense_.add_to(tmp_, g, f)) tmp_.add_row(gb_.pos(g), gb_.coef(g), gb_.len(g), f);
        if (!gb_rows_dense_.add_to(brow_, g, f))
            brow_.add_row(gb_rows_.pos(g), gb_rows_.coef(g), gb_rows_.len(g), f);
#else
        tmp_.add_row(gb_.pos(g), gb_.coef(g), gb_.len(g), f);
        brow_.add_row(gb_rows_.pos(g), gb_rows_.coef(g), gb_rows_.len(g), f);
#endif
    }
    // The S-vector, made monic at its leading term L, becomes irreducible
    // S-vector number kept() - 1.
    void keep(int L)
    {
        K inv = tmp_[L];
        inv.invert();
        tmp_.take_from(L, inv, [&](int q, const K& c) { gb_.push(q, c); });
        gb_.end_row();
        brow_.take_from(0, inv, [&](int q, const K& c) { gb_rows_.push(q, c); });
        gb_rows_.end_row();
#if defined(TARV_FIELD_FP) || defined(TARV_FIELD_FP8)
        const int g = gb_.rows() - 1;
        gb_dense_.add(gb_.pos(g), gb_.coef(g), gb_.len(g));
        gb_rows_dense_.add(gb_rows_.pos(g), gb_rows_.coef(g), gb_rows_.len(g));
#endif
    }
    int kept() const { return gb_.rows(); }
    // The S-vector reduced to zero: the row of B is a syzygy.
    void take_syzygy(std::vector<int>& pos, std::vector<K>& coef) { brow_.take_from(0, one_, pos, coef); }
    std::size_t held() const
    {
        std::size_t n = gb_.size() + gb_rows_.size();
#if defined(TARV_FIELD_FP) || defined(TARV_FIELD_FP8)
        n += (gb_dense_.residues() + gb_rows_dense_.residues()) / 4;  // two bytes each, an entry at least eight
#endif
        return n;
    }

private:
#if defined(TARV_FIELD_FP) || defined(TARV_FIELD_FP8)
    dense_row_runs gb_dense_, gb_rows_dense_;
#endif
    row_pool gb_, gb_rows_;  // the irreducible S-vectors and their rows of B
};
#endif

#if defined(TARV_FIELD_Q)
// Over Q a vector being reduced (with, for the strands, its row of B) is
// integer numerators over one common denominator d, and every reducer is
// integer numerators over its own denominator D.  Taking c = tmp[L] = t / d
// times a reducer N / D that is monic at L: with g = gcd(t, D), the new
// numerators are (D / g) * old - (t / g) * N over (D / g) * d, integer
// products only.  The values are the same rationals as the exact field's,
// step by step, so every zero test and every result is too.  The
// denominator is not kept reduced: a common factor is removed from the
// numerators and d when d has grown past twice its size after the last
// removal.
class scaled_reducer {
public:
    scaled_reducer(std::size_t spanT, std::size_t spanB) : tmp_(spanT), brow_(spanB) {}

    int first_nonzero(int p) { return tmp_.first_nonzero(p); }
    // tmp := the len rationals x at positions pos; brow is zero.
    void load(const int* pos, const K* x, int len)
    {
        common_denominator(x, static_cast<std::size_t>(len), d_);
        for (int e = 0; e < len; ++e) {
            numerator_over(x[e], d_, b_);
            tmp_.sub_mul(pos[e], b_, minus_one_);
        }
        removed_at_ = bits(d_);
    }
    // tmp and brow := a pair's rest and row of B after the first stage.
    void load(const reduced_pair& P)
    {
        d_ = P.d;
        for (std::size_t e = 0; e < P.tpos.size(); ++e) tmp_.sub_mul(P.tpos[e], minus_one_, P.tnum[e]);
        for (std::size_t e = 0; e < P.bpos.size(); ++e) brow_.sub_mul(P.bpos[e], minus_one_, P.bnum[e]);
        removed_at_ = bits(d_);
    }
    // Nothing left: the row of B is a syzygy, appended.
    bool take_if_reduced(const reduced_pair& P, std::vector<int>& pos, std::vector<K>& coef) const
    {
        if (!P.tpos.empty()) return false;
        for (std::size_t e = 0; e < P.bpos.size(); ++e) {
            pos.push_back(P.bpos[e]);
            coef.emplace_back();
            set_quotient(coef.back(), P.bnum[e], P.d);
        }
        return true;
    }
    // The S-vector reduced to zero: the row of B is a syzygy.
    void take_syzygy(std::vector<int>& pos, std::vector<K>& coef)
    {
        brow_.take([&](int q, mpz_class& x) {
            pos.push_back(q);
            coef.emplace_back();
            mpq_class& c = coef.back().v;
            mpz_swap(c.get_num_mpz_t(), x.get_mpz_t());
            c.get_den() = d_;
            c.canonicalize();
        });
    }
    // By kept row g, monic at L.
    void reduce_by_kept(int g, int L)
    {
        factors(L, kept_den_[g]);
        const kept_row& R = kept_[g];
        for (std::size_t e = R.from; e < R.mid; ++e) tmp_.sub_mul(kept_pos_[e], b_, kept_num_[e]);
        for (std::size_t e = R.mid; e < R.to; ++e) brow_.sub_mul(kept_pos_[e], b_, kept_num_[e]);
        remove_content_when_grown();
    }
    // tmp / tmp[L] = T / T[L], and brow / tmp[L]: the numerators over T[L],
    // made coprime with a positive denominator, become kept row kept() - 1.
    void keep(int L)
    {
        kept_row R;
        R.from = kept_pos_.size();
        mpz_class D = tmp_[L];
        tmp_.gcd_into(D);
        brow_.gcd_into(D);
        D = abs(D);  // the content
        if (sgn(tmp_[L]) < 0) D = -D;
        auto put = [&](int q, mpz_class& x) {
            kept_pos_.push_back(q);
            kept_num_.emplace_back();
            mpz_divexact(kept_num_.back().get_mpz_t(), x.get_mpz_t(), D.get_mpz_t());
        };
        kept_den_.emplace_back();
        mpz_divexact(kept_den_.back().get_mpz_t(), tmp_[L].get_mpz_t(), D.get_mpz_t());
        tmp_.take(put);
        R.mid = kept_pos_.size();
        brow_.take(put);
        R.to = kept_pos_.size();
        kept_.push_back(R);
    }
    int kept() const { return static_cast<int>(kept_.size()); }
    // The tmp part of kept row g as rationals.
    void kept_values(int g, std::vector<int>& pos, std::vector<K>& coef) const
    {
        const kept_row& R = kept_[g];
        for (std::size_t e = R.from; e < R.mid; ++e) {
            pos.push_back(kept_pos_[e]);
            coef.emplace_back();
            set_quotient(coef.back(), kept_num_[e], kept_den_[g]);
        }
    }
    std::size_t held() const { return kept_pos_.size(); }

protected:
    struct kept_row {
        std::size_t from, mid, to;  // tmp's entries, then brow's
    };
    static std::size_t bits(const mpz_class& x) { return mpz_sizeinbase(x.get_mpz_t(), 2); }

    // For the reducer over D at L: scales the numerators and d by D / g and
    // leaves b_ = t / g, with t = tmp[L], g = gcd(t, D).
    void factors(int L, const mpz_class& D)
    {
        mpz_gcd(g_.get_mpz_t(), tmp_[L].get_mpz_t(), D.get_mpz_t());
        mpz_divexact(b_.get_mpz_t(), tmp_[L].get_mpz_t(), g_.get_mpz_t());
        if (g_ == D) return;
        mpz_divexact(a_.get_mpz_t(), D.get_mpz_t(), g_.get_mpz_t());
        tmp_.scale(a_);
        brow_.scale(a_);
        d_ *= a_;
    }
    void remove_content_when_grown()
    {
        ::remove_content_when_grown(d_, removed_at_, [&](auto f) {
            tmp_.for_each_nonzero(f);
            brow_.for_each_nonzero(f);
        });
    }

    scaled_vector tmp_, brow_;
    std::vector<kept_row> kept_;
    std::vector<int> kept_pos_;
    std::vector<mpz_class> kept_num_, kept_den_;
    mpz_class d_, a_, b_, g_;
    const mpz_class one_ = 1, minus_one_ = -1;
    std::size_t removed_at_ = 0;
};

// Over Q the reduction by the variable multiples of the rows of A, each row
// as integer numerators over the least common multiple of its denominators;
// with the irreducible S-vectors of scaled_reducer, the second stage too.
class row_work : public scaled_reducer {
public:
    row_work(const step_reducers& R, std::size_t spanT, std::size_t spanB) : scaled_reducer(spanT, spanB), R_(R) {}
    void begin(const strand_pair& P)
    {
        const std::vector<mpz_class>& den = R_.den;
        mpz_lcm(d_.get_mpz_t(), den[P.i].get_mpz_t(), den[P.j].get_mpz_t());
        mpz_divexact(b_.get_mpz_t(), d_.get_mpz_t(), den[P.j].get_mpz_t());
        b_ = -b_;
        sub_row_of_A(P.j, P.uj, b_);
        mpz_divexact(b_.get_mpz_t(), d_.get_mpz_t(), den[P.i].get_mpz_t());
        sub_row_of_A(P.i, P.ui, b_);
        brow_.sub_mul(P.bi, d_, one_);
        brow_.sub_mul(P.bj, d_, minus_one_);
        removed_at_ = bits(d_);
    }
    int scan(int p) { return tmp_.scan(p); }
    void reduce_by_row(int k, int v, int b, int L)
    {
        factors(L, R_.den[k]);
        sub_row_of_A(k, v, b_);
        brow_.sub_mul(b, b_, R_.den[k]);
        remove_content_when_grown();
    }
    void finish(reduced_pair& out)
    {
        tmp_.take_rest(out.tpos, out.tnum);
        brow_.take([&](int q, mpz_class& x) {
            out.bpos.push_back(q);
            out.bnum.emplace_back();
            mpz_swap(out.bnum.back().get_mpz_t(), x.get_mpz_t());
        });
        out.d = d_;
    }

private:
    // tmp -= b * x_v * (numerators of row k of A)
    void sub_row_of_A(int k, int v, const mpz_class& b)
    {
        const strand_rows& A = R_.A;
        tmp_.sub_row(R_.shifted.row(k, v), R_.num.data() + A.start[k], A.start[k + 1] - A.start[k], b);
    }
    const step_reducers& R_;
};
using kept_work = row_work;
#endif

}  // namespace

std::size_t strand_memory_limit = half_the_memory();
// Over Q and Q(zeta_N) the first stage does not pay: reducing by the
// multiples past the first term they leave changes the terms passed at
// every step, and their numbers grow.
bool strand_rows_first = small_prime_field<K>::value;
int strand_first_group = 0;
long long strand_sample_positions = 0;

degree_basis::degree_basis(int d) : d_(d)
{
    monom m;
    m.dim = static_cast<int16_t>(proj);
    m = 0;
    enumerate(m, 0, d, m_);
    std::sort(m_.begin(), m_.end(), greater_monom());
}

int degree_basis::index(const monom& m) const
{
    if (full_deg(m) != d_) return -1;
    auto it = std::lower_bound(m_.begin(), m_.end(), m, greater_monom());
    if (it == m_.end() || !(*it == m)) return -1;
    return static_cast<int>(it - m_.begin());
}

long long monomials_of_degree(int d, long long limit)
{
    // binomial(d + n, n) for n = proj - 1, built up factor by factor.
    long long b = 1;
    for (int k = 1; k < proj; ++k) {
        b = b * (d + k) / k;
        if (b > limit) return limit;
    }
    return b;
}

void strand_rows::clear_rows()
{
    start.assign(1, 0);
    pos.clear();
    coef.clear();
}

bool to_strand_rows(const std::vector<std::vector<polynomial>>& M, int cols, strand_rows& A)
{
    int deg = -1;
    for (const auto& row : M)
        for (const polynomial& f : row)
            if (deg < 0 && sign(f)) deg = full_deg(f.term[0]);
    strand_rows R;
    R.deg = deg < 0 ? 1 : deg;
    R.cols = cols;
    for (int k = 0; k < cols; ++k) R.live.push_back(k);
    const degree_basis basis(R.deg);
    std::vector<std::pair<int, K>> entries;
    for (const auto& row : M) {
        entries.clear();
        for (int k = 0; k < cols; ++k) {
            const polynomial& f = row[k];
            if (!sign(f)) continue;
            for (int t = 0; t < f.no_of_monoms; ++t) {
                const int i = basis.index(f.term[t]);
                if (i < 0) return false;
                entries.emplace_back(i * cols + k, f.coef[t]);
            }
        }
        std::sort(entries.begin(), entries.end(),
                  [](const std::pair<int, K>& x, const std::pair<int, K>& y) { return x.first < y.first; });
        for (auto& e : entries) {
            R.pos.push_back(e.first);
            R.coef.push_back(e.second);
        }
        R.end_row();
    }
    std::swap(A, R);
    return true;
}

namespace {

// Row i as polynomials over the given basis of A.deg.
void row_polys(const strand_rows& A, int i, const degree_basis& basis, std::vector<polynomial>& out)
{
    const int w = A.width();
    out.assign(A.cols, polynomial(0));
    std::vector<int> terms(w, 0);
    for (int e = A.start[i]; e < A.start[i + 1]; ++e) ++terms[A.pos[e] % w];
    std::vector<int> filled(w, 0);
    for (int k = 0; k < w; ++k)
        if (terms[k]) out[A.live[k]].alloc(terms[k]);
    for (int e = A.start[i]; e < A.start[i + 1]; ++e) {
        const int k = A.pos[e] % w;
        polynomial& f = out[A.live[k]];
        f.term[filled[k]] = basis[A.pos[e] / w];
        f.coef[filled[k]] = A.coef[e];
        ++filled[k];
    }
}

}  // namespace

std::vector<polynomial> row_polynomials(const strand_rows& A, int i)
{
    std::vector<polynomial> out;
    row_polys(A, i, degree_basis(A.deg), out);
    return out;
}

void interreduce(strand_rows& A, std::vector<int>& Lt)
{
    const int w = A.width(), r = A.rows();
    Lt.assign(r, -1);
    const long long span = monomials_of_degree(A.deg, LLONG_MAX / 2) * w;
    std::vector<int> lead_of(static_cast<std::size_t>(span), -1);  // leading term -> row of R
    strand_rows R;
    R.deg = A.deg;
    R.cols = A.cols;
    R.live = A.live;
#if defined(TARV_FIELD_Q)
    scaled_reducer acc(static_cast<std::size_t>(span), 0);
    std::vector<int> kept_of(static_cast<std::size_t>(r), -1);  // row of R -> kept row
#else
    dense_vector acc(static_cast<std::size_t>(span));
    const arith::factor minus_one = acc.field().prepare(-K(1));
#if defined(TARV_FIELD_FP) || defined(TARV_FIELD_FP8)
    dense_row_runs dense;  // the rows of R, as runs where dense
#endif
#endif
    progress_report report("linear strand: reducing rows", r);
    for (int i = 0; i < r; ++i) {
        report.at(i);
        check_interrupt();
        if (A.zero_row(i)) {
            R.end_row();
#if defined(TARV_FIELD_FP) || defined(TARV_FIELD_FP8)
            dense.add(nullptr, nullptr, 0);
#endif
            continue;
        }
        const int from = A.start[i], len = A.start[i + 1] - from;
#if defined(TARV_FIELD_Q)
        acc.load(A.pos.data() + from, A.coef.data() + from, len);
#else
        acc.add_row(A.pos.data() + from, A.coef.data() + from, len, minus_one);
#endif
        int L = acc.first_nonzero(A.pos[from]);
        for (; L >= 0; L = acc.first_nonzero(L)) {
            const int j = lead_of[L];
            if (j < 0) break;
            // Row j is monic at this leading term, which cancels.
#if defined(TARV_FIELD_Q)
            acc.reduce_by_kept(kept_of[j], L);
#else
            const arith::factor f = acc.field().prepare(acc[L]);
#if defined(TARV_FIELD_FP) || defined(TARV_FIELD_FP8)
            if (dense.add_to(acc, j, f)) continue;
#endif
            acc.add_row(R.pos.data() + R.start[j], R.coef.data() + R.start[j], R.start[j + 1] - R.start[j], f);
#endif
        }
        if (L >= 0) {
            lead_of[L] = i;
            Lt[i] = A.live[L % w];
#if defined(TARV_FIELD_Q)
            kept_of[i] = acc.kept();
            acc.keep(L);
            acc.kept_values(kept_of[i], R.pos, R.coef);
#else
            K inv = acc[L];
            inv.invert();
            acc.take_from(L, inv, R.pos, R.coef);
#endif
        }
        R.end_row();
#if defined(TARV_FIELD_FP) || defined(TARV_FIELD_FP8)
        dense.add(R.pos.data() + R.start[i], R.coef.data() + R.start[i], R.start[i + 1] - R.start[i]);
#endif
    }
    std::swap(A, R);
}

long long strand_pairs(const strand_rows& A, const std::vector<int>& Lt, bool generators)
{
    const int r = A.rows();
    long long number = 0;
    std::vector<monom> lead;
    if (generators) {
        const degree_basis basis(A.deg);
        for (int i = 0; i < r; ++i) lead.push_back(A.zero_row(i) ? monom() : basis[A.pos[A.start[i]] / A.width()]);
    }
    for (int i = 0; i < r; ++i) {
        if (Lt[i] == -1) continue;
        for (int j = i + 1; j < r; ++j) {
            if (Lt[j] != Lt[i]) continue;
            if (generators && lcm(lead[i], lead[j]).tot_deg() > lead[i].tot_deg() + 1) continue;
            ++number;
        }
    }
    return number;
}

bool strand_syzygies(const strand_rows& A, const std::vector<int>& Lt, long long number, bool generators,
                     strand_rows& B, long long syzygies)
{
    const int nv = proj, r = A.rows(), cA = std::max(A.width(), 1);
    std::vector<int> rc(r, -1), live_rows;
    for (int i = 0; i < r; ++i)
        if (Lt[i] != -1) {
            rc[i] = static_cast<int>(live_rows.size());
            live_rows.push_back(i);
        }
    const long long liveA = std::max<long long>(live_rows.size(), 1);
    // Working storage: the S-vector and its echelon lookup over the monomials
    // of degree deg + 1, the row of B, the lookup of the rows of A.
    const long long nA = monomials_of_degree(A.deg, INT_MAX), nT = monomials_of_degree(A.deg + 1, INT_MAX);
    const long long spanT = nT * cA, spanB = nv * liveA, spanA = nA * cA;
    const std::size_t entry = sizeof(int) + element_bytes();
    // (an S-vector and a row of B for the second stage, and for each core
    // in the first)
    const bool rows_first = strand_rows_first;
    const int first_group = first_group_size(A);
    const double vectors = rows_first ? static_cast<double>(loop_threads()) * first_group + 1 : 1;
    const double fixed = vectors * (static_cast<double>(spanT) * entry + static_cast<double>(spanB) * entry) +
                         static_cast<double>(spanA) * sizeof(int) + static_cast<double>(nA) * nv * sizeof(int) +
                         static_cast<double>(number) * 2 * entry + static_cast<double>(A.pos.size()) * entry +
                         static_cast<double>(r) * nv * sizeof(long long) +
                         static_cast<double>(A.pos.size()) * run_bytes_per_entry();
    if (number > INT_MAX || spanT > INT_MAX || spanB > INT_MAX || spanA > INT_MAX) return too_large();

    const degree_basis bA(A.deg), bT(A.deg + 1), b1(1);
    // mul[v * |bA| + a]: the index in bT of x_v times monomial a; the
    // divisors of monomial t of bT: (v, a) with x_v * a = t.
    const int sA = bA.size(), sT = bT.size();
    std::vector<int> mul(static_cast<std::size_t>(nv) * sA), var_rank(nv);
    std::vector<std::vector<std::pair<int, int>>> divisors(sT);
    for (int v = 0; v < nv; ++v) {
        const monom x = variable(v);
        var_rank[v] = b1.index(x);
        for (int a = 0; a < sA; ++a) {
            const int t = bT.index(bA[a] * x);
            mul[static_cast<std::size_t>(v) * sA + a] = t;
            divisors[t].emplace_back(v, a);
        }
    }
    // The variable of a monomial of degree 1.
    auto var_of = [&](const monom& m) {
        for (int v = 0; v < nv; ++v)
            if (m.exp[v]) return v;
        return -1;
    };
    // The rows of A by leading term.
    std::vector<int> row_of(static_cast<std::size_t>(spanA), -1);
    for (int i : live_rows) {
        int& slot = row_of[A.pos[A.start[i]]];
        if (slot >= 0) {
            ++reported_errors;
            std::cout << "linear strand: two generators share a leading monomial\n";
            return false;
        }
        slot = i;
    }

    strand_rows next;
    next.deg = 1;
    next.cols = r;
    next.live = live_rows;
    const int width = static_cast<int>(live_rows.size());
    auto brow_pos = [&](int v, int k) { return var_rank[v] * width + rc[k]; };

    // The pairs in order, up to one whose multipliers are not variables.
    const int pairs = static_cast<int>(number);
    std::vector<strand_pair> list;
    bool bad_pair = false;
    for (int i = 0; i < r && !bad_pair && static_cast<int>(list.size()) < pairs; ++i) {
        if (Lt[i] == -1) continue;
        for (int j = i + 1; j < r && static_cast<int>(list.size()) < pairs; ++j) {
            if (Lt[j] != Lt[i]) continue;
            const monom mi = bA[A.pos[A.start[i]] / cA], mj = bA[A.pos[A.start[j]] / cA];
            int ui, uj;
            if (generators) {
                const monom m = lcm(mi, mj);
                if (m.tot_deg() > mi.tot_deg() + 1) continue;
                ui = var_of(m / mi);
                uj = var_of(m / mj);
            } else {
                // Both rows are monic at the common pivot column, their
                // leading monomials variables.
                ui = var_of(mj);
                uj = var_of(mi);
            }
            if (ui < 0 || uj < 0) {  // forms of degree 1 are expected
                bad_pair = true;
                break;
            }
            list.push_back({i, ui, brow_pos(ui, i), j, uj, brow_pos(uj, j)});
        }
    }

    const int total = static_cast<int>(list.size());
    // The number of syzygies is known past the generators only (see the
    // header), and holds for a step that reaches its last pair.
    const long long known = generators || bad_pair ? -1 : syzygies;
    const bool all_irreducible = known == 0;
    if (!all_irreducible && fixed > static_cast<double>(strand_memory_limit)) return too_large();
    auto announce = [&] {
        if (verbose && pairs != 0) std::cout << "eliminating syzygies ...\n";
    };
    progress_report report("linear strand: pairs", pairs);
    // The countdown at pair B_r (verbose) or the progress, then the interrupt.
    auto count_down = [&](int B_r) {
        if (verbose) std::cout << "[" << pairs - B_r << "]" << std::flush;
        else report.at(B_r);
        check_interrupt();
    };
    if (all_irreducible) {
        announce();
        // Every S-vector is irreducible: its "." and a zero row of B.
        for (int B_r = 0; B_r < total; ++B_r) {
            count_down(B_r);
            std::cout << ".";
            next.end_row();
        }
        if (verbose) std::cout << "\n";
        std::swap(B, next);
        return true;
    }

    shifted_positions shifted(A, cA, nv, sA, std::move(mul));

    // The multiple x_v * row k of A that leads at L, if one does: (k, v)
    // for the first row whose leading term divides (its leading monomial
    // is the quotient by a variable), else (-1, -1).
    auto row_at = [&](int L) {
        const int t = L / cA, col = L % cA;
        int best = INT_MAX, bv = -1;
        for (const auto& d : divisors[t]) {
            const int k = row_of[static_cast<std::size_t>(d.second) * cA + col];
            if (k >= 0 && k < best) {
                best = k;
                bv = d.first;
            }
        }
        return bv < 0 ? std::make_pair(-1, -1) : std::make_pair(best, bv);
    };
    // The reduction of the pairs, on all positions or (sampled) on those
    // where a multiple leads and a sample of the others, one in every
    // `sample`, numbered densely in order.  A coefficient of a reduction by
    // a multiple is the value at its leading term, and the values at leading
    // terms change only by the multiples' entries there, so the rows of B do not depend on the other
    // positions; these only tell which S-vectors are irreducible, a rank
    // condition on what the first stage leaves.  When the sample keeps as
    // many irreducible S-vectors as the known number of syzygies leaves,
    // pairs - syzygies, it sees every dependence among them, and the rows of
    // B, the marks and the count are those of the whole positions; else the
    // step is reduced on a larger sample, and at last on all positions.
    // The marks are written once the sample is known to be good.  Returns
    // 1 when B is made, 0 when the sample fell short, -1 on a refusal or an
    // error (reported).
#if defined(TARV_FIELD_FP) || defined(TARV_FIELD_FP8)
    // The multiple leading at each position, and how many have none, for
    // the samples (made at the first).
    std::vector<std::pair<int, int>> leads;
    long long others = 0;
#endif
    auto reduce_pairs = [&](const int sample) -> int {
        const bool sampled = sample > 0;
        std::vector<int> compressed, position;  // position -> sampled index, and back
        std::vector<std::pair<int, int>> lead_of;  // sampled index -> row_at
#if defined(TARV_FIELD_FP) || defined(TARV_FIELD_FP8)
        if (sampled) {
            compressed.assign(static_cast<std::size_t>(spanT), -1);
            if (leads.empty()) {
                leads.resize(static_cast<std::size_t>(spanT));
                for (int q = 0; q < spanT; ++q) {
                    leads[q] = row_at(q);
                    others += leads[q].first < 0;
                }
            }
            // A fixed pseudo-random sample: one in `sample` of these positions,
            // and at least 16 for each irreducible S-vector to be found (their
            // rows can be nonzero on few of them).
            const long long rank = total - known;
            const long long want = std::min<long long>(others, strand_sample_positions > 0
                                                                   ? strand_sample_positions
                                                                   : std::max(others / sample, 16 * rank + 256));
            for (int q = 0; q < spanT; ++q) {
                uint64_t h = (static_cast<uint64_t>(q) + 1) * 0x9E3779B97F4A7C15ull;
                h ^= h >> 29;
                h *= 0xBF58476D1CE4E5B9ull;
                h ^= h >> 32;
                if (leads[q].first >= 0 ||
                    static_cast<long long>(h % static_cast<uint64_t>(std::max<long long>(others, 1))) < want) {
                    compressed[q] = static_cast<int>(position.size());
                    position.push_back(q);
                    lead_of.push_back(leads[q]);
                }
            }
        }
#endif
        const long long spanW = sampled ? static_cast<long long>(position.size()) : spanT;
        auto lead_at = [&](int L) { return sampled ? lead_of[L] : row_at(L); };
#if defined(TARV_FIELD_FP) || defined(TARV_FIELD_FP8)
        std::unique_ptr<restricted_rows> restricted;
        if (sampled) restricted = std::make_unique<restricted_rows>(A, cA, nv, shifted, compressed);
        // (Sampled, the multiples of A are not used beyond the first stage.)
        const step_reducers reducers(A, cA, shifted, !sampled);
#else
        const step_reducers reducers(A, cA, shifted);
#endif
        std::vector<int> echelon(static_cast<std::size_t>(spanW), -1);  // leading term -> irreducible S-vector
        kept_work kept(reducers, static_cast<std::size_t>(spanW), static_cast<std::size_t>(spanB));
        std::vector<char> irreducible;

        // The reduction at L by that multiple; whether there is one.
        auto reduce_by_row_at = [&](auto& w, int L) {
            const auto [k, v] = lead_at(L);
            if (k < 0) return false;
            w.reduce_by_row(k, v, brow_pos(v, k), L);
            return true;
        };
        // The first stage of a group of pairs: each S-vector reduced wherever a
        // multiple leads; the other terms are passed and kept for the second
        // stage.  The pairs go through the positions together, so that a
        // multiple met by several of them is read once for all (the rows of A
        // do not stay in the nearer caches); each pair's reductions are those
        // it would have alone, in the same order.
        using worker_group = std::vector<std::unique_ptr<row_work>>;
        auto reduce_by_rows = [&](const worker_group& w, const strand_pair* P, reduced_pair* out, int n) {
            std::vector<int> at(static_cast<std::size_t>(n));
            for (int x = 0; x < n; ++x) {
                out[x].clear();
                w[x]->begin(P[x]);
                at[x] = w[x]->scan(0);
            }
            for (;;) {
                int L = INT_MAX;
                for (int x = 0; x < n; ++x)
                    if (at[x] >= 0) L = std::min(L, at[x]);
                if (L == INT_MAX) break;
                const auto [k, v] = lead_at(L);
                for (int x = 0; x < n; ++x) {
                    if (at[x] != L) continue;
                    if (k >= 0) {
                        w[x]->reduce_by_row(k, v, brow_pos(v, k), L);
                        at[x] = w[x]->scan(L);
                    } else {
                        out[x].tpos.push_back(L);
                        at[x] = w[x]->scan(L + 1);
                    }
                }
            }
            for (int x = 0; x < n; ++x) w[x]->finish(out[x]);
        };
        // The first-stage workers of a thread, one a pair of a group.
        work_pool<worker_group> workers([&] {
            auto g = std::make_unique<worker_group>();
            for (int x = 0; x < first_group; ++x)
                g->push_back(std::make_unique<row_work>(reducers, static_cast<std::size_t>(spanW),
                                                        static_cast<std::size_t>(spanB)));
            return g;
        });

#if defined(TARV_FIELD_FP) || defined(TARV_FIELD_FP8)
        // Sampled, the first stage takes sixteen pairs side by side, one lane
        // each of a vector over the sampled positions (lanes_axpy): a
        // multiple goes into all of them with one vector step per entry,
        // with each pair's own coefficient (0 where it has none), so each
        // pair's reductions are those it would have alone.
        constexpr int G = dense_kernels::lanes;
        using lanes_storage = std::vector<uint32_t>;
        work_pool<lanes_storage> lane_pool(
            [&] { return std::make_unique<lanes_storage>(static_cast<std::size_t>(spanW) * G, 0u); });
        auto reduce_lanes = [&](lanes_storage& V, const strand_pair* P, reduced_pair* out, int n) {
            const uint32_t p = small_prime_field<K>::modulus(), P2 = p * p;
            uint32_t f[G];
            // lane g += c * x_v * (row k of A)
            auto add = [&](int k, int v) {
                dense_kernels::lanes_axpy(V.data(), restricted->pos(k, v), restricted->coef(k, v),
                                          restricted->len(k, v), f, P2);
            };
            // The rows of B as (position, residue), summed and sorted at the end.
            std::vector<std::vector<std::pair<int, uint32_t>>> brows(static_cast<std::size_t>(n));
            for (int g = 0; g < n; ++g) {
                out[g].clear();
                std::fill(f, f + G, 0u);
                f[g] = 1;
                add(P[g].j, P[g].uj);
                f[g] = p - 1;
                add(P[g].i, P[g].ui);
                brows[g] = {{P[g].bj, 1u}, {P[g].bi, p - 1}};
            }
            for (int c = 0; c < spanW; ++c) {
                uint32_t* at = V.data() + static_cast<std::size_t>(c) * G;
                bool any = false;
                for (int g = 0; g < n; ++g) {
                    at[g] %= p;
                    any |= at[g] != 0;
                }
                if (!any) continue;
                const auto [k, v] = lead_of[c];
                if (k < 0) {  // a sampled position where no multiple leads: kept
                    for (int g = 0; g < n; ++g)
                        if (at[g] != 0) {
                            out[g].tpos.push_back(c);
                            out[g].tval.push_back(small_prime_field<K>::element(at[g]));
                        }
                } else {
                    const int b = brow_pos(v, k);
                    for (int g = 0; g < G; ++g) f[g] = g < n && at[g] != 0 ? p - at[g] : 0;
                    for (int g = 0; g < n; ++g)
                        if (at[g] != 0) brows[g].emplace_back(b, p - at[g]);
                    add(k, v);
                }
                std::fill(at, at + G, 0u);  // 0 in every lane, as the vector is left for the next group
            }
            for (int g = 0; g < n; ++g) {
                auto& r = brows[g];
                std::sort(r.begin(), r.end());
                for (std::size_t e = 0; e < r.size();) {
                    uint64_t sum = 0;
                    const int b = r[e].first;
                    for (; e < r.size() && r[e].first == b; ++e) sum += r[e].second;
                    if (sum % p != 0) {
                        out[g].bpos.push_back(b);
                        out[g].bval.push_back(small_prime_field<K>::element(static_cast<uint32_t>(sum % p)));
                    }
                }
            }
        };
        const int group = sampled ? G : first_group;
#else
        const int group = first_group;
#endif

        // Two batches: the first stage of the next runs while the second stage
        // goes through this one.  A batch whose first stage took less than a few
        // milliseconds is followed by batches twice as large, so that pairs that
        // cost little do not pay for the starting of threads.
        int batch_size = 64;
        std::vector<reduced_pair> batches[2];
        auto first_stage = [&](int from, int n, std::vector<reduced_pair>& out) {
            const auto started = std::chrono::steady_clock::now();
            if (static_cast<int>(out.size()) < n) out.resize(static_cast<std::size_t>(n));
            const int groups = (n + group - 1) / group;
            auto one = [&](std::size_t g) {
                if (interrupt_requested) return;  // the second stage stops at once
                const int x = static_cast<int>(g) * group;
#if defined(TARV_FIELD_FP) || defined(TARV_FIELD_FP8)
                if (sampled) {
                    std::unique_ptr<lanes_storage> V = lane_pool.take();
                    reduce_lanes(*V, &list[from + x], &out[x], std::min(group, n - x));
                    lane_pool.give_back(std::move(V));
                    return;
                }
#endif
                std::unique_ptr<worker_group> w = workers.take();
                reduce_by_rows(*w, &list[from + x], &out[x], std::min(group, n - x));
                workers.give_back(std::move(w));
            };
            if (groups >= 2 && n >= 4) parallel_items(static_cast<std::size_t>(groups), one);
            else
                for (int g = 0; g < groups; ++g) one(static_cast<std::size_t>(g));
            return std::chrono::steady_clock::now() - started < std::chrono::milliseconds(4);
        };
        auto grow_when = [&](bool quick) {
            if (quick && batch_size < (1 << 14)) batch_size *= 2;
        };
        // The first stage of the next batch on a thread of its own, joined on
        // every way out; done here after all when that thread could not be had
        // or did not finish.
        struct ahead_batch {
            std::thread t;
            bool failed = false, quick = false;
            ~ahead_batch() { join(); }
            void join()
            {
                if (t.joinable()) t.join();
            }
        } ahead;
        int n = std::min(batch_size, total);  // the pairs of the batch at hand
        if (rows_first) grow_when(first_stage(0, n, batches[0]));
        int B_r = 0;
        for (int c = 0; B_r < total; c = 1 - c) {
            const int later = std::min(batch_size, total - B_r - n);
            if (rows_first && later > 0) {
                ahead.failed = false;
                try {
                    ahead.t = std::thread([&, from = B_r + n, later, out = &batches[1 - c]] {
                        try {
                            ahead.quick = first_stage(from, later, *out);
                        } catch (...) {
                            ahead.failed = true;
                        }
                    });
                } catch (const std::system_error&) {
                    ahead.failed = true;
                }
            }
            const std::vector<reduced_pair>& batch = batches[c];
            std::size_t in_batch = 0;
            if (rows_first)
                for (int x = 0; x < n; ++x) in_batch += batch[x].size();

            for (int x = 0; x < n; ++x, ++B_r) {
                if (sampled) check_interrupt();
                else count_down(B_r);
                irreducible.push_back(0);
                bool reduced = false;
                if (rows_first) {
                    reduced = kept.take_if_reduced(batch[x], next.pos, next.coef);
                    if (!reduced) kept.load(batch[x]);
                } else {
                    kept.begin(list[B_r]);
                }
                if (!reduced) {
                    for (int L = kept.first_nonzero(0);; L = kept.first_nonzero(L)) {
                        if (L < 0) {  // a syzygy
                            kept.take_syzygy(next.pos, next.coef);
                            break;
                        }
                        const int g = echelon[L];
                        if (g >= 0) {
                            kept.reduce_by_kept(g, L);
                            continue;
                        }
                        // (Sampled, what the first stage leaves has no
                        // position where a multiple leads.)
                        if (!sampled && reduce_by_row_at(kept, L)) continue;
                        // Irreducible: a new element of the echelon basis.
                        if (!sampled) std::cout << ".";
                        irreducible.back() = 1;
                        echelon[L] = kept.kept();
                        kept.keep(L);
                        break;
                    }
                }
                next.end_row();
                const double held = static_cast<double>(next.pos.size() + kept.held() + in_batch) * entry +
                                    static_cast<double>(shifted.size()) * sizeof(int);
                if (fixed + held > static_cast<double>(strand_memory_limit)) {
                    if (sampled) {  // the whole reduction says so, with its marks
                        next.clear_rows();
                        return 0;
                    }
                    too_large();
                    return -1;
                }
            }
            ahead.join();
            if (ahead.failed) {
                ahead.failed = false;
                ahead.quick = first_stage(B_r, later, batches[1 - c]);
            }
            if (rows_first && later > 0) grow_when(ahead.quick);
            n = later;
        }
        if (sampled) {
            if (kept.kept() != total - known) {
                next.clear_rows();
                return 0;
            }
            announce();
            for (B_r = 0; B_r < total; ++B_r) {
                count_down(B_r);
                if (irreducible[B_r]) std::cout << ".";
            }
        }
        if (bad_pair) {
            count_down(B_r);
            ++reported_errors;
            std::cout << "linear strand: the multipliers of a pair are not variables\n";
            return -1;
        }
        if (verbose) std::cout << "\n";
        std::swap(B, next);
        return 1;
    };

    // Sampled where the number of syzygies is known and the first stage is
    // apart (the small prime fields): one in 32 positions, then one in 4
    // (a forced sample size is tried once).
    int made = 0;
    if (known > 0 && rows_first && small_prime_field<K>::value)
        for (int sample : {32, 4}) {
            made = reduce_pairs(sample);
            if (made != 0 || strand_sample_positions > 0) break;
        }
    if (made == 0) {
        announce();
        made = reduce_pairs(0);
    }
    return made == 1;
}

double strand_step_work(const strand_rows& A, long long number)
{
    return static_cast<double>(number) * proj * static_cast<double>(A.pos.size());
}

int strand_count(const std::vector<int>& Lt)
{
    return static_cast<int>(std::count_if(Lt.begin(), Lt.end(), [](int l) { return l != -1; }));
}

void print_strand_rows(const strand_rows& A, const std::vector<int>& Lt)
{
    const degree_basis basis(A.deg);
    std::vector<polynomial> row;
    for (int i = 0; i < A.rows(); ++i) {
        if (Lt[i] == -1) continue;
        row_polys(A, i, basis, row);
        std::cout << "[ ";
        counter = 2;
        for (int k = 0; k < A.cols; ++k) {
            if (k > 0) std::cout << ";\n";
            std::cout << row[k];
            counter = 0;
        }
        std::cout << " ]\n";
    }
}

void put_strand_rows(std::ostream& file, const strand_rows& A, const std::vector<int>& Lt)
{
    const degree_basis basis(A.deg);
    std::vector<polynomial> row;
    for (int i = 0; i < A.rows(); ++i) {
        if (Lt[i] == -1) continue;
        row_polys(A, i, basis, row);
        for (int k = 0; k < A.cols; ++k) {
            row[k].put(file);
            file << "\n";
        }
    }
}
