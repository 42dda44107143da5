// The minimizer stage: the program's argument line and files, its messages on the console.
#include "TQuorEsp.h"

#include <sstream>
#include <string>
#include <vector>

#include "QuorEsp.h"

namespace quorlet {

void TQuorEsp::Execute()
{
    std::vector<std::string> args;
    for (int i = 1; i <= ParamCount(); ++i) args.push_back(Param(i));
    // A stage never reads the terminal: a missing input file reads as an empty one, and a
    // result without "-o" goes nowhere.
    std::istringstream noInput;
    std::ostringstream noOutput;
    std::ostringstream messages;
    quorlet::RunQuorEsp(args, messages, &noInput, &noOutput);
    std::istringstream lines(messages.str());
    for (std::string line; std::getline(lines, line);) WriteLine(line);
}

}  // namespace quorlet
