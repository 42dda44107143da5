// The JEDEC placeholder: reads and writes no files.
#include "TConvert5.h"

namespace quorlet {

void TConvert5::Execute()
{
    std::string argument = ParamCount() >= 1 ? Param(1) : std::string();
    WriteLine("CONVERT5: JEDEC OPTION IS NOT IMPLEMENTED");
    WriteLine("RECEIVED ARGUMENT: " + argument);
}

}  // namespace quorlet
