// Showing untrusted text: control characters, broken UTF-8 and markup neutralised.
#include "texto.h"

#include "utf8.h"

namespace {

constexpr const char* kReemplazo = "\xEF\xBF\xBD";

}  // namespace

std::string legible(const std::string& texto) {
  const std::string utf8 = plataforma::conReemplazos(texto);
  std::string salida;
  salida.reserve(utf8.size());
  for (std::size_t i = 0; i < utf8.size(); ++i) {
    const auto c = static_cast<unsigned char>(utf8[i]);
    if (c < 0x20 || c == 0x7F) {
      salida += kReemplazo;
    } else if (c == 0xC2 && i + 1 < utf8.size() && static_cast<unsigned char>(utf8[i + 1]) < 0xA0) {
      // U+0080 to U+009F: the C1 controls, which some terminals obey.
      salida += kReemplazo;
      ++i;
    } else {
      salida += utf8[i];
    }
  }
  return salida;
}

std::string recorta(const std::string& texto, std::size_t maximo) {
  std::size_t fin = 0;
  for (std::size_t caracteres = 0; fin < texto.size() && caracteres < maximo; ++caracteres) {
    ++fin;
    while (fin < texto.size() && (static_cast<unsigned char>(texto[fin]) & 0xC0) == 0x80) ++fin;
  }
  return texto.substr(0, fin);
}

std::string escapaHtml(const std::string& texto) {
  std::string salida;
  salida.reserve(texto.size());
  for (const char c : texto) {
    switch (c) {
      case '&':
        salida += "&amp;";
        break;
      case '<':
        salida += "&lt;";
        break;
      case '>':
        salida += "&gt;";
        break;
      case '"':
        salida += "&quot;";
        break;
      case '\'':
        salida += "&#39;";
        break;
      default:
        salida += c;
    }
  }
  return salida;
}

std::string textoHtml(const std::string& texto) { return escapaHtml(legible(texto)); }
