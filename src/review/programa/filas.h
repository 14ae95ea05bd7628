// Each row to make reviewed into a row of the reports: its bytes had wherever they are, the
// submission reviewed, what the participant handed in beside it put first.
#pragma once

#include "fila.h"
#include "trabajo.h"

/// The row's names, before any review: what stays of it when the review itself fails.
Fila encabezado(const Trabajo& trabajo);

/// Reviews one row; everything that goes wrong with it is in the row. With `conTextos`, its
/// code's texts read as well.
Fila revisaTrabajo(const Trabajo& trabajo, bool conTextos);

/// Reads again the texts of the code of `fila`, the row `trabajo` gave, which its review let
/// go: only what a report shows of them is read twice. Texts that cannot be had are left empty.
void releeCodigo(Fila& fila, const Trabajo& trabajo);
