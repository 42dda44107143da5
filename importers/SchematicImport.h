// The schematic importers' core: reading the line-oriented sheet (".asc") and block symbol
// (".asy"), checking them against the symbols of the gate libraries, writing the editor's
// schematic (".sch") and symbol (".sym") and an SVG picture of each.
//
// "B.sch": "SCHEMATIC B", "SHEET w h", one "INSTANCE name symbol orientation x y" a symbol,
// one "PORT name IN|OUT x y" a flag, "NET name member..." for every connected set of wires
// (members "I3.IN2", "I3.OUT1", "PORT A"; long nets continue on further NET lines of the same
// name), "WIRES count", "END". "B.sym": "SYMBOL B", "BODY x1 y1 x2 y2", one
// "PIN name LEFT|RIGHT IN|OUT x y" a pin, "END". "B.err": "IMPORT OF B.asc FAILED" and one line
// a problem. Symbols are found by name in the component lines of GENERICS.LIB and the other
// "*.lib" files beside the program and in the work directory.
#pragma once

#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace quorlet::import {

struct Point {
    int x = 0;
    int y = 0;
    bool operator==(const Point&) const = default;
    auto operator<=>(const Point&) const = default;
};

// One drawing symbol as the libraries describe it: pins and size in library coordinates
// (origin bottom left, y up), and the offsets between that origin and the symbol's position.
struct SymbolShape {
    std::string component;         // the library's component name
    std::vector<Point> inputPins;  // present pins, in pin order
    std::vector<int> inputPinNumbers;
    std::vector<bool> inputActiveLow;
    std::vector<Point> outputPins;
    Point size;
    Point uprightOffset;
    Point turnedOffset;
};

using SymbolCatalog = std::map<std::string, SymbolShape>;

// Reads the component lines of one library text into the catalog; the first library that
// names a symbol defines it.
void AddLibrarySymbols(std::string_view libraryText, SymbolCatalog& catalog);
// GENERICS.LIB first, then every other "*.lib" of each directory, in the order given.
SymbolCatalog LoadSymbolCatalog(const std::vector<std::string>& directories);

struct Instance {
    std::string symbol;
    Point at;
    std::string orientation;  // "R0", "R90", "M0"
    std::string name;         // "I1", ...
    int line = 0;
};

struct Wire {
    Point a, b;
};

struct Flag {
    Point at;
    std::string name;
    std::string direction;  // "In", "Out" or empty without IOPIN
};

struct PinRef {
    Point at;
    std::string owner;  // instance name
    std::string pin;    // "IN1", "OUT2"
    bool output = false;
    bool activeLow = false;
};

struct Sheet {
    int width = 0, height = 0;
    std::vector<Instance> instances;
    std::vector<Wire> wires;
    std::vector<Flag> flags;
};

// Parses a sheet; every problem is one line in errors ("LINE 7: ...").
Sheet ParseSheet(std::string_view text, std::vector<std::string>& errors);
// The pins of every instance on the sheet; unknown symbols give an error.
std::vector<PinRef> SheetPins(const Sheet& sheet, const SymbolCatalog& catalog, std::vector<std::string>& errors);
// Wire ends on nothing, flags on no wire.
void CheckConnections(const Sheet& sheet, const std::vector<PinRef>& pins, std::vector<std::string>& errors);

struct Net {
    std::string name;
    std::vector<std::string> members;  // "I3.IN1", "PORT A"
};
std::vector<Net> SheetNets(const Sheet& sheet, const std::vector<PinRef>& pins);

std::string SchematicText(std::string_view title, const Sheet& sheet, const std::vector<PinRef>& pins);
std::string SheetSvg(std::string_view title, const Sheet& sheet, const SymbolCatalog& catalog,
                     const std::vector<PinRef>& pins);

// ---- block symbols ----
struct SymbolPin {
    Point at;
    std::string side;  // "LEFT", "RIGHT"
    std::string name;
    bool output = false;
};

struct BlockSymbol {
    Point corner1, corner2;  // the rectangle
    std::vector<SymbolPin> pins;
    std::vector<Wire> lines;
    std::vector<Point> windows;
};

BlockSymbol ParseBlockSymbol(std::string_view text, std::vector<std::string>& errors);
std::string SymbolText(std::string_view title, const BlockSymbol& symbol);
std::string SymbolSvg(std::string_view title, const BlockSymbol& symbol);

// "B.asc" -> "B"; any other name is its own base.
std::string BaseName(std::string_view path, std::string_view extension);

// The whole importer runs: read, check, write; false when the error file was written.
bool ImportSheet(const std::string& ascPath, const std::vector<std::string>& libraryDirs);
bool ImportSymbol(const std::string& asyPath);

}  // namespace quorlet::import
