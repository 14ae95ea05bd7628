// The recorder that tests link in place of the real box.
#pragma once

#include "caja.h"

#include <ostream>
#include <string>
#include <vector>

struct Caja {
  TipoCaja tipo;
  std::string texto;
  bool operator==(const Caja& otra) const { return tipo == otra.tipo && texto == otra.texto; }
};

inline Caja E(std::string texto) { return {TipoCaja::error, std::move(texto)}; }
inline Caja A(std::string texto) { return {TipoCaja::aviso, std::move(texto)}; }

/// Every box shown since the last `cajas().clear()`, in order.
std::vector<Caja>& cajas();

inline std::ostream& operator<<(std::ostream& os, const Caja& caja) {
  return os << (caja.tipo == TipoCaja::error ? "error: " : "aviso: ") << caja.texto;
}
