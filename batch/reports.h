// What each command of tarv prints for one point set: plain text for people
// or one JSON object (a line of its own) with stable keys.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

#include "batch/entry.h"

class scheme;

// The common part of every report: the file, the field, the ordering, the
// dimension and the number of points.
struct report_head {
    std::string file;
    std::string field;
    std::string ordering;
    int n = 0;
    int points = 0;
};

// Each returns false (with the reason in error) when the computation was
// refused; nothing is printed then.
bool report_invariants(std::ostream& out, const report_head& head, scheme& X, bool json, std::string& error);
bool report_betti(std::ostream& out, const report_head& head, scheme& X, bool json, std::string& error);
bool report_gb(std::ostream& out, const report_head& head, scheme& X, bool json, std::string& error);
bool report_export(std::ostream& out, const report_head& head, scheme& X, bool json, export_system target,
                   std::string& error);

// The Betti table in the usual layout: column numbers, totals, then one row
// per degree shift, "." for zero.
void print_betti_table(std::ostream& out, const std::vector<std::vector<long long>>& beta);
