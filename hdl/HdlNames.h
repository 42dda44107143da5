// Identifiers of the generated Verilog and VHDL: which table names stand as they are, and the one
// renaming rule for the others.
#pragma once

#include <set>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace quorlet {

enum class HdlLanguage { Verilog, Vhdl };

// A simple identifier of the language: Verilog [A-Za-z_][A-Za-z0-9_$]*; VHDL a letter, then
// letters, digits and single underscores, not ending in one.
bool IsLegalIdentifier(HdlLanguage language, std::string_view name);
// A reserved word of the language (Verilog and SystemVerilog keywords exactly, VHDL-2008 words
// in any case).
bool IsReservedWord(HdlLanguage language, std::string_view name);

// The renaming rule: a name that is not a legal identifier, is a reserved word, or is already
// taken in the design (compared without case in VHDL) becomes "N_" followed by the name with
// each run of characters other than letters and digits written as one "_" (none at the end);
// while that is still taken, "_2", "_3", ... is appended. Every other name stays as it is.
inline constexpr std::string_view kRenamingRule =
    "a name that is not a legal identifier, is a reserved word or is already taken becomes N_ "
    "and the name with each run of characters other than letters and digits written as one _ "
    "(none at the end), then _2, _3, ... while that is still taken";

// Hands out the identifiers of one design and remembers what it renamed.
class IdentifierTable {
public:
    explicit IdentifierTable(HdlLanguage language) : language_(language) {}

    // Marks a name the generated text uses itself (clk, reset, helper names), kept as it is.
    void Reserve(std::string_view name);
    // The identifier for a name of the table (or the design's file name): the name itself when
    // it may stand, else the renamed form; either way it is taken from then on.
    std::string Take(std::string_view name);

    // Old and new name of every renamed name, in the order they were taken.
    const std::vector<std::pair<std::string, std::string>>& Renamed() const { return renamed_; }

private:
    std::string Key(std::string_view name) const;
    bool IsTaken(std::string_view name) const { return taken_.count(Key(name)) != 0; }

    HdlLanguage language_;
    std::set<std::string> taken_;
    std::vector<std::pair<std::string, std::string>> renamed_;
};

}  // namespace quorlet
