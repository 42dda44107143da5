// asyin: imports a block symbol "B.asy" into the symbol "B.sym" (with the picture
// "B.sym.svg"), or writes "B.err" saying what is wrong with it.
#include <iostream>

#include "SchematicImport.h"

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::cerr << "usage: asyin SYMBOL.asy\n";
        return 2;
    }
    try {
        return quorlet::import::ImportSymbol(argv[1]) ? 0 : 1;
    } catch (const std::exception& e) {
        std::cerr << "asyin: " << e.what() << "\n";
        return 1;
    }
}
