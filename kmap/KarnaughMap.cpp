// The maps' contents and their text form.
#include "KarnaughMap.h"

#include <algorithm>

namespace quorlet {

std::string KmapBaseName(std::string_view resultFile)
{
    const std::size_t slash = resultFile.find_last_of("/\\");
    const std::size_t nameStart = slash == std::string_view::npos ? 0 : slash + 1;
    const std::size_t dot = resultFile.rfind('.');
    if (dot == std::string_view::npos || dot < nameStart) return std::string(resultFile);
    return std::string(resultFile.substr(0, dot));
}

std::string KmapTextPath(std::string_view resultFile) { return KmapBaseName(resultFile) + ".kmap"; }

std::string KmapPicturePath(std::string_view resultFile) { return KmapBaseName(resultFile) + ".kmap.svg"; }

MapLayout LayoutFor(int variableCount)
{
    MapLayout layout;
    layout.selectorCount = std::max(0, variableCount - 4);
    const int onMap = variableCount - layout.selectorCount;
    layout.rowCount = onMap / 2;
    layout.columnCount = onMap - layout.rowCount;
    return layout;
}

std::vector<std::string> GrayCodes(int bits)
{
    std::vector<std::string> codes;
    const unsigned count = 1u << bits;
    for (unsigned k = 0; k < count; ++k) {
        const unsigned gray = k ^ (k >> 1);
        std::string code;
        for (int b = bits - 1; b >= 0; --b) code += ((gray >> b) & 1u) ? '1' : '0';
        codes.push_back(code);
    }
    return codes;
}

unsigned CodeValue(std::string_view code)
{
    unsigned value = 0;
    for (char c : code) value = value * 2 + (c == '1' ? 1u : 0u);
    return value;
}

bool CubeHoldsPoint(std::string_view cube, unsigned point)
{
    const std::size_t n = cube.size();
    for (std::size_t i = 0; i < n; ++i) {
        const char bit = ((point >> (n - 1 - i)) & 1u) ? '1' : '0';
        if (cube[i] != '-' && cube[i] != bit) return false;
    }
    return true;
}

namespace {

// The cell of every point of every column, from the terms of the cover table.
std::vector<std::vector<char>> CellsOf(const CoverTable& table, int variables, int columns)
{
    const unsigned points = 1u << variables;
    struct Said {
        bool on = false, off = false, dontCare = false;
    };
    std::vector<std::vector<Said>> said(static_cast<std::size_t>(columns), std::vector<Said>(points));
    for (const Term& term : table.terms) {
        for (unsigned p = 0; p < points; ++p) {
            if (!CubeHoldsPoint(term.input, p)) continue;
            for (int j = 0; j < columns; ++j) {
                Said& s = said[j][p];
                switch (term.output[j]) {
                case '1': s.on = true; break;
                case '0': s.off = true; break;
                case '-': s.dontCare = true; break;
                default: break;  // "~": the term says nothing about this column
                }
            }
        }
    }
    std::vector<std::vector<char>> cells(static_cast<std::size_t>(columns), std::vector<char>(points, '-'));
    for (int j = 0; j < columns; ++j)
        for (unsigned p = 0; p < points; ++p) {
            const Said& s = said[j][p];
            cells[j][p] = s.dontCare ? '-' : s.on ? '1' : s.off ? '0' : '-';
        }
    return cells;
}

// The cells each term of output j loops, as cubes. In product-of-sums mode the converters'
// record shows a sum factor's literals (0 and 1 exchanged against the cells it loops) and has
// swapped the universal factor: the factor that looped every cell was removed, and an output
// without factors got an all-"-" term so that constants read as in sum-of-products mode. The
// groups undo both, so that each is the cube of the cells the minimizer covered.
std::vector<std::string> GroupsOf(const MinimizedCover& cover, int j)
{
    const int n = cover.NumInputs;
    std::vector<std::string> groups;
    bool anyTerm = false;
    for (const CoverTerm& term : cover.Terms) {
        if (!MinimizedCover::HasOutput(term, j)) continue;
        anyTerm = true;
        if (cover.ProductOfSums && cover.IsUniversal(term)) continue;
        std::string cube;
        for (int i = 0; i < n; ++i) {
            char c = MinimizedCover::InputChar(term, i);
            if (cover.ProductOfSums && (c == '0' || c == '1')) c = c == '0' ? '1' : '0';
            cube += c == '0' || c == '1' ? c : '-';
        }
        groups.push_back(cube);
    }
    if (cover.ProductOfSums && !anyTerm) groups.emplace_back(static_cast<std::size_t>(n), '-');
    return groups;
}

std::string JoinNames(const std::vector<std::string>& names, int first, int count)
{
    std::string text;
    for (int i = first; i < first + count; ++i) text += (text.empty() ? "" : " ") + names[i];
    return text;
}

// Positions along one axis of a sub-map (in its Gray order) whose code agrees with the cube's
// characters for the axis's variables.
std::vector<bool> AxisMatches(std::string_view cube, int firstVariable, int bits)
{
    std::vector<bool> matches;
    for (const std::string& code : GrayCodes(bits)) {
        bool match = true;
        for (int b = 0; b < bits; ++b) {
            const char c = cube[firstVariable + b];
            if (c != '-' && c != code[b]) match = false;
        }
        matches.push_back(match);
    }
    return matches;
}

struct AxisRun {
    int first = 0, last = 0;
    bool openStart = false, openEnd = false;
};

// Consecutive runs of matching positions; a set that holds both ends but not every position
// wraps around the edge, so its first run is open towards the start and its last towards the end.
std::vector<AxisRun> AxisRuns(const std::vector<bool>& matches)
{
    std::vector<AxisRun> runs;
    const int size = static_cast<int>(matches.size());
    for (int k = 0; k < size; ++k) {
        if (!matches[k]) continue;
        if (!runs.empty() && runs.back().last == k - 1) runs.back().last = k;
        else runs.push_back({k, k, false, false});
    }
    const bool all = std::all_of(matches.begin(), matches.end(), [](bool m) { return m; });
    if (!all && runs.size() > 1 && runs.front().first == 0 && runs.back().last == size - 1) {
        runs.front().openStart = true;
        runs.back().openEnd = true;
    }
    return runs;
}

}  // namespace

MapBuildResult BuildKarnaughMaps(const MinimizedCover& cover, const CoverTable& coverTable)
{
    MapBuildResult result;
    const int n = cover.NumInputs;
    if (n > kMaxMapVariables) {
        result.problem = MapBuildProblem::TooManyVariables;
        return result;
    }
    if (coverTable.inputs != n || coverTable.outputs != cover.NumOutputs) {
        result.problem = MapBuildProblem::TableMismatch;
        return result;
    }
    result.maps.variables = cover.InputNames;
    // The minimizer covers the OFF points when exactly one of the two modes is on ("-pos").
    const bool coveredOff = cover.ProductOfSums != cover.OffCover;
    std::vector<std::vector<char>> cells = CellsOf(coverTable, n, cover.NumOutputs);
    for (int j = 0; j < cover.NumOutputs; ++j) {
        FunctionMap function;
        function.name = cover.OutputNames[j];
        function.cells = std::move(cells[j]);
        function.groupedValue = coveredOff ? '0' : '1';
        function.groups = GroupsOf(cover, j);
        result.maps.functions.push_back(std::move(function));
    }
    return result;
}

std::vector<std::string> FormatKarnaughMaps(const KarnaughMaps& maps)
{
    const int n = static_cast<int>(maps.variables.size());
    if (n > kMaxMapVariables) return {std::string(kTooManyMapVariablesLine)};
    const MapLayout layout = LayoutFor(n);
    const std::vector<std::string> selectorCodes = GrayCodes(layout.selectorCount);
    std::vector<std::string> rowCodes = GrayCodes(layout.rowCount);
    std::vector<std::string> columnCodes = GrayCodes(layout.columnCount);
    // A map without row (or column) variables has one row (column), coded "-".
    if (layout.rowCount == 0) rowCodes = {"-"};
    if (layout.columnCount == 0) columnCodes = {"-"};
    const int firstRow = layout.selectorCount, firstColumn = layout.selectorCount + layout.rowCount;
    const std::size_t labelWidth = rowCodes.front().size() + 2;
    const std::size_t cellWidth = columnCodes.front().size();

    const std::string rowsLine =
        "ROWS" + (layout.rowCount ? " " + JoinNames(maps.variables, firstRow, layout.rowCount) : "");
    const std::string columnsLine =
        "COLUMNS" + (layout.columnCount ? " " + JoinNames(maps.variables, firstColumn, layout.columnCount) : "");
    std::string heading(labelWidth, ' ');
    for (const std::string& code : columnCodes) heading += " " + code;

    std::vector<std::string> lines;
    for (const FunctionMap& function : maps.functions) {
        for (const std::string& selector : selectorCodes) {
            std::string title = "MAP " + function.name;
            if (layout.selectorCount > 0)
                title += " WITH " + JoinNames(maps.variables, 0, layout.selectorCount) + "=" + selector;
            lines.push_back(title);
            lines.push_back(rowsLine);
            lines.push_back(columnsLine);
            lines.push_back(heading);
            for (const std::string& rowCode : rowCodes) {
                std::string line = PadRight(rowCode, labelWidth);
                for (const std::string& columnCode : columnCodes) {
                    std::string point =
                        selector + (layout.rowCount ? rowCode : "") + (layout.columnCount ? columnCode : "");
                    const unsigned index = CodeValue(point);
                    const char cell = index < function.cells.size() ? function.cells[index] : '-';
                    line += " " + PadLeft(std::string(1, cell), cellWidth);
                }
                lines.push_back(line);
            }
        }
        for (const std::string& group : function.groups) lines.push_back("GROUP " + group);
        lines.emplace_back();
    }
    return lines;
}

std::vector<GroupPiece> GroupPieces(const MapLayout& layout, std::string_view cube, std::string_view selectorCode)
{
    if (static_cast<int>(cube.size()) != layout.Variables()) return {};
    for (int i = 0; i < layout.selectorCount; ++i)
        if (cube[i] != '-' && (i >= static_cast<int>(selectorCode.size()) || cube[i] != selectorCode[i])) return {};
    const std::vector<AxisRun> rows = AxisRuns(AxisMatches(cube, layout.selectorCount, layout.rowCount));
    const std::vector<AxisRun> columns =
        AxisRuns(AxisMatches(cube, layout.selectorCount + layout.rowCount, layout.columnCount));
    std::vector<GroupPiece> pieces;
    for (const AxisRun& row : rows)
        for (const AxisRun& column : columns)
            pieces.push_back({row.first, row.last, column.first, column.last, row.openStart, row.openEnd,
                              column.openStart, column.openEnd});
    return pieces;
}

}  // namespace quorlet
