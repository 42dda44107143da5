// The combiner: "esp_tbl.###" joins "esp_tbl.$$$" as its last output column.
#include "TCombiner.h"

#include "ToolFiles.h"

namespace quorlet {

void TCombiner::Fail(std::string_view message)
{
    if (!message.empty()) WriteLine(message);
    ErrorFlag = true;
}

bool TCombiner::ReadAccumulated()
{
    TextFile file;
    // The first column of a run finds no accumulated cover and starts empty.
    if (!OpenIn(file, kMinimizedFile)) return true;
    TableHeader header;
    StoreRead read = ReadTermStore(*this, file, header, store_, kMinimizedTooLong);
    inputs_ = header.inputs;
    outputs_ = header.outputs;
    CloseText(file);
    if (read != StoreRead::Ok) Fail("TEMPORARY FILE FORMAT ERROR");
    return read == StoreRead::Ok;
}

bool TCombiner::MergeNewColumn()
{
    TextFile file;
    if (!OpenToolFile(*this, file, kOneOutputMinimizedFile, "FATAL ERROR: UNABLE TO OPEN TEMPORARY FILE")) return false;
    std::string_view failure;
    TableHeader header;
    ReadTableHeader(file, header, [&](char key, const ParsedNumber& count) {
        if (!count.isNumber) failure = "NUMBER CHECK ERROR";
        else if (key == 'I' && inputs_ == 0) inputs_ = count.value;
        if (failure.empty() && ((key == 'I' && count.value != inputs_) || (key == 'O' && count.value != 1)))
            failure = kTempFileError;
        return failure.empty();
    });
    if (!failure.empty()) {
        CloseText(file);
        Fail(failure);
        return false;
    }
    bool joined = JoinOutputColumns(*this, file, header.terms, inputs_, outputs_, 1, store_,
                                    [](Term& term) { term.output = "1"; });
    ++outputs_;
    CloseText(file);
    return joined;
}

void TCombiner::Execute()
{
    inputs_ = 0;
    outputs_ = 0;
    store_.clear();

    if (!ReadAccumulated()) return;
    if (!MergeNewColumn()) return;
    WriteMinimizedStore(*this, inputs_, outputs_, store_);
}

}  // namespace quorlet
