#include "interpreter/settings.h"

#include <algorithm>
#include <cstring>
#include <iostream>

#include "engine/globals.h"
#include "engine/monom.h"
#include "fields/field.h"
#include "interpreter/harness_hooks.h"
#include "interpreter/input.h"
#include "interpreter/session.h"
#include "interpreter/store.h"

int range1 = 0, range2 = 50;

void set_dim()
{
    int d;
    if (!read_number(d)) return;
    if (d <= 1) {
        ++reported_errors;
        std::cout << "\ndimension has to be greater than one !!!\n";
        return;
    }
    // Every variable needs a one-letter name.
    if (d > hooks.max_dimension) {
        ++reported_errors;
        std::cout << "\ndimension has to be at most " << hooks.max_dimension << " !!!\n";
        return;
    }
    dim = d;
    del_all(0);
    proj = d + 1;
    if (static_cast<int>(std::strlen(varstring)) < proj) {
        std::cerr << "not enough indentifiers\n";
        identifiers();
        if (input_ended()) return;
    }
    show_settings();
}

static void choose_ordering(int ordering)
{
    set_ordering(ordering);
    show_settings();
    del_all(0);
}

void deglex()
{
    choose_ordering(0);
}

void degrevlex()
{
    choose_ordering(1);
}

static bool is_prime_number(int n)
{
    if (n < 2) return false;
    for (int d = 2; d * d <= n; ++d)
        if (n % d == 0) return false;
    return true;
}

void characteristic()
{
    int max_p = field_max_characteristic();
    if (max_p == 0) {
        ++reported_errors;
        std::cout << "please use 'TARV_Fp' for computations over finite fields \n";
        print_line();
        return;
    }
    int p;
    if (!read_number(p)) return;
    if (p < 2 || p > max_p || !is_prime_number(p)) {
        ++reported_errors;
        std::cout << "characteristic has to be a prime (2 - " << max_p << ") !\n";
        return;
    }
    field_set_characteristic(p);
    range2 = std::min(range2, p - 1);
    print_line();
    show_settings();
    del_all(0);
}

static void show_range(int low, int high)
{
    std::cout << "current range : [" << low << "," << high << "]\n";
}

void range()
{
    // Over F_p the lower border stays 0 and coordinates are residues below p.
    int p = field_characteristic();
    int low = range1, high;
    show_range(range1, range2);
    if (p == 0) {
        std::cout << "enter lower border : ";
        if (!read_number(low)) return;
    }
    high = low - 1;
    while (high <= low) {
        std::cout << "enter upper border : ";
        if (!read_number(high)) return;
        if (p != 0) high = std::min(high, p - 1);
        if (high <= low) {
            ++reported_errors;
            std::cout << "upper border must be greater than lower border !!!\n";
        }
    }
    range1 = low;
    range2 = high;
    show_range(range1, range2);
    print_line();
}

void identifiers()
{
    // At most 26 names can be typed, or proj where the default names allowed
    // a larger ring.
    std::size_t width = static_cast<std::size_t>(std::max(26, proj));
    for (;;) {
        std::cout << "enter " << proj << " identifiers for current ring : ";
        std::string names;
        if (!read_word(names, width)) return;
        if (static_cast<int>(names.size()) >= proj) {
            std::strcpy(varstring, names.c_str());
            return;
        }
        ++reported_errors;
        std::cerr << "not enough indentifiers\n";
    }
}
