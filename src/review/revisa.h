// revisa: every submission of its inputs reviewed, in parallel, into one report.
#pragma once

#include <string>
#include <vector>

/// The whole program over its arguments (without the program's name): 0 when every
/// submission is correct, 1 when any is not, 2 when the review could not be made.
int ejecutaRevisa(const std::vector<std::string>& argumentos);
