// Shared pieces of the gate-level tests: writing a settings log and minimized table as the
// earlier stages leave them, and a simulator for written netlists.
#pragma once

#include <functional>
#include <map>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "../convert/ConvertFixtures.h"
#include "TestSupport.h"

namespace quorlet::test {

struct CoverFixture {
    std::string resultFile = "T.net";
    std::string title = "T";
    std::string nodeExtension;
    std::string flipFlopType;  // empty: function table
    int flipFlops = 0;
    std::vector<std::string> inputs;                         // state bits first
    std::vector<std::string> outputs;                        // excitation outputs first
    std::vector<std::pair<std::string, std::string>> terms;  // as the minimizer writes them
    bool pos = false, off = false, inv = false, regOut = false;
};

// Writes "exp_log.$$$" and "esp_tbl.$$$" into the current directory.
inline void WriteCoverFiles(const CoverFixture& c)
{
    int ni = static_cast<int>(c.inputs.size()) - c.flipFlops;
    int m = c.flipFlops * ((c.flipFlopType == "JK" || c.flipFlopType == "SR") ? 2 : 1);
    int no = static_cast<int>(c.outputs.size()) - m;
    std::string log = std::string("-o esp_tbl.$$$ ") + (c.pos != c.off ? "-pos " : "") + "exp_tbl.$$$\n\n";
    log += c.resultFile + " T.tbl\n";
    log += "-F" + c.nodeExtension + " ";
    if (!c.flipFlopType.empty()) log += c.flipFlopType + " " + std::to_string(c.flipFlops);
    log += "\n" + c.title + "\n\n";
    log += NameLines("INPUT", c.inputs) + "\n" + NameLines("OUTPUT", c.outputs) + "\n";
    if (c.pos) log += "POS\n\n";
    if (c.off) log += "OFF\n\n";
    log += "NO_ERRORS\n" + std::to_string(ni) + " " + std::to_string(no) + " " + std::to_string(c.flipFlops) + " " +
           std::to_string(m) + "\n";
    if (c.inv) log += "INV\n";
    if (c.regOut) log += "REG_OUT\n";
    WriteFile("exp_log.$$$", log);
    std::string table = ".i " + std::to_string(c.inputs.size()) + "\n.o " + std::to_string(c.outputs.size()) +
                        "\n#.phase\n.p " + std::to_string(c.terms.size()) + "\n";
    for (const auto& [in, out] : c.terms) table += in + " " + out + "\n";
    table += ".e\n";
    WriteFile("esp_tbl.$$$", table);
}

inline std::vector<std::string> SplitLines(const std::string& text)
{
    std::vector<std::string> lines;
    std::istringstream in(text);
    std::string line;
    while (std::getline(in, line)) lines.push_back(line);
    return lines;
}

inline std::vector<std::string> Words(const std::string& line)
{
    std::vector<std::string> words;
    std::istringstream in(line);
    std::string w;
    while (in >> w) words.push_back(w);
    return words;
}

// A written netlist, gate by gate, evaluated for given input and state values.
class NetlistSimulator {
public:
    struct Element {
        std::string kind;
        std::vector<std::string> inputs;
    };

    explicit NetlistSimulator(const std::string& text)
    {
        bool inGates = false;
        for (const std::string& line : SplitLines(text)) {
            std::vector<std::string> w = Words(line);
            if (w.empty() || line[0] == '"') continue;
            if (w[0] == "NETLIST" || w[0] == "INPUT" || w[0] == "OUTPUT") continue;
            if (w[0] == "END") break;
            if (w.size() < 2) throw std::runtime_error("short netlist line: " + line);
            Element e{w[1], std::vector<std::string>(w.begin() + 2, w.end())};
            if (elements.count(w[0])) throw std::runtime_error("signal driven twice: " + w[0]);
            elements[w[0]] = e;
            order.push_back(w[0]);
            inGates = true;
        }
        (void)inGates;
    }

    // Values of every signal; flip-flop outputs take the given present state.
    bool Value(const std::string& name, const std::map<std::string, bool>& given)
    {
        if (name == "VDD") return true;
        if (name == "VSS") return false;
        if (auto g = given.find(name); g != given.end()) return g->second;
        if (auto c = cache_.find(name); c != cache_.end()) return c->second;
        auto it = elements.find(name);
        if (it == elements.end()) throw std::runtime_error("undriven signal: " + name);
        if (++depth_ > 200) throw std::runtime_error("loop at " + name);
        const Element& e = it->second;
        std::vector<bool> in;
        for (const std::string& s : e.inputs) in.push_back(Value(s, given));
        --depth_;
        bool v = false;
        auto all = [&] {
            for (bool b : in)
                if (!b) return false;
            return true;
        };
        auto any = [&] {
            for (bool b : in)
                if (b) return true;
            return false;
        };
        if (e.kind == "BUF") v = in.at(0);
        else if (e.kind == "INV") v = !in.at(0);
        else if (e.kind == "AND") v = all();
        else if (e.kind == "OR") v = any();
        else if (e.kind == "NAND") v = !all();
        else if (e.kind == "NOR") v = !any();
        else throw std::runtime_error("unknown kind " + e.kind + " for " + name);
        cache_[name] = v;
        return v;
    }
    void Reset() { cache_.clear(); }

    std::map<std::string, Element> elements;
    std::vector<std::string> order;

private:
    std::map<std::string, bool> cache_;
    int depth_ = 0;
};

}  // namespace quorlet::test
