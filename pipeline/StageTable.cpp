// Every stage of the system, registered under its program name. One explicit table, so that
// no stage can be dropped by the linker or forgotten at start-up.
#include "StageTable.h"

#include "TExpander.h"
#include "TQuorEsp.h"
#include "TQuorlet.h"
#include "TCombiner.h"
#include "TMOOR_CHK.h"
#include "TMOOR_CMB.h"
#include "TSUPPLMNT.h"
#include "TSplitter.h"
#include "TConvert.h"
#include "TConvert1.h"
#include "TConvert2.h"
#include "TConvert3.h"
#include "TConvert4.h"
#include "TConvert5.h"
#include "TConvert6.h"
#include "TCheck.h"
#include "TKmap.h"
#include "TVerilog.h"
#include "TVhdl.h"
#include "USubExec.h"

namespace quorlet {
namespace {

struct Registration {
    const char* name;
    StageFactory factory;
};

const Registration kStages[] = {
    {"QUORLET", &MakeStage<TQuorlet>},   {"EXPANDER", &MakeStage<TExpander>}, {"QUOR_ESP", &MakeStage<TQuorEsp>},
    {"SUPPLMNT", &MakeStage<TSUPPLMNT>}, {"SPLITTER", &MakeStage<TSplitter>}, {"COMBINER", &MakeStage<TCombiner>},
    {"MOOR_CHK", &MakeStage<TMOOR_CHK>}, {"MOOR_CMB", &MakeStage<TMOOR_CMB>}, {"CONVERT", &MakeStage<TConvert>},
    {"CONVERT1", &MakeStage<TConvert1>}, {"CONVERT2", &MakeStage<TConvert2>}, {"CONVERT3", &MakeStage<TConvert3>},
    {"CONVERT4", &MakeStage<TConvert4>}, {"CONVERT5", &MakeStage<TConvert5>}, {"CONVERT6", &MakeStage<TConvert6>},
    {"KMAP", &MakeStage<TKmap>},         {"VERILOG", &MakeStage<TVerilog>},   {"VHDL", &MakeStage<TVhdl>},
    {"CHECK", &MakeStage<TCheck>},
};

}  // namespace

std::vector<std::string> QuorletStageNames()
{
    std::vector<std::string> names;
    for (const Registration& r : kStages) names.emplace_back(r.name);
    return names;
}

void RegisterQuorletStages()
{
    ClearSubTools();
    for (const Registration& r : kStages) RegisterSubTool(r.name, r.factory);
}

}  // namespace quorlet
