// The verdicts of a review, and how every report shows them: one table.
#pragma once

#include <cstddef>

enum class Veredicto { correcta, conAvisos, conErrores, noRevisable };

/// How a verdict is shown.
struct FormaVeredicto {
  Veredicto veredicto;
  const char* palabra;  // in the reports: "con avisos"
  const char* plural;   // counted in the summary: "con avisos", "correctas"
  const char* clase;    // the class that colours it in the pages: "avisos"
  const char* color;    // that colour
};

/// Every verdict, in the order of the enum: the order the reports count them in.
inline constexpr FormaVeredicto kVeredictos[] = {
    {Veredicto::correcta, "correcta", "correctas", "correcta", "#d8f0d8"},
    {Veredicto::conAvisos, "con avisos", "con avisos", "avisos", "#fdf0c4"},
    {Veredicto::conErrores, "con errores", "con errores", "errores", "#f8d4d4"},
    {Veredicto::noRevisable, "no revisable", "no revisables", "norevisable", "#ddd"},
};
inline constexpr std::size_t kNumeroVeredictos = sizeof kVeredictos / sizeof kVeredictos[0];

inline const FormaVeredicto& formaDe(Veredicto veredicto) {
  return kVeredictos[static_cast<std::size_t>(veredicto)];
}
