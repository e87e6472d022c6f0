#pragma once

#include "tools/basebuild/BaseBuilder.h"

#include <iosfwd>
#include <string>
#include <vector>

// The command line of kexora-basebuild:
//   kexora-basebuild --codepage 1252 --charset 0 [--depth 4] [--name English]
//                    [--alphabet FILE] [--fold FILE] [--min-count N]
//                    [--info FILE] [--word-length X] -o OUT.Base INPUT...

// Parses the arguments (without the program name). Returns false with a
// message on a malformed command line; help is set for -h/--help.
bool ParseBaseBuildArgs(const std::vector<std::string>& args, TBaseBuildOptions& options,
                        bool& help, std::string& error);

std::string BaseBuildUsage();

// The summary printed after a successful build.
std::string FormatBuildSummary(const TBaseBuilder& builder);

// Runs the whole tool; returns the exit status (0, 1 write failure, 2 bad input).
int RunBaseBuild(const std::vector<std::string>& args, std::istream& in, std::ostream& out,
                 std::ostream& err);
