// The rows of every input reviewed by workers side by side, with a progress line on a
// terminal.
#pragma once

#include "fila.h"
#include "trabajo.h"

#include <vector>

/// Every row reviewed by `hilos` workers side by side, each in its place, which its `trabajo`
/// says; with `huellas`, the fingerprints of its code made as well, by the same worker, which
/// then lets the code's texts go.
std::vector<Fila> revisaTodas(const std::vector<Trabajo>& trabajos, unsigned hilos, bool huellas);
