// Text encodings met in submissions: UTF-8, UTF-16, Windows-1252 and the ZIP format's own
// code page 437.
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

std::string nombreDeEntrada(const std::string& bytes) {
  if (plataforma::esUtf8(bytes)) return bytes;
  // Without the UTF-8 flag a name is in code page 437, the format's own, 0x80-0xFF here.
  static const char* const kAltos[128] = {
      "\xC3\x87",     "\xC3\xBC",     "\xC3\xA9",     "\xC3\xA2",     "\xC3\xA4",
      "\xC3\xA0",     "\xC3\xA5",     "\xC3\xA7",     "\xC3\xAA",     "\xC3\xAB",
      "\xC3\xA8",     "\xC3\xAF",     "\xC3\xAE",     "\xC3\xAC",     "\xC3\x84",
      "\xC3\x85",     "\xC3\x89",     "\xC3\xA6",     "\xC3\x86",     "\xC3\xB4",
      "\xC3\xB6",     "\xC3\xB2",     "\xC3\xBB",     "\xC3\xB9",     "\xC3\xBF",
      "\xC3\x96",     "\xC3\x9C",     "\xC2\xA2",     "\xC2\xA3",     "\xC2\xA5",
      "\xE2\x82\xA7", "\xC6\x92",     "\xC3\xA1",     "\xC3\xAD",     "\xC3\xB3",
      "\xC3\xBA",     "\xC3\xB1",     "\xC3\x91",     "\xC2\xAA",     "\xC2\xBA",
      "\xC2\xBF",     "\xE2\x8C\x90", "\xC2\xAC",     "\xC2\xBD",     "\xC2\xBC",
      "\xC2\xA1",     "\xC2\xAB",     "\xC2\xBB",     "\xE2\x96\x91", "\xE2\x96\x92",
      "\xE2\x96\x93", "\xE2\x94\x82", "\xE2\x94\xA4", "\xE2\x95\xA1", "\xE2\x95\xA2",
      "\xE2\x95\x96", "\xE2\x95\x95", "\xE2\x95\xA3", "\xE2\x95\x91", "\xE2\x95\x97",
      "\xE2\x95\x9D", "\xE2\x95\x9C", "\xE2\x95\x9B", "\xE2\x94\x90", "\xE2\x94\x94",
      "\xE2\x94\xB4", "\xE2\x94\xAC", "\xE2\x94\x9C", "\xE2\x94\x80", "\xE2\x94\xBC",
      "\xE2\x95\x9E", "\xE2\x95\x9F", "\xE2\x95\x9A", "\xE2\x95\x94", "\xE2\x95\xA9",
      "\xE2\x95\xA6", "\xE2\x95\xA0", "\xE2\x95\x90", "\xE2\x95\xAC", "\xE2\x95\xA7",
      "\xE2\x95\xA8", "\xE2\x95\xA4", "\xE2\x95\xA5", "\xE2\x95\x99", "\xE2\x95\x98",
      "\xE2\x95\x92", "\xE2\x95\x93", "\xE2\x95\xAB", "\xE2\x95\xAA", "\xE2\x94\x98",
      "\xE2\x94\x8C", "\xE2\x96\x88", "\xE2\x96\x84", "\xE2\x96\x8C", "\xE2\x96\x90",
      "\xE2\x96\x80", "\xCE\xB1",     "\xC3\x9F",     "\xCE\x93",     "\xCF\x80",
      "\xCE\xA3",     "\xCF\x83",     "\xC2\xB5",     "\xCF\x84",     "\xCE\xA6",
      "\xCE\x98",     "\xCE\xA9",     "\xCE\xB4",     "\xE2\x88\x9E", "\xCF\x86",
      "\xCE\xB5",     "\xE2\x88\xA9", "\xE2\x89\xA1", "\xC2\xB1",     "\xE2\x89\xA5",
      "\xE2\x89\xA4", "\xE2\x8C\xA0", "\xE2\x8C\xA1", "\xC3\xB7",     "\xE2\x89\x88",
      "\xC2\xB0",     "\xE2\x88\x99", "\xC2\xB7",     "\xE2\x88\x9A", "\xE2\x81\xBF",
      "\xC2\xB2",     "\xE2\x96\xA0", "\xC2\xA0",
  };
  std::string salida;
  for (const char byte : bytes) {
    const auto c = static_cast<unsigned char>(byte);
    if (c < 0x80) {
      salida += byte;
    } else {
      salida += kAltos[c - 0x80];
    }
  }
  return salida;
}
