// Text split at a separator, joined again and trimmed: lines, path components, the parts of a
// name.
#pragma once

#include <string>
#include <vector>

namespace plataforma {

/// The pieces of `texto` between each `separador`: one more than there are separators, empty
/// ones included ("a//b" gives "a", "", "b"; "" gives one empty piece).
std::vector<std::string> parte(const std::string& texto, char separador);

/// `piezas` from `desde` on, joined by `separador`.
std::string junta(const std::vector<std::string>& piezas, char separador, std::size_t desde = 0);

/// `texto` without the blanks (spaces, tabs, carriage returns, form feeds) at its ends.
std::string sinBlancos(const std::string& texto);

}  // namespace plataforma
