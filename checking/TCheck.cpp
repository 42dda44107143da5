// Keeping the files the answer check reads once the run is over.
#include "TCheck.h"

#include "UTables.h"

namespace quorlet {

bool TCheck::Keep(std::string_view from, std::string_view to)
{
    TextFile in, out;
    if (!OpenIn(in, from)) return false;
    if (!OpenOut(out, to)) {
        CloseText(in);
        return false;
    }
    std::string line;
    while (in.ReadLine(line)) out.WriteLine(line);
    CloseText(in);
    return CloseText(out);
}

void TCheck::Execute()
{
    // All three or none: the check takes a missing kept file for a run that ended early.
    const bool kept = Keep(kCoverTableFile, kKeptCoverTableFile) && Keep(kSettingsLogFile, kKeptSettingsLogFile) &&
                      Keep(kMinimizedFile, kKeptMinimizedFile);
    if (!kept) {
        EraseFile(kKeptCoverTableFile);
        EraseFile(kKeptSettingsLogFile);
        EraseFile(kKeptMinimizedFile);
        WriteLine("ERROR WRITING TEMPORARY FILE, PROBABLY DISK FULL");
    }
}

}  // namespace quorlet
