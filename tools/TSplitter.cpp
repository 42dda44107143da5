// The splitter: "exp_tbl.$$$" to "exp_tbl.###" for one output column.
#include "TSplitter.h"

#include <algorithm>

#include "ToolFiles.h"

namespace quorlet {

namespace {
constexpr std::string_view kParameterError = "SPLITTER: ERROR READING COMMAND LINE PARAMETER";
constexpr std::string_view kFormatError = "TEMPORARY FILE FORMAT ERROR";
}  // namespace

int TSplitter::ColumnParameter() const
{
    std::string word = Param(1);
    int column = 0;
    if (word.size() != 2 || !ParseCount(word, column)) return 0;
    return column;
}

TSplitter::ReadResult TSplitter::ReadCoverTable()
{
    TextFile file;
    if (!OpenToolFile(*this, file, kCoverTableFile, "FATAL ERROR: UNABLE TO OPEN TEMPORARY FILE"))
        return ReadResult::Failed;
    CoverTable table;
    TableReadStatus status = quorlet::ReadCoverTable(file, table);
    CloseText(file);
    // A table without a count line has no terms; its widths are those its header gave.
    if (status == TableReadStatus::NoCountLine) status = TableReadStatus::Ok;
    if (status == TableReadStatus::BadNumber) WriteLine(kFormatError);
    if (status != TableReadStatus::Ok) return ReadResult::Failed;
    if (static_cast<int>(table.terms.size()) > kMaxTerms) {
        WriteLine(TooManyTermsMessage());
        return ReadResult::TooLong;
    }
    cover_ = std::move(table);
    cover_.inputs = std::max(cover_.inputs, 0);
    cover_.outputs = std::max(cover_.outputs, 0);
    return ReadResult::Ok;
}

void TSplitter::Execute()
{
    column_ = 0;
    cover_ = CoverTable{};

    if (ParamCount() < 1) {
        WriteLine(kParameterError);
        ErrorFlag = true;
        return;
    }
    column_ = ColumnParameter();
    if (column_ < 1) {
        WriteLine(kParameterError);
        ErrorFlag = true;
        return;
    }
    ReadResult read = ReadCoverTable();
    if (read != ReadResult::Ok) {
        WriteLine(kFormatError);
        ErrorFlag = true;
        if (read == ReadResult::TooLong) {
            // A table too long for the store cannot be minimized output by output: the run is
            // refused, and no one-output table of an earlier column is left for the minimizer.
            MarkRunFailed(*this);
            EraseFile(kOneOutputTableFile);
        }
        return;
    }
    if (column_ > cover_.outputs) {
        WriteLine(kParameterError);
        ErrorFlag = true;
        return;
    }

    WriteToolTable(*this, kOneOutputTableFile, MakeOneOutputTable(cover_, column_),
                   "FATAL ERROR: UNABLE TO OPEN TEMPORARY FILE");
}

}  // namespace quorlet
