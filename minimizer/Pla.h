// The PLA text format: a reader that turns text into a plain table and a writer back to text.
#pragma once

#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace quorlet {

// Inputs and outputs a table may declare; wider tables are refused with a message.
inline constexpr int kMaxPlaWidth = 100000;

// R: the rows give the OFF-set (their "0" outputs); the ON-set is its complement.
enum class PlaType { F, FD, FR, FDR, R };

struct PlaTerm {
    std::string in;   // characters 0 1 -
    std::string out;  // characters 1 0 - ~
    int line = 0;     // line where the term starts
};

struct PlaTable {
    int ni = 0;
    int no = 0;
    PlaType type = PlaType::FD;
    std::vector<std::string> ilb, ob;  // names, when given
    std::string phase;                 // as written; the minimizer does not apply it
    int declaredTerms = -1;            // ".p", when given
    std::vector<PlaTerm> terms;
    std::string headerLine = ".type f";  // the writer's third header line
    std::vector<std::string> warnings;   // "NAME:LINE: what", for what the reader accepted but
                                         // does not use as written
};

// "NAME:LINE: what" (LINE left out when the problem is not tied to a line).
struct PlaError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

PlaTable ParsePla(std::string_view text, const std::string& name);
PlaTable ReadPlaFile(const std::string& path);

// ".i", ".o", ".ilb"/".ob" when the table has names, the header line, ".p", terms, ".e".
// Without names this is exactly four header lines before the terms.
std::string FormatPla(const PlaTable& t);

}  // namespace quorlet
