// The modal box of the platform: the only way the tool talks to its user.
#pragma once

#include <string>

enum class TipoCaja { error, aviso };

/// Shows `texto` as it is, with the tool's caption and the icon of `tipo`, and returns
/// when the user has closed it. The program links the real box; tests link a recorder.
void muestraCaja(TipoCaja tipo, const std::string& texto);

/// The caption of every box.
inline constexpr const char* kTitulo = "Kelm - Práctica 2";
