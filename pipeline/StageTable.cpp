// Every stage of the system, registered under its program name. One explicit table, so that
// no stage can be dropped by the linker or forgotten at start-up.
#include "StageTable.h"

#include "TQuorlet.h"
#include "TExpander.h"
#include "USubExec.h"

namespace quorlet {
namespace {

struct Registration {
    const char* name;
    StageFactory factory;
};

const Registration kStages[] = {
    {"QUORLET", &MakeStage<TQuorlet>},
    {"EXPANDER", &MakeStage<TExpander>},
};

}  // namespace

void RegisterQuorletStages()
{
    ClearSubTools();
    for (const Registration& r : kStages) RegisterSubTool(r.name, r.factory);
}

}  // namespace quorlet
