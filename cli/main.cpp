// tb58mon: the reference status monitor of Tb58Wk31.
#include <iostream>

#include "commands/commands.h"
#include "base/terminal_text.h"

int main(int argc, char** argv) {
    tb58mon::PrepareTerminal();
    const int code = tb58mon::RunTb58mon(argc, argv, std::cout, std::cerr);
    std::cout.flush();
    return code;
}
