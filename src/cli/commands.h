#pragma once
// Subcommands of the batch command. Each takes the arguments after its name and returns the
// process exit code: 0 success, 1 a check that found something, 2 an error (one line on err).

#include <iosfwd>
#include <string>
#include <vector>

namespace wirelark::cli {

using Args = std::vector<std::string>;

}  // namespace wirelark::cli
