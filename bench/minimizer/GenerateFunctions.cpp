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
    const char* name;
    const char* what;
    int minInputs, maxInputs;
    int minOutputs, maxOutputs;
    int minTerms, maxTerms;
    bool sparse;  // terms of one to three literals, each in one output
    int count;
    bool dense = false;  // terms that fix nearly every input; .type f, fd and fr in turn
};

// Wide sparse multi-output functions as public benchmark sets hold them; random functions of
// a few inputs and outputs and of growing term counts.
const FunctionClass kClasses[] = {
    {"wide", "35-100 inputs, 14-56 outputs, 30-150 terms of 1-3 literals, one output each", 35, 100, 14, 56, 30, 150,
     true, 12},
    {"i8o8", "8 inputs, 8 outputs, 100 terms", 8, 8, 8, 8, 100, 100, false, 8},
    {"i24o8", "24 inputs, 8 outputs, 50-100 terms", 24, 24, 8, 8, 50, 100, false, 8},
    {"i8-24o1-t50", "8-24 inputs, 1 output, 50 terms", 8, 24, 1, 1, 50, 50, false, 6},
    {"i8-24o8-t50", "8-24 inputs, 8 outputs, 50 terms", 8, 24, 8, 8, 50, 50, false, 6},
    {"i8-24o1-t100", "8-24 inputs, 1 output, 100 terms", 8, 24, 1, 1, 100, 100, false, 6},
    {"i8-24o8-t100", "8-24 inputs, 8 outputs, 100 terms", 8, 24, 8, 8, 100, 100, false, 6},
    {"i8-24o1-t200", "8-24 inputs, 1 output, 200 terms", 8, 24, 1, 1, 200, 200, false, 6},
    {"i8-24o8-t200", "8-24 inputs, 8 outputs, 200 terms", 8, 24, 8, 8, 200, 200, false, 6},
    {"i8-24o1-t400", "8-24 inputs, 1 output, 400 terms", 8, 24, 1, 1, 400, 400, false, 4},
    {"i8-24o8-t400", "8-24 inputs, 8 outputs, 400 terms", 8, 24, 8, 8, 400, 400, false, 4},
    {"i8-24o1-t1600", "8-24 inputs, 1 output, 800-1600 terms", 8, 24, 1, 1, 800, 1600, false, 3},
    {"i8-24o8-t1600", "8-24 inputs, 8 outputs, 800-1600 terms", 8, 24, 8, 8, 800, 1600, false, 3},
    {"dense-wide", "1000-10000 inputs, 1-8 outputs, 2-10 terms fixing 95% of the inputs, types f, fd, fr", 1000,
     10000, 1, 8, 2, 10, false, 9, true},
};

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
        for (const auto& c : kClasses) std::cout << c.name << "\t" << c.count << "\t" << c.what << "\n";
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
    for (const auto& c : kClasses) {
        ++classSeed;
        for (int k = 0; k < c.count; ++k) {
            fs::path file = dir / (std::string(c.name) + "-" + std::to_string(k) + ".pla");
            std::ofstream f(file, std::ios::binary | std::ios::trunc);
            if (!(f << MakeFunction(c, classSeed * 1000u + unsigned(k), k))) {
                std::cerr << "quor_gen_functions: cannot write " << file.string() << "\n";
                return 1;
            }
        }
    }
    return 0;
}
