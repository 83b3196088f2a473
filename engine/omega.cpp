#include "engine/omega.h"

#include <algorithm>
#include <atomic>
#include <climits>
#include <exception>
#include <functional>
#include <iostream>
#include <memory>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "engine/bumo.h"
#include "engine/bumo_modular.h"
#include "engine/dense_rows.h"
#include "engine/globals.h"
#include "engine/ideal.h"
#include "engine/interrupt.h"
#include "engine/matrix.h"
#include "engine/monom.h"
#include "engine/normal_forms_modular.h"
#include "engine/parallel.h"
#include "engine/polynomial.h"
#include "engine/progress.h"
#include "engine/relation_matrix.h"
#include "engine/scaled_vector.h"
#include "engine/scheme.h"

int check(const polynomial& f, const monom& t)
{
    for (int i = 0; i < f.no_of_monoms; ++i)
        if (f.term[i] == t) return i;
    return -1;
}

namespace {

// Projective polynomials are built while the global dim is raised to proj;
// the destructor restores it on every way out.
struct projective_scope {
    int saved = dim;
    projective_scope() { dim = proj; }
    ~projective_scope() { dim = saved; }
    projective_scope(const projective_scope&) = delete;
    projective_scope& operator=(const projective_scope&) = delete;
};

// The Groebner basis of X, computed in the affine variables also from
// within a projective_scope.
void need_groebner_affine(scheme& X)
{
    struct affine_scope {
        int saved = dim;
        affine_scope() { dim = proj - 1; }
        ~affine_scope() { dim = saved; }
    } affine;
    need_groebner(X);
}

int h_exp(const monom& m)
{
    return m.exp[proj - 1];
}

// Degree of a projective monomial, the homogenizing exponent included.
int full_deg(const monom& m)
{
    return m.tot_deg() + h_exp(m);
}

// u as a projective monomial with homogenizing exponent a.
monom with_h(const monom& u, int a)
{
    monom m = u;
    prj(m);
    m.exp[proj - 1] = static_cast<int16_t>(a);
    return m;
}

// Multiplies the homogeneous projective polynomial f by h^k (k > 0), which
// brings a homogenized normal form up to the degree of its monomial.
void raise_h(polynomial& f, int k)
{
    if (k <= 0) return;
    for (int i = 0; i < f.no_of_monoms; ++i) f.term[i].exp[proj - 1] += static_cast<int16_t>(k);
}

// The single term c * m.
polynomial term_poly(const monom& m, const K& c)
{
    polynomial p(m);
    p.coef[0] = c;
    return p;
}

// Term i of f as a polynomial of its own.
polynomial term_of(const polynomial& f, int i)
{
    return term_poly(f.term[i], f.coef[i]);
}

// The affine ordering in use as a comparison object: the order in which the
// needed monomials are kept and looked up.
struct affine_less {
    bool operator()(const monom& x, const monom& y) const { return monom_ordering_lt(x, y) != 0; }
};

// Monomials compared and hashed by their affine exponents.
struct affine_hash {
    std::size_t operator()(const monom& m) const
    {
        std::size_t h = 1469598103934665603ull;
        for (int v = 0; v < proj - 1; ++v) h = (h ^ static_cast<uint16_t>(m.exp[v])) * 1099511628211ull;
        return h;
    }
};
struct affine_equal {
    bool operator()(const monom& x, const monom& y) const { return aff_eq(x, y) != 0; }
};

using arith = delayed_arith<K>;

// A canonical form: the projective form of degree deg with terms
// coef[b] * O[at[b]] * h^(deg - deg O[at[b]]), the indices decreasing (the
// terms in decreasing order).
struct o_form {
    int deg = 0;
    std::vector<int> at;
    std::vector<K> coef;
    bool zero() const { return at.empty(); }
};

// A form of one degree whose terms lie over O, summed in a dense vector
// indexed by O with the row arithmetic Ops (residues with delayed reduction
// for the small prime fields, exact otherwise).
template <class Ops>
class o_accumulator {
public:
    using elem = typename Ops::elem;

    explicit o_accumulator(const scheme& X) : X_(X), val_(X.s)
    {
        for (auto& a : val_) Ops::set_zero(a);
    }
    // f as a dense vector over O.
    std::vector<elem> dense(const o_form& f) const
    {
        std::vector<elem> x(X_.s);
        for (auto& e : x) Ops::clear(e);
        for (size_t b = 0; b < f.at.size(); ++b) x[f.at[b]] = Ops::from_K(f.coef[b]);
        return x;
    }
    // Entry k += c.
    void add(int k, const K& c) { ops_.sub(val_[k], Ops::from_K(-c)); }
    // The vector += c * x.
    void add(const K& c, const std::vector<elem>& x)
    {
        const elem f = Ops::from_K(-c);
        ops_.sub_mul(val_.data(), f, x.data(), X_.s);
    }
    // f := the sum, its terms and coefficients (deg is left to the caller);
    // the vector is emptied.
    void take(o_form& f)
    {
        const int s = X_.s;
        ops_.normalize(val_.data(), s);
        f.at.clear();
        f.coef.clear();
        int terms = 0;
        for (int k = 0; k < s; ++k) terms += !Ops::is_zero_acc(val_[k]);
        f.at.reserve(terms);
        f.coef.reserve(terms);
        for (int k = s - 1; k >= 0; --k) {
            if (Ops::is_zero_acc(val_[k])) continue;
            f.at.push_back(k);
            f.coef.push_back(Ops::to_K(ops_.value(val_[k])));
            Ops::set_zero(val_[k]);
        }
    }

private:
    const scheme& X_;
    Ops ops_;
    std::vector<typename Ops::acc> val_;
};

// The coefficients of a flat row (below).  Over Q they may be held as integer
// numerators over a common denominator, the form the sums work in, with
// each rational value made only when it is read; the integer form of
// rational values is made when first asked for.  Every change goes through
// this class, which keeps the two forms consistent.
class flat_coefs {
public:
    size_t size() const { return coef_.size(); }
#if defined(TARV_FIELD_Q)
    const K& operator[](size_t e) const
    {
        // Values put in through change() are made; made_ may not cover them.
        if (e < made_.size() && !made_[e]) {
            set_quotient(coef_[e], num_[e], den_);
            made_[e] = 1;
        }
        return coef_[e];
    }
    // Every value made, for a change of the values; the integer form is
    // forgotten.
    std::vector<K>& change()
    {
        for (size_t e = 0; e < coef_.size(); ++e) (*this)[e];
        made_.clear();
        den_ = 0;
        return coef_;
    }
    // The values num[e] / den; num is taken.
    void set_integers(std::vector<mpz_class>& num, const mpz_class& den)
    {
        std::swap(num_, num);
        den_ = den;
        coef_.resize(num_.size());
        made_.assign(num_.size(), 0);
    }
    // The numerators over den(), made when first asked for.
    const std::vector<mpz_class>& numerators() const
    {
        if (sgn(den_) == 0) {
            common_denominator(coef_.data(), coef_.size(), den_);
            num_.resize(coef_.size());
            for (size_t e = 0; e < coef_.size(); ++e) numerator_over(coef_[e], den_, num_[e]);
        }
        return num_;
    }
    const mpz_class& den() const
    {
        numerators();
        return den_;
    }
    // Keeps the entries e with keep(e), in order.
    template <class Keep>
    void keep_if(Keep keep)
    {
        const bool integers = sgn(den_) != 0;
        made_.resize(coef_.size(), 1);
        size_t n = 0;
        for (size_t e = 0; e < coef_.size(); ++e) {
            if (!keep(e)) continue;
            if (n != e) {
                std::swap(coef_[n], coef_[e]);
                made_[n] = made_[e];
                if (integers) mpz_swap(num_[n].get_mpz_t(), num_[e].get_mpz_t());
            }
            ++n;
        }
        coef_.resize(n);
        made_.resize(n);
        if (integers) num_.resize(n);
    }
#else
    const K& operator[](size_t e) const { return coef_[e]; }
    const std::vector<K>& values() const { return coef_; }
    std::vector<K>& change() { return coef_; }
    template <class Keep>
    void keep_if(Keep keep)
    {
        size_t n = 0;
        for (size_t e = 0; e < coef_.size(); ++e)
            if (keep(e)) coef_[n++] = coef_[e];
        coef_.resize(n);
    }
#endif

private:
#if defined(TARV_FIELD_Q)
    mutable std::vector<K> coef_;
    // made_[e] == 0: coef_[e] is not made yet (only with the integer form
    // held); entries past its end are made.
    mutable std::vector<char> made_;
    mutable std::vector<mpz_class> num_;
    mutable mpz_class den_ = 0;  // 0: the integer form is not held
#else
    std::vector<K> coef_;
#endif
};

#if defined(TARV_FIELD_Q)
// Sums in the slots of a corner sum over Q: integer numerators over one
// common denominator d.  A product c * r (c = n / m, r = N / D in integer
// form) is added as n (d / (m D)) N after d is made a multiple of m D, so the
// entries cost integer products only, no gcd each as sums of reduced
// fractions do.
class slot_sums {
public:
    void grow() { num_.emplace_back(); }
    // Prepares the adding of c * r; touched: every slot that may be non-zero.
    void begin(const K& c, const flat_coefs& r, const std::vector<int>& touched)
    {
        remove_content_when_grown(d_, removed_at_, [&](auto f) {
            for (int t : touched) f(num_[t]);
        });
        N_ = &r.numerators();
        M_ = c.v.get_den() * r.den();
        mpz_gcd(g_.get_mpz_t(), d_.get_mpz_t(), M_.get_mpz_t());
        if (g_ != M_) {
            mpz_divexact(g_.get_mpz_t(), M_.get_mpz_t(), g_.get_mpz_t());
            for (int t : touched) num_[t] *= g_;
            d_ *= g_;
        }
        mpz_divexact(k_.get_mpz_t(), d_.get_mpz_t(), M_.get_mpz_t());
        k_ *= c.v.get_num();
    }
    // Slot t += c * r[e].
    void add(int t, size_t e) { mpz_addmul(num_[t].get_mpz_t(), k_.get_mpz_t(), (*N_)[e].get_mpz_t()); }
    auto adder()
    {
        return [this](int t, size_t e) { add(t, e); };
    }
    bool nonzero(int t) const { return sgn(num_[t]) != 0; }
    K value(int t) const
    {
        K x;
        set_quotient(x, num_[t], d_);
        return x;
    }
    void reset(int t) { num_[t] = 0; }
    // out := the sums in the slots touched, in that order; the slots are
    // left unspecified.
    void store(flat_coefs& out, const std::vector<int>& touched)
    {
        std::vector<mpz_class> num(touched.size());
        for (size_t b = 0; b < touched.size(); ++b) mpz_swap(num[b].get_mpz_t(), num_[touched[b]].get_mpz_t());
        out.set_integers(num, d_);
    }
    // Every slot is zero again.
    void emptied()
    {
        d_ = 1;
        removed_at_ = 1;
    }

private:
    std::vector<mpz_class> num_;
    mpz_class d_ = 1, M_, g_, k_;
    std::size_t removed_at_ = 1;
    const std::vector<mpz_class>* N_ = nullptr;
};

// Forms of the rows of a matrix (row r, column l: f[r q + l]) with integer
// coefficients over a denominator per row, for the fraction-free reduction
// of a row R of forms kept over one denominator dR.
class scaled_rows {
public:
    scaled_rows(const std::vector<polynomial>& f, int rows, int q) : q_(q), form_(f), den_(rows)
    {
        std::vector<K> coefs;
        for (int r = 0; r < rows; ++r) {
            coefs.clear();
            for (int l = 0; l < q; ++l) {
                const polynomial& g = f[static_cast<size_t>(r) * q + l];
                for (int b = 0; b < g.no_of_monoms; ++b) coefs.push_back(g.coef[b]);
            }
            common_denominator(coefs.data(), coefs.size(), den_[r]);
            mpz_class x;
            for (int l = 0; l < q; ++l) {
                polynomial& g = form_[static_cast<size_t>(r) * q + l];
                for (int b = 0; b < g.no_of_monoms; ++b) {
                    numerator_over(g.coef[b], den_[r], x);
                    g.coef[b] = K(mpq_class(x));
                }
            }
        }
    }
    const polynomial& form(int r, int l) const { return form_[static_cast<size_t>(r) * q_ + l]; }
    const mpz_class& den(int r) const { return den_[r]; }
    int q() const { return q_; }

private:
    int q_;
    std::vector<polynomial> form_;
    std::vector<mpz_class> den_;
};

// The reduction of a row R of q forms kept over one denominator dR by the
// rows of a scaled_rows.
class scaled_row_reduction {
public:
    explicit scaled_row_reduction(const scaled_rows& rows) : rows_(rows) {}

    // R / dR -= c * m * (row r) / den(r) with c taking away the leading term
    // of R[ee], that of m * form(r, ee): with a, b the two leading
    // coefficients and g their gcd, R := (b / g) R - (a / g) m row r and
    // dR := (b / g) dR (b / g made positive).  Only the columns n with
    // take(n) are subtracted (the others of row r are zero modulo h).
    template <class Take>
    void reduce(std::vector<polynomial>& R, mpz_class& dR, std::size_t& removed_at, int r, int ee,
                const monom& m, Take take)
    {
        const mpz_class& a = R[ee].coef[0].v.get_num();
        const mpz_class& b = rows_.form(r, ee).coef[0].v.get_num();
        mpz_gcd(g_.get_mpz_t(), a.get_mpz_t(), b.get_mpz_t());
        mpz_divexact(beta_.get_mpz_t(), a.get_mpz_t(), g_.get_mpz_t());
        mpz_divexact(alpha_.get_mpz_t(), b.get_mpz_t(), g_.get_mpz_t());
        if (sgn(alpha_) < 0) {
            alpha_ = -alpha_;
            beta_ = -beta_;
        }
        const bool shift = m.tot_deg() != 0 || h_exp(m) != 0;
        if (alpha_ != 1) {
            const K al{mpq_class(alpha_)};
            for (polynomial& f : R)
                if (sign(f)) f *= al;
            dR *= alpha_;
        }
        const K be{mpq_class(beta_)};
        for (int n = 0; n < rows_.q(); ++n) {
            if (!take(n)) continue;
            if (shift) {
                shifted_ = rows_.form(r, n);
                shifted_ *= m;
                R[n].sub_scaled(shifted_, be);
            } else {
                R[n].sub_scaled(rows_.form(r, n), be);
            }
        }
        remove_content_when_grown(dR, removed_at, [&](auto f) {
            for (polynomial& p : R)
                for (int t = 0; t < p.no_of_monoms; ++t) f(p.coef[t].v.get_num());
        });
    }

private:
    const scaled_rows& rows_;
    mpz_class alpha_, beta_, g_;
    polynomial shifted_;
};
#else
// Sums in the slots of a corner sum: exact in K, or residues accumulated
// without reduction for the small prime fields.
class slot_sums {
public:
    void grow() { val_.push_back(arith::acc(0)); }
    void begin(const K& c, const flat_coefs& r, const std::vector<int>&)
    {
        f_ = a_.prepare(-c);
        x_ = r.values().data();
    }
    void add(int t, size_t e) { a_.add(val_[t], f_, x_[e]); }
    // add as a function object holding its own copies of the pointers.
    auto adder()
    {
        return [a = a_, val = val_.data(), f = f_, x = x_](int t, size_t e) { a.add(val[t], f, x[e]); };
    }
    bool nonzero(int t) { return a_.nonzero(val_[t]); }
    K value(int t) const { return a_.value(val_[t]); }
    void reset(int t) { val_[t] = arith::acc(0); }
    void store(flat_coefs& out, const std::vector<int>& touched) const
    {
        std::vector<K>& coef = out.change();
        coef.resize(touched.size());
        for (size_t b = 0; b < touched.size(); ++b) coef[b] = value(touched[b]);
    }
    void emptied() {}

private:
    arith a_;
    std::vector<arith::acc> val_;
    arith::factor f_{};
    const K* x_ = nullptr;
};
#endif

// Rows of q projective polynomials (the corner entries of a row) combined
// as rows: row := row + f * row'.  A row is kept flat, one slot a pair
// (column, affine monomial), and sums are taken in a dense vector over the
// slots met so far: terms with equal affine parts add up, as in polynomial
// arithmetic, and a row costs no merge per product.
class corner_sum {
public:
    struct flat {
        std::vector<int> slot;
        flat_coefs coef;
        std::vector<int16_t> h;  // the homogenizing exponents of the terms
    };

    explicit corner_sum(int q) : q_(q) {}

    // The flat form of the row whose entry k is entry(k).
    template <class Entry>
    flat flatten(Entry entry)
    {
        flat r;
        for (int k = 0; k < q_; ++k) {
            const polynomial& E = entry(k);
            if (!sign(E)) continue;
            for (int b = 0; b < E.no_of_monoms; ++b) {
                r.slot.push_back(slot(k, id(E.term[b])));
                r.coef.change().push_back(E.coef[b]);
                r.h.push_back(E.term[b].exp[proj - 1]);
            }
        }
        return r;
    }

    // Adds (or subtracts) f * r.
    void add(const flat& r, const polynomial& f, bool subtract)
    {
        if (!sign(f)) return;
        const int n = static_cast<int>(r.slot.size());
        for (int a = 0; a < f.no_of_monoms; ++a) {
            const monom& fa = f.term[a];
            bool pure_h = true;  // f's term a moves no affine exponent
            for (int v = 0; v < proj - 1 && pure_h; ++v) pure_h = fa.exp[v] == 0;
            sums_.begin(subtract ? -f.coef[a] : f.coef[a], r.coef, touched_);
            const int hf = fa.exp[proj - 1];
            if (pure_h) {
                // r's own slots.  Through local pointers: the stores of the
                // marks would otherwise make every member be read again.
                char* const used = used_.data();
                int16_t* const hx = hx_.data();
                const int* const rs = r.slot.data();
                const int16_t* const rh = r.h.data();
                auto sum = sums_.adder();
                for (int e = 0; e < n; ++e) {
                    const int t = rs[e];
                    if (!used[t]) {
                        used[t] = 1;
                        touched_.push_back(t);
                        hx[t] = static_cast<int16_t>(hf + rh[e]);
                    }
                    sum(t, static_cast<size_t>(e));
                }
                continue;
            }
            for (int e = 0; e < n; ++e) {
                const int t = slot(slot_col_[r.slot[e]], id(fa * mono_[slot_id_[r.slot[e]]]));
                if (!used_[t]) {
                    used_[t] = 1;
                    touched_.push_back(t);
                    hx_[t] = static_cast<int16_t>(hf + r.h[e]);
                }
                sums_.add(t, static_cast<size_t>(e));
            }
        }
    }

    // entry(k) := entry k of the sum, its terms in decreasing order, for
    // every k < q; the sum is emptied.  With out, also the flat form of the
    // new row (the same as flatten would give).
    template <class Entry>
    void take(Entry entry, flat* out = nullptr)
    {
        const int n = keep_nonzero();
        std::sort(touched_.begin(), touched_.end(), [this](int x, int y) {
            if (slot_col_[x] != slot_col_[y]) return slot_col_[x] < slot_col_[y];
            return monom_ordering_lt(mono_[slot_id_[y]], mono_[slot_id_[x]]) != 0;
        });
        int j = 0;
        for (int k = 0; k < q_; ++k) {
            int end = j;
            while (end < n && slot_col_[touched_[end]] == k) ++end;
            polynomial& E = entry(k);
            if (end == j) {
                E = 0;
                continue;
            }
            E.alloc(end - j);
            for (int b = 0; j < end; ++j, ++b) {
                const int t = touched_[j];
                E.term[b] = with_h(mono_[slot_id_[t]], hx_[t]);
                E.coef[b] = sums_.value(t);
            }
        }
        if (out) copy_touched(*out);
        for (int t : touched_) sums_.reset(t);
        touched_.clear();
        sums_.emptied();
    }

    // The sum as a flat row with its terms in increasing column order (in no
    // order within a column); the sum is emptied.  Cheaper than take: no
    // polynomials are made and the terms of a column are not sorted.
    void take_flat(flat& out)
    {
        keep_nonzero();
        std::sort(touched_.begin(), touched_.end(), [this](int x, int y) { return slot_col_[x] < slot_col_[y]; });
        copy_touched(out);
        for (int t : touched_) sums_.reset(t);
        touched_.clear();
        sums_.emptied();
    }

    // The terms of r in column k (r in increasing column order): [first, last).
    std::pair<size_t, size_t> column(const flat& r, int k) const
    {
        const auto first = std::partition_point(r.slot.begin(), r.slot.end(),
                                                [this, k](int t) { return slot_col_[t] < k; });
        const auto last = std::partition_point(first, r.slot.end(), [this, k](int t) { return slot_col_[t] == k; });
        return {static_cast<size_t>(first - r.slot.begin()), static_cast<size_t>(last - r.slot.begin())};
    }
    // Entry k of r is a non-zero constant: its one term is 1 (affine part
    // and homogenizing exponent 0; mono_ may hold the exponent of the term
    // first met).  Any other term would lead, the affine part 1 being the
    // smallest.
    bool unit(const flat& r, int k) const
    {
        const auto [first, last] = column(r, k);
        return last == first + 1 && r.h[first] == 0 && mono_[slot_id_[r.slot[first]]].tot_deg() == 0;
    }
    // Entry k of r as a polynomial (its terms in any order: for add).
    polynomial entry(const flat& r, int k) const
    {
        const auto [first, last] = column(r, k);
        polynomial f(0);
        if (last == first) return f;
        f.alloc(static_cast<int>(last - first));
        for (size_t e = first; e < last; ++e) {
            f.term[e - first] = with_h(mono_[slot_id_[r.slot[e]]], r.h[e]);
            f.coef[e - first] = r.coef[e];
        }
        return f;
    }

    // r without its terms in column k.
    void drop_column(flat& r, int k) const
    {
        auto keep = [&](size_t e) { return slot_col_[r.slot[e]] != k; };
        r.coef.keep_if(keep);
        size_t n = 0;
        for (size_t e = 0; e < r.slot.size(); ++e) {
            if (!keep(e)) continue;
            r.slot[n] = r.slot[e];
            r.h[n] = r.h[e];
            ++n;
        }
        r.slot.resize(n);
        r.h.resize(n);
    }

private:
    // Unmarks the touched slots and keeps those with a non-zero sum (the
    // others are reset); their number.
    int keep_nonzero()
    {
        int n = 0;
        for (int t : touched_) {
            used_[t] = 0;
            if (sums_.nonzero(t)) touched_[n++] = t;
            else sums_.reset(t);
        }
        touched_.resize(n);
        return n;
    }
    // The touched slots with their sums, in their order, as a flat row; the
    // sums are left unspecified.
    void copy_touched(flat& out)
    {
        const size_t n = touched_.size();
        out.slot.assign(touched_.begin(), touched_.end());
        sums_.store(out.coef, touched_);
        out.h.resize(n);
        for (size_t b = 0; b < n; ++b) out.h[b] = hx_[touched_[b]];
    }

    // The index of the affine part of m; a new one when unseen.
    int id(const monom& m)
    {
        auto it = index_.try_emplace(m, static_cast<int>(mono_.size())).first;
        if (it->second == static_cast<int>(mono_.size())) mono_.push_back(m);
        return it->second;
    }
    // The slot of (column k, affine monomial i); a new one when unseen.
    int slot(int k, int i)
    {
        const uint64_t key = (static_cast<uint64_t>(k) << 32) | static_cast<uint32_t>(i);
        auto it = slot_of_.try_emplace(key, static_cast<int>(slot_col_.size())).first;
        if (it->second == static_cast<int>(slot_col_.size())) {
            sums_.grow();
            used_.push_back(0);
            hx_.push_back(0);
            slot_col_.push_back(k);
            slot_id_.push_back(i);
        }
        return it->second;
    }

    int q_;
    slot_sums sums_;
    std::unordered_map<monom, int, affine_hash, affine_equal> index_;
    std::vector<monom> mono_;  // affine monomial i (as first met)
    std::unordered_map<uint64_t, int> slot_of_;
    std::vector<int> slot_col_, slot_id_;
    std::vector<char> used_;
    std::vector<int16_t> hx_;  // homogenizing exponent of the first term summed in a slot
    std::vector<int> touched_;
};

// The needed monomials OO in increasing order with their canonical forms.
struct canonical_forms {
    scheme& X;  // its Groebner basis is computed where a form needs it
    std::vector<monom> OO;
    std::vector<o_form> Can;
    // The elements of O, increasing, over which coefficient is asked for
    // (the corners): over Q the forms hold only their terms there.
    std::vector<int> targets;

    // The position of t in OO, -1 when it is not there: a hash table of
    // positions with linear probing (a search in the ordering would call it
    // through a pointer twenty times).
    std::vector<int> table;
    void index_positions()
    {
        std::size_t size = 16;
        while (size < 2 * OO.size()) size *= 2;
        table.assign(size, -1);
        for (std::size_t p = 0; p < OO.size(); ++p) {
            std::size_t h = affine_hash()(OO[p]) & (size - 1);
            while (table[h] >= 0) h = (h + 1) & (size - 1);
            table[h] = static_cast<int>(p);
        }
    }
    int position(const monom& t) const
    {
        const std::size_t mask = table.size() - 1;
        for (std::size_t h = affine_hash()(t) & mask;; h = (h + 1) & mask) {
            const int p = table[h];
            if (p < 0 || affine_equal()(OO[p], t)) return p;
        }
    }

    // The index in O of the affine part of m, -1 outside O.
    int o_index(const monom& m) const
    {
        auto it = o_pos.find(m);
        return it == o_pos.end() ? -1 : it->second;
    }
    // f, a canonical form of degree deg, as an o_form (its terms lie over O).
    o_form to_form(const polynomial& f, int deg) const
    {
        o_form c;
        c.deg = deg;
        if (sign(f))
            for (int b = 0; b < f.no_of_monoms; ++b) {
                const int k = o_index(f.term[b]);
                if (k < 0) continue;
                c.at.push_back(k);
                c.coef.push_back(f.coef[b]);
            }
        return c;
    }
    std::unordered_map<monom, int, affine_hash, affine_equal> o_pos;

    // What a projection onto O[k] takes from the canonical form of t (a
    // monomial outside O): the coefficient c * h^a of its term over O[k]
    // (false when it has none).
    bool coefficient(const monom& t, int k, polynomial& out)
    {
        const int p = position(t);
        o_form extra;  // a form outside OO
        if (p < 0) {
            // (not called once the basis is there: it sets the global dim
            // for a moment, and the rows may be made on several threads)
            if (!X.groebner) need_groebner_affine(X);
            extra = to_form(canonical_form(X, t), t.tot_deg());
        }
        const o_form& C = p < 0 ? extra : Can[p];
        auto it = std::lower_bound(C.at.begin(), C.at.end(), k, std::greater<int>());
        if (it == C.at.end() || *it != k) return false;
        out = term_poly(with_h(monom(), C.deg - X.O[k].tot_deg()), C.coef[it - C.at.begin()]);
        return true;
    }

    template <class F = K>
    void compute();
    // announce: write the phase line (not yet written).
    template <class Ops>
    void compute_with(bool announce = true);
    bool compute_modular();
};

// (A template, so that the branch of the other kind of field is discarded.)
template <class F>
void canonical_forms::compute()
{
    // Over Q the forms come from primes, without the Groebner basis; the
    // recursion over the other fields (and when the primes ran out) starts
    // from the basis elements.
    if (modular_field && compute_modular()) return;
    need_groebner_affine(X);
    if constexpr (small_prime_field<F>::value) {
        if (small_prime_field<F>::modulus() < (1u << 15)) {
            compute_with<lazy_rows<F>>();
            return;
        }
    }
    compute_with<exact_rows>(!modular_field);
}

// The forms over Q are the normal forms of the affine monomials, of which
// only the terms over the targets are computed, modulo primes and proved
// (engine/normal_forms_modular.h); the same progress report is written.
// False, after the phase line, when the primes ran out.
bool canonical_forms::compute_modular()
{
    const int o = static_cast<int>(OO.size());
    if (verbose) std::cerr << "calculating canonical forms ...\n";
    const std::vector<int> rs(targets.rbegin(), targets.rend());  // the terms of a form decrease
    std::vector<std::vector<K>> coefs;
    if (!normal_form_coefficients(X, rs, OO, coefs)) return false;
    Can.assign(o, o_form());
    for (int i = 0; i < o; ++i) {
        if (verbose) std::cerr << "[" << o - i << "]";
        Can[i].deg = OO[i].tot_deg();
        for (size_t j = 0; j < rs.size(); ++j) {
            if (coefs[i][j] == 0) continue;
            Can[i].at.push_back(rs[j]);
            Can[i].coef.push_back(std::move(coefs[i][j]));
        }
    }
    if (verbose) std::cerr << "\n";
    std::cout << Line;
    return true;
}

template <class Ops>
void canonical_forms::compute_with(bool announce)
{
    using dense_form = std::vector<typename Ops::elem>;
    o_accumulator<Ops> acc(X);
    // Dense copies of the forms put in for terms outside O: of Can[p] once
    // used (empty before), and of monomials outside OO.
    std::vector<dense_form> Can_dense(OO.size());
    std::unordered_map<monom, std::pair<bool, dense_form>, affine_hash, affine_equal> others;
    const int o = static_cast<int>(OO.size());
    Can.assign(o, o_form());
    // x_v * O[k]: times[v][k] its O index, or -1 - (its position in OO, o
    // when it has none) outside O; filled when first needed (unknown).
    const int unknown = INT_MIN;
    std::vector<std::vector<int>> times(proj - 1, std::vector<int>(X.s, unknown));
    auto times_of = [&](int v, int k) {
        int& x = times[v][k];
        if (x == unknown) {
            monom m = X.O[k];
            ++m.exp[v];
            const int in = o_index(m);
            if (in >= 0) {
                x = in;
            } else {
                const int p = position(m);
                x = -1 - (p >= 0 ? p : o);
            }
        }
        return x;
    };
    if (verbose && announce) std::cerr << "calculating canonical forms ...\n";
    for (int i = 0; i < o; ++i) {
        if (verbose) std::cerr << "[" << o - i << "]";
        check_interrupt();
        // (A do-while, so that a finished form leaves by continue.)
        do {
            const monom& t = OO[i];
            o_form& C = Can[i];
            C.deg = t.tot_deg();
            const int g = is_el_G(X, t);
            if (g >= 0) {
                const polynomial& G = X.Ix->gen[g];
                if (G.no_of_monoms == 1) continue;  // the bare monomial: 0
                polynomial p(t);
                p *= G.coef[0];
                p -= G;
                polynomial c;
                hom(c, p);
                raise_h(c, t.tot_deg() - p.term[0].tot_deg());
                C = to_form(c, t.tot_deg());
                continue;
            }
            // An earlier monomial dividing t to start from: t / x_v when one of
            // these is needed, else the last proper divisor.  Any will do: the
            // canonical form of t is its unique normal form.
            int l = -1;
            for (int v = 0; v < proj - 1; ++v) {
                if (t.exp[v] == 0) continue;
                monom d = t;
                --d.exp[v];
                l = std::max(l, position(d));
            }
            if (l < 0) {
                l = i - 1;
                while (l >= 0 && !Zn_order_lt(OO[l], t)) --l;
            }
            if (l < 0) {  // no earlier divisor to start from
                C = to_form(canonical_form(X, t), t.tot_deg());
                continue;
            }
            if (Can[l].zero()) continue;
            // C = Can[l] * (t / OO[l]) with every term outside O replaced by
            // its canonical form (times the power of h it carried).  The forms
            // put in have their terms in O, so C is a sum of terms of O alone,
            // each O[k] with the power of h completing the degree of t: it is
            // summed in a dense vector over O.
            const monom qt = t / OO[l];
            int var = -1;  // qt = x_var, else -1
            if (qt.tot_deg() == 1)
                for (int v = 0; v < proj - 1; ++v)
                    if (qt.exp[v] == 1) var = v;
            const o_form& F = Can[l];
            for (size_t a = 0; a < F.at.size(); ++a) {
                const int ka = F.at[a];
                int k, p;  // O index of O[ka] * qt, else its position in OO (o: none)
                if (var >= 0) {
                    const int x = times_of(var, ka);
                    k = x >= 0 ? x : -1;
                    p = x >= 0 ? -1 : -1 - x;
                } else {
                    const monom m = X.O[ka] * qt;
                    k = o_index(m);
                    p = k >= 0 ? -1 : position(m);
                    if (p < 0) p = o;
                }
                if (k >= 0) {
                    acc.add(k, F.coef[a]);
                    continue;
                }
                const dense_form* repl;
                if (p < i) {
                    if (Can[p].zero()) continue;
                    if (Can_dense[p].empty()) Can_dense[p] = acc.dense(Can[p]);
                    repl = &Can_dense[p];
                } else {
                    monom w = X.O[ka] * qt;
                    w.dim = static_cast<int16_t>(proj - 1);
                    w.exp[proj - 1] = 0;
                    auto it = others.find(w);
                    if (it == others.end()) {
                        const o_form f = to_form(canonical_form(X, w), w.tot_deg());
                        it = others.emplace(w, std::make_pair(!f.zero(), acc.dense(f))).first;
                    }
                    if (!it->second.first) continue;
                    repl = &it->second.second;
                }
                acc.add(F.coef[a], *repl);
            }
            acc.take(C);
        } while (false);
    }
    if (verbose) std::cerr << "\n";
    std::cout << Line;
}

// A candidate relation monomial: from a pair of corners, or from a corner
// and a variable (a power of the variable that annihilates its projection).
struct candidate {
    monom TT;
    int f;        // owning corner (index into gr_socle), -1 when dropped
    int partner;  // the second corner of a pair, -1 for a variable
};

// A row of poly_rows being made, dense over the columns.
class row_draft {
public:
    explicit row_draft(int s) : entry_(static_cast<size_t>(s), polynomial(0)), touched_flag_(static_cast<size_t>(s), 0) {}
    polynomial& entry(int k)
    {
        if (!touched_flag_[static_cast<size_t>(k)]) {
            touched_flag_[static_cast<size_t>(k)] = 1;
            touched_.push_back(k);
        }
        return entry_[static_cast<size_t>(k)];
    }
    // The columns written, in increasing order.
    const std::vector<int>& columns()
    {
        std::sort(touched_.begin(), touched_.end());
        return touched_;
    }
    polynomial& at(int k) { return entry_[static_cast<size_t>(k)]; }
    // The draft is 0 again.
    void clear()
    {
        for (int k : touched_) {
            touched_flag_[static_cast<size_t>(k)] = 0;
            entry_[static_cast<size_t>(k)] = 0;
        }
        touched_.clear();
    }

private:
    std::vector<polynomial> entry_;
    std::vector<char> touched_flag_;
    std::vector<int> touched_;
};

// Rows of projective polynomials over the columns 0..s-1 (the elements of
// O).  Only the corner columns outlive the making of a row and its
// elimination, so they alone are kept densely, q a row; the other non-zero
// entries of a row are kept as (column, entry) in increasing column order.
// A row is made in a row_draft and then put in (put_row).
class poly_rows {
public:
    poly_rows(int rows, const std::vector<int>& corners, int s)
        : q_(corners.size()), corner_index_(static_cast<size_t>(s), -1), corner_(rows * q_, polynomial(0)),
          others_(static_cast<size_t>(rows))
    {
        for (size_t k = 0; k < q_; ++k) corner_index_[static_cast<size_t>(corners[k])] = static_cast<int>(k);
    }
    // The entry of row i in the column of corner k.
    polynomial& corner(int i, int k) { return corner_[static_cast<size_t>(i) * q_ + static_cast<size_t>(k)]; }
    // The entries of row i outside the corners.
    std::vector<std::pair<int, polynomial>>& others(int i) { return others_[static_cast<size_t>(i)]; }
    // The draft becomes row i (made once) and is 0 again.  Rows made from
    // drafts of their own may be put in from several threads at once.
    void put_row(int i, row_draft& d)
    {
        const std::vector<int>& cols = d.columns();
        size_t n = 0;  // room for the other entries at once (a pair is copied when the vector grows)
        for (int k : cols) n += corner_index_[static_cast<size_t>(k)] < 0;
        others(i).reserve(n);
        for (int k : cols) {
            polynomial& f = d.at(k);
            const int c = corner_index_[static_cast<size_t>(k)];
            if (c >= 0) {
                corner(i, c) = std::move(f);
            } else if (sign(f)) {
                others(i).emplace_back(k, polynomial(0));
                others(i).back().second = std::move(f);
            }
        }
        d.clear();
    }

private:
    size_t q_;
    std::vector<int> corner_index_;  // column -> its corner, -1 for the others
    std::vector<polynomial> corner_;
    std::vector<std::vector<std::pair<int, polynomial>>> others_;
};

// make(i, draft) for the rows i < n, each made in a draft over s columns
// and put in by make; on all cores when shared, a block of rows at a time,
// the progress and the interrupt checked between blocks.
template <class Make>
void make_rows(int n, int s, progress_report& report, bool shared, Make make)
{
    if (!shared) {
        row_draft d(s);
        for (int i = 0; i < n; ++i) {
            report.at(i);
            check_interrupt();
            make(i, d);
        }
        return;
    }
    constexpr int block = 64;
    for (int from = 0; from < n; from += block) {
        report.at(from);
        check_interrupt();
        const int m = std::min(block, n - from);
        std::vector<std::exception_ptr> errors(loop_threads());
        std::atomic<unsigned> next_error{0};
        parallel_ranges(static_cast<size_t>(m), 8, [&](size_t begin, size_t end) {
            try {
                row_draft d(s);
                for (size_t x = begin; x < end; ++x) make(from + static_cast<int>(x), d);
            } catch (...) {
                errors[next_error++] = std::current_exception();
            }
        });
        if (next_error > 0) std::rethrow_exception(errors[0]);
    }
}

}  // namespace

polynomial canonical_form(const scheme& X, const monom& t)
{
    polynomial rest(t);
    polynomial nf(0);
    while (sign(rest)) {
        const monom w = rest.term[0];
        const polynomial lead = term_of(rest, 0);
        if (is_el_O(X, w) >= 0) {
            nf += lead;
            rest -= lead;
            continue;
        }
        int l = 0;
        while (l < X.Ix->no_of_gens && !Zn_order_le(X.Ix->gen[l].term[0], w)) ++l;
        if (l == X.Ix->no_of_gens) {  // only when the points were not distinct
            rest -= lead;
            continue;
        }
        polynomial r = X.Ix->gen[l];
        r *= w / X.Ix->gen[l].term[0];
        r *= rest.coef[0] / X.Ix->gen[l].coef[0];
        rest -= r;
    }
    polynomial c(0);
    if (!sign(nf)) return c;
    hom(c, nf);
    raise_h(c, t.tot_deg() - nf.term[0].tot_deg());
    return c;
}

void omega(scheme& X)
{
    if (X.delta == 0) bu_mo(X);
    const int s = X.s;
    const monom* O = X.O;

    // Corners: the u with u*x outside O for every variable x.
    std::vector<int> gr_socle, elim;
    const int deg1_end = s > 1 ? X.hilb_fct[1] : 1;
    for (int i = 0; i < s; ++i) {
        bool corner = true;
        for (int k = 1; k < deg1_end && corner; ++k)
            if (is_el_O(X, O[i] * O[k]) >= 0) corner = false;
        (corner ? gr_socle : elim).push_back(i);
    }
    const int q = static_cast<int>(gr_socle.size());
    const int no_of_elim = static_cast<int>(elim.size());
    auto u = [&](int i) -> const monom& { return O[gr_socle[i]]; };

    // Candidate relation monomials, then the dominated ones dropped.
    std::vector<candidate> cand;
    for (int i = 0; i < q; ++i)
        for (int j = i + 1; j < q; ++j) cand.push_back({u(i) / gcd(u(i), u(j)), i, j});
    for (int i = 0; i < q; ++i)
        for (int j = 0; j < dim; ++j) {
            monom t(0);
            t.exp[j] = static_cast<int16_t>(u(i).exp[j] + 1);
            cand.push_back({t, i, -1});
        }
    const int no_of_cand = static_cast<int>(cand.size());
    int number = no_of_cand;
    // A candidate is dropped when another one of its corner, not dropped
    // before, divides it; so only the candidates of one corner are compared.
    std::vector<std::vector<int>> of_corner(static_cast<std::size_t>(q));
    for (int i = 0; i < no_of_cand; ++i) of_corner[cand[i].f].push_back(i);
    for (int i = 0; i < no_of_cand; ++i)
        for (int k : of_corner[cand[i].f])
            if (k != i && cand[k].f != -1 && Zn_order_le(cand[k].TT, cand[i].TT)) {
                cand[i].f = -1;
                --number;
                break;
            }

    // The elements of O by their exponents.
    std::unordered_map<monom, int, affine_hash, affine_equal> o_pos;
    for (int k = 0; k < s; ++k) o_pos.emplace(O[k], k);
    auto in_O = [&](const monom& m) { return o_pos.count(m) != 0; };

    // The monomials whose canonical forms are needed, each once, in
    // increasing order.
    std::vector<monom> oo;
    std::unordered_set<monom, affine_hash, affine_equal> met;
    auto need = [&](const monom& p) {
        if (!in_O(p) && met.insert(p).second) oo.push_back(p);
    };
    for (int i = 0; i < s; ++i)
        for (int j = i; j < s; ++j) need(O[i] * O[j]);
    for (const candidate& c : cand)
        if (c.f != -1 && !in_O(c.TT))
            for (int j = 0; j < s; ++j) need(c.TT * O[j]);
    std::sort(oo.begin(), oo.end(), affine_less());

    projective_scope raised;
    canonical_forms cf{X, std::move(oo), {}, gr_socle, {}, std::move(o_pos)};
    cf.index_positions();
    cf.compute();

    // Elimination rows: pr_(u) through the projections of greater monomials.
    std::vector<int> elim_index(static_cast<size_t>(s), -1);
    for (int i = 0; i < no_of_elim; ++i) elim_index[static_cast<size_t>(elim[i])] = i;
    poly_rows SS(no_of_elim, gr_socle, s);
    // The rows below and the relation rows read only the canonical forms;
    // they are made on all cores once a form missing from them cannot
    // make the Groebner basis be computed.
    const bool shared = X.groebner;
    progress_report report("omega: elimination rows", no_of_elim);
    make_rows(no_of_elim, s, report, shared, [&](int i, row_draft& d) {
        const int N = elim[i];
        int j = 0;
        while (j < q && !Zn_order_lt(O[N], u(j))) ++j;
        if (j == q) return;
        const monom& v = u(j);
        const monom qv = v / O[N];
        for (int k = 1; k < s; ++k) {
            if (k == N) continue;
            const monom p = qv * O[k];
            if (cf.o_index(p) >= 0) continue;
            polynomial c;
            if (cf.coefficient(p, gr_socle[j], c)) d.entry(k) = c;
        }
        d.entry(gr_socle[j]) -= polynomial(qv);
        SS.put_row(i, d);
    });
    report.finish();
    // Back substitution: only corner columns remain.
    progress_report back("omega: back substitution", no_of_elim);
    // Row i := row i - sum over j > i of SS(i, elim[j]) * row j, the rows j
    // already reduced to their corner columns (kept flat in SS_flat).
    corner_sum sum(q);
    const polynomial one{monom()};
    std::vector<corner_sum::flat> SS_flat(no_of_elim);
    auto corners_of = [&](poly_rows& rows, int i) {
        return [&rows, i](int k) -> polynomial& { return rows.corner(i, k); };
    };
    // The entries of row i of rows in the columns elim[j], j > after, as
    // (j, entry) in increasing order of j; the row's other entries are then
    // dropped (they are not read again).
    std::vector<std::pair<int, polynomial>> by;
    auto take_elim_entries = [&](poly_rows& rows, int i, int after) {
        by.clear();
        for (auto& [col, f] : rows.others(i)) {
            const int j = elim_index[static_cast<size_t>(col)];
            if (j > after && sign(f)) by.emplace_back(j, std::move(f));
        }
        std::vector<std::pair<int, polynomial>>().swap(rows.others(i));
    };
    if (no_of_elim > 0) SS_flat[no_of_elim - 1] = sum.flatten(corners_of(SS, no_of_elim - 1));
    for (int i = no_of_elim - 2; i >= 0; --i) {
        back.at(no_of_elim - 2 - i);
        check_interrupt();
        take_elim_entries(SS, i, i);
        if (!by.empty()) {
            sum.add(sum.flatten(corners_of(SS, i)), one, false);
            for (const auto& [j, f] : by) sum.add(SS_flat[j], f, true);
            sum.take(corners_of(SS, i), &SS_flat[i]);
        } else {
            SS_flat[i] = sum.flatten(corners_of(SS, i));
        }
    }
    back.finish();

    // Relation rows, one per live candidate.
    poly_rows S(number, gr_socle, s);
    std::vector<int> e(number);
    // Adds sign * (the coefficient of O[target] in the canonical form of w * O[k])
    // to entry k of the row being made in d for every k from k0 on with
    // w * O[k] outside O, k != skip.
    auto corrections = [&](row_draft& d, const monom& w, int target, int k0, int skip, bool add) {
        for (int k = k0; k < s; ++k) {
            if (k == skip) continue;
            const monom p = w * O[k];
            if (cf.o_index(p) >= 0) continue;
            polynomial c;
            if (!cf.coefficient(p, target, c)) continue;
            if (add)
                d.entry(k) += c;
            else
                d.entry(k) -= c;
        }
    };
    std::vector<int> live;  // the candidates kept, row m from live[m]
    for (int c = 0; c < no_of_cand; ++c)
        if (cand[c].f != -1) live.push_back(c);
    progress_report relations("omega: relations", static_cast<long>(live.size()));
    make_rows(static_cast<int>(live.size()), s, relations, shared, [&](int m, row_draft& d) {
        const candidate& c = cand[live[m]];
        const int i = c.f;
        if (c.partner >= 0) {
            const int j = c.partner;
            const monom g0 = gcd(u(i), u(j));
            const int G = is_el_O(X, g0);
            const monom wi = u(i) / g0, wj = u(j) / g0;
            if (sign(wi)) corrections(d, wi, gr_socle[i], 1, G, true);
            d.entry(gr_socle[i]) -= polynomial(wi);
            if (sign(wj)) corrections(d, wj, gr_socle[j], 1, G, false);
            d.entry(gr_socle[j]) += polynomial(wj);
        } else {
            const monom qc = with_h(c.TT, 0);
            corrections(d, qc, gr_socle[i], 0, -1, true);
            d.entry(gr_socle[i]) -= polynomial(qc);
        }
        S.put_row(m, d);
        e[m] = i;
    });
    relations.finish();
    if (verbose) std::cerr << number << " syzygies among " << q << " projections found.\n" << Line;

    // Rewriting in the corner columns.
    if (verbose) std::cerr << "rewriting syzygies ...\n";
    // Row r := row r - sum over i of S(r, elim[i]) * SS(i, .); the progress
    // counts the rows of SS.
    if (verbose)
        for (int i = 0; i < no_of_elim; ++i) std::cerr << "[" << s - i - q << "]";
    for (int r = 0; r < number; ++r) {
        check_interrupt();
        take_elim_entries(S, r, -1);
        if (by.empty()) continue;
        sum.add(sum.flatten(corners_of(S, r)), one, false);
        for (const auto& [i, f] : by) sum.add(SS_flat[i], f, true);
        sum.take(corners_of(S, r));
    }
    if (verbose) std::cerr << "\n";
    auto Sc = [&](int r, int l) -> polynomial& { return S.corner(r, l); };

    // Redundant relations: pairs of rows of one corner whose S-element
    // reduces to 0 modulo h with a constant multiple of some row.
    long number1 = 0;
    for (int i = 0; i < q; ++i) {
        long r = std::count(e.begin(), e.end(), i);
        number1 += r * (r - 1) / 2;
    }
    relation_matrix T(number);
    std::vector<int> tc(number), tr(number);
    for (int i = 0; i < number; ++i) tc[i] = tr[i] = i;
    int g = 0;
    int mx = 0;
    for (int r = 0; r < number; ++r) mx = std::max(mx, Sc(r, e[r]).term[0].tot_deg());
    if (verbose) std::cerr << "eliminating syzygies ...\n";
    // An entry takes part modulo h only when it is not 0 there.
    auto usable = [](const polynomial& f) { return sign(f) && !is_prj(f); };
    // The rows that may reduce R at position l, in order: those of corner l
    // whose entry there takes part.
    std::vector<std::vector<int>> reducers_at(static_cast<std::size_t>(q));
    for (int r = 0; r < number; ++r)
        if (e[r] >= 0 && usable(Sc(r, e[r]))) reducers_at[e[r]].push_back(r);
    // The leading forms of the entries that take part modulo h (0 for the
    // others); S is not changed in this loop.
    std::vector<polynomial> lead_forms(static_cast<size_t>(number) * q, polynomial(0));
    for (int r = 0; r < number; ++r)
        for (int l = 0; l < q; ++l)
            if (!is_prj(Sc(r, l))) lead_forms[static_cast<size_t>(r) * q + l] = Lf(Sc(r, l));
#if defined(TARV_FIELD_Q)
    // Over Q, R is kept as forms with integer coefficients over one
    // denominator dR, and the leading forms of each row r of S as forms with
    // integer coefficients over lead.den(r) (LfS gives those): a reduction
    // step is then integer products (see slot_sums).  The values, and so
    // every choice, leading term and entry of T, are the same.
    const scaled_rows lead_scaled(lead_forms, number, q);
    auto LfS = [&](int r, int l) -> const polynomial& { return lead_scaled.form(r, l); };
#else
    auto LfS = [&](int r, int l) -> const polynomial& { return lead_forms[static_cast<size_t>(r) * q + l]; };
#endif
    // The columns of each row whose leading forms take part: not 0, and the
    // entry not 0 modulo h.
    std::vector<std::vector<int>> active(static_cast<std::size_t>(number));
    for (int r = 0; r < number; ++r)
        for (int l = 0; l < q; ++l)
            if (!is_prj(Sc(r, l)) && sign(LfS(r, l))) active[r].push_back(l);

    // The pairs of rows of one corner, in order.  Reducing a pair's R to 0
    // reads only S and the leading forms, so the pairs are reduced on all
    // cores; what each leaves for T (the entries set and subtracted, in
    // order) is then applied pair after pair, as T's rows and the rank
    // depend on the pairs before.
    struct pair_outcome {
        std::exception_ptr error;  // thrown while reducing, thrown again where applied
        std::vector<std::pair<int, K>> set, subtracted;  // T's entries, in order (none for a pair passed over)
        int failed_at = -1;                   // the position where R could not be reduced
        std::vector<polynomial> at_failure;  // and R's values there
    };
    // One core's R and what reducing it needs.
    struct pair_work {
        std::vector<polynomial> R;
        std::vector<monom> quot;  // lt(R[l]) / u_l for the non-zero R[l]
        polynomial shifted;       // a leading form times a monomial (its storage reused)
#if defined(TARV_FIELD_Q)
        scaled_row_reduction lead;
        mpz_class dR;
        std::size_t dR_removed_at = 1;
        pair_work(int q, const scaled_rows& rows) : R(q, polynomial(0)), quot(q), lead(rows) {}
#else
        explicit pair_work(int q) : R(q, polynomial(0)), quot(q) {}
#endif
    };
    auto reduce_pair = [&](int i, int j, pair_work& w, pair_outcome& out) {
        std::vector<polynomial>& R = w.R;
        std::vector<monom>& quot = w.quot;
        polynomial& shifted = w.shifted;
        // made again only for the entries a step changes (a step on R only
        // scales the others)
        auto requot = [&](int l) {
            if (sign(R[l])) quot[l] = R[l].term[0] / u(l);
        };
        const int E = e[i];
        const monom lti = Sc(i, E).term[0], ltj = Sc(j, E).term[0];
        const monom t = lcm(lti, ltj);
        if (t.tot_deg() > mx) return;
        const int sg = sign(Sc(i, E).coef[0]) * sign(Sc(j, E).coef[0]);
        const monom qi = t / lti, qj = t / ltj;
#if defined(TARV_FIELD_Q)
        // R = (d / D_i) qi L_i -+ (d / D_j) qj L_j over d = lcm(D_i, D_j).
        mpz_class& dR = w.dR;
        mpz_lcm(dR.get_mpz_t(), lead_scaled.den(i).get_mpz_t(), lead_scaled.den(j).get_mpz_t());
        w.dR_removed_at = mpz_sizeinbase(dR.get_mpz_t(), 2);
        const K fi(mpq_class(mpz_class(dR / lead_scaled.den(i)))), fj(mpq_class(mpz_class(dR / lead_scaled.den(j))));
#else
        const K fi(1), fj(1);
#endif
        for (int l = 0; l < q; ++l) R[l] = 0;
        if (!h_exp(qi))
            for (const int l : active[i]) {
                R[l] = LfS(i, l);
                R[l] *= qi;
                if (fi != 1) R[l] *= fi;
            }
        if (!h_exp(qj))
            for (const int l : active[j]) {
                shifted = LfS(j, l);
                shifted *= qj;
                if (fj != 1) shifted *= fj;
                if (sg < 0)
                    R[l] += shifted;
                else
                    R[l] -= shifted;
            }
        if (t == lti) out.set.emplace_back(i, K(1));
        if (t == ltj) out.set.emplace_back(j, sg > 0 ? -K(1) : K(1));
        // Reduce R to 0.  Each step removes the leading term at the
        // position ee of greatest quotient lt(R[l]) / u_l and brings in
        // only terms of smaller quotient or, with an equal one, at later
        // positions, so the pair (quotient, ee) decreases.  A reduction
        // that keeps breaking this rule is reported as a failure rather
        // than run for ever.
        monom prev;
        int prev_ee = -1;
        int slack = 1000;
        for (int l = 0; l < q; ++l) requot(l);
        for (;;) {
            if (interrupt_requested) return;  // the check where it is applied throws before T is solved
            int ee = -1;
            monom best;
            for (int l = 0; l < q; ++l) {
                if (!sign(R[l])) continue;
                const monom& qt = quot[l];
                if (ee < 0 || qt > best) {
                    ee = l;
                    best = qt;
                }
            }
            if (ee < 0) break;
            const bool decreased = prev_ee < 0 || best < prev || (best == prev && ee > prev_ee);
            const bool progress = decreased || slack-- > 0;
            prev = best;
            prev_ee = ee;
            int lp = -1;
            const monom ltR = R[ee].term[0];
            if (progress) {
                for (const int r : reducers_at[ee])
                    if (Sc(r, ee).term[0] == ltR) {
                        lp = r;
                        break;
                    }
                if (lp >= 0) {
#if defined(TARV_FIELD_Q)
                    K lc;  // the value of R's leading coefficient, in lowest terms
                    set_quotient(lc, R[ee].coef[0].v.get_num(), dR);
                    out.subtracted.emplace_back(lp, lc / Sc(lp, ee).coef[0]);
                    w.lead.reduce(R, dR, w.dR_removed_at, lp, ee, monom(), [&](int n) { return !is_prj(Sc(lp, n)); });
#else
                    const K cc = R[ee].coef[0] / Sc(lp, ee).coef[0];
                    for (const int n : active[lp]) R[n].sub_scaled(LfS(lp, n), cc);
                    out.subtracted.emplace_back(lp, cc);
#endif
                    for (const int n : active[lp]) requot(n);
                    continue;
                }
                for (const int r : reducers_at[ee])
                    if (Zn_order_lt(Sc(r, ee).term[0], ltR)) {
                        lp = r;
                        break;
                    }
                if (lp >= 0) {
                    const monom qq = ltR / Sc(lp, ee).term[0];
#if defined(TARV_FIELD_Q)
                    w.lead.reduce(R, dR, w.dR_removed_at, lp, ee, qq, [&](int n) { return !is_prj(Sc(lp, n)); });
#else
                    const K cc = R[ee].coef[0] / Sc(lp, ee).coef[0];
                    for (const int n : active[lp]) {
                        shifted = LfS(lp, n);
                        shifted *= qq;
                        R[n].sub_scaled(shifted, cc);
                    }
#endif
                    for (const int n : active[lp]) requot(n);
                    continue;
                }
            }
            out.failed_at = ee;
            for (int l = 0; l < q; ++l) {
                out.at_failure.push_back(R[l]);
#if defined(TARV_FIELD_Q)
                out.at_failure.back() *= K(mpq_class(1, dR));  // the values, not the numerators
#endif
            }
            return;
        }
    };
    std::vector<std::pair<int, int>> pairs;
    for (int i = 0; i < number; ++i)
        for (int j = i + 1; j < number; ++j)
            if (e[i] == e[j]) pairs.emplace_back(i, j);
    work_pool<pair_work> work([&] {
#if defined(TARV_FIELD_Q)
        return std::make_unique<pair_work>(q, lead_scaled);
#else
        return std::make_unique<pair_work>(q);
#endif
    });
    constexpr std::size_t batch = 64;
    std::vector<pair_outcome> outcomes;
    for (std::size_t from = 0; from < pairs.size(); from += batch) {
        const std::size_t n = std::min(batch, pairs.size() - from);
        outcomes.assign(n, pair_outcome());
        parallel_items(n, [&](std::size_t x) {
            try {
                std::unique_ptr<pair_work> w = work.take();
                reduce_pair(pairs[from + x].first, pairs[from + x].second, *w, outcomes[x]);
                work.give_back(std::move(w));
            } catch (...) {
                outcomes[x].error = std::current_exception();
            }
        });
        for (std::size_t x = 0; x < n; ++x) {
            const pair_outcome& out = outcomes[x];
            if (out.error) std::rethrow_exception(out.error);
            bool flag = false;
            if (g < number) {  // a free row of T is left
                for (const auto& s : out.set) T.at(tr[g], s.first) = s.second;
                for (const auto& s : out.subtracted) T.at(tr[g], s.first) -= s.second;
                flag = !out.set.empty() || !out.subtracted.empty();
            }
            if (out.failed_at >= 0) {
                ++reported_errors;
                std::cerr << "\ncannot reduce to zero --> error !?! !?!\n";
                for (int l = 0; l < q; ++l) {
                    counter = 0;
                    if (l == out.failed_at) {
                        std::cout << "> ";
                        counter = 2;
                    }
                    std::cout << out.at_failure[l] << "\n";
                }
            }
            if (verbose) std::cerr << "[" << number1 << "]";
            check_interrupt();
            --number1;
            if (flag) g = number - T.solve(tc.data(), tr.data());
        }
    }
    if (verbose) std::cerr << "\n";
    for (int k = 0; k < g; ++k) e[tc[k]] = -1;

    // Redundant generators: a live row with a unit entry expresses that
    // corner's projection through the others.  The rows are combined as flat
    // rows; a row changed here gets its polynomials back at the end (the
    // sums are the same whatever the order of the terms).
    if (verbose) std::cerr << "rewriting syzygies ...\n";
    std::vector<bool> eliminated(q, false);
    std::vector<char> changed(static_cast<size_t>(number), 0);
    std::vector<corner_sum::flat> S_flat(static_cast<size_t>(number));
    for (int r = 0; r < number; ++r)
        if (e[r] != -1) S_flat[r] = sum.flatten(corners_of(S, r));
    for (int i = 0; i < q; ++i) {
        if (verbose) std::cerr << "[" << q - i << "]";
        check_interrupt();
        int r = 0;
        while (r < number && !(e[r] != -1 && sum.unit(S_flat[r], i))) ++r;
        if (r == number) continue;
        eliminated[i] = true;
        K cc = S_flat[r].coef[sum.column(S_flat[r], i).first];
        cc.invert();
        const K minus_cc = -cc;
        // Row k += Sc(k, i) * row r off column i (row r times -1/Sc(r, i)),
        // then Sc(k, i) := 0.
        corner_sum::flat row_r = S_flat[r];
        sum.drop_column(row_r, i);
        for (K& c : row_r.coef.change()) c *= minus_cc;
        for (int k = 0; k < number; ++k) {
            if (k == r || e[k] == -1) continue;
            const corner_sum::flat& row_k = S_flat[k];
            const polynomial f = sum.entry(row_k, i);
            if (!sign(f)) continue;
            sum.add(row_k, one, false);
            sum.add(row_r, f, false);
            sum.take_flat(S_flat[k]);
            sum.drop_column(S_flat[k], i);
            changed[k] = 1;
        }
        e[r] = -1;
    }
    for (int k = 0; k < number; ++k)
        if (changed[k] && e[k] != -1) {
            sum.add(S_flat[k], one, false);
            sum.take(corners_of(S, k));
        }
    if (verbose) std::cerr << "\n" << Line;

    // Results.
    std::vector<int> gens;  // corner index of each generator
    for (int i = 0; i < q; ++i)
        if (!eliminated[i]) gens.push_back(i);
    const int no_of_pr = static_cast<int>(gens.size());
    const int D = no_of_pr > 0 ? u(gens.back()).tot_deg() : 0;
    // Degree index of each live row; a row without a generator entry is the
    // zero relation and is left out.
    std::vector<int> index(number, -1);
    int maxdeg = 0, cols = 0;
    for (int r = 0; r < number; ++r) {
        if (e[r] == -1) continue;
        for (int gi : gens)
            if (sign(Sc(r, gi))) {
                index[r] = full_deg(Sc(r, gi).term[0]) - u(gi).tot_deg() + D;
                break;
            }
        if (index[r] < 0) continue;
        maxdeg = std::max(maxdeg, index[r]);
        ++cols;
    }
    X.pr = new int[no_of_pr];
    for (int k = 0; k < no_of_pr; ++k) X.pr[k] = gr_socle[gens[k]];
    X.pr_deg = new int[X.sigma + 2]();
    for (int gi : gens) ++X.pr_deg[u(gi).tot_deg()];
    X.A_d_maxdeg = maxdeg;
    X.A_d_coldeg = new int[maxdeg + 1]();
    for (int r = 0; r < number; ++r)
        if (index[r] >= 0) ++X.A_d_coldeg[index[r]];
    X.A_d_cols = cols;
    X.A_d = new polynomial[static_cast<size_t>(no_of_pr) * cols];
    int n = 0;
    for (int d = 0; d <= maxdeg; ++d)
        for (int r = 0; r < number; ++r) {
            if (index[r] != d) continue;
            for (int k = 0; k < no_of_pr; ++k) X.A_d[k * cols + n] = Sc(r, gens[k]);
            ++n;
        }
    X.no_of_pr = no_of_pr;
}

// One summand P^n(twist) of a free module: "P" for n = 1, no twist when it
// is 0, " + " before every summand but the first; nothing for n = 0.
static void put_summand(std::ostream& s, int n, int twist, bool& first)
{
    if (n == 0) return;
    if (!first) s << " + ";
    first = false;
    s << "P";
    if (n != 1) s << "^" << n;
    if (twist != 0) s << "(" << twist << ")";
}

void disp_omega(std::ostream& s, scheme& X)
{
    if (X.no_of_pr == 0) omega(X);
    s << "the minimal homogeneous presentation of the canonical module w_R :\n";
    const int D = X.O[X.pr[X.no_of_pr - 1]].tot_deg();
    bool first = true;
    for (int d = X.A_d_maxdeg; d >= 0; --d) put_summand(s, X.A_d_coldeg[d], D - d - 1, first);
    s << " --> ";
    first = true;
    for (int d = 0; d <= X.sigma + 1; ++d) put_summand(s, X.pr_deg[d], d - 1, first);
    s << " --> w_R --> 0\n" << Line;
}

void disp_omegamat(std::ostream& s, scheme& X)
{
    if (X.no_of_pr == 0) omega(X);
    s << "the coloms of A_" << dim << " :\n";
    for (int n = 0; n < X.A_d_cols; ++n) {
        s << "[ ";
        counter = 2;
        for (int m = 0; m < X.no_of_pr; ++m) {
            s << X.A_d[m * X.A_d_cols + n];
            if (m + 1 < X.no_of_pr) s << ";\n";
            counter = 0;
        }
        s << " ]\n";
    }
    s << Line << "w_R is generated by the following projections :\n";
    for (int m = 0; m < X.no_of_pr; ++m) s << "pr_(" << X.O[X.pr[m]] << ")\n";
    s << Line;
}
