// Rectangle clips applied to a picture's rectangles.
#include "USvgClip.h"

#include <algorithm>
#include <cstdio>
#include <map>
#include <optional>
#include <regex>
#include <vector>

namespace quorlet {

namespace {

struct Box {
    double left = 0, top = 0, right = 0, bottom = 0;
};

using Attributes = std::vector<std::pair<std::string, std::string>>;

Attributes ReadAttributes(const std::string& text)
{
    static const std::regex attribute(R"re(([A-Za-z_:][-A-Za-z0-9_:.]*)\s*=\s*"([^"]*)")re");
    Attributes attributes;
    for (auto it = std::sregex_iterator(text.begin(), text.end(), attribute); it != std::sregex_iterator(); ++it)
        attributes.emplace_back((*it)[1], (*it)[2]);
    return attributes;
}

std::optional<double> Number(const Attributes& attributes, const std::string& name)
{
    for (const auto& [key, value] : attributes)
        if (key == name) {
            try {
                std::size_t used = 0;
                const double number = std::stod(value, &used);
                if (used == value.size()) return number;
            } catch (...) {
            }
            return std::nullopt;
        }
    return std::nullopt;
}

std::optional<Box> RectangleBox(const Attributes& attributes)
{
    const auto x = Number(attributes, "x"), y = Number(attributes, "y");
    const auto width = Number(attributes, "width"), height = Number(attributes, "height");
    if (!width || !height || *width <= 0 || *height <= 0) return std::nullopt;
    return Box{x.value_or(0), y.value_or(0), x.value_or(0) + *width, y.value_or(0) + *height};
}

std::string Format(double v)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.6g", v);
    return text;
}

std::string Point(double x, double y) { return Format(x) + " " + Format(y); }

// The rectangle cut by the clip: its filled shape, and its outline without the cut edges. A
// corner keeps its rounding only where neither of its edges is cut.
std::string ClippedRectangle(const Attributes& attributes, const Box& clip)
{
    const std::optional<Box> box = RectangleBox(attributes);
    if (!box) return {};
    const Box shown{std::max(box->left, clip.left), std::max(box->top, clip.top), std::min(box->right, clip.right),
                    std::min(box->bottom, clip.bottom)};
    if (shown.left >= shown.right || shown.top >= shown.bottom) return {};
    const bool cutLeft = box->left<clip.left, cutRight = box->right> clip.right;
    const bool cutTop = box->top<clip.top, cutBottom = box->bottom> clip.bottom;

    double radius = Number(attributes, "rx").value_or(Number(attributes, "ry").value_or(0));
    radius = std::clamp(radius, 0.0, std::min(shown.right - shown.left, shown.bottom - shown.top) / 2);
    const double tl = (!cutTop && !cutLeft) ? radius : 0, tr = (!cutTop && !cutRight) ? radius : 0;
    const double br = (!cutBottom && !cutRight) ? radius : 0, bl = (!cutBottom && !cutLeft) ? radius : 0;
    auto arc = [](double r, double x, double y) {
        return r > 0 ? " A " + Format(r) + " " + Format(r) + " 0 0 1 " + Point(x, y) : std::string();
    };

    // The outline clockwise from the top left, as pieces that are drawn or not.
    struct Piece {
        bool drawn;
        double fromX, fromY;
        std::string to;
    };
    const double l = shown.left, t = shown.top, r = shown.right, b = shown.bottom;
    const std::vector<Piece> pieces = {
        {!cutTop, l + tl, t, " L " + Point(r - tr, t)},    {tr > 0, r - tr, t, arc(tr, r, t + tr)},
        {!cutRight, r, t + tr, " L " + Point(r, b - br)},  {br > 0, r, b - br, arc(br, r - br, b)},
        {!cutBottom, r - br, b, " L " + Point(l + bl, b)}, {bl > 0, l + bl, b, arc(bl, l, b - bl)},
        {!cutLeft, l, b - bl, " L " + Point(l, t + tl)},   {tl > 0, l, t + tl, arc(tl, l + tl, t)},
    };
    std::string fill = "M " + Point(l + tl, t), outline;
    bool penDown = false;
    for (const Piece& piece : pieces) {
        if (piece.to.empty()) continue;  // a square corner: the pen is where the next edge starts
        fill += piece.to;
        if (!piece.drawn) {
            penDown = false;
            continue;
        }
        if (!penDown) outline += (outline.empty() ? "M " : " M ") + Point(piece.fromX, piece.fromY);
        outline += piece.to;
        penDown = true;
    }
    fill += " Z";

    // Everything but the geometry stays: colours, opacities, widths; what the rectangle does not
    // say it still takes from its group.
    std::string kept, fillColour, strokeColour;
    for (const auto& [key, value] : attributes) {
        if (key == "fill") fillColour = " fill=\"" + value + "\"";
        else if (key == "stroke") strokeColour = " stroke=\"" + value + "\"";
        else if (key != "x" && key != "y" && key != "width" && key != "height" && key != "rx" && key != "ry")
            kept += " " + key + "=\"" + value + "\"";
    }
    std::string shapes = "<path d=\"" + fill + "\"" + fillColour + " stroke=\"none\"" + kept + "/>";
    if (!outline.empty()) shapes += "<path d=\"" + outline + "\" fill=\"none\"" + strokeColour + kept + "/>";
    return shapes;
}

}  // namespace

std::string ApplyRectangleClips(std::string_view svgView)
{
    std::string svg(svgView);
    if (svg.find("<clipPath") == std::string::npos) return svg;
    static const std::regex rectangleClip(
        R"re(<clipPath\s+id="([^"]+)"\s*>\s*<rect\s([^>]*?)/?>\s*(?:</rect>\s*)?</clipPath>)re");
    std::map<std::string, Box> clips;
    for (auto it = std::sregex_iterator(svg.begin(), svg.end(), rectangleClip); it != std::sregex_iterator(); ++it)
        if (const auto box = RectangleBox(ReadAttributes((*it)[2]))) clips[(*it)[1]] = *box;

    // Every clip path goes; a renderer without them would draw their shapes.
    static const std::regex anyClip(R"re(<clipPath[\s\S]*?</clipPath>)re");
    svg = std::regex_replace(svg, anyClip, "");

    static const std::regex clippedGroup(R"re(<g\s([^>]*?)clip-path="url\(#([^)"]+)\)"([^>]*)>([\s\S]*?)</g>)re");
    static const std::regex rectangle(R"re(<rect\s([^>]*?)/>)re");
    std::string result;
    auto last = svg.cbegin();
    for (auto it = std::sregex_iterator(svg.begin(), svg.end(), clippedGroup); it != std::sregex_iterator(); ++it) {
        const std::smatch& group = *it;
        result.append(last, group[0].first);
        last = group[0].second;
        const auto clip = clips.find(group[2]);
        std::string body = group[4];
        if (clip != clips.end()) {
            std::string clipped;
            auto from = body.cbegin();
            for (auto r = std::sregex_iterator(body.begin(), body.end(), rectangle); r != std::sregex_iterator(); ++r) {
                clipped.append(from, (*r)[0].first);
                from = (*r)[0].second;
                clipped += ClippedRectangle(ReadAttributes((*r)[1]), clip->second);
            }
            clipped.append(from, body.cend());
            body = clipped;
        }
        result += "<g " + std::string(group[1]) + std::string(group[3]) + ">" + body + "</g>";
    }
    result.append(last, svg.cend());
    return result;
}

}  // namespace quorlet
