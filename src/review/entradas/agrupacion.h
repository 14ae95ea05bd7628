// The rows of an input by participant: what each one handed in, grouped by the campus's
// names, becomes one row; anything else that is a .zip is a row of its own.
#pragma once

#include "piezas.h"
#include "trabajo.h"

#include <vector>

/// The rows of one input's pieces: one per participant the campus's names give, one per
/// other .zip, and one per other piece that cannot be read.
std::vector<Trabajo> agrupa(const std::vector<Pieza>& piezas);
