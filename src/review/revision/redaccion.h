// How the review words what it finds of an archive's bytes: every sentence about damage is
// made here, from its kind and details, naming the archive as the report knows it.
#pragma once

#include "dano_zip.h"

#include <cstdint>
#include <string>
#include <vector>

/// The finding for `dano`, without its full stop. `archivo` names the archive the damage is
/// in as a sentence begins with it: "El archivo ZIP", "El archivo del campus".
std::string redactaDano(const DanoZip& dano, const std::string& archivo);

/// A number of bytes as the findings state a bound: "1 GiB", "2 MiB", or the bytes.
std::string enUnidades(std::uint64_t bytes);

/// `nombres` joined by ", ", the first ten only and then how many more: a finding that lists
/// files stays readable however many there are.
std::string enumera(const std::vector<std::string>& nombres);
