// PLA reading and writing.
#include "Pla.h"

#include <fstream>
#include <sstream>

namespace quorlet {
namespace {

[[noreturn]] void Fail(const std::string& name, int line, const std::string& what)
{
    throw PlaError(name + ":" + (line > 0 ? std::to_string(line) + ": " : " ") + what);
}

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '|' || c == '\r' || c == '\f' || c == '\v'; }

std::vector<std::string> Words(std::string_view line)
{
    std::vector<std::string> w;
    std::size_t i = 0;
    while (i < line.size()) {
        while (i < line.size() && (line[i] == ' ' || line[i] == '\t' || line[i] == '\r')) ++i;
        std::size_t b = i;
        while (i < line.size() && !(line[i] == ' ' || line[i] == '\t' || line[i] == '\r')) ++i;
        if (i > b) w.emplace_back(line.substr(b, i - b));
    }
    return w;
}

int Number(const std::string& word, const std::string& key, const std::string& name, int line, int max)
{
    if (word.empty() || word.size() > 9)
        Fail(name, line, key + " needs a count of at most " + std::to_string(max) + ", not \"" + word + "\"");
    for (char c : word)
        if (c < '0' || c > '9') Fail(name, line, key + " needs a decimal count, not \"" + word + "\"");
    int n = std::stoi(word);
    if (n > max) Fail(name, line, key + " " + word + " is more than the limit of " + std::to_string(max));
    return n;
}

}  // namespace

PlaTable ParsePla(std::string_view text, const std::string& name)
{
    PlaTable t;
    bool haveI = false, haveO = false;
    PlaTerm cur;
    bool inTerm = false;
    int lineNo = 0;
    std::size_t pos = 0;
    bool ended = false;
    bool sawContent = false;  // a line other than a blank or a comment
    while (pos < text.size() && !ended) {
        std::size_t nl = text.find('\n', pos);
        std::string_view line = text.substr(pos, nl == std::string_view::npos ? std::string_view::npos : nl - pos);
        pos = nl == std::string_view::npos ? text.size() : nl + 1;
        ++lineNo;
        std::size_t first = 0;
        while (first < line.size() && IsBlank(line[first])) ++first;
        if (first == line.size()) continue;
        if (line[first] == '#') continue;
        if (!sawContent && line[first] != '.') {
            // Some tables open with a bare title word; it cannot be a term, which needs .i and .o.
            std::vector<std::string> w = Words(line.substr(first));
            sawContent = true;
            if (w.size() == 1) {
                t.warnings.push_back(name + ":" + std::to_string(lineNo) + ": \"" + w[0] +
                                     "\" taken as a title and ignored");
                continue;
            }
        }
        sawContent = true;
        if (line[first] == '.') {
            std::vector<std::string> w = Words(line.substr(first));
            std::string key = w[0];
            if (inTerm)
                Fail(name, lineNo,
                     "keyword " + key + " inside the term that starts on line " + std::to_string(cur.line));
            if (key == ".e" || key == ".end") {
                ended = true;
                break;
            }
            auto arg = [&](const char* what) -> const std::string& {
                if (w.size() < 2) Fail(name, lineNo, key + " needs " + what);
                return w[1];
            };
            if (key == ".i" || key == ".o") {
                if (!t.terms.empty()) Fail(name, lineNo, key + " after the first term");
                int n = Number(arg("a count"), key, name, lineNo, kMaxPlaWidth);
                if (n < 1) Fail(name, lineNo, key + " must be at least 1");
                const auto& names = key == ".i" ? t.ilb : t.ob;
                if (!names.empty() && names.size() != static_cast<std::size_t>(n))
                    Fail(name, lineNo,
                         key + " " + std::to_string(n) + " disagrees with the " + std::to_string(names.size()) +
                             " names given before it");
                if (key == ".i") {
                    t.ni = n;
                    haveI = true;
                } else {
                    t.no = n;
                    haveO = true;
                }
            } else if (key == ".p") {
                t.declaredTerms = Number(arg("a count"), key, name, lineNo, 1000000000);
            } else if (key == ".type") {
                const std::string& ty = arg("f, fd, fr, fdr or r");
                if (ty == "f") t.type = PlaType::F;
                else if (ty == "fd") t.type = PlaType::FD;
                else if (ty == "fr") t.type = PlaType::FR;
                else if (ty == "fdr") t.type = PlaType::FDR;
                else if (ty == "r") t.type = PlaType::R;
                else Fail(name, lineNo, "unknown .type \"" + ty + "\" (f, fd, fr, fdr or r)");
            } else if (key == ".ilb" || key == ".ob") {
                if (!(key == ".ilb" ? haveI : haveO))
                    Fail(name, lineNo, key + " before " + (key == ".ilb" ? ".i" : ".o"));
                std::size_t want = key == ".ilb" ? t.ni : t.no;
                if (w.size() - 1 != want)
                    Fail(name, lineNo,
                         key + " names " + std::to_string(w.size() - 1) + " signals, " + (key == ".ilb" ? ".i" : ".o") +
                             " says " + std::to_string(want));
                (key == ".ilb" ? t.ilb : t.ob).assign(w.begin() + 1, w.end());
            } else if (key == ".phase") {
                t.phase = arg("a phase string");
                if (haveO && int(t.phase.size()) != t.no)
                    Fail(name, lineNo,
                         ".phase has " + std::to_string(t.phase.size()) + " characters, .o says " +
                             std::to_string(t.no));
                for (char c : t.phase)
                    if (c != '0' && c != '1') Fail(name, lineNo, ".phase may hold only 0 and 1");
                if (t.phase.find('0') != std::string::npos)
                    t.warnings.push_back(
                        name + ":" + std::to_string(lineNo) +
                        ": .phase is ignored: every output is minimized in its ON-set as the table gives it");
            } else {
                Fail(name, lineNo, "unknown keyword " + key);
            }
            continue;
        }
        // Term characters; a term ends when its input and output parts are full, so it may run
        // over several lines.
        if (!haveI || !haveO) Fail(name, lineNo, std::string("term before ") + (haveI ? ".o" : ".i"));
        for (std::size_t i = first; i < line.size(); ++i) {
            char c = line[i];
            if (IsBlank(c)) continue;
            if (c == '#') break;  // the rest of the line is a comment
            if (!inTerm) {
                cur = PlaTerm{};
                cur.line = lineNo;
                inTerm = true;
            }
            if (int(cur.in.size()) < t.ni) {
                char v = c == '2' ? '-' : c;
                if (v != '0' && v != '1' && v != '-')
                    Fail(name, lineNo, std::string("input part holds '") + c + "' (allowed: 0 1 - 2)");
                cur.in += v;
            } else if (int(cur.out.size()) < t.no) {
                char v = c;
                if (c == '4') v = '1';
                else if (c == '2') v = '-';
                else if (c == '3') v = '~';
                if (v != '1' && v != '0' && v != '-' && v != '~')
                    Fail(name, lineNo, std::string("output part holds '") + c + "' (allowed: 1 4 0 - 2 ~ 3)");
                cur.out += v;
            } else {
                Fail(name, lineNo,
                     "term has more than " + std::to_string(t.ni) + " input and " + std::to_string(t.no) +
                         " output characters");
            }
            if (int(cur.in.size()) == t.ni && int(cur.out.size()) == t.no) {
                t.terms.push_back(std::move(cur));
                inTerm = false;
                // Anything further on this line would start a term of its own: refuse it as too wide.
                for (std::size_t k = i + 1; k < line.size(); ++k)
                    if (line[k] == '#') break;
                    else if (!IsBlank(line[k]))
                        Fail(name, lineNo,
                             "term has more than " + std::to_string(t.ni) + " input and " + std::to_string(t.no) +
                                 " output characters");
                break;
            }
        }
    }
    if (inTerm)
        Fail(name, cur.line,
             "term is incomplete: " + std::to_string(cur.in.size()) + " of " + std::to_string(t.ni) + " input and " +
                 std::to_string(cur.out.size()) + " of " + std::to_string(t.no) + " output characters");
    if (!haveI) Fail(name, 0, "no .i line");
    if (!haveO) Fail(name, 0, "no .o line");
    if (!t.phase.empty() && int(t.phase.size()) != t.no) Fail(name, 0, ".phase does not have .o characters");
    return t;
}

PlaTable ReadPlaFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in) Fail(path, 0, "cannot open file");
    std::ostringstream ss;
    ss << in.rdbuf();
    if (in.bad()) Fail(path, 0, "cannot read file");
    return ParsePla(ss.str(), path);
}

std::string FormatPla(const PlaTable& t)
{
    std::string s;
    s.reserve(64 + t.terms.size() * (t.ni + t.no + 2));
    s += ".i " + std::to_string(t.ni) + "\n";
    s += ".o " + std::to_string(t.no) + "\n";
    auto names = [&](const char* key, const std::vector<std::string>& v) {
        if (v.empty()) return;
        s += key;
        for (auto& n : v) s += " " + n;
        s += "\n";
    };
    names(".ilb", t.ilb);
    names(".ob", t.ob);
    s += t.headerLine + "\n";
    s += ".p " + std::to_string(t.terms.size()) + "\n";
    for (auto& term : t.terms) s += term.in + " " + term.out + "\n";
    s += ".e\n";
    return s;
}

}  // namespace quorlet
