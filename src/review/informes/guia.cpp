// The guide's tables, parsed once from the Markdown the build puts in the program.
#include "guia.h"

#include "partes.h"
#include "texto.h"

#include <cstddef>
#include <vector>

extern const unsigned char kGuiaEstudiantes[];
extern const std::size_t kLargoGuiaEstudiantes;

namespace {

/// One row of a table of messages: the message as literal pieces around its names.
struct Mensaje {
  std::vector<std::string> piezas;  // the text between the italic parts, in order
  Explicacion explicacion;
};

struct Tablas {
  std::vector<Mensaje> mensajes;
  std::vector<std::pair<std::string, Explicacion>> veredictos;
};

bool esPuntuacion(char c) {
  return c > ' ' && c < 0x7F && !(c >= '0' && c <= '9') && !(c >= 'A' && c <= 'Z') &&
         !(c >= 'a' && c <= 'z');
}

// The cells of a table line, split at the "|" that are not escaped.
std::vector<std::string> celdas(const std::string& linea) {
  std::vector<std::string> resultado;
  std::string celda;
  for (std::size_t i = 1; i < linea.size(); ++i) {
    if (linea[i] == '\\' && i + 1 < linea.size()) {
      celda += linea.substr(i, 2);
      ++i;
    } else if (linea[i] == '|') {
      resultado.push_back(plataforma::sinBlancos(celda));
      celda.clear();
    } else {
      celda += linea[i];
    }
  }
  return resultado;
}

// A message of the table as the literal pieces between its italic names, code marks and
// escapes taken off as the page shows them.
std::vector<std::string> piezasDe(const std::string& mensaje) {
  std::vector<std::string> piezas(1);
  bool enCursiva = false;
  for (std::size_t i = 0; i < mensaje.size(); ++i) {
    const char c = mensaje[i];
    if (c == '\\' && i + 1 < mensaje.size() && esPuntuacion(mensaje[i + 1])) {
      if (!enCursiva) piezas.back() += mensaje[i + 1];
      ++i;
    } else if (c == '*') {
      enCursiva = !enCursiva;
      if (!enCursiva) piezas.emplace_back();
    } else if (c != '`' && !enCursiva) {
      piezas.back() += c;
    }
  }
  return piezas;
}

Tablas lee() {
  Tablas tablas;
  const std::string guia(reinterpret_cast<const char*>(kGuiaEstudiantes), kLargoGuiaEstudiantes);
  enum class Tipo { ninguna, mensajes, veredictos } tipo = Tipo::ninguna;
  bool cabecera = true;
  for (std::string linea : plataforma::parte(guia, '\n')) {
    if (!linea.empty() && linea.back() == '\r') linea.pop_back();
    if (linea.empty() || linea[0] != '|') {
      tipo = Tipo::ninguna;
      cabecera = true;
      continue;
    }
    const std::vector<std::string> c = celdas(linea);
    if (cabecera) {
      cabecera = false;
      if (c.size() == 3 && c[1] == "qué significa" && c[2] == "cómo se arregla") {
        tipo = Tipo::mensajes;
      } else if (c.size() == 2 && c[0] == "veredicto" && c[1] == "qué significa") {
        tipo = Tipo::veredictos;
      }
      continue;
    }
    if (c.empty() || c[0].find_first_not_of("-: ") == std::string::npos) continue;
    if (tipo == Tipo::mensajes && c.size() == 3) {
      tablas.mensajes.push_back({piezasDe(c[0]), {enHtml(c[1]), enHtml(c[2])}});
    } else if (tipo == Tipo::veredictos && c.size() == 2) {
      tablas.veredictos.push_back({c[0], {enHtml(c[1]), {}}});
    }
  }
  return tablas;
}

const Tablas& tablas() {
  static const Tablas leidas = lee();
  return leidas;
}

// Whether `texto` is the pieces in order with anything between them.
bool encaja(const std::string& texto, const std::vector<std::string>& piezas) {
  const std::string& primera = piezas.front();
  const std::string& ultima = piezas.back();
  if (texto.compare(0, primera.size(), primera) != 0) return false;
  if (piezas.size() == 1) return texto == primera;
  std::size_t desde = primera.size();
  for (std::size_t i = 1; i + 1 < piezas.size(); ++i) {
    const std::size_t donde = texto.find(piezas[i], desde);
    if (donde == std::string::npos) return false;
    desde = donde + piezas[i].size();
  }
  return texto.size() >= desde + ultima.size() &&
         texto.compare(texto.size() - ultima.size(), ultima.size(), ultima) == 0;
}

}  // namespace

std::string enHtml(const std::string& markdown) {
  std::string html;
  bool codigo = false, fuerte = false, cursiva = false;
  for (std::size_t i = 0; i < markdown.size(); ++i) {
    const char c = markdown[i];
    if (codigo && c != '`') {
      html += escapaHtml(std::string(1, c));
    } else if (c == '`') {
      html += codigo ? "</code>" : "<code>";
      codigo = !codigo;
    } else if (c == '\\' && i + 1 < markdown.size() && esPuntuacion(markdown[i + 1])) {
      html += escapaHtml(std::string(1, markdown[++i]));
    } else if (c == '*' && i + 1 < markdown.size() && markdown[i + 1] == '*') {
      html += fuerte ? "</strong>" : "<strong>";
      fuerte = !fuerte;
      ++i;
    } else if (c == '*') {
      html += cursiva ? "</em>" : "<em>";
      cursiva = !cursiva;
    } else {
      html += escapaHtml(std::string(1, c));
    }
  }
  // Marks left open in a cell close where it ends.
  if (cursiva) html += "</em>";
  if (fuerte) html += "</strong>";
  if (codigo) html += "</code>";
  return html;
}

const Explicacion* explicaHallazgo(const std::string& hallazgo) {
  const Explicacion* mejor = nullptr;
  std::size_t literal = 0;
  for (const Mensaje& fila : tablas().mensajes) {
    std::size_t largo = 0;
    for (const std::string& pieza : fila.piezas) largo += pieza.size();
    if (largo > literal && encaja(hallazgo, fila.piezas)) {
      mejor = &fila.explicacion;
      literal = largo;
    }
  }
  return mejor;
}

const Explicacion* explicaVeredicto(Veredicto veredicto) {
  for (const auto& fila : tablas().veredictos) {
    if (fila.first == formaDe(veredicto).palabra) return &fila.second;
  }
  return nullptr;
}
