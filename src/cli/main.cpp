#include <iostream>

#include "cli/commands.h"

int main(int argc, char** argv) { return tarvo::cli::Main(argc, argv, std::cout, std::cerr); }
