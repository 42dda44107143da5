// The map stage: reads the run's files through the shared readers, writes text and picture.
#include "TKmap.h"

namespace quorlet {

bool TKmap::WriteLines(const std::string& name, const std::vector<std::string>& lines)
{
    TextFile file;
    if (!OpenOut(file, name)) {
        WriteLine("K-MAP: UNABLE TO OPEN OUTPUT FILE " + name);
        return false;
    }
    for (const std::string& line : lines) file.WriteLine(line);
    if (!CloseText(file)) {
        WriteLine("K-MAP: ERROR WRITING " + name + ", PROBABLY DISK FULL");
        EraseFile(name);
        return false;
    }
    return true;
}

void TKmap::Execute()
{
    cover_ = MinimizedCover();
    coverTable_ = CoverTable();
    if (!OpenMinimizedCover(*this, cover_)) return;
    const std::string textName = KmapTextPath(cover_.OutputFileName);
    const std::string pictureName = KmapPicturePath(cover_.OutputFileName);

    if (cover_.NumInputs > kMaxMapVariables) {
        // A picture of an earlier run of the same table must not pass for this one.
        EraseFile(pictureName);
        if (WriteLines(textName, {std::string(kTooManyMapVariablesLine)})) WriteLine(kTooManyMapVariablesLine);
        return;
    }

    TextFile table;
    if (!OpenIn(table, kCoverTableFile)) {
        WriteLine("K-MAP: UNABLE TO OPEN TEMPORARY FILE " + std::string(kCoverTableFile));
        return;
    }
    const TableReadStatus status = ReadCoverTable(table, coverTable_);
    CloseText(table);
    MapBuildResult built;
    if (status == TableReadStatus::Ok) built = BuildKarnaughMaps(cover_, coverTable_);
    if (status != TableReadStatus::Ok || built.problem != MapBuildProblem::None) {
        WriteLine("K-MAP: TEMPORARY FILE FORMAT ERROR IN " + std::string(kCoverTableFile) + ", NO MAPS WRITTEN");
        return;
    }

    std::vector<std::string> pictureLines;
    const std::string svg = RenderKarnaughSvg(built.maps);
    for (std::size_t start = 0; start < svg.size();) {
        std::size_t end = svg.find('\n', start);
        if (end == std::string::npos) end = svg.size();
        pictureLines.push_back(svg.substr(start, end - start));
        start = end + 1;
    }
    if (!WriteLines(textName, FormatKarnaughMaps(built.maps))) return;
    if (!WriteLines(pictureName, pictureLines)) {
        EraseFile(textName);
        return;
    }
    WriteLine("KARNAUGH MAPS WRITTEN TO " + textName + " AND " + pictureName);
}

}  // namespace quorlet
