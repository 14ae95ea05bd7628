// The copy detection: the lexer's odd inputs, the disguises it sees through, and what the
// comparison leaves out (the template, what most share, earlier years among themselves).
#include "similitud.h"

#include "lexico.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

namespace {

// Tokens as "kind:line:text" (literals without their text), one space between them.
std::string lexemas(const std::string& texto) {
  std::string r;
  for (const Lexema& l : lexemasDe(texto)) {
    const char* clases = "INCAPO";
    r += (r.empty() ? "" : " ") + std::string(1, clases[static_cast<int>(l.clase)]) + ":" +
         std::to_string(l.linea);
    if (l.clase == ClaseLexica::identificador || l.clase == ClaseLexica::puntuacion) {
      r += ":" + std::string(l.texto);
    }
  }
  return r;
}

TEST(Similitud, Lexico) {
  const struct {
    const char* nombre;
    std::string texto;
    const char* lexemas;
  } filas[] = {
      {"vacío", "", ""},
      {"solo directivas", "#include <a>\n  # define X 1 \\\n 2\n%:pragma once\n#", ""},
      {"directiva con comentario de varias líneas", "#define A /* x\n y */ b\nc", "I:3:c"},
      {"fines de línea", "a\r\nb\rc\nd", "I:1:a I:2:b I:3:c I:4:d"},
      {"marca de orden de bytes", "\xEF\xBB\xBFx", "I:1:x"},
      {"comentario con continuación", "// a \\\n b\nc", "I:3:c"},
      {"comentario sin cerrar", "a /* b\n c", "I:1:a"},
      {"cadena sin cerrar acaba en su línea", "\"ab\\\"c\nx", "C:1 I:2:x"},
      {"cadena con escapes y prefijos", "u8\"\\\\\" L'\\'' U\"a\" z", "C:1 A:1 C:1 I:1:z"},
      {"cadena cruda con delimitador", "R\"x(a)\"b\n)x\" y", "C:1 I:2:y"},
      {"cadena cruda sin cerrar", "LR\"(abc\n", "C:1"},
      {"delimitador no válido: cadena normal", "R\"a b(x)a b\" y", "C:1 I:1:y"},
      {"números", "0x1F'FF 1.5e-3f .5 0b10u 1'000 a'b'", "N:1 N:1 N:1 N:1 N:1 I:1:a A:1"},
      {"dígrafos", "a<:1:> <%%> %:", "I:1:a P:1:[ N:1 P:1:] P:1:{ P:1:} P:1:#"},
      {"<:: es < y ::", "a<::b", "I:1:a P:1:< P:1::: I:1:b"},
      {"el más largo", "a<<=b->*c...d", "I:1:a P:1:<<= I:1:b P:1:->* I:1:c P:1:... I:1:d"},
      {"bytes que no son texto", std::string("\x00\xff\x01@", 4), "O:1 I:1:\xff O:1 O:1"},
  };
  for (const auto& fila : filas) {
    SCOPED_TRACE(fila.nombre);
    EXPECT_EQ(lexemas(fila.texto), fila.lexemas);
  }
}

// A participant of one file.
Huellas de(const std::string& texto) { return huellasDe({{"Juego/Juego.cpp", texto}}); }

int similitud(const std::string& a, const std::string& b) {
  const Comparacion c = compara({de(a), de(b)}, {}, nullptr);
  return c.pares.empty() ? 0 : c.pares[0].similitud;
}

const char* const kOriginal = R"(#include <vector>
#include <iostream>
using namespace std;

int puntos(const vector<int>& tabla) {
  int total = 0;
  for (int i = 0; i < (int)tabla.size(); i++) {
    if (tabla[i] > 10) {
      total = total + tabla[i] * 2;
    } else {
      total += 1;
    }
  }
  return total;
}

void mueve(Enemigo& e, float dt, float limite) {
  e.x += e.vx * dt;
  if (e.x < 0 || e.x > limite) {
    e.vx = -e.vx;
    std::cout << "rebota " << e.x << std::endl;
  }
  while (e.vida > 0 && e.tiempo > 3.5f) {
    e.tiempo -= 3.5f;
    e.vida--;
  }
}

bool choca(const Rect& a, const Rect& b) {
  if (a.x + a.ancho < b.x || b.x + b.ancho < a.x) return false;
  return a.y < b.y + b.alto && b.y < a.y + a.alto;
}
)";

std::string sustituye(std::string texto,
                      const std::vector<std::pair<std::string, std::string>>& cambios) {
  for (const auto& [de, a] : cambios) {
    for (std::size_t i = texto.find(de); i != std::string::npos; i = texto.find(de, i + a.size())) {
      texto.replace(i, de.size(), a);
    }
  }
  return texto;
}

// The same functions, the last first: blocks between blank lines, the includes kept first.
std::string alReves(const std::string& texto) {
  std::vector<std::string> bloques;
  for (std::size_t i = 0, j; i < texto.size(); i = j + 2) {
    j = std::min(texto.find("\n\n", i), texto.size());
    bloques.push_back(texto.substr(i, j - i) + "\n");
  }
  std::string r = bloques[0];
  for (std::size_t k = bloques.size(); k-- > 1;) r += "\n" + bloques[k];
  return r;
}

TEST(Similitud, Disfraces) {
  const std::string o = kOriginal;
  const struct {
    const char* nombre;
    std::string copia;
    int minimo, maximo;
  } filas[] = {
      {"idéntica", o, 100, 100},
      {"maquetación y comentarios",
       sustituye(o, {{"{\n", "\n{ // abre\n"}, {"  ", "\t"}, {";", " ;\n"}, {"(", " ( "}}), 100,
       100},
      {"nombres cambiados",
       sustituye(o, {{"total", "suma"},
                     {"tabla", "v"},
                     {"Enemigo", "Malo"},
                     {"choca", "f"},
                     {"limite", "tope"},
                     {"vida", "hp"},
                     {".x", ".px"},
                     {"mueve", "paso"}}),
       100, 100},
      {"literales cambiados",
       sustituye(o, {{"10", "20"}, {"3.5f", "2.0"}, {"\"rebota \"", "\"bounce: \""}}), 100, 100},
      {"std:: al revés",
       sustituye(o, {{"using namespace std;", ""},
                     {"vector", "std::vector"},
                     {"std::cout", "cout"},
                     {"std::endl", "endl"}}),
       100, 100},
      {"for como while",
       sustituye(o, {{"for (int i = 0; i < (int)tabla.size(); i++) {",
                      "int i = 0;\n  while (i < (int)tabla.size()) {"},
                     {"      total += 1;\n    }\n", "      total += 1;\n    }\n    i++;\n"}}),
       100, 100},
      {"incrementos de otra forma",
       sustituye(o, {{"i++", "i += 1"},
                     {"total = total + tabla[i] * 2", "total += tabla[i] * 2"},
                     {"e.x += e.vx * dt", "e.x = e.x + e.vx * dt"},
                     {"e.vida--", "--e.vida"}}),
       100, 100},
      {"paréntesis de más y conversiones",
       sustituye(o, {{"(int)tabla.size()", "static_cast<int>(tabla.size())"},
                     {"tabla[i] * 2", "(tabla[i] * 2)"},
                     {"return a.y", "return (a.y)"},
                     {"e.vx * dt", "((float)e.vx * dt)"}}),
       100, 100},
      {"if con la condición negada y las ramas al revés",
       sustituye(o,
                 {{"if (tabla[i] > 10) {\n      total = total + tabla[i] * 2;\n    } else {\n      "
                   "total += 1;\n    }",
                   "if (tabla[i] <= 10) {\n      total += 1;\n    } else {\n      total = total + "
                   "tabla[i] * 2;\n    }"}}),
       100, 100},
      {"funciones en otro orden", alReves(o), 70, 99},
      {"código muerto insertado",
       sustituye(o, {{"  int total = 0;\n", "  int total = 0;\n  int sinUso = 7;\n"},
                     {"    e.vx = -e.vx;\n", "    e.vx = -e.vx;\n    if (false) return;\n"}}),
       60, 97},
      {"otro programa",
       "int main() {\n  std::string s;\n  while (std::getline(std::cin, s)) {\n    if (s.empty()) "
       "continue;\n    std::cout << s.size() << '\\n';\n  }\n  return 0;\n}\n",
       0, 9},
  };
  for (const auto& fila : filas) {
    SCOPED_TRACE(fila.nombre);
    const int s = similitud(o, fila.copia);
    EXPECT_GE(s, fila.minimo);
    EXPECT_LE(s, fila.maximo);
  }
}

// Three more programs, each unlike the others, and a template they could all be built on.
const char* const kMenu = R"(void Juego::teclas() {
  if (teclaNueva(TECLA_ARRIBA)) opcion = (opcion + 2) % 3;
  if (teclaNueva(TECLA_ABAJO)) opcion = (opcion + 1) % 3;
  if (!teclaNueva(TECLA_ENTER)) return;
  switch (opcion) {
    case 0: nuevaPartida(); break;
    case 1: estado = RECORDS; break;
    default: enMarcha_ = false;
  }
}
void Juego::dibujaMenu() const {
  const char* textos[] = {"Jugar", "Records", "Salir"};
  for (int k = 0; k < 3; ++k) dibujaTexto(textos[k], 300, 200 + k * 40, k == opcion ? ROJO : BLANCO);
}
)";
const char* const kFichero = R"(bool Nivel::carga(const std::string& ruta) {
  std::ifstream f(ruta);
  if (!f) return false;
  mapa.clear();
  std::string linea;
  while (std::getline(f, linea)) {
    if (!linea.empty() && linea.back() == '\r') linea.pop_back();
    mapa.push_back(linea);
  }
  alto = mapa.size();
  ancho = alto ? mapa[0].size() : 0;
  return alto > 0;
}
)";
const char* const kOrden = R"(void Marcador::anota(int valor) {
  tabla.push_back(valor);
  for (std::size_t a = 1; a < tabla.size(); ++a) {
    int clave = tabla[a];
    int b = a - 1;
    while (b >= 0 && tabla[b] < clave) { tabla[b + 1] = tabla[b]; --b; }
    tabla[b + 1] = clave;
  }
  if (tabla.size() > 10) tabla.resize(10);
  std::ofstream f("records.txt");
  for (int v : tabla) f << v << '\n';
}
)";
const char* const kPlantilla = R"(int aleatorio(int minimo, int maximo) {
  std::uniform_int_distribution<int> reparto(minimo, maximo);
  return reparto(generador);
}
bool Rect::intersecta(const Rect& otro) const {
  return x < otro.x + otro.ancho && otro.x < x + ancho && y < otro.y + otro.alto && otro.y < y + alto;
}
void Juego::dibuja() {
  limpiaPantalla(NEGRO);
  for (int i = 0; i < cuantos; i++) dibujaImagen(imagenes[i], 10 + i * 40, 10);
  muestraPantalla();
}
)";

TEST(Similitud, Comparacion) {
  const std::string o = kOriginal, t = kPlantilla;
  const std::string renombrado = sustituye(o, {{"total", "suma"}, {"tabla", "v"}});
  using Pares = std::vector<std::pair<std::size_t, std::size_t>>;
  const struct {
    const char* nombre;
    std::vector<std::string> participantes;
    std::vector<bool> anteriores;
    bool conPlantilla;
    Pares pares;  // listed, every one flagged
    std::vector<std::vector<std::size_t>> grupos;
    bool deducida;
  } filas[] = {
      {"solo comparten la plantilla", {t + kMenu, kFichero + t}, {}, true, {}, {}, false},
      {"plantilla deducida de lo que comparten todos",
       {t + kMenu, kFichero + t, t + kOrden},
       {},
       false,
       {},
       {},
       true},
      {"la copia de la plantilla no cuenta",
       {t + o, t + renombrado, kMenu},
       {},
       true,
       {{0, 1}},
       {},
       false},
      {"un grupo de tres",
       {o, kMenu, renombrado, kFichero, alReves(o), kOrden},
       {},
       false,
       {{0, 2}, {0, 4}, {2, 4}},
       {{0, 2, 4}},
       false},
      {"con la plantilla, la mayoría de una clase pequeña es un grupo de copias",
       {t + o, t + renombrado, t + alReves(o), t + kMenu},
       {},
       true,
       {{0, 1}, {0, 2}, {1, 2}},
       {{0, 1, 2}},
       false},
      {"los de años anteriores solo con los de este",
       {o, renombrado, alReves(o), kMenu},
       {false, true, true, false},
       false,
       {{0, 1}, {0, 2}},
       {{0, 1, 2}},
       false},
  };
  for (const auto& fila : filas) {
    SCOPED_TRACE(fila.nombre);
    std::vector<Huellas> participantes;
    for (const std::string& p : fila.participantes) participantes.push_back(de(p));
    const Huellas plantilla = huellasDePlantilla({{"Juego/Juego.cpp", t}});
    const Comparacion c =
        compara(participantes, fila.anteriores, fila.conPlantilla ? &plantilla : nullptr);
    Pares pares;
    for (const Par& p : c.pares) {
      pares.emplace_back(p.a, p.b);
      EXPECT_TRUE(p.aviso) << p.a << "-" << p.b;
    }
    std::sort(pares.begin(), pares.end());
    EXPECT_EQ(pares, fila.pares);
    EXPECT_EQ(c.grupos, fila.grupos);
    EXPECT_EQ(c.plantillaDeducida, fila.deducida);
  }
}

}  // namespace
