// The lexer of C++ sources for the comparison: any bytes in, tokens with their lines out.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

enum class ClaseLexica : std::uint8_t {
  identificador,  // keywords too: the normalisation tells them apart
  numero,
  cadena,  // with its prefix; raw strings too
  caracter,
  puntuacion,  // operators and punctuators, digraphs in their usual form
  otro,        // any other byte, alone
};

struct Lexema {
  ClaseLexica clase = ClaseLexica::otro;
  bool clave = false;       // an identifier that is a keyword
  std::string_view texto;   // into the source, or a static text for what it stands for
  std::uint32_t linea = 0;  // 1-based, where the token starts
};

bool esPalabraClave(std::string_view texto);

/// The tokens of `texto`, without comments, layout or preprocessor lines (they are
/// boilerplate more than code). Never fails and never reads past the text: an unterminated
/// comment or raw string runs to the end, an unterminated string or character literal to the
/// end of its line. `\r\n`, `\n` and a lone `\r` each end a line. The tokens point into
/// `texto`, which must outlive them.
std::vector<Lexema> lexemasDe(std::string_view texto);
/// The same into `salida`, whose room is kept.
void lexemasDe(std::string_view texto, std::vector<Lexema>& salida);
