// Legal identifiers, reserved words and the renaming rule of the generated HDL.
#include "HdlNames.h"

#include <algorithm>
#include <cctype>

namespace quorlet {
namespace {

// Verilog-2005 and SystemVerilog-2012 keywords: a design is often read by SystemVerilog tools.
constexpr std::string_view kVerilogWords[] = {"accept_on",
                                              "alias",
                                              "always",
                                              "always_comb",
                                              "always_ff",
                                              "always_latch",
                                              "and",
                                              "assert",
                                              "assign",
                                              "assume",
                                              "automatic",
                                              "before",
                                              "begin",
                                              "bind",
                                              "bins",
                                              "binsof",
                                              "bit",
                                              "break",
                                              "buf",
                                              "bufif0",
                                              "bufif1",
                                              "byte",
                                              "case",
                                              "casex",
                                              "casez",
                                              "cell",
                                              "chandle",
                                              "checker",
                                              "class",
                                              "clocking",
                                              "cmos",
                                              "config",
                                              "const",
                                              "constraint",
                                              "context",
                                              "continue",
                                              "cover",
                                              "covergroup",
                                              "coverpoint",
                                              "cross",
                                              "deassign",
                                              "default",
                                              "defparam",
                                              "design",
                                              "disable",
                                              "dist",
                                              "do",
                                              "edge",
                                              "else",
                                              "end",
                                              "endcase",
                                              "endchecker",
                                              "endclass",
                                              "endclocking",
                                              "endconfig",
                                              "endfunction",
                                              "endgenerate",
                                              "endgroup",
                                              "endinterface",
                                              "endmodule",
                                              "endpackage",
                                              "endprimitive",
                                              "endprogram",
                                              "endproperty",
                                              "endspecify",
                                              "endsequence",
                                              "endtable",
                                              "endtask",
                                              "enum",
                                              "event",
                                              "eventually",
                                              "expect",
                                              "export",
                                              "extends",
                                              "extern",
                                              "final",
                                              "first_match",
                                              "for",
                                              "force",
                                              "foreach",
                                              "forever",
                                              "fork",
                                              "forkjoin",
                                              "function",
                                              "generate",
                                              "genvar",
                                              "global",
                                              "highz0",
                                              "highz1",
                                              "if",
                                              "iff",
                                              "ifnone",
                                              "ignore_bins",
                                              "illegal_bins",
                                              "implements",
                                              "implies",
                                              "import",
                                              "incdir",
                                              "include",
                                              "initial",
                                              "inout",
                                              "input",
                                              "inside",
                                              "instance",
                                              "int",
                                              "integer",
                                              "interconnect",
                                              "interface",
                                              "intersect",
                                              "join",
                                              "join_any",
                                              "join_none",
                                              "large",
                                              "let",
                                              "liblist",
                                              "library",
                                              "local",
                                              "localparam",
                                              "logic",
                                              "longint",
                                              "macromodule",
                                              "matches",
                                              "medium",
                                              "modport",
                                              "module",
                                              "nand",
                                              "negedge",
                                              "nettype",
                                              "new",
                                              "nexttime",
                                              "nmos",
                                              "nor",
                                              "noshowcancelled",
                                              "not",
                                              "notif0",
                                              "notif1",
                                              "null",
                                              "or",
                                              "output",
                                              "package",
                                              "packed",
                                              "parameter",
                                              "pmos",
                                              "posedge",
                                              "primitive",
                                              "priority",
                                              "program",
                                              "property",
                                              "protected",
                                              "pull0",
                                              "pull1",
                                              "pulldown",
                                              "pullup",
                                              "pulsestyle_ondetect",
                                              "pulsestyle_onevent",
                                              "pure",
                                              "rand",
                                              "randc",
                                              "randcase",
                                              "randsequence",
                                              "rcmos",
                                              "real",
                                              "realtime",
                                              "ref",
                                              "reg",
                                              "reject_on",
                                              "release",
                                              "repeat",
                                              "restrict",
                                              "return",
                                              "rnmos",
                                              "rpmos",
                                              "rtran",
                                              "rtranif0",
                                              "rtranif1",
                                              "s_always",
                                              "s_eventually",
                                              "s_nexttime",
                                              "s_until",
                                              "s_until_with",
                                              "scalared",
                                              "sequence",
                                              "shortint",
                                              "shortreal",
                                              "showcancelled",
                                              "signed",
                                              "small",
                                              "soft",
                                              "solve",
                                              "specify",
                                              "specparam",
                                              "static",
                                              "string",
                                              "strong",
                                              "strong0",
                                              "strong1",
                                              "struct",
                                              "super",
                                              "supply0",
                                              "supply1",
                                              "sync_accept_on",
                                              "sync_reject_on",
                                              "table",
                                              "tagged",
                                              "task",
                                              "this",
                                              "throughout",
                                              "time",
                                              "timeprecision",
                                              "timeunit",
                                              "tran",
                                              "tranif0",
                                              "tranif1",
                                              "tri",
                                              "tri0",
                                              "tri1",
                                              "triand",
                                              "trior",
                                              "trireg",
                                              "type",
                                              "typedef",
                                              "union",
                                              "unique",
                                              "unique0",
                                              "unsigned",
                                              "until",
                                              "until_with",
                                              "untyped",
                                              "use",
                                              "uwire",
                                              "var",
                                              "vectored",
                                              "virtual",
                                              "void",
                                              "wait",
                                              "wait_order",
                                              "wand",
                                              "weak",
                                              "weak0",
                                              "weak1",
                                              "while",
                                              "wildcard",
                                              "wire",
                                              "with",
                                              "within",
                                              "wor",
                                              "xnor",
                                              "xor"};

// VHDL-2008 reserved words, and the predefined names the generated text relies on (a port named
// STD_LOGIC would hide the type).
constexpr std::string_view kVhdlWords[] = {
    "abs", "access", "after", "alias", "all", "and", "architecture", "array", "assert", "assume", "assume_guarantee",
    "attribute", "begin", "block", "body", "buffer", "bus", "case", "component", "configuration", "constant", "context",
    "cover", "default", "disconnect", "downto", "else", "elsif", "end", "entity", "exit", "fairness", "file", "for",
    "force", "function", "generate", "generic", "group", "guarded", "if", "impure", "in", "inertial", "inout", "is",
    "label", "library", "linkage", "literal", "loop", "map", "mod", "nand", "new", "next", "nor", "not", "null", "of",
    "on", "open", "or", "others", "out", "package", "parameter", "port", "postponed", "procedure", "process",
    "property", "protected", "pure", "range", "record", "register", "reject", "release", "rem", "report", "restrict",
    "restrict_guarantee", "return", "rol", "ror", "select", "sequence", "severity", "shared", "signal", "sla", "sll",
    "sra", "srl", "strong", "subtype", "then", "to", "transport", "type", "unaffected", "units", "until", "use",
    "variable", "vmode", "vprop", "vunit", "wait", "when", "while", "with", "xnor", "xor",
    // predefined names used by the generated design and testbench
    "ieee", "std", "work", "std_logic_1164", "std_logic", "std_ulogic", "std_logic_vector", "rising_edge", "textio",
    "line", "output", "write", "writeline", "to_string", "string", "boolean", "true", "false", "ns", "note", "failure",
    "env", "finish"};

bool IsLetter(char c) { return std::isalpha(static_cast<unsigned char>(c)) != 0; }
bool IsDigit(char c) { return std::isdigit(static_cast<unsigned char>(c)) != 0; }

std::string Lower(std::string_view name)
{
    std::string lower(name);
    for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return lower;
}

// "N_" and the letters and digits of the name, each other run one "_", none at the end.
std::string RenamedForm(std::string_view name)
{
    std::string text = "N_";
    for (char c : name) {
        if (IsLetter(c) || IsDigit(c)) text += c;
        else if (text.back() != '_') text += '_';
    }
    while (text.back() == '_') text.pop_back();
    return text;
}

}  // namespace

bool IsLegalIdentifier(HdlLanguage language, std::string_view name)
{
    if (name.empty() || !(IsLetter(name[0]) || (language == HdlLanguage::Verilog && name[0] == '_'))) return false;
    for (std::size_t k = 1; k < name.size(); ++k) {
        char c = name[k];
        if (IsLetter(c) || IsDigit(c)) continue;
        if (language == HdlLanguage::Verilog) {
            if (c != '_' && c != '$') return false;
        } else if (c != '_' || name[k - 1] == '_' || k + 1 == name.size()) {
            return false;
        }
    }
    return true;
}

bool IsReservedWord(HdlLanguage language, std::string_view name)
{
    if (language == HdlLanguage::Verilog)
        return std::find(std::begin(kVerilogWords), std::end(kVerilogWords), name) != std::end(kVerilogWords);
    std::string lower = Lower(name);
    return std::find(std::begin(kVhdlWords), std::end(kVhdlWords), lower) != std::end(kVhdlWords);
}

std::string IdentifierTable::Key(std::string_view name) const
{
    return language_ == HdlLanguage::Vhdl ? Lower(name) : std::string(name);
}

void IdentifierTable::Reserve(std::string_view name) { taken_.insert(Key(name)); }

std::string IdentifierTable::Take(std::string_view name)
{
    if (IsLegalIdentifier(language_, name) && !IsReservedWord(language_, name) && !IsTaken(name)) {
        taken_.insert(Key(name));
        return std::string(name);
    }
    const std::string base = RenamedForm(name);
    std::string identifier = base;
    for (int k = 2; IsTaken(identifier) || IsReservedWord(language_, identifier); ++k)
        identifier = base + "_" + std::to_string(k);
    taken_.insert(Key(identifier));
    renamed_.emplace_back(std::string(name), identifier);
    return identifier;
}

}  // namespace quorlet
