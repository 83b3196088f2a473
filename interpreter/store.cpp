#include "interpreter/store.h"

#include <cctype>
#include <cstring>
#include <fstream>
#include <iostream>

#include "engine/scheme.h"
#include "interpreter/displays.h"
#include "interpreter/harness_hooks.h"
#include "interpreter/input.h"
#include "interpreter/point_entry.h"
#include "interpreter/session.h"

var_struct var[no_of_vars];

void read_var(int& v, const std::string& cc)
{
    v = -2;
    for (int i = 0; i < no_of_vars; ++i)
        if (var[i].name[0] != '\0' && std::strncmp(var[i].name, cc.c_str(), max_name) == 0) {
            v = i;
            return;
        }
}

scheme& scheme_at(int v)
{
    return *static_cast<scheme*>(var[v].var_ptr);
}

bool read_new_name(std::string& cc)
{
    if (!read_word(cc, max_name)) return false;
    for (char c : cc)
        if (!std::isalnum(static_cast<unsigned char>(c))) {
            error(105);
            return false;
        }
    int v;
    read_var(v, cc);
    if (v != -2) {
        error(111);
        return false;
    }
    return true;
}

int reserve_var(const std::string& cc, int typ)
{
    for (int i = 0; i < no_of_vars; ++i)
        if (var[i].name[0] == '\0') {
            std::strcpy(var[i].name, cc.c_str());
            var[i].typ = typ;
            var[i].var_ptr = nullptr;
            return i;
        }
    error(110);
    return -1;
}

int new_var(int typ)
{
    std::string cc;
    if (!read_new_name(cc)) return -1;
    return reserve_var(cc, typ);
}

void release_var(int v)
{
    var[v].name[0] = '\0';
    var[v].typ = 0;
    var[v].var_ptr = nullptr;
}

void create(int typ)
{
    int v = new_var(typ);
    if (v < 0) return;
    std::cout << "enter filename : ";
    std::string file_name;
    if (!read_word(file_name, std::string::npos)) {
        release_var(v);
        return;
    }
    std::ifstream in;
    if (file_name_allowed(file_name)) in.open(file_name);
    if (!in.is_open()) {
        error(30);
        release_var(v);
        return;
    }
    line_buffer lines(in.rdbuf());
    std::istream file(&lines);
    int result = typ == 3 ? read_scheme(file, v, file_name) : 0;
    if (result != 0) release_var(v);
    // A refused dimension is followed by the separator like a success.
    if (result == 0 || result == 1) print_line();
}

void del(int v, int mode)
{
    if (var[v].typ == 3 && var[v].var_ptr) delete static_cast<scheme*>(var[v].var_ptr);
    if (mode == 0) std::cout << var[v].name << " deleted\n";
    release_var(v);
}

void del_all(int mode)
{
    bool deleted = false;
    for (int i = 0; i < no_of_vars; ++i)
        if (var[i].name[0] != '\0') {
            del(i, mode);
            deleted = true;
        }
    if (mode == 0 && deleted) print_line();
}

set_aside_entries set_aside_all()
{
    set_aside_entries aside;
    bool taken = false;
    for (int i = 0; i < no_of_vars; ++i)
        if (var[i].name[0] != '\0') {
            std::cout << var[i].name << " deleted\n";
            aside.entries[i] = var[i];
            release_var(i);
            taken = true;
        }
    if (taken) print_line();
    return aside;
}

void drop(set_aside_entries& aside)
{
    for (var_struct& entry : aside.entries)
        if (entry.name[0] != '\0') {
            if (entry.typ == 3) delete static_cast<scheme*>(entry.var_ptr);
            entry = var_struct();
        }
}

void put_back(set_aside_entries& aside)
{
    for (int i = 0; i < no_of_vars; ++i)
        if (aside.entries[i].name[0] != '\0') {
            var[i] = aside.entries[i];
            aside.entries[i] = var_struct();
        }
}

void display(int v, int mode)
{
    if (var[v].typ == 3) std::cout << "scheme " << var[v].name;
    if (mode == 0) {
        std::cout << "\n";
        return;
    }
    std::cout << ":\n";
    if (var[v].typ == 3) std::cout << scheme_at(v);
}

void list_all(int mode)
{
    for (int i = 0; i < no_of_vars; ++i)
        if (var[i].name[0] != '\0') display(i, mode);
}
