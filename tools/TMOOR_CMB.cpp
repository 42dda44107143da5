// The Moore combination: "esp_tbl.$$$" and "esp_tbl.###" joined into "esp_tbl.$$$".
#include "TMOOR_CMB.h"

#include <algorithm>

#include "ToolFiles.h"

namespace quorlet {

void TMOOR_CMB::ReadNextStateCover()
{
    TextFile file;
    if (!OpenToolFile(*this, file, kMinimizedFile, "FATAL ERROR: UNABLE TO OPEN TEMPORARY FILE")) return;
    TableHeader header;
    if (ReadTermStore(*this, file, header, store_, kMinimizedTooLong) != StoreRead::Ok) ErrorFlag = true;
    inputs_ = header.inputs;
    outputs_ = header.outputs;
    CloseText(file);
    if (ErrorFlag) WriteLine("TEMPORARY FILE FORMAT ERROR");
}

void TMOOR_CMB::JoinOutputCover()
{
    TextFile file;
    if (!OpenToolFile(*this, file, kOneOutputMinimizedFile, "FATAL ERROR: UNABLE TO OPEN TEMPORARY FILE")) return;
    TableHeader header;
    if (ReadTableHeader(file, header, StageNumberCheck(*this)) == TableReadStatus::Refused) {
        CloseText(file);
        return;
    }
    const int outputColumns = std::max(header.outputs, 0);
    if (std::max(header.inputs, 0) != inputs_) {
        WriteLine(kTempFileError);
        ErrorFlag = true;
    } else {
        JoinOutputColumns(*this, file, header.terms, inputs_, outputs_, outputColumns, store_, [this](Term& term) {
            for (int k = stateBits_; k < inputs_; ++k)
                if (term.input[static_cast<std::size_t>(k)] != '-') inputDependent_ = true;
        });
        outputs_ += outputColumns;
    }
    CloseText(file);
}

void TMOOR_CMB::Execute()
{
    inputDependent_ = false;
    if (!StartMooreRun()) return;
    ReadNextStateCover();
    if (ErrorFlag) return;
    JoinOutputCover();
    if (ErrorFlag) return;
    if (!WriteMinimizedStore(*this, inputs_, outputs_, store_)) return;
    // An output cover that uses primary inputs leaves "exp_tbl.###" in place, which the driver
    // reports as a table that is no Moore machine. Nothing else is erased then: the log's third
    // line names the result and table files together, and no file of the user's may go.
    if (inputDependent_) return;
    EraseFile(kOneOutputTableFile);
    EraseFile(kOneOutputMinimizedFile);
}

}  // namespace quorlet
