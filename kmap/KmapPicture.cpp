// The maps as an SVG picture: one block a function, its sub-maps side by side, the groups as
// rounded loops, each in its own colour, and a legend of the groups below the maps.
#include <algorithm>
#include <cmath>
#include <sstream>

#include "KarnaughMap.h"
#include "Words.h"

namespace quorlet {
namespace {

// Distinct on white and for the common kinds of colour blindness as far as twelve colours go.
constexpr const char* kGroupColours[] = {"#d62728", "#1f77b4", "#2ca02c", "#ff7f0e", "#9467bd", "#17becf",
                                         "#e377c2", "#8c564b", "#7f7f00", "#000080", "#008080", "#800000"};
constexpr int kColourCount = sizeof kGroupColours / sizeof kGroupColours[0];
constexpr int kFunctionGap = 24;
constexpr const char* kFont = "DejaVu Sans, Verdana, Arial, sans-serif";

std::string Escaped(std::string_view text) { return XmlEscaped(text, true); }

// A generous guess of a text's width in the sans-serif font: no font metrics in the core.
int TextWidth(std::string_view text, int fontSize)
{
    return static_cast<int>(std::ceil(0.64 * fontSize * static_cast<double>(text.size())));
}

std::string JoinNames(const std::vector<std::string>& names, int first, int count, std::string_view separator)
{
    std::string text;
    for (int i = first; i < first + count; ++i) text += (i > first ? std::string(separator) : "") + names[i];
    return text;
}

bool CubesMeet(std::string_view a, std::string_view b)
{
    for (std::size_t i = 0; i < a.size() && i < b.size(); ++i)
        if (a[i] != '-' && b[i] != '-' && a[i] != b[i]) return false;
    return true;
}

// For each group the smallest level that no earlier group sharing a cell with it has taken.
std::vector<int> NestingLevels(const std::vector<std::string>& groups)
{
    std::vector<int> levels(groups.size(), 0);
    for (std::size_t k = 0; k < groups.size(); ++k) {
        std::vector<bool> taken(groups.size() + 1, false);
        for (std::size_t e = 0; e < k; ++e)
            if (CubesMeet(groups[k], groups[e])) taken[levels[e]] = true;
        while (taken[levels[k]]) ++levels[k];
    }
    return levels;
}

// The measures shared by every sub-map of the picture.
struct SubMapGeometry {
    int rowNamesWidth = 0;  // left of the row codes
    int rowCodesWidth = 0;
    int titleHeight = 0;  // the selector line above a sub-map
    int headHeight = 0;   // column names and column codes
    int gridWidth = 0, gridHeight = 0;
    int width = 0, height = 0;
    int GridLeft() const { return rowNamesWidth + rowCodesWidth; }
    int GridTop() const { return titleHeight + headHeight; }
};

class SvgWriter {
public:
    SvgWriter(const KarnaughMaps& maps, const PictureParams& params)
        : maps_(maps), p_(params), layout_(LayoutFor(static_cast<int>(maps.variables.size())))
    {
        selectorCodes_ = GrayCodes(layout_.selectorCount);
        rowCodes_ = GrayCodes(layout_.rowCount);
        columnCodes_ = GrayCodes(layout_.columnCount);
        Measure();
    }

    std::string Render()
    {
        const int blockWidth = static_cast<int>(selectorCodes_.size()) * geometry_.width +
                               (static_cast<int>(selectorCodes_.size()) - 1) * p_.mapGap;
        int width = blockWidth;
        int y = p_.margin;
        for (std::size_t f = 0; f < maps_.functions.size(); ++f) {
            const int used = RenderFunction(f, p_.margin, y, blockWidth);
            width = std::max(width, used);
        }
        width += 2 * p_.margin;
        const int height = y + p_.margin - kFunctionGap;
        std::ostringstream svg;
        svg << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
            << "<svg xmlns=\"http://www.w3.org/2000/svg\" version=\"1.1\" width=\"" << width << "\" height=\""
            << std::max(height, 2 * p_.margin) << "\" viewBox=\"0 0 " << width << ' ' << std::max(height, 2 * p_.margin)
            << "\" font-family=\"" << kFont << "\">\n"
            << "<rect x=\"0\" y=\"0\" width=\"" << width << "\" height=\"" << std::max(height, 2 * p_.margin)
            << "\" fill=\"#ffffff\"/>\n"
            << body_.str() << "</svg>\n";
        return svg.str();
    }

private:
    void Measure()
    {
        const int firstRow = layout_.selectorCount, firstColumn = firstRow + layout_.rowCount;
        rowNames_ = JoinNames(maps_.variables, firstRow, layout_.rowCount, " ");
        columnNames_ = JoinNames(maps_.variables, firstColumn, layout_.columnCount, " ");
        SubMapGeometry& g = geometry_;
        const int line = p_.labelFontSize + 8;
        g.rowNamesWidth = layout_.rowCount ? TextWidth(rowNames_, p_.labelFontSize) + 12 : 0;
        g.rowCodesWidth = std::max(TextWidth(layout_.rowCount ? rowCodes_.front() : "", p_.labelFontSize) + 14, 18);
        g.titleHeight = layout_.selectorCount ? line + 4 : 0;
        g.headHeight = (layout_.columnCount ? 2 : 1) * line;
        g.gridWidth = static_cast<int>(columnCodes_.size()) * p_.cellSize;
        g.gridHeight = static_cast<int>(rowCodes_.size()) * p_.cellSize;
        const int selectorWidth = layout_.selectorCount
                                      ? TextWidth(JoinNames(maps_.variables, 0, layout_.selectorCount, " ") + " = " +
                                                      std::string(static_cast<std::size_t>(layout_.selectorCount), '0'),
                                                  p_.labelFontSize + 1)
                                      : 0;
        g.width = std::max(
            {g.GridLeft() + g.gridWidth, g.GridLeft() + TextWidth(columnNames_, p_.labelFontSize), selectorWidth});
        g.height = g.GridTop() + g.gridHeight;
    }

    // Draws function f with its top-left corner at (x, y); moves y below it; returns its width.
    int RenderFunction(std::size_t f, int x, int& y, int blockWidth)
    {
        const FunctionMap& function = maps_.functions[f];
        std::ostringstream& out = body_;
        const int titleSize = p_.labelFontSize + 3;
        out << "<g id=\"function-" << f + 1 << "\">\n";
        out << "<text x=\"" << x << "\" y=\"" << y + titleSize << "\" font-size=\"" << titleSize
            << "\" font-weight=\"bold\">" << Escaped(function.name) << "</text>\n";
        const std::string note = function.groupedValue == '1' ? "groups loop the 1-cells" : "groups loop the 0-cells";
        out << "<text x=\"" << x + TextWidth(function.name, titleSize) + 14 << "\" y=\"" << y + titleSize
            << "\" font-size=\"" << p_.labelFontSize - 2 << "\" fill=\"#555555\">" << note << "</text>\n";
        y += titleSize + 14;
        int mapX = x;
        for (std::size_t s = 0; s < selectorCodes_.size(); ++s) {
            RenderSubMap(function, f, s, mapX, y);
            mapX += geometry_.width + p_.mapGap;
        }
        y += geometry_.height + 14;
        const int used = RenderLegend(function, x, y, std::max(blockWidth, 260));
        out << "</g>\n";
        y += kFunctionGap;
        return std::max(blockWidth, used);
    }

    void RenderSubMap(const FunctionMap& function, std::size_t f, std::size_t s, int x, int y)
    {
        std::ostringstream& out = body_;
        const SubMapGeometry& g = geometry_;
        const std::string& selector = selectorCodes_[s];
        const int gx = x + g.GridLeft(), gy = y + g.GridTop();
        const int line = p_.labelFontSize + 8;
        const int C = p_.cellSize;

        if (layout_.selectorCount) {
            out << "<text x=\"" << gx + g.gridWidth / 2 << "\" y=\"" << y + p_.labelFontSize + 2 << "\" font-size=\""
                << p_.labelFontSize + 1 << "\" font-weight=\"bold\" text-anchor=\"middle\">"
                << Escaped(JoinNames(maps_.variables, 0, layout_.selectorCount, " ")) << " = " << selector
                << "</text>\n";
        }
        const int headTop = y + g.titleHeight;
        if (layout_.columnCount) {
            out << "<text x=\"" << gx + g.gridWidth / 2 << "\" y=\"" << headTop + p_.labelFontSize << "\" font-size=\""
                << p_.labelFontSize << "\" font-style=\"italic\" text-anchor=\"middle\">" << Escaped(columnNames_)
                << "</text>\n";
            for (std::size_t c = 0; c < columnCodes_.size(); ++c)
                out << "<text x=\"" << gx + static_cast<int>(c) * C + C / 2 << "\" y=\""
                    << headTop + line + p_.labelFontSize - 2 << "\" font-size=\"" << p_.labelFontSize
                    << "\" font-family=\"DejaVu Sans Mono, monospace\" text-anchor=\"middle\">" << columnCodes_[c]
                    << "</text>\n";
        }
        if (layout_.rowCount) {
            out << "<text x=\"" << x + g.rowNamesWidth - 8 << "\" y=\"" << gy + g.gridHeight / 2 + p_.labelFontSize / 3
                << "\" font-size=\"" << p_.labelFontSize << "\" font-style=\"italic\" text-anchor=\"end\">"
                << Escaped(rowNames_) << "</text>\n";
            for (std::size_t r = 0; r < rowCodes_.size(); ++r)
                out << "<text x=\"" << gx - 7 << "\" y=\""
                    << gy + static_cast<int>(r) * C + C / 2 + p_.labelFontSize / 3 << "\" font-size=\""
                    << p_.labelFontSize << "\" font-family=\"DejaVu Sans Mono, monospace\" text-anchor=\"end\">"
                    << rowCodes_[r] << "</text>\n";
        }

        // The grid and its cells.
        out << "<rect x=\"" << gx << "\" y=\"" << gy << "\" width=\"" << g.gridWidth << "\" height=\"" << g.gridHeight
            << "\" fill=\"#ffffff\" stroke=\"#222222\" stroke-width=\"1.5\"/>\n";
        for (std::size_t c = 1; c < columnCodes_.size(); ++c)
            out << "<line x1=\"" << gx + static_cast<int>(c) * C << "\" y1=\"" << gy << "\" x2=\""
                << gx + static_cast<int>(c) * C << "\" y2=\"" << gy + g.gridHeight
                << "\" stroke=\"#999999\" stroke-width=\"1\"/>\n";
        for (std::size_t r = 1; r < rowCodes_.size(); ++r)
            out << "<line x1=\"" << gx << "\" y1=\"" << gy + static_cast<int>(r) * C << "\" x2=\"" << gx + g.gridWidth
                << "\" y2=\"" << gy + static_cast<int>(r) * C << "\" stroke=\"#999999\" stroke-width=\"1\"/>\n";
        for (std::size_t r = 0; r < rowCodes_.size(); ++r) {
            for (std::size_t c = 0; c < columnCodes_.size(); ++c) {
                const unsigned point = CodeValue(selector + rowCodes_[r] + columnCodes_[c]);
                const char value = point < function.cells.size() ? function.cells[point] : '-';
                const int cx = gx + static_cast<int>(c) * C, cy = gy + static_cast<int>(r) * C;
                out << "<text x=\"" << cx + C / 2 << "\" y=\"" << cy + C / 2 + p_.valueFontSize / 3 + 2
                    << "\" font-size=\"" << p_.valueFontSize << "\" text-anchor=\"middle\" fill=\""
                    << (value == '-' ? "#888888" : "#000000") << "\">" << value << "</text>\n";
            }
        }

        // The loops, clipped to the grid so that a group across an edge shows as open loops.
        const std::string clipId = "clip-" + std::to_string(f + 1) + "-" + std::to_string(s + 1);
        out << "<clipPath id=\"" << clipId << "\"><rect x=\"" << gx - 1 << "\" y=\"" << gy - 1 << "\" width=\""
            << g.gridWidth + 2 << "\" height=\"" << g.gridHeight + 2 << "\"/></clipPath>\n";
        out << "<g clip-path=\"url(#" << clipId << ")\" fill-opacity=\"0.10\" stroke-width=\"" << p_.loopWidth
            << "\">\n";
        const std::vector<int> levels = NestingLevels(function.groups);
        for (std::size_t k = 0; k < function.groups.size(); ++k) {
            const char* colour = kGroupColours[k % kColourCount];
            // Loops that share cells sit inside one another, so that each stays visible.
            const int inset = std::min(3 + levels[k] * 4, C / 2 - 12);
            const int radius = std::max(4, C / 3 - inset / 2);
            for (const GroupPiece& piece : GroupPieces(layout_, function.groups[k], selector)) {
                int left = gx + piece.firstColumn * C + inset, right = gx + (piece.lastColumn + 1) * C - inset;
                int top = gy + piece.firstRow * C + inset, bottom = gy + (piece.lastRow + 1) * C - inset;
                if (piece.openLeft) left = gx - C;
                if (piece.openRight) right = gx + g.gridWidth + C;
                if (piece.openTop) top = gy - C;
                if (piece.openBottom) bottom = gy + g.gridHeight + C;
                out << "<rect x=\"" << left << "\" y=\"" << top << "\" width=\"" << right - left << "\" height=\""
                    << bottom - top << "\" rx=\"" << radius << "\" ry=\"" << radius << "\" fill=\"" << colour
                    << "\" stroke=\"" << colour << "\"/>\n";
            }
        }
        out << "</g>\n";

        // Each cell's number on top of the loops, in its corner.
        for (std::size_t r = 0; r < rowCodes_.size(); ++r)
            for (std::size_t c = 0; c < columnCodes_.size(); ++c)
                out << "<text x=\"" << gx + static_cast<int>(c) * C + 2 << "\" y=\""
                    << gy + static_cast<int>(r) * C + p_.numberFontSize << "\" font-size=\"" << p_.numberFontSize
                    << "\" fill=\"#666666\">" << CodeValue(selector + rowCodes_[r] + columnCodes_[c]) << "</text>\n";
    }

    // The groups as text in their colours, several to a line; returns the width used.
    int RenderLegend(const FunctionMap& function, int x, int& y, int width)
    {
        std::ostringstream& out = body_;
        const int size = p_.labelFontSize - 1;
        if (function.groups.empty()) {
            out << "<text x=\"" << x << "\" y=\"" << y + size << "\" font-size=\"" << size
                << "\" fill=\"#555555\">no groups</text>\n";
            y += size + 8;
            return width;
        }
        const int itemWidth = TextWidth("GROUP " + function.groups.front(), size) + 34;
        const int perLine = std::max(1, width / itemWidth);
        for (std::size_t k = 0; k < function.groups.size(); ++k) {
            const int column = static_cast<int>(k) % perLine;
            if (k > 0 && column == 0) y += size + 8;
            const int ix = x + column * itemWidth;
            const char* colour = kGroupColours[k % kColourCount];
            out << "<rect x=\"" << ix << "\" y=\"" << y + 2 << "\" width=\"14\" height=\"" << size - 1
                << "\" rx=\"4\" fill=\"" << colour << "\" fill-opacity=\"0.15\" stroke=\"" << colour
                << "\" stroke-width=\"2\"/>\n";
            out << "<text x=\"" << ix + 20 << "\" y=\"" << y + size << "\" font-size=\"" << size << "\" fill=\""
                << colour << "\" font-family=\"DejaVu Sans Mono, monospace\">GROUP " << function.groups[k]
                << "</text>\n";
        }
        y += size + 8;
        return std::max(width, std::min(static_cast<int>(function.groups.size()), perLine) * itemWidth);
    }

    const KarnaughMaps& maps_;
    const PictureParams p_;
    const MapLayout layout_;
    std::vector<std::string> selectorCodes_, rowCodes_, columnCodes_;
    std::string rowNames_, columnNames_;
    SubMapGeometry geometry_;
    std::ostringstream body_;
};

}  // namespace

std::string RenderKarnaughSvg(const KarnaughMaps& maps, const PictureParams& params)
{
    return SvgWriter(maps, params).Render();
}

}  // namespace quorlet
