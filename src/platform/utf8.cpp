// The UTF-8 check, the same on every system.
#include "utf8.h"

#include <cstddef>

namespace plataforma {
namespace {

// The length of the well-formed sequence that starts at `p`, or 0 when none does.
std::size_t secuencia(const unsigned char* p, const unsigned char* fin) {
  const unsigned char c = *p;
  if (c < 0x80) return 1;
  std::size_t resto = 0;
  unsigned char min = 0x80, max = 0xBF;
  if (c >= 0xC2 && c <= 0xDF) {
    resto = 1;
  } else if (c >= 0xE0 && c <= 0xEF) {
    resto = 2;
    if (c == 0xE0) min = 0xA0;
    if (c == 0xED) max = 0x9F;
  } else if (c >= 0xF0 && c <= 0xF4) {
    resto = 3;
    if (c == 0xF0) min = 0x90;
    if (c == 0xF4) max = 0x8F;
  } else {
    return 0;
  }
  for (std::size_t i = 1; i <= resto; ++i) {
    if (p + i == fin || p[i] < min || p[i] > max) return 0;
    min = 0x80;
    max = 0xBF;
  }
  return resto + 1;
}

}  // namespace

bool esUtf8(const std::string& texto) {
  const auto* p = reinterpret_cast<const unsigned char*>(texto.data());
  const auto* fin = p + texto.size();
  while (p < fin) {
    const std::size_t n = secuencia(p, fin);
    if (n == 0) return false;
    p += n;
  }
  return true;
}

std::string conReemplazos(const std::string& texto) {
  std::string salida;
  salida.reserve(texto.size());
  const auto* inicio = reinterpret_cast<const unsigned char*>(texto.data());
  const auto* fin = inicio + texto.size();
  for (const auto* p = inicio; p < fin;) {
    const std::size_t n = secuencia(p, fin);
    if (n == 0) {
      salida += "\xEF\xBF\xBD";
      ++p;
    } else {
      salida.append(reinterpret_cast<const char*>(p), n);
      p += n;
    }
  }
  return salida;
}

}  // namespace plataforma
