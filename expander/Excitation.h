// Flip-flop types of a state table: excitation rules, generated signal names, reserved names,
// and the conflict test between two terms.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "UTables.h"

namespace quorlet {

// "D", "T", "JK" or "SR".
bool IsFlipFlopType(std::string_view type);
// Excitation functions of n state variables: n for D and T, 2n for JK and SR.
int ExcitationCount(std::string_view type, int n);

struct ExcitationResult {
    bool ok = true;     // false: a toggle from an unspecified prior state
    std::string value;  // one character a variable (D, T) or a pair (JK, SR), most significant first
};

// The excitation string that takes the present code to the next code (both of equal length,
// characters "0", "1", "-", ".").
ExcitationResult ExcitationFor(std::string_view type, std::string_view present, std::string_view next);

// "Q" + ext + i for i = n-1 down to 0.
std::vector<std::string> StateVariableNames(std::string_view ext, int n);
// "_" + letter + ext + i for i = n-1 down to 0 (J before K, S before R).
std::vector<std::string> ExcitationNames(std::string_view type, std::string_view ext, int n);

// Names that a state table of n variables keeps for itself (empty node extension).
bool IsReservedInputName(std::string_view name, int n);
bool IsReservedOutputName(std::string_view name, int n);
// An output named like a state variable ("Q" k): such outputs come from option /R.
bool IsStateVariableName(std::string_view name, int n);

// Two terms conflict when their input parts share a point and some output position holds two
// different statements ("." says nothing and matches everything).
bool TermsConflict(const Term& a, const Term& b);

}  // namespace quorlet
