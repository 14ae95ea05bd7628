// revisa's command line.
#pragma once

#include "resultado.h"

#include <optional>
#include <string>
#include <vector>

inline constexpr const char* kUso =
    "uso: revisa [--salida DIR] [-j N] [--retroalimentacion] [--plantilla RUTA] "
    "[--anteriores RUTA]... [--sin-similitud] ENTRADA...";

/// What the command line asks for.
struct Opciones {
  std::optional<std::string> salida;     // where the reports go; the current folder by default
  unsigned hilos = 1;                    // the workers side by side
  bool retroalimentacion = false;        // retroalimentacion.zip as well
  bool similitud = true;                 // the participants' code compared
  std::optional<std::string> plantilla;  // the course's template, left out of the comparison
  std::vector<std::string> anteriores;   // earlier years, compared with this one only
  std::vector<std::string> entradas;     // what this year's participants handed in
};

/// The options of `argumentos` (without the program's name), `hilos` workers unless -j says
/// otherwise; a failure saying what is wrong with them, and how they go.
plataforma::Resultado<Opciones> leeOpciones(const std::vector<std::string>& argumentos,
                                            unsigned hilos);
