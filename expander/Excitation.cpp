// Excitation tables of the D, T, JK and SR flip-flops and the names a state table generates.
#include "Excitation.h"

#include <array>

namespace quorlet {

bool IsFlipFlopType(std::string_view type) { return type == "D" || type == "T" || type == "JK" || type == "SR"; }

int ExcitationCount(std::string_view type, int n) { return (type == "JK" || type == "SR") ? 2 * n : n; }

namespace {

bool IsOpen(char c) { return c == '-' || c == '.'; }

// The two excitation characters by present state ('0', '1', unknown) and next state ('0', '1').
using PairTable = std::array<std::array<const char*, 2>, 3>;
constexpr PairTable kJkPairs = {{{"0-", "1-"}, {"-1", "-0"}, {"01", "10"}}};
constexpr PairTable kSrPairs = {{{"0-", "10"}, {"01", "-0"}, {"01", "10"}}};

std::string ExcitationPair(const PairTable& pairs, char p, char c)
{
    if (c == '-') return "--";
    if (c == '.') return "..";
    const std::size_t present = p == '0' ? 0 : p == '1' ? 1 : 2;
    return pairs[present][c == '1' ? 1 : 0];
}

}  // namespace

ExcitationResult ExcitationFor(std::string_view type, std::string_view present, std::string_view next)
{
    ExcitationResult result;
    if (type == "D") {
        result.value = std::string(next);
        return result;
    }
    for (std::size_t i = 0; i < next.size(); ++i) {
        char c = next[i];
        char p = i < present.size() ? present[i] : '.';
        if (type == "T") {
            if (IsOpen(c)) {
                result.value.push_back(c);
            } else if (IsOpen(p)) {
                result.ok = false;
                return result;
            } else {
                result.value.push_back(p == c ? '0' : '1');
            }
        } else if (type == "JK") {
            result.value += ExcitationPair(kJkPairs, p, c);
        } else {
            result.value += ExcitationPair(kSrPairs, p, c);
        }
    }
    return result;
}

std::vector<std::string> StateVariableNames(std::string_view ext, int n)
{
    std::vector<std::string> names;
    for (int i = n - 1; i >= 0; --i) {
        std::string name = "Q";
        name += ext;
        name += std::to_string(i);
        names.push_back(name);
    }
    return names;
}

std::vector<std::string> ExcitationNames(std::string_view type, std::string_view ext, int n)
{
    std::string letters = type == "JK" ? "JK" : type == "SR" ? "SR" : std::string(type);
    std::vector<std::string> names;
    for (int i = n - 1; i >= 0; --i)
        for (char letter : letters) {
            std::string name = "_";
            name += letter;
            name += ext;
            name += std::to_string(i);
            names.push_back(name);
        }
    return names;
}

namespace {

// One character from "0" up to n-1 places after it.
bool IsVariableDigit(char c, int n) { return n > 0 && c >= '0' && c < '0' + n; }

bool IsExcitationForm(std::string_view name, int n)
{
    if (name.size() != 3 || name[0] != '_') return false;
    std::string_view letters = "DTJKSRQ";
    return letters.find(name[1]) != std::string_view::npos && IsVariableDigit(name[2], n);
}

}  // namespace

bool IsStateVariableName(std::string_view name, int n)
{
    return name.size() == 2 && name[0] == 'Q' && IsVariableDigit(name[1], n);
}

bool IsReservedInputName(std::string_view name, int n)
{
    return IsStateVariableName(name, n) || IsExcitationForm(name, n);
}

bool IsReservedOutputName(std::string_view name, int n)
{
    return IsStateVariableName(name, n) || IsExcitationForm(name, n);
}

bool TermsConflict(const Term& a, const Term& b)
{
    std::size_t inputs = std::min(a.input.size(), b.input.size());
    for (std::size_t i = 0; i < inputs; ++i) {
        char x = a.input[i], y = b.input[i];
        if ((x == '1' && y == '0') || (x == '0' && y == '1')) return false;
    }
    std::size_t outputs = std::min(a.output.size(), b.output.size());
    for (std::size_t i = 0; i < outputs; ++i) {
        char x = a.output[i], y = b.output[i];
        if (x != '.' && y != '.' && x != y) return true;
    }
    return false;
}

}  // namespace quorlet
