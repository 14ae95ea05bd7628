// Each row to make reviewed into a row of the reports: its bytes had wherever they are, the
// submission reviewed, what the participant handed in beside it put first.
#pragma once

#include "fila.h"
#include "trabajo.h"

/// The row's names, before any review: what stays of it when the review itself fails.
Fila encabezado(const Trabajo& trabajo);

/// Reviews one row; everything that goes wrong with it is in the row.
Fila revisaTrabajo(const Trabajo& trabajo);
