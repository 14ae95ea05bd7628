// The UTF-8 check, the same on every system.
#include "utf8.h"

namespace plataforma {

bool esUtf8(const std::string& texto) {
  const auto* p = reinterpret_cast<const unsigned char*>(texto.data());
  const auto* fin = p + texto.size();
  while (p < fin) {
    const unsigned char c = *p;
    int resto = 0;
    unsigned char min = 0x80, max = 0xBF;
    if (c < 0x80) {
      ++p;
      continue;
    } else if (c >= 0xC2 && c <= 0xDF) {
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
      return false;
    }
    ++p;
    for (int i = 0; i < resto; ++i, ++p) {
      if (p == fin || *p < min || *p > max) return false;
      min = 0x80;
      max = 0xBF;
    }
  }
  return true;
}

}  // namespace plataforma
