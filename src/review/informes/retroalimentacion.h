// Feedback for the campus to import: one page per participant, in the form of Moodle's
// "Upload multiple feedback files in a zip".
#pragma once

#include "fila.h"
#include "resultado.h"

#include <optional>
#include <string>
#include <vector>

/// The page a participant receives: the verdict, each finding with what it means and how
/// to fix it in the students' guide's words, and the files the checker delivers.
std::string paginaDeRetroalimentacion(const Fila& fila);

/// Where the campus's importer takes the page of `fila` to:
/// "<name>_<number>_assignfeedback_file/revision.html", the name without any "_"; nothing for
/// a row that names no participant of Moodle's with a number.
std::optional<std::string> entradaDeRetroalimentacion(const Fila& fila);

/// Writes `ruta`, a ZIP archive with the page of every participant that has an entry name,
/// each once.
plataforma::Resultado<void> escribeRetroalimentacion(const std::string& ruta,
                                                     const std::vector<Fila>& filas);
