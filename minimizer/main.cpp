// quor_esp: the two-level minimizer on the command line.
#include <iostream>
#include <string>
#include <vector>

#include "QuorEsp.h"

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  return quor::RunQuorEsp(args, std::cerr);
}
