// The checker: the run sequence over one delivery and what it found.
#pragma once

#include "archivos.h"
#include "entrega.h"
#include "vista.h"

/// The archive a run writes, in the project directory.
inline constexpr const char* kEntregaZip = "entrega.zip";

/// How a run ended; the value is the process exit code.
enum class Desenlace {
  entregado = 0,   // entrega.zip was written in full
  sinEntrega = 1,  // findings, shown, kept the archive from being written
  fallido = 2,     // a platform failure ended the run, shown in one error box
};

/// One run over the current directory as the project directory and its parent as the
/// solution directory. Every finding is shown in a box the moment it is made.
class Comprobador {
 public:
  Comprobador() = default;
  Comprobador(const Comprobador&) = delete;
  Comprobador& operator=(const Comprobador&) = delete;

  /// Runs the whole check once.
  Desenlace compruebaEntrega();

 private:
  /// Cross-checks the project file; a failure only of the platform.
  plataforma::Resultado<void> compruebaProyecto(Vista& vista, Hallazgos& hallazgos);
  /// Writes entrega.zip with every delivered file; a failure only of the platform.
  plataforma::Resultado<Desenlace> empaquetaEntrega();

  Entrega entrega;
};

/// The whole program: one run, its failures without a handling of their own included,
/// turned into the exit code.
int ejecuta();
