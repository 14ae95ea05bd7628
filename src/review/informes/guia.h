// The students' guide inside the program: a feedback page explains each finding, and each
// verdict, in the guide's own words, read from its tables.
#pragma once

#include "veredicto.h"

#include <string>

/// What the guide says of a finding or a verdict, as HTML.
struct Explicacion {
  std::string significado;  // what it means
  std::string arreglo;      // how to fix it; empty for a verdict
};

/// The row of the guide's tables of messages and findings whose text `hallazgo` is, shown
/// as a sentence (its names in italics standing for any text); the most specific when
/// several fit. Null when none does.
const Explicacion* explicaHallazgo(const std::string& hallazgo);

/// The guide's words for a verdict; null when the guide has none.
const Explicacion* explicaVeredicto(Veredicto veredicto);

/// The inline Markdown of a table cell as HTML: `code`, **strong**, *emphasis* and
/// backslash escapes; everything else escaped.
std::string enHtml(const std::string& markdown);
