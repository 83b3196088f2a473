// The identifier store: 50 named entries, each owning one stored object
// (a scheme, typ 3).
#pragma once

#include <string>

class scheme;

constexpr int no_of_vars = 50;
constexpr int max_name = 12;  // identifiers and command words: at most 12 characters

struct var_struct {
    char name[max_name + 1] = "";  // empty: the entry is free
    int typ = 0;                   // 3 = scheme, 0 after deletion
    void* var_ptr = nullptr;
};

extern var_struct var[no_of_vars];

// The index of the entry named cc (compared on at most 12 characters), or -2.
void read_var(int& v, const std::string& cc);

// The scheme stored at entry v (typ 3).
scheme& scheme_at(int v);

// Reserves an entry for a new identifier read from standard input; -1 when
// the name is refused (errors 105, 111, 110) or the input ended.
int new_var(int typ);
// The two halves of new_var, for commands that read their parameters in
// between: reads and checks a new name (errors 105, 111), and reserves the
// free entry with the smallest index for it (error 110, -1 when full).
bool read_new_name(std::string& cc);
int reserve_var(const std::string& cc, int typ);
// Frees an entry reserved by new_var whose object could not be made.
void release_var(int v);

// The stored entries taken out of the table by set_aside_all, which reports
// them as del_all(0) does; the command that took them out either drops them
// (it succeeded) or puts them back (it was refused, so nothing changed).
struct set_aside_entries {
    var_struct entries[no_of_vars];
};
set_aside_entries set_aside_all();
void drop(set_aside_entries& aside);
void put_back(set_aside_entries& aside);

void create(int typ);
void del(int v, int mode);
void del_all(int mode);
void display(int v, int mode);
void list_all(int mode);
