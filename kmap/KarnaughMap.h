// Karnaugh maps of the functions a run minimized: the cells from the completed cover table as it
// was minimized, the groups from the minimized cover itself, and the textbook layout (rows take
// the first half of the variables, columns the rest, both in Gray order; with 5 or 6 variables
// the first ones select a sub-map).
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "MinimizedCover.h"
#include "UTables.h"

namespace quorlet {

inline constexpr int kMaxMapVariables = 6;
// The whole text file when a function has more variables than a map can show.
inline constexpr std::string_view kTooManyMapVariablesLine = "K-MAP: MORE THAN 6 VARIABLES";

// The maps sit beside the result file: NAME.kmap (text) and NAME.kmap.svg (picture), NAME being
// the result file's name without its extension. The window finds the picture through these.
std::string KmapBaseName(std::string_view resultFile);
std::string KmapTextPath(std::string_view resultFile);
std::string KmapPicturePath(std::string_view resultFile);

struct FunctionMap {
    std::string name;
    // One character a point, '1', '0' or '-'; the index is the point's binary value with the
    // first variable most significant.
    std::vector<char> cells;
    // The value the groups loop: '1' when the minimizer covered the ON points, '0' when it
    // covered the OFF points (product of sums, or an OFF cover).
    char groupedValue = '1';
    // The cells of each group as a cube over all variables in table order ('0', '1', '-').
    std::vector<std::string> groups;
};

struct KarnaughMaps {
    std::vector<std::string> variables;  // the minimized table's input columns, in order
    std::vector<FunctionMap> functions;  // one per output column, in order
};

// Where each variable goes: selector variables pick a sub-map, then rows, then columns. All
// three are runs of consecutive variables in table order.
struct MapLayout {
    int selectorCount = 0;
    int rowCount = 0;
    int columnCount = 0;
    int Variables() const { return selectorCount + rowCount + columnCount; }
};

MapLayout LayoutFor(int variableCount);
// Reflected Gray codes of `bits` bits as strings ("0 1", "00 01 11 10"); one empty code for 0.
std::vector<std::string> GrayCodes(int bits);
// The binary value of a code string ("11" -> 3).
unsigned CodeValue(std::string_view code);
// True when the cube (over all variables) holds the point.
bool CubeHoldsPoint(std::string_view cube, unsigned point);

enum class MapBuildProblem {
    None,
    TooManyVariables,  // more than kMaxMapVariables inputs
    TableMismatch,     // the cover table's widths differ from the minimized cover's signals
};

struct MapBuildResult {
    KarnaughMaps maps;
    MapBuildProblem problem = MapBuildProblem::None;
};

// The maps of every output of the minimized cover. The cover table gives each cell: a term's
// "1", "0" or "-" in that column; a don't-care outweighs ON and OFF, ON outweighs OFF, and a
// point no term names is a don't-care, as for the minimizer.
MapBuildResult BuildKarnaughMaps(const MinimizedCover& cover, const CoverTable& coverTable);

// The text file's lines, function after function (see TKmap.h for the layout).
std::vector<std::string> FormatKarnaughMaps(const KarnaughMaps& maps);

// A rectangle of cells of one sub-map that a group loops, in row and column positions of the
// map's Gray order; an open side continues across the map's edge on the far side.
struct GroupPiece {
    int firstRow = 0, lastRow = 0;
    int firstColumn = 0, lastColumn = 0;
    bool openTop = false, openBottom = false, openLeft = false, openRight = false;
};

// The pieces of a group within the sub-map of the given selector code (empty code without
// selectors); none when the group lies in other sub-maps.
std::vector<GroupPiece> GroupPieces(const MapLayout& layout, std::string_view cube, std::string_view selectorCode);

struct PictureParams {
    int cellSize = 48;       // pixels a cell, square
    int valueFontSize = 18;  // the cell's value
    int numberFontSize = 9;  // the point's number in the cell's corner
    int labelFontSize = 14;  // names and codes on the edges
    int loopWidth = 3;       // stroke of a group's loop
    int mapGap = 36;         // between sub-maps side by side
    int margin = 20;         // around the whole picture
};

// The picture as SVG text: per function its sub-maps side by side, the groups as rounded loops
// in their own colours, a legend of the groups below.
std::string RenderKarnaughSvg(const KarnaughMaps& maps, const PictureParams& params = {});

}  // namespace quorlet
