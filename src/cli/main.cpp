#include "cli/commands.h"

#include <iostream>

int main(int argc, char** argv) {
    return tarvo::cli::Main(argc, argv, std::cout, std::cerr);
}
