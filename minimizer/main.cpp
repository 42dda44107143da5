// quor_esp: the two-level minimizer on the command line.
#include <algorithm>
#include <iostream>
#include <string>
#include <vector>

#include "QuorEsp.h"

int main(int argc, char** argv)
{
    std::vector<std::string> args(argv + 1, argv + argc);
    // Asked for, the usage is the program's output (for a pager, or for the manual page); else
    // messages go to standard error.
    const bool help = std::ranges::any_of(args, [](const std::string& a) { return a == "--help" || a == "-h"; });
    return quorlet::RunQuorEsp(args, help ? std::cout : std::cerr);
}
