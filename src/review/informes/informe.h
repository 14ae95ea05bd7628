// The report: revision.csv for scripts and spreadsheets, revision.html for reading, and the
// summary line.
#pragma once

#include "fila.h"

#include <optional>
#include <string>
#include <vector>

/// UTF-8 with a byte-order mark, ";" between fields, CRLF, RFC 4180 quoting; the header
/// row, then one row per submission in the order given.
std::string tablaCsv(const std::vector<Fila>& filas);

/// The start of a self-contained page in Spanish, up to its heading `titulo`: `estilo` is
/// its own CSS; the verdicts' colours (their classes) are added.
std::string cabezaHtml(const std::string& titulo, const char* estilo);

/// One self-contained page: the counts per verdict, then one row per submission. When the
/// code was compared, `parejas` flagged pairs: a link to similitud.html, and a mark on the rows
/// of their participants.
std::string paginaHtml(const std::vector<Fila>& filas,
                       std::optional<std::size_t> parejas = std::nullopt);

/// One field of a CSV report: neutralised so that no spreadsheet takes it for a formula (a
/// leading "'"), quoted as RFC 4180 says when it holds ";", a quote or a line break.
std::string campoCsv(const std::string& texto);

/// A count as both reports show it: empty when it is not known (negative).
std::string cuenta(int n);

/// A finding as every report shows it: as a sentence, with its full stop.
std::string frase(const std::string& hallazgo);

/// "N entregas: A correctas, B con avisos, C con errores, D no revisables", and, when the code
/// was compared, "; P parejas de código parecido".
std::string resumen(const std::vector<Fila>& filas,
                    std::optional<std::size_t> parejas = std::nullopt);
