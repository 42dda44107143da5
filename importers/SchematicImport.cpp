// Sheet and symbol import: parsing, checks, nets, the editor's text files and SVG pictures.
#include "SchematicImport.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <functional>
#include <numeric>
#include <set>
#include <sstream>

#include "GateLibrary.h"
#include "Words.h"

namespace fs = std::filesystem;

namespace quorlet::import {
namespace {

// Far beyond any sheet of 1100 gates; keeps the connection checks quick on damaged files.
constexpr std::size_t kMaxSheetItems = 20000;

std::vector<std::string> LibraryWords(std::string_view line)
{
    std::vector<std::string> words;
    std::size_t i = 0;
    auto sep = [](char c) { return c == ' ' || c == '\t' || c == ',' || c == ';' || c == '|' || c == '\r'; };
    while (i < line.size()) {
        while (i < line.size() && sep(line[i])) ++i;
        if (i >= line.size()) break;
        std::size_t start = i;
        while (i < line.size() && !sep(line[i])) ++i;
        std::string w(line.substr(start, i - start));
        if (w[0] == '"' || w[0] == '#') break;
        words.push_back(w);
    }
    return words;
}

// The lines of a sheet, symbol or library file, each cut to the 255 characters that are read.
std::vector<std::string> TextLines(std::string_view text)
{
    std::vector<std::string> lines = SplitLines(text);
    for (std::string& line : lines)
        if (line.size() > 255) line.resize(255);
    return lines;
}

std::vector<std::string> BlankWords(const std::string& line)
{
    std::vector<std::string> words;
    std::istringstream in(line);
    std::string w;
    while (in >> w) words.push_back(w);
    return words;
}

bool ToInt(const std::string& word, int& value)
{
    if (word.empty() || word.size() > 9) return false;
    std::size_t i = word[0] == '-' ? 1 : 0;
    if (i == word.size()) return false;
    for (std::size_t k = i; k < word.size(); ++k)
        if (!std::isdigit(static_cast<unsigned char>(word[k]))) return false;
    value = std::stoi(word);
    return true;
}

// One line of a sheet or symbol file that holds a word, split at blanks.
struct RecordLine {
    int number = 0;  // from 1
    std::string text;
    std::vector<std::string> words;
    std::string where;                 // "LINE n: ", the head of the line's messages
    std::vector<std::string>& errors;  // where the messages go
    std::vector<int> values;           // what Numbers read last

    // The words from `from` on as `count` numbers into `values`; false, with the line's message,
    // when one is missing or no number.
    bool Numbers(std::size_t from, std::size_t count)
    {
        values.clear();
        for (std::size_t i = from; i < from + count; ++i) {
            int x = 0;
            if (i >= words.size() || !ToInt(words[i], x)) {
                errors.push_back(where + "NUMBER EXPECTED IN \"" + text + "\"");
                return false;
            }
            values.push_back(x);
        }
        return true;
    }
};

enum class RecordWalk { Empty, WrongVersion, Read };

// Sheet and symbol files open with "Version 4"; every later line that holds a word goes to
// `visit` in order. A file of another version is refused at its first line ("NOT A VERSION 4
// SHEET"), and nothing after it is read.
template <class Visit>
RecordWalk ForEachRecord(std::string_view text, std::string_view kind, std::vector<std::string>& errors, Visit&& visit)
{
    bool version = false;
    std::vector<std::string> lines = TextLines(text);
    for (std::size_t n = 0; n < lines.size(); ++n) {
        RecordLine line{static_cast<int>(n + 1), lines[n], BlankWords(lines[n]), "LINE " + std::to_string(n + 1) + ": ",
                        errors};
        if (line.words.empty()) continue;
        if (version) {
            visit(line);
            continue;
        }
        if (line.words[0] != "Version" || line.words.size() != 2 || line.words[1] != "4") {
            errors.push_back(line.where + "NOT A VERSION 4 " + std::string(kind));
            return RecordWalk::WrongVersion;
        }
        version = true;
    }
    return version ? RecordWalk::Read : RecordWalk::Empty;
}

std::string Upper(std::string s)
{
    for (char& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return s;
}

std::string Xml(std::string_view s) { return XmlEscaped(s); }

std::string Line(std::string_view cls, Point a, Point b)
{
    return "<line class=\"" + std::string(cls) + "\" x1=\"" + std::to_string(a.x) + "\" y1=\"" + std::to_string(a.y) +
           "\" x2=\"" + std::to_string(b.x) + "\" y2=\"" + std::to_string(b.y) + "\"/>\n";
}

std::string Text(Point at, std::string_view text, std::string_view cls, std::string_view anchor = "start")
{
    return "<text class=\"" + std::string(cls) + "\" x=\"" + std::to_string(at.x) + "\" y=\"" + std::to_string(at.y) +
           "\" text-anchor=\"" + std::string(anchor) + "\">" + Xml(text) + "</text>\n";
}

bool OnSegment(Point p, const Wire& w)
{
    if (w.a.x == w.b.x && p.x == w.a.x) return p.y >= std::min(w.a.y, w.b.y) && p.y <= std::max(w.a.y, w.b.y);
    if (w.a.y == w.b.y && p.y == w.a.y) return p.x >= std::min(w.a.x, w.b.x) && p.x <= std::max(w.a.x, w.b.x);
    if (p == w.a || p == w.b) return true;
    // A slanted wire: the point must lie exactly on it.
    long cross = static_cast<long>(w.b.x - w.a.x) * (p.y - w.a.y) - static_cast<long>(w.b.y - w.a.y) * (p.x - w.a.x);
    return cross == 0 && p.x >= std::min(w.a.x, w.b.x) && p.x <= std::max(w.a.x, w.b.x) &&
           p.y >= std::min(w.a.y, w.b.y) && p.y <= std::max(w.a.y, w.b.y);
}

const SymbolShape* Shape(const SymbolCatalog& catalog, const std::string& symbol)
{
    auto it = catalog.find(symbol);
    return it == catalog.end() ? nullptr : &it->second;
}

// Library coordinates of a symbol (origin bottom left, y up) to sheet coordinates.
Point ToSheet(const Instance& inst, const SymbolShape& shape, int lx, int ly)
{
    Point offset = inst.orientation == "R0" ? shape.uprightOffset : shape.turnedOffset;
    Point o{inst.at.x - offset.x, inst.at.y - offset.y};
    if (inst.orientation == "M0") return {o.x - lx, o.y - ly};
    if (inst.orientation == "R90") return {o.x + ly, o.y + lx};
    return {o.x + lx, o.y - ly};
}

}  // namespace

void AddLibrarySymbols(std::string_view libraryText, SymbolCatalog& catalog)
{
    for (const std::string& line : TextLines(libraryText)) {
        std::vector<std::string> words = LibraryWords(line);
        if (words.size() < 18) continue;  // head, options and limits lines, comments
        LibraryComponent c;
        if (!ParseComponentWords(words, c) || c.Symbol == "DUMMY" || catalog.count(c.Symbol)) continue;
        SymbolShape s;
        s.component = c.Name;
        for (int k = 1; k <= kMaxComponentInputPins; ++k) {
            if (!c.HasInputPin(k)) continue;
            s.inputPins.push_back({c.InputPins[k - 1].x, c.InputPins[k - 1].y});
            s.inputPinNumbers.push_back(k);
            s.inputActiveLow.push_back(c.InputPins[k - 1].ActiveLow);
        }
        for (const LibraryPoint& p : c.OutputPins)
            if (p.x < 999 && p.y < 999) s.outputPins.push_back({p.x, p.y});
        s.size = {c.Size.x, c.Size.y};
        s.uprightOffset = {c.UprightOffset.x, c.UprightOffset.y};
        s.turnedOffset = {c.TurnedOffset.x, c.TurnedOffset.y};
        catalog[c.Symbol] = s;
    }
}

SymbolCatalog LoadSymbolCatalog(const std::vector<std::string>& directories)
{
    SymbolCatalog catalog;
    for (const std::string& dir : directories) {
        std::error_code ec;
        std::vector<fs::path> files;
        for (const auto& entry : fs::directory_iterator(dir.empty() ? "." : dir, ec)) {
            std::string name = Upper(entry.path().filename().string());
            if (name.size() > 4 && name.substr(name.size() - 4) == ".LIB") files.push_back(entry.path());
        }
        std::sort(files.begin(), files.end(), [](const fs::path& a, const fs::path& b) {
            bool ga = Upper(a.filename().string()) == "GENERICS.LIB",
                 gb = Upper(b.filename().string()) == "GENERICS.LIB";
            return ga != gb ? ga : a < b;
        });
        for (const fs::path& f : files) {
            std::ifstream in(f, std::ios::binary);
            std::stringstream text;
            text << in.rdbuf();
            AddLibrarySymbols(text.str(), catalog);
        }
    }
    return catalog;
}

Sheet ParseSheet(std::string_view text, std::vector<std::string>& errors)
{
    Sheet sheet;
    bool size = false;
    std::map<std::pair<int, int>, std::size_t> flagAt;
    const RecordWalk walk = ForEachRecord(text, "SHEET", errors, [&](RecordLine& line) {
        const std::vector<std::string>& w = line.words;
        const std::vector<int>& v = line.values;
        if (w[0] == "SHEET") {
            if (line.Numbers(1, 3)) {
                sheet.width = v[1];
                sheet.height = v[2];
                size = v[1] > 0 && v[2] > 0;
                if (!size) errors.push_back(line.where + "EMPTY SHEET SIZE");
            }
        } else if (w[0] == "SYMBOL") {
            if (w.size() != 5) {
                errors.push_back(line.where + "SYMBOL NEEDS A NAME, A POSITION AND AN ORIENTATION");
            } else if (line.Numbers(2, 2)) {
                if (w[4] != "R0" && w[4] != "R90" && w[4] != "M0")
                    errors.push_back(line.where + "UNKNOWN ORIENTATION " + w[4]);
                sheet.instances.push_back({w[1], {v[0], v[1]}, w[4], "", line.number});
            }
        } else if (w[0] == "SYMATTR") {
            if (sheet.instances.empty()) errors.push_back(line.where + "SYMATTR WITHOUT SYMBOL");
            else if (w.size() == 3 && w[1] == "InstName") sheet.instances.back().name = w[2];
            else errors.push_back(line.where + "UNKNOWN SYMBOL ATTRIBUTE");
        } else if (w[0] == "WIRE") {
            if (w.size() == 5 && line.Numbers(1, 4)) {
                Wire wire{{v[0], v[1]}, {v[2], v[3]}};
                if (wire.a == wire.b) errors.push_back(line.where + "WIRE OF LENGTH 0");
                sheet.wires.push_back(wire);
            } else if (w.size() != 5) {
                errors.push_back(line.where + "WIRE NEEDS FOUR NUMBERS");
            }
        } else if (w[0] == "FLAG") {
            if (w.size() == 4 && line.Numbers(1, 2)) {
                flagAt[{v[0], v[1]}] = sheet.flags.size();
                sheet.flags.push_back({{v[0], v[1]}, w[3], ""});
            } else if (w.size() != 4) {
                errors.push_back(line.where + "FLAG NEEDS A POSITION AND A NAME");
            }
        } else if (w[0] == "IOPIN") {
            if (w.size() == 4 && line.Numbers(1, 2)) {
                auto it = flagAt.find({v[0], v[1]});
                if (it == flagAt.end()) errors.push_back(line.where + "IOPIN WITHOUT FLAG");
                else if (w[3] != "In" && w[3] != "Out" && w[3] != "BiDir")
                    errors.push_back(line.where + "UNKNOWN PIN DIRECTION " + w[3]);
                else sheet.flags[it->second].direction = w[3];
            } else if (w.size() != 4) {
                errors.push_back(line.where + "IOPIN NEEDS A POSITION AND A DIRECTION");
            }
        } else {
            errors.push_back(line.where + "UNKNOWN LINE \"" + line.text + "\"");
        }
    });
    if (walk == RecordWalk::WrongVersion) return sheet;
    if (walk == RecordWalk::Empty) errors.push_back("EMPTY SHEET FILE");
    else if (!size) errors.push_back("NO SHEET SIZE");
    if (sheet.wires.size() > kMaxSheetItems || sheet.instances.size() > kMaxSheetItems ||
        sheet.flags.size() > kMaxSheetItems)
        errors.push_back("SHEET TOO LARGE: MORE THAN " + std::to_string(kMaxSheetItems) + " WIRES, SYMBOLS OR FLAGS");
    int k = 0;
    for (Instance& inst : sheet.instances) {
        ++k;
        if (inst.name.empty()) inst.name = "I" + std::to_string(k);
    }
    // A large design runs over the sheet's right or lower edge: the sheet grows to hold it.
    // Nothing can stand left of or above the sheet.
    for (const Wire& w : sheet.wires) {
        if (size && (w.a.x < 0 || w.a.y < 0 || w.b.x < 0 || w.b.y < 0)) {
            errors.push_back("WIRE OUTSIDE THE SHEET AT " + std::to_string(w.a.x) + " " + std::to_string(w.a.y));
            break;
        }
        sheet.width = std::max({sheet.width, w.a.x, w.b.x});
        sheet.height = std::max({sheet.height, w.a.y, w.b.y});
    }
    return sheet;
}

std::vector<PinRef> SheetPins(const Sheet& sheet, const SymbolCatalog& catalog, std::vector<std::string>& errors)
{
    std::vector<PinRef> pins;
    for (const Instance& inst : sheet.instances) {
        const SymbolShape* shape = Shape(catalog, inst.symbol);
        if (!shape) {
            errors.push_back("LINE " + std::to_string(inst.line) + ": SYMBOL " + inst.symbol + " NOT IN ANY LIBRARY");
            continue;
        }
        for (std::size_t k = 0; k < shape->inputPins.size(); ++k)
            pins.push_back({ToSheet(inst, *shape, shape->inputPins[k].x, shape->inputPins[k].y), inst.name,
                            "IN" + std::to_string(shape->inputPinNumbers[k]), false, shape->inputActiveLow[k]});
        for (std::size_t k = 0; k < shape->outputPins.size(); ++k)
            pins.push_back({ToSheet(inst, *shape, shape->outputPins[k].x, shape->outputPins[k].y), inst.name,
                            "OUT" + std::to_string(k + 1), true, false});
    }
    return pins;
}

void CheckConnections(const Sheet& sheet, const std::vector<PinRef>& pins, std::vector<std::string>& errors)
{
    std::set<Point> pinPoints, flagPoints;
    for (const PinRef& p : pins) pinPoints.insert(p.at);
    for (const Flag& f : sheet.flags) flagPoints.insert(f.at);
    int reported = 0;
    for (std::size_t i = 0; i < sheet.wires.size(); ++i) {
        // A stub off a pin or a port that nothing uses (an unused input or state bit) may end
        // freely; a wire that ends freely at both ends, or a longer run, may not.
        auto anchored = [&](Point p) { return flagPoints.count(p) > 0 || pinPoints.count(p) > 0; };
        bool portStub = anchored(sheet.wires[i].a) || anchored(sheet.wires[i].b);
        for (Point end : {sheet.wires[i].a, sheet.wires[i].b}) {
            bool ok = portStub || pinPoints.count(end) || flagPoints.count(end);
            for (std::size_t j = 0; j < sheet.wires.size() && !ok; ++j)
                if (j != i && OnSegment(end, sheet.wires[j])) ok = true;
            if (!ok && reported++ < 20)
                errors.push_back("WIRE END AT " + std::to_string(end.x) + " " + std::to_string(end.y) +
                                 " IS CONNECTED TO NOTHING");
        }
    }
    for (const Flag& f : sheet.flags) {
        bool ok =
            std::any_of(sheet.wires.begin(), sheet.wires.end(), [&](const Wire& w) { return OnSegment(f.at, w); });
        if (!ok) errors.push_back("FLAG " + f.name + " IS ON NO WIRE");
    }
}

std::vector<Net> SheetNets(const Sheet& sheet, const std::vector<PinRef>& pins)
{
    const std::size_t n = sheet.wires.size();
    std::vector<std::size_t> parent(n);
    std::iota(parent.begin(), parent.end(), 0);
    std::function<std::size_t(std::size_t)> root = [&](std::size_t i) {
        return parent[i] == i ? i : parent[i] = root(parent[i]);
    };
    for (std::size_t i = 0; i < n; ++i)
        for (std::size_t j = 0; j < n; ++j)
            if (i != j && (OnSegment(sheet.wires[i].a, sheet.wires[j]) || OnSegment(sheet.wires[i].b, sheet.wires[j])))
                parent[root(i)] = root(j);
    std::map<std::size_t, Net> nets;
    auto wireAt = [&](Point p) -> long {
        for (std::size_t i = 0; i < n; ++i)
            if (OnSegment(p, sheet.wires[i])) return static_cast<long>(root(i));
        return -1;
    };
    for (const Flag& f : sheet.flags) {
        long w = wireAt(f.at);
        if (w < 0) continue;
        Net& net = nets[static_cast<std::size_t>(w)];
        if (net.name.empty()) net.name = f.name;
        net.members.push_back("PORT " + f.name);
    }
    for (const PinRef& p : pins) {
        long w = wireAt(p.at);
        if (w >= 0) nets[static_cast<std::size_t>(w)].members.push_back(p.owner + "." + p.pin);
    }
    std::vector<Net> result;
    int unnamed = 0;
    for (auto& [id, net] : nets) {
        if (net.name.empty()) net.name = "N$" + std::to_string(++unnamed);
        result.push_back(net);
    }
    return result;
}

std::string SchematicText(std::string_view title, const Sheet& sheet, const std::vector<PinRef>& pins)
{
    std::ostringstream out;
    out << "SCHEMATIC " << title << "\n";
    out << "SHEET " << sheet.width << " " << sheet.height << "\n";
    for (const Instance& inst : sheet.instances)
        out << "INSTANCE " << inst.name << " " << inst.symbol << " " << inst.orientation << " " << inst.at.x << " "
            << inst.at.y << "\n";
    for (const Flag& f : sheet.flags)
        out << "PORT " << f.name << " " << (f.direction.empty() ? "NET" : Upper(f.direction)) << " " << f.at.x << " "
            << f.at.y << "\n";
    for (const Net& net : SheetNets(sheet, pins)) {
        std::string line = "NET " + net.name;
        for (const std::string& m : net.members) {
            if (line.size() + m.size() + 1 > 250) {
                out << line << "\n";
                line = "NET " + net.name;
            }
            line += " " + m;
        }
        out << line << "\n";
    }
    out << "WIRES " << sheet.wires.size() << "\nEND\n";
    return out.str();
}

namespace {

// The body of a symbol in library coordinates, as an SVG path through ToSheet.
std::string BodyPath(const Instance& inst, const SymbolShape& s)
{
    const int w = s.size.x, h = s.size.y;
    auto P = [&](int lx, int ly) {
        Point p = ToSheet(inst, s, lx, ly);
        return std::to_string(p.x) + "," + std::to_string(p.y);
    };
    const std::string c = s.component;
    const int outputX = s.outputPins.empty() ? w : s.outputPins.front().x;
    const int left = 16, right = std::max(left + 16, outputX - 16), top = h - 4, bottom = 4;
    auto starts = [&](std::string_view prefix) { return c.rfind(prefix, 0) == 0; };
    if (starts("AND") || starts("NAND")) {
        int mid = (left + right) / 2;
        return "M" + P(left, bottom) + " L" + P(mid, bottom) + " C" + P(right + 8, bottom) + " " + P(right + 8, top) +
               " " + P(mid, top) + " L" + P(left, top) + " Z";
    }
    if (starts("OR") || starts("NOR")) {
        int hm = (top + bottom) / 2;
        return "M" + P(left, bottom) + " Q" + P(left + 10, hm) + " " + P(left, top) + " Q" + P(right - 12, top) + " " +
               P(right + 8, hm) + " Q" + P(right - 12, bottom) + " " + P(left, bottom) + " Z";
    }
    if (c == "BUF" || c == "INV") {
        int hm = (top + bottom) / 2;
        return "M" + P(left, bottom) + " L" + P(left, top) + " L" + P(right + 4, hm) + " Z";
    }
    return "M" + P(left, bottom) + " L" + P(right, bottom) + " L" + P(right, top) + " L" + P(left, top) + " Z";
}

std::string PinLabel(const std::string& component, const std::string& pin)
{
    bool ff = component.size() >= 3 && component.substr(component.size() - 2) == "FF";
    if (!ff) return {};
    static const std::map<std::string, std::vector<std::string>> names = {{"DFF", {"D", "SD", "C", "R", "S", "TM"}},
                                                                          {"TFF", {"T", "SD", "C", "R", "S", "TM"}},
                                                                          {"JKFF", {"J", "K", "C", "R", "S", "TM"}},
                                                                          {"SRFF", {"S", "R", "C", "RST", "PR", "TM"}}};
    if (pin == "OUT1") return "Q";
    if (pin == "OUT2") return "/Q";
    auto it = names.find(component);
    int k = std::stoi(pin.substr(2));
    if (it == names.end() || k < 1 || k > 6) return pin;
    return it->second[k - 1];
}

}  // namespace

std::string SheetSvg(std::string_view title, const Sheet& sheet, const SymbolCatalog& catalog,
                     const std::vector<PinRef>& pins)
{
    int minX = sheet.width, minY = sheet.height, maxX = 0, maxY = 0;
    auto grow = [&](Point p) {
        minX = std::min(minX, p.x);
        minY = std::min(minY, p.y);
        maxX = std::max(maxX, p.x);
        maxY = std::max(maxY, p.y);
    };
    for (const Wire& w : sheet.wires) {
        grow(w.a);
        grow(w.b);
    }
    for (const PinRef& p : pins) grow(p.at);
    for (const Flag& f : sheet.flags) grow(f.at);
    if (minX > maxX) minX = minY = 0, maxX = maxY = 100;
    minX -= 160;
    minY -= 64;
    maxX += 160;
    maxY += 64;
    std::ostringstream out;
    out << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
    out << "<svg xmlns=\"http://www.w3.org/2000/svg\" viewBox=\"" << minX << " " << minY << " " << (maxX - minX) << " "
        << (maxY - minY) << "\" width=\"" << (maxX - minX) << "\" height=\"" << (maxY - minY) << "\">\n";
    out << "<title>" << Xml(title) << "</title>\n";
    out << "<style>.body{fill:#fffbe6;stroke:#333;stroke-width:2}.stub{stroke:#333;stroke-width:2}"
           ".wire{stroke:#1a5fb4;stroke-width:2}.pin{fill:#333}.bubble{fill:#fff;stroke:#333;stroke-width:2}"
           ".dot{fill:#1a5fb4}.flag{fill:#e5f0ff;stroke:#1a5fb4;stroke-width:1.5}"
           "text{font-family:sans-serif;font-size:12px}.name{font-size:10px;fill:#777}.port{font-weight:bold}"
           ".label{font-size:9px}</style>\n";
    out << "<rect x=\"" << minX << "\" y=\"" << minY << "\" width=\"" << (maxX - minX) << "\" height=\""
        << (maxY - minY) << "\" fill=\"white\"/>\n";
    out << "<g id=\"symbols\">\n";
    for (const Instance& inst : sheet.instances) {
        const SymbolShape* shape = Shape(catalog, inst.symbol);
        if (!shape) continue;
        out << "<g class=\"symbol\" data-symbol=\"" << Xml(inst.symbol) << "\" data-name=\"" << Xml(inst.name)
            << "\">\n";
        out << "<path class=\"body\" d=\"" << BodyPath(inst, *shape) << "\"/>\n";
        const std::string& c = shape->component;
        bool inverting = c.rfind("NAND", 0) == 0 || c.rfind("NOR", 0) == 0 || c == "INV";
        for (const PinRef& p : pins) {
            if (p.owner != inst.name) continue;
            // The stub runs from the pin to the body, along the pin's side.
            Point centre = ToSheet(inst, *shape, shape->size.x / 2, shape->size.y / 2);
            int dx = 0, dy = 0;
            if (std::abs(p.at.x - centre.x) * std::max(1, shape->size.y) >=
                std::abs(p.at.y - centre.y) * std::max(1, shape->size.x))
                dx = p.at.x < centre.x ? 16 : -16;
            else dy = p.at.y < centre.y ? 16 : -16;
            if (inst.orientation == "R90") std::swap(dx, dy), dx = 0, dy = p.output ? -16 : 16;
            Point inner{p.at.x + dx, p.at.y + dy};
            out << Line("stub", p.at, inner);
            if ((p.output && inverting) || p.activeLow || (p.pin == "OUT2" && PinLabel(c, p.pin) == "/Q"))
                out << "<circle class=\"bubble\" cx=\"" << (p.at.x + dx / 2) << "\" cy=\"" << (p.at.y + dy / 2)
                    << "\" r=\"4\"/>\n";
            out << "<circle class=\"pin\" cx=\"" << p.at.x << "\" cy=\"" << p.at.y << "\" r=\"2\" data-pin=\"" << p.pin
                << "\"/>\n";
            std::string label = PinLabel(c, p.pin);
            if (!label.empty())
                out << Text({inner.x + dx / 2 * 2 / 2 +
                                 (dx > 0   ? 4
                                  : dx < 0 ? -4
                                           : 0),
                             inner.y + 3},
                            label, "label", dx >= 0 ? "start" : "end");
        }
        Point nameAt = ToSheet(inst, *shape, shape->size.x / 2, shape->size.y);
        out << Text({nameAt.x, nameAt.y - 4}, inst.name + " " + inst.symbol, "name", "middle");
        out << "</g>\n";
    }
    out << "</g>\n<g id=\"wires\">\n";
    std::map<Point, int> ends;
    for (const Wire& w : sheet.wires) {
        out << Line("wire", w.a, w.b);
        ++ends[w.a];
        ++ends[w.b];
    }
    for (const auto& [p, count] : ends) {
        int touching = count;
        for (const Wire& w : sheet.wires)
            if (!(w.a == p) && !(w.b == p) && OnSegment(p, w)) touching += 2;
        if (touching >= 3) out << "<circle class=\"dot\" cx=\"" << p.x << "\" cy=\"" << p.y << "\" r=\"4\"/>\n";
    }
    out << "</g>\n<g id=\"ports\">\n";
    for (const Flag& f : sheet.flags) {
        // The flag points away from the wire it ends.
        int side = 1;
        for (const Wire& w : sheet.wires) {
            if (w.a == f.at && w.b.y == f.at.y) side = w.b.x > f.at.x ? -1 : 1;
            if (w.b == f.at && w.a.y == f.at.y) side = w.a.x > f.at.x ? -1 : 1;
        }
        int len = 16 + 8 * static_cast<int>(f.name.size());
        int x0 = f.at.x, x1 = f.at.x + side * len;
        if (f.direction == "Out") std::swap(x0, x1), side = -side;  // an output flag points away from its wire
        out << "<g class=\"port\" data-name=\"" << Xml(f.name) << "\" data-x=\"" << f.at.x << "\" data-y=\"" << f.at.y
            << "\">\n";
        out << "<path class=\"flag\" d=\"M" << x0 << "," << f.at.y << " L" << (x0 + side * 8) << "," << (f.at.y - 8)
            << " L" << x1 << "," << (f.at.y - 8) << " L" << x1 << "," << (f.at.y + 8) << " L" << (x0 + side * 8) << ","
            << (f.at.y + 8) << " Z\"/>\n";
        out << Text({(x0 + x1) / 2 + side * 4, f.at.y + 4}, f.name, "port", "middle");
        out << "</g>\n";
    }
    out << "</g>\n</svg>\n";
    return out.str();
}

BlockSymbol ParseBlockSymbol(std::string_view text, std::vector<std::string>& errors)
{
    BlockSymbol symbol;
    bool block = false, rectangle = false;
    const RecordWalk walk = ForEachRecord(text, "SYMBOL", errors, [&](RecordLine& line) {
        const std::vector<std::string>& w = line.words;
        const std::vector<int>& v = line.values;
        if (w[0] == "SymbolType") {
            block = w.size() == 2 && w[1] == "BLOCK";
            if (!block) errors.push_back(line.where + "ONLY BLOCK SYMBOLS ARE IMPORTED");
        } else if (w[0] == "RECTANGLE") {
            if (w.size() == 6 && line.Numbers(2, 4)) {
                symbol.corner1 = {v[0], v[1]};
                symbol.corner2 = {v[2], v[3]};
                rectangle = true;
            } else if (w.size() != 6) {
                errors.push_back(line.where + "RECTANGLE NEEDS A STYLE AND FOUR NUMBERS");
            }
        } else if (w[0] == "WINDOW") {
            if (line.Numbers(1, 3)) symbol.windows.push_back({v[1], v[2]});
        } else if (w[0] == "PIN") {
            if (w.size() == 5 && line.Numbers(1, 2)) {
                if (w[3] != "LEFT" && w[3] != "RIGHT" && w[3] != "TOP" && w[3] != "BOTTOM")
                    errors.push_back(line.where + "UNKNOWN PIN SIDE " + w[3]);
                symbol.pins.push_back({{v[0], v[1]}, w[3], "", false});
            } else if (w.size() != 5) {
                errors.push_back(line.where + "PIN NEEDS A POSITION, A SIDE AND AN OFFSET");
            }
        } else if (w[0] == "PINATTR") {
            if (symbol.pins.empty()) errors.push_back(line.where + "PINATTR WITHOUT PIN");
            else if (w.size() == 3 && w[1] == "PinName") symbol.pins.back().name = w[2];
            else if (w.size() == 3 && w[1] == "Polarity") symbol.pins.back().output = w[2] == "OUT";
            else errors.push_back(line.where + "UNKNOWN PIN ATTRIBUTE");
        } else if (w[0] == "LINE") {
            if (w.size() == 6 && line.Numbers(2, 4)) symbol.lines.push_back({{v[0], v[1]}, {v[2], v[3]}});
            else if (w.size() != 6) errors.push_back(line.where + "LINE NEEDS A STYLE AND FOUR NUMBERS");
        } else {
            errors.push_back(line.where + "UNKNOWN LINE \"" + line.text + "\"");
        }
    });
    if (walk == RecordWalk::WrongVersion) return symbol;
    if (walk == RecordWalk::Empty) errors.push_back("EMPTY SYMBOL FILE");
    else if (!block) errors.push_back("NO SYMBOL TYPE");
    else if (!rectangle) errors.push_back("NO SYMBOL BODY");
    std::set<std::string> names;
    for (const SymbolPin& p : symbol.pins) {
        if (p.name.empty())
            errors.push_back("PIN AT " + std::to_string(p.at.x) + " " + std::to_string(p.at.y) + " HAS NO NAME");
        else if (!names.insert(p.name).second) errors.push_back("PIN " + p.name + " NAMED TWICE");
    }
    return symbol;
}

std::string SymbolText(std::string_view title, const BlockSymbol& symbol)
{
    std::ostringstream out;
    out << "SYMBOL " << title << "\n";
    out << "BODY " << symbol.corner1.x << " " << symbol.corner1.y << " " << symbol.corner2.x << " " << symbol.corner2.y
        << "\n";
    for (const SymbolPin& p : symbol.pins)
        out << "PIN " << p.name << " " << p.side << " " << (p.output ? "OUT" : "IN") << " " << p.at.x << " " << p.at.y
            << "\n";
    out << "END\n";
    return out.str();
}

std::string SymbolSvg(std::string_view title, const BlockSymbol& symbol)
{
    int minX = std::min(symbol.corner1.x, symbol.corner2.x) - 96,
        minY = std::min(symbol.corner1.y, symbol.corner2.y) - 48;
    int maxX = std::max(symbol.corner1.x, symbol.corner2.x) + 96,
        maxY = std::max(symbol.corner1.y, symbol.corner2.y) + 48;
    for (const SymbolPin& p : symbol.pins) {
        minX = std::min(minX, p.at.x - 96);
        maxX = std::max(maxX, p.at.x + 96);
    }
    std::ostringstream out;
    out << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
    out << "<svg xmlns=\"http://www.w3.org/2000/svg\" viewBox=\"" << minX << " " << minY << " " << (maxX - minX) << " "
        << (maxY - minY) << "\" width=\"" << 2 * (maxX - minX) << "\" height=\"" << 2 * (maxY - minY) << "\">\n";
    out << "<title>" << Xml(title) << "</title>\n";
    out << "<style>.body{fill:#fffbe6;stroke:#333;stroke-width:2}.stub{stroke:#333;stroke-width:2}.pin{fill:#333}"
           "text{font-family:sans-serif;font-size:12px}.title{font-weight:bold}</style>\n";
    int x = std::min(symbol.corner1.x, symbol.corner2.x), y = std::min(symbol.corner1.y, symbol.corner2.y);
    out << "<rect class=\"body\" x=\"" << x << "\" y=\"" << y << "\" width=\""
        << std::abs(symbol.corner2.x - symbol.corner1.x) << "\" height=\""
        << std::abs(symbol.corner2.y - symbol.corner1.y) << "\"/>\n";
    if (!symbol.windows.empty()) out << Text({symbol.windows[0].x, symbol.windows[0].y + 4}, title, "title", "middle");
    for (const Wire& l : symbol.lines) out << Line("stub", l.a, l.b);
    for (const SymbolPin& p : symbol.pins) {
        out << "<circle class=\"pin\" cx=\"" << p.at.x << "\" cy=\"" << p.at.y << "\" r=\"2\"/>\n";
        bool left = p.side == "LEFT";
        out << Text({p.at.x + (left ? 36 : -36), p.at.y + 4}, p.name, "pinname", left ? "start" : "end");
    }
    out << "</svg>\n";
    return out.str();
}

std::string BaseName(std::string_view path, std::string_view extension)
{
    std::string p(path);
    if (p.size() > extension.size() && Upper(p.substr(p.size() - extension.size())) == Upper(std::string(extension)))
        return p.substr(0, p.size() - extension.size());
    return p;
}

namespace {

bool ReadAll(const std::string& path, std::string& text)
{
    std::error_code ec;
    if (!fs::is_regular_file(path, ec)) return false;
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    std::ostringstream s;
    s << in.rdbuf();
    text = s.str();
    return true;
}

bool WriteAll(const std::string& path, const std::string& text)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << text;
    out.close();
    return static_cast<bool>(out);
}

bool Refuse(const std::string& errPath, const std::string& input, const std::vector<std::string>& errors)
{
    std::string text = "IMPORT OF " + input + " FAILED\n";
    for (const std::string& e : errors) text += e + "\n";
    WriteAll(errPath, text);
    return false;
}

// The file an import reads and the names of what it writes: BASE.err on a refusal, the
// results under BASE, titled with BASE's file name.
struct ImportFiles {
    std::string source, base, errPath, title, text;

    ImportFiles(const std::string& path, std::string_view extension)
        : source(path),
          base(BaseName(path, extension)),
          errPath(base + ".err"),
          title(fs::path(base).filename().string())
    {
    }
    // False, with BASE.err written, when the source cannot be read.
    bool Read() { return ReadAll(source, text) || Refuse(errPath, source, {"CANNOT READ " + source}); }
    bool Refused(const std::vector<std::string>& errors) const { return Refuse(errPath, source, errors); }
};

}  // namespace

bool ImportSheet(const std::string& ascPath, const std::vector<std::string>& libraryDirs)
{
    ImportFiles files(ascPath, ".asc");
    if (!files.Read()) return false;
    std::vector<std::string> errors;
    Sheet sheet = ParseSheet(files.text, errors);
    SymbolCatalog catalog = LoadSymbolCatalog(libraryDirs);
    std::vector<PinRef> pins = SheetPins(sheet, catalog, errors);
    if (errors.empty()) CheckConnections(sheet, pins, errors);
    if (!errors.empty()) return files.Refused(errors);
    if (!WriteAll(files.base + ".sch", SchematicText(files.title, sheet, pins)) ||
        !WriteAll(files.base + ".svg", SheetSvg(files.title, sheet, catalog, pins)))
        return files.Refused({"CANNOT WRITE " + files.base + ".sch"});
    return true;
}

bool ImportSymbol(const std::string& asyPath)
{
    ImportFiles files(asyPath, ".asy");
    if (!files.Read()) return false;
    std::vector<std::string> errors;
    BlockSymbol symbol = ParseBlockSymbol(files.text, errors);
    if (!errors.empty()) return files.Refused(errors);
    if (!WriteAll(files.base + ".sym", SymbolText(files.title, symbol)) ||
        !WriteAll(files.base + ".sym.svg", SymbolSvg(files.title, symbol)))
        return files.Refused({"CANNOT WRITE " + files.base + ".sym"});
    return true;
}

}  // namespace quorlet::import
