// ascin: imports a schematic sheet "B.asc" into the schematic "B.sch" (with the picture
// "B.svg"), or writes "B.err" saying what is wrong with the sheet.
#include <filesystem>
#include <iostream>

#include "SchematicImport.h"

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::cerr << "usage: ascin SHEET.asc\n";
        return 2;
    }
    std::error_code ec;
    std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    std::vector<std::string> dirs;
    if (!ec) dirs.push_back(exe.parent_path().string());
    dirs.push_back(".");
    try {
        return quorlet::import::ImportSheet(argv[1], dirs) ? 0 : 1;
    } catch (const std::exception& e) {
        std::cerr << "ascin: " << e.what() << "\n";
        return 1;
    }
}
