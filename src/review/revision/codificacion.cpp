// Text encodings met in submissions: UTF-8, UTF-16 and Windows-1252.
#include "codificacion.h"

#include "utf8.h"

#include <cstdint>

namespace {

void anade(std::string& salida, std::uint32_t c) {
  if (c < 0x80) {
    salida += static_cast<char>(c);
  } else if (c < 0x800) {
    salida += static_cast<char>(0xC0 | (c >> 6));
    salida += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    salida += static_cast<char>(0xE0 | (c >> 12));
    salida += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    salida += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    salida += static_cast<char>(0xF0 | (c >> 18));
    salida += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    salida += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    salida += static_cast<char>(0x80 | (c & 0x3F));
  }
}

std::string desdeUtf16(const std::string& bytes, bool grande) {
  std::string salida;
  const auto unidad = [&](std::size_t i) {
    const auto a = static_cast<unsigned char>(bytes[i]);
    const auto b = static_cast<unsigned char>(bytes[i + 1]);
    return static_cast<std::uint32_t>(grande ? (a << 8) | b : (b << 8) | a);
  };
  for (std::size_t i = 2; i + 1 < bytes.size(); i += 2) {
    std::uint32_t c = unidad(i);
    if (c >= 0xD800 && c <= 0xDBFF && i + 3 < bytes.size()) {
      const std::uint32_t baja = unidad(i + 2);
      if (baja >= 0xDC00 && baja <= 0xDFFF) {
        c = 0x10000 + ((c - 0xD800) << 10) + (baja - 0xDC00);
        i += 2;
      }
    }
    if (c >= 0xD800 && c <= 0xDFFF) c = 0xFFFD;
    anade(salida, c);
  }
  return salida;
}

std::string desde1252(const std::string& bytes) {
  // 0x80-0x9F; the five bytes Windows leaves undefined keep their own value, as it does.
  static const std::uint16_t kAltos[32] = {
      0x20AC, 0x81,   0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
      0x2039, 0x0152, 0x8D,   0x017D, 0x8F,   0x90,   0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
      0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x9D,   0x017E, 0x0178};
  std::string salida;
  for (const char byte : bytes) {
    const auto c = static_cast<unsigned char>(byte);
    anade(salida, c >= 0x80 && c < 0xA0 ? kAltos[c - 0x80] : c);
  }
  return salida;
}

}  // namespace

std::string aUtf8(const std::string& bytes) {
  if (bytes.size() >= 2 && bytes[0] == '\xFF' && bytes[1] == '\xFE')
    return desdeUtf16(bytes, false);
  if (bytes.size() >= 2 && bytes[0] == '\xFE' && bytes[1] == '\xFF') return desdeUtf16(bytes, true);
  if (bytes.compare(0, 3, "\xEF\xBB\xBF") == 0) return bytes.substr(3);
  return plataforma::esUtf8(bytes) ? bytes : desde1252(bytes);
}
