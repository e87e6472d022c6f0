#include "tools/basebuild/BaseBuildCommand.h"

#include <iostream>

int main(int argc, char** argv)
{
    const std::vector<std::string> args(argv + 1, argv + argc);
    return RunBaseBuild(args, std::cin, std::cout, std::cerr);
}
