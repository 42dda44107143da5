// Random two-level functions for the minimizer benchmark, in the PLA text format: the same
// seed always gives the same file, so runs on different days compare.
//
//   quor_gen_functions DIR   writes every function of every class into DIR as CLASS-N.pla
//   quor_gen_functions --list                  prints the classes
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <random>
#include <string>
#include <vector>

namespace {

struct FunctionClass {
    std::string name;
    std::string what;
    int minInputs, maxInputs;
    int minOutputs, maxOutputs;
    int minTerms, maxTerms;
    bool sparse;  // terms of one to three literals, each in one output
    int count;
    bool dense = false;  // terms that fix nearly every input; .type f, fd and fr in turn
};

// Wide sparse multi-output functions as public benchmark sets hold them; random functions of
// a few inputs and outputs and of growing term counts; a few dense cubes over thousands of
// inputs. The order fixes each class's seed.
std::vector<FunctionClass> Classes()
{
    std::vector<FunctionClass> all = {
        {"wide", "35-100 inputs, 14-56 outputs, 30-150 terms of 1-3 literals, one output each", 35, 100, 14, 56, 30,
         150, true, 12},
        {"i8o8", "8 inputs, 8 outputs, 100 terms", 8, 8, 8, 8, 100, 100, false, 8},
        {"i24o8", "24 inputs, 8 outputs, 50-100 terms", 24, 24, 8, 8, 50, 100, false, 8},
    };
    // 8 to 24 inputs, one output and eight, terms growing and fewer functions as they grow.
    struct TermStep {
        int minTerms, maxTerms, count;
    };
    for (TermStep t : {TermStep{50, 50, 6}, {100, 100, 6}, {200, 200, 6}, {400, 400, 4}, {800, 1600, 3}})
        for (int outputs : {1, 8}) {
            const std::string terms = t.minTerms == t.maxTerms
                                          ? std::to_string(t.maxTerms)
                                          : std::to_string(t.minTerms) + "-" + std::to_string(t.maxTerms);
            all.push_back({"i8-24o" + std::to_string(outputs) + "-t" + std::to_string(t.maxTerms),
                           "8-24 inputs, " + std::to_string(outputs) + (outputs == 1 ? " output, " : " outputs, ") +
                               terms + " terms",
                           8, 24, outputs, outputs, t.minTerms, t.maxTerms, false, t.count});
        }
    all.push_back({"dense-wide", "1000-10000 inputs, 1-8 outputs, 2-10 terms fixing 95% of the inputs, types f, fd, fr",
                   1000, 10000, 1, 8, 2, 10, false, 9, true});
    return all;
}

int Between(std::mt19937& rng, int lo, int hi) { return lo + int(rng() % unsigned(hi - lo + 1)); }

// k: the function's number in its class, which picks the type of a dense one.
std::string MakeFunction(const FunctionClass& c, unsigned seed, int k)
{
    std::mt19937 rng(seed);
    const int ni = Between(rng, c.minInputs, c.maxInputs);
    const int no = Between(rng, c.minOutputs, c.maxOutputs);
    const int terms = Between(rng, c.minTerms, c.maxTerms);
    static const char* const kDenseTypes[] = {"f", "fd", "fr"};
    const char* type = c.dense ? kDenseTypes[k % 3] : nullptr;
    std::string text = ".i " + std::to_string(ni) + "\n.o " + std::to_string(no) + "\n";
    if (type) text += ".type " + std::string(type) + "\n";
    text += ".p " + std::to_string(terms) + "\n";
    for (int t = 0; t < terms; ++t) {
        std::string in(ni, '-'), out(no, '0');
        if (c.dense) {
            // A few far apart cubes: their complement is thousands of narrow cubes.
            for (char& ch : in)
                if (rng() % 20) ch = rng() % 2 ? '1' : '0';
            for (char& ch : out) ch = "10-"[rng() % (type[1] == 'd' ? 3 : 2)];
            out[rng() % unsigned(no)] = '1';
        } else if (c.sparse) {
            int lits = Between(rng, 1, 3);
            for (int l = 0; l < lits; ++l) in[rng() % unsigned(ni)] = rng() % 2 ? '1' : '0';
            out[rng() % unsigned(no)] = '1';
        } else {
            // Inputs: 0, 1 and - alike; outputs mostly ON or OFF, a few don't-cares.
            for (char& ch : in) ch = "01-"[rng() % 3];
            bool any = false;
            for (char& ch : out) {
                unsigned r = rng() % 10;
                ch = r < 4 ? '1' : r < 5 ? '-' : '0';
                any |= ch == '1';
            }
            if (!any) out[rng() % unsigned(no)] = '1';
        }
        text += in + " " + out + "\n";
    }
    return text + ".e\n";
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc == 2 && std::string(argv[1]) == "--list") {
        for (const auto& c : Classes()) std::cout << c.name << "\t" << c.count << "\t" << c.what << "\n";
        return 0;
    }
    if (argc != 2 || argv[1][0] == '-') {
        std::cerr << "usage: quor_gen_functions DIR | --list\n";
        return 2;
    }
    namespace fs = std::filesystem;
    fs::path dir = argv[1];
    std::error_code ec;
    fs::create_directories(dir, ec);
    unsigned classSeed = 16;
    for (const auto& c : Classes()) {
        ++classSeed;
        for (int k = 0; k < c.count; ++k) {
            fs::path file = dir / (c.name + "-" + std::to_string(k) + ".pla");
            std::ofstream f(file, std::ios::binary | std::ios::trunc);
            if (!(f << MakeFunction(c, classSeed * 1000u + unsigned(k), k))) {
                std::cerr << "quor_gen_functions: cannot write " << file.string() << "\n";
                return 1;
            }
        }
    }
    return 0;
}
