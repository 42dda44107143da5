// The Moore check: "esp_tbl.$$$" tested, "exp_tbl.$$$" split into next-state and output tables.
#include "TMOOR_CHK.h"

#include "ToolFiles.h"

namespace quorlet {

void TMOOR_CHK::TestFirstPass()
{
    TextFile file;
    if (OpenToolFile(*this, file, kMinimizedFile, "FATAL ERROR: UNABLE TO OPEN TEMPORARY FILE 3")) {
        TableHeader header;
        ReadTableHeader(file, header, StageNumberCheck(*this));
        for (int i = 0; !ErrorFlag && i < header.terms; ++i) {
            Term term;
            if (ReadTableTerm(file, term, TermRules{.checkWidths = false}) != TableReadStatus::Ok) {
                ErrorFlag = true;
                break;
            }
            bool drivesOutput = false;
            for (int k = excitations_; k < header.outputs && k < static_cast<int>(term.output.size()); ++k)
                if (term.output[k] == '1') drivesOutput = true;
            bool usesInput = false;
            for (int k = stateBits_; k < header.inputs && k < static_cast<int>(term.input.size()); ++k)
                if (term.input[k] != '-') usesInput = true;
            if (drivesOutput && usesInput) secondPass_ = true;
        }
        CloseText(file);
    }
    if (ErrorFlag) WriteLine("TEMPORARY FILE FORMAT ERROR 4");
}

void TMOOR_CHK::LoadExpandedTable()
{
    TextFile file;
    if (OpenToolFile(*this, file, kCoverTableFile, "FATAL ERROR: UNABLE TO OPEN TEMPORARY FILE 5")) {
        TableHeader header;
        // The log's state and excitation columns must lie within the table, or the split
        // would have no columns to take them from.
        StoreRead read =
            ReadTermStore(*this, file, header, store_, TooManyTermsMessage(),
                          [this](const TableHeader& h) { return stateBits_ <= h.inputs && excitations_ <= h.outputs; });
        inputs_ = header.inputs;
        outputs_ = header.outputs;
        tooLong_ = read == StoreRead::TooLong;
        if (read != StoreRead::Ok) ErrorFlag = true;
        CloseText(file);
    }
    if (ErrorFlag) WriteLine("TEMPORARY FILE FORMAT ERROR 6");
}

void TMOOR_CHK::WriteSecondPassTables()
{
    CoverTable outputsTable;
    outputsTable.inputs = inputs_;
    outputsTable.outputs = outputs_ - excitations_;
    CoverTable nextStateTable;
    nextStateTable.inputs = inputs_;
    nextStateTable.outputs = excitations_;
    for (const Term& term : store_) {
        outputsTable.terms.push_back({term.input, term.output.substr(static_cast<std::size_t>(excitations_))});
        nextStateTable.terms.push_back({term.input, term.output.substr(0, static_cast<std::size_t>(excitations_))});
    }

    // "exp_tbl.###" tells the driver to run the second pass; it must not stay behind unless
    // both tables of that pass were written whole.
    if (!WriteToolTable(*this, kOneOutputTableFile, outputsTable, "FATAL ERROR: UNABLE TO OPEN TEMPORARY FILE 7",
                        "ERROR WRITING TABLES, PROBABLY DISK FULL 8") ||
        !WriteToolTable(*this, kCoverTableFile, nextStateTable, "FATAL ERROR: UNABLE TO OPEN TEMPORARY FILE 9",
                        "ERROR WRITING TABLES, PROBABLY DISK FULL 10"))
        EraseFile(kOneOutputTableFile);
}

void TMOOR_CHK::Execute()
{
    secondPass_ = false;
    tooLong_ = false;
    if (!StartMooreRun()) return;
    TestFirstPass();
    if (ErrorFlag || !secondPass_) return;
    LoadExpandedTable();
    if (ErrorFlag) {
        // A table beyond the store cannot be realised as Moore machine: the run is refused
        // rather than handing the unchecked first-pass result to the converter.
        if (tooLong_) MarkRunFailed(*this);
        return;
    }
    WriteSecondPassTables();
}

}  // namespace quorlet
