// The reports of the comparison: a table for spreadsheets, a page for reading and for an exam
// board, both of what a student wrote as data only.
#include "similitud.h"

#include "informe.h"
#include "texto.h"
#include "utf8.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <set>

namespace {

constexpr const char* kEstilo =
    R"(body { font-family: system-ui, sans-serif; margin: 1.5em; color: #222; }
h1 { font-size: 1.4em; } h2 { font-size: 1.15em; margin-top: 1.8em; }
table { border-collapse: collapse; font-size: .9em; }
th, td { border: 1px solid #ccc; padding: .3em .5em; text-align: left; vertical-align: top; }
th { background: #eee; } td.n { text-align: right; }
.nota { color: #555; max-width: 60em; }
.aviso { font-weight: bold; color: #a00; }
.barra { display: inline-block; height: .9em; background: #7a9cc6; vertical-align: middle; }
.lados { display: grid; grid-template-columns: 1fr 1fr; gap: 1em; }
.lado h3 { font-size: 1em; margin: .8em 0 .3em; overflow-wrap: anywhere; }
pre { font-size: .8em; background: #fafafa; border: 1px solid #ddd; padding: .4em; overflow-x: auto; margin: 0; }
pre a { color: inherit; text-decoration: none; display: block; }
pre a:target { outline: 2px solid #333; }
.num { color: #999; display: inline-block; width: 3.5em; text-align: right; margin-right: .8em; user-select: none; }
.f0 { background: #ffe08a; } .f1 { background: #b5e3b5; } .f2 { background: #b9d4f5; }
.f3 { background: #f5c0c0; } .f4 { background: #d9c4ef; } .f5 { background: #f9d0a8; }
.f6 { background: #bde5e8; } .f7 { background: #e3e3a6; }
)";
constexpr std::size_t kColores = 8;
constexpr std::size_t kTabulador = 4;

std::string numero(const std::size_t n) { return std::to_string(n); }

// Who a participant is, as the page names them: number and name where the campus gave them,
// and the submission's path.
std::string quienHtml(const Similitudes& s, std::size_t i) {
  const Fila& f = *s.participantes[i];
  std::string texto;
  if (!f.participante.nombre.empty() || !f.participante.numero.empty()) {
    texto += textoHtml(f.participante.nombre);
    if (!f.participante.numero.empty()) texto += " (" + textoHtml(f.participante.numero) + ")";
    texto += "<br>";
  }
  texto += "<small>" + textoHtml(f.entrega) + "</small>";
  if (s.anteriores[i]) texto += " <small>(año anterior)</small>";
  return texto;
}

std::string porcentaje(std::size_t parte, std::size_t todo) {
  return todo == 0 ? "0" : numero(parte * 100 / todo);
}

/// A file's lines as text of the page, made once for every pair that shows it: tabs as spaces,
/// no carriage return, every control character and byte that is not UTF-8 as U+FFFD, escaped.
struct Lineas {
  std::string html;                  // every line, one after the other
  std::vector<std::size_t> inicios;  // where each line starts in it; one more, its end

  std::size_t size() const { return inicios.size() - 1; }
  std::string_view operator[](std::size_t i) const {
    return std::string_view(html).substr(inicios[i], inicios[i + 1] - inicios[i]);
  }
};

Lineas lineasHtml(const std::string& texto) {
  const std::string utf8 = plataforma::conReemplazos(texto);
  Lineas lineas;
  std::string& linea = lineas.html;
  linea.reserve(utf8.size() + utf8.size() / 8);
  lineas.inicios.push_back(0);
  std::size_t columna = 0;
  for (std::size_t i = 0; i < utf8.size(); ++i) {
    const auto c = static_cast<unsigned char>(utf8[i]);
    if (c == '\n') {
      lineas.inicios.push_back(linea.size());
      columna = 0;
      continue;
    }
    if (c == '\r') continue;
    if (c == '\t') {
      const std::size_t espacios = kTabulador - columna % kTabulador;
      linea.append(espacios, ' ');
      columna += espacios;
      continue;
    }
    if ((c & 0xC0) != 0x80) ++columna;
    if (c < 0x20 || c == 0x7F ||
        (c == 0xC2 && i + 1 < utf8.size() && static_cast<unsigned char>(utf8[i + 1]) < 0xA0)) {
      // C0, DEL, and the C1 controls U+0080 to U+009F, which some terminals obey.
      linea += "\xEF\xBF\xBD";
      if (c == 0xC2) ++i;
    } else if (c == '&' || c == '<' || c == '>' || c == '"' || c == '\'') {
      linea += escapaHtml(std::string(1, static_cast<char>(c)));
    } else {
      linea += static_cast<char>(c);
    }
  }
  lineas.inicios.push_back(linea.size());
  return lineas;
}

/// The lines of every file shown, by participant and file.
using Vistos = std::map<std::pair<std::size_t, std::size_t>, Lineas>;

const Tramo& lado(const Fragmento& f, bool a) { return a ? f.a : f.b; }

// One file of one side of pair `par`, each line in the first shared fragment that holds it;
// a fragment's lines link to where the other side has them.
std::string archivoHtml(const std::string& nombre, const Lineas& lineas, std::size_t indice,
                        const Par& p, std::size_t par, bool a) {
  const std::string yo = "p" + numero(par) + (a ? "a" : "b");
  const std::string otro = "p" + numero(par) + (a ? "b" : "a");
  const std::size_t ninguno = p.fragmentos.size();
  std::vector<std::size_t> de(lineas.size() + 1, ninguno);  // each line's fragment
  for (std::size_t k = p.fragmentos.size(); k-- > 0;) {
    const Tramo& t = lado(p.fragmentos[k], a);
    if (t.archivo != indice) continue;
    for (std::size_t l = t.desde; l <= std::min(t.hasta, lineas.size()); ++l) de[l] = k;
  }
  std::string html = "<h3>" + textoHtml(nombre) + "</h3>\n<pre>";
  std::vector<bool> anclado(p.fragmentos.size());
  std::size_t abierto = ninguno;  // the fragment whose link is open, if any
  for (std::size_t l = 1; l <= lineas.size(); ++l) {
    const std::size_t k = de[l];
    if (k != abierto) {
      if (abierto != ninguno) html += "</a>";
      if (k != ninguno) {
        html += "<a class=\"f" + numero(k % kColores) + "\" href=\"#" + otro + numero(k) + "\"";
        if (!anclado[k]) html += " id=\"" + yo + numero(k) + "\"";
        anclado[k] = true;
        html += " title=\"Fragmento " + numero(k + 1) + "\">";
      }
      abierto = k;
    }
    html += "<span class=\"num\">" + numero(l) + "</span>";
    html += lineas[l - 1];
    html += '\n';
  }
  if (abierto != ninguno) html += "</a>";
  return html + "</pre>\n";
}

// The files of one side that hold a shared fragment, whole.
std::string ladoHtml(const Similitudes& s, const Par& p, std::size_t par, bool a, Vistos& vistos) {
  const std::size_t quien = a ? p.a : p.b;
  const std::vector<ArchivoFuente>& codigo = s.participantes[quien]->revision.codigo;
  std::set<std::size_t> archivos;
  for (const Fragmento& fragmento : p.fragmentos) archivos.insert(lado(fragmento, a).archivo);
  std::string html = "<div class=\"lado\">";
  for (const std::size_t i : archivos) {
    if (i >= codigo.size()) continue;
    auto visto = vistos.find({quien, i});
    if (visto == vistos.end())
      visto = vistos.emplace(std::make_pair(quien, i), lineasHtml(codigo[i].texto)).first;
    html += archivoHtml(codigo[i].nombre, visto->second, i, p, par, a);
  }
  return html + "</div>\n";
}

std::string filaDePar(const Similitudes& s, const Par& p, std::size_t par) {
  std::string html = "<tr><td>" + quienHtml(s, p.a) + "</td><td>" + quienHtml(s, p.b) +
                     "</td><td class=\"n\">" + numero(static_cast<std::size_t>(p.similitud)) +
                     " %</td><td class=\"n\">" + numero(p.fragmento) + "</td><td class=\"n\">" +
                     numero(p.lineasA) + "</td><td class=\"n\">" + numero(p.lineasB) + "</td>";
  if (p.aviso) html += "<td><a href=\"#par" + numero(par) + "\">Ver lado a lado</a></td>";
  return html + "</tr>\n";
}

const char* const kCabeceraPares =
    "<tr><th>Participante</th><th>Participante</th><th>Similitud</th><th title=\"El fragmento "
    "compartido más largo, en líneas\">Fragmento</th><th title=\"Líneas de código comparadas "
    "del primero, sin la plantilla\">Líneas del primero</th><th title=\"Líneas de código "
    "comparadas del segundo, sin la plantilla\">Líneas del segundo</th>";

// How the scores of every pair compared spread: pairs under 10 are counted, not listed.
std::string distribucion(const Similitudes& s) {
  std::size_t actuales = 0, anteriores = 0;
  for (const bool anterior : s.anteriores) (anterior ? anteriores : actuales) += 1;
  const std::size_t todas =
      actuales * (actuales - std::min<std::size_t>(actuales, 1)) / 2 + actuales * anteriores;
  std::size_t cuentas[10] = {};
  for (const Par& p : s.comparacion.pares) {
    ++cuentas[std::min<std::size_t>(static_cast<std::size_t>(p.similitud) / 10, 9)];
  }
  cuentas[0] += todas - std::min(todas, s.comparacion.pares.size());
  const std::size_t mayor = *std::max_element(std::begin(cuentas), std::end(cuentas));
  std::string html = "<table><tr><th>Similitud</th><th>Parejas</th><th></th></tr>\n";
  for (std::size_t i = 0; i < 10; ++i) {
    // On a logarithmic scale: most pairs share little, and the few that do must show.
    const double ancho =
        mayor == 0 ? 0 : 20 * std::log10(1.0 + cuentas[i]) / std::log10(1.0 + mayor);
    html += "<tr><td>" + numero(i * 10) + "–" + numero(i == 9 ? 100 : i * 10 + 9) +
            " %</td><td class=\"n\">" + numero(cuentas[i]) +
            "</td><td><span class=\"barra\" style=\"width: " + std::to_string(ancho) +
            "em\"></span></td></tr>\n";
  }
  return html + "</table>\n";
}

}  // namespace

std::size_t avisos(const Similitudes& s) {
  return static_cast<std::size_t>(std::count_if(s.comparacion.pares.begin(),
                                                s.comparacion.pares.end(),
                                                [](const Par& p) { return p.aviso; }));
}

std::string tablaSimilitud(const Similitudes& s) {
  std::string csv =
      "\xEF\xBB\xBF"
      "participante_a;nombre_a;entrega_a;participante_b;nombre_b;entrega_b;similitud;fragmento;"
      "lineas_a;lineas_b;aviso\r\n";
  const auto quien = [&s](std::size_t i) {
    const Fila& f = *s.participantes[i];
    return campoCsv(legible(f.participante.numero)) + ";" +
           campoCsv(legible(f.participante.nombre)) + ";" + campoCsv(legible(f.entrega));
  };
  for (const Par& p : s.comparacion.pares) {
    csv += quien(p.a) + ";" + quien(p.b) + ";" + numero(static_cast<std::size_t>(p.similitud)) +
           ";" + numero(p.fragmento) + ";" + numero(p.lineasA) + ";" + numero(p.lineasB) + ";" +
           (p.aviso ? "sí" : "no") + "\r\n";
  }
  return csv;
}

std::string paginaSimilitud(const Similitudes& s) {
  const Comparacion& c = s.comparacion;
  std::string html = cabezaHtml("Código parecido entre participantes", kEstilo);
  std::size_t anteriores = 0;
  for (const bool anterior : s.anteriores) anteriores += anterior;
  html += "<p>" + numero(s.participantes.size() - anteriores) + " participantes comparados";
  if (anteriores > 0) html += ", y " + numero(anteriores) + " de años anteriores";
  html += ". <span class=\"aviso\">" + numero(avisos(s)) + " parejas señaladas</span>, " +
          numero(c.grupos.size()) + " grupos de tres o más.</p>\n<p>" +
          (s.plantillaDada ? "La plantilla dada (--plantilla) "
                           : "Lo que comparten más de la mitad de los participantes, tomado por "
                             "plantilla, ") +
          "se ha dejado fuera de cada comparación: " + numero(c.lineasComunes) + " de " +
          numero(c.lineasTotales) + " líneas de código (" +
          porcentaje(c.lineasComunes, c.lineasTotales) + " %).</p>\n";
  html +=
      "<p class=\"nota\">La similitud es la parte del código de los dos, sin la plantilla, que "
      "comparten: un cambio de nombres, de formato o de comentarios, o un bucle escrito de otro "
      "modo, no la cambia. Una pareja se señala con " +
      numero(static_cast<std::size_t>(kSimilitudAviso)) + " % o más, si lo que comparten llega a " +
      numero(kCompartidoAviso) + " líneas, o con un fragmento compartido de " +
      numero(kFragmentoAviso) +
      " líneas o más. Una pareja señalada es un motivo para mirar su código, no una prueba de "
      "copia: un ejercicio muy guiado, o una solución de clase, también se parecen.</p>\n";

  html += "<h2>Parejas señaladas</h2>\n";
  if (avisos(s) == 0) {
    html += "<p>Ninguna.</p>\n";
  } else {
    html += "<table>" + std::string(kCabeceraPares) + "<th></th></tr>\n";
    for (std::size_t i = 0; i < c.pares.size(); ++i) {
      if (c.pares[i].aviso) html += filaDePar(s, c.pares[i], i);
    }
    html += "</table>\n";
  }
  if (!c.grupos.empty()) {
    html += "<h2>Grupos</h2>\n<p>Participantes unidos por parejas señaladas:</p>\n<ul>\n";
    for (const std::vector<std::size_t>& grupo : c.grupos) {
      html += "<li>";
      for (std::size_t i = 0; i < grupo.size(); ++i) {
        html += (i > 0 ? "; " : "") + quienHtml(s, grupo[i]);
      }
      html += "</li>\n";
    }
    html += "</ul>\n";
  }
  html += "<h2>Distribución de la similitud</h2>\n" + distribucion(s);
  if (c.pares.size() > avisos(s)) {
    html += "<h2>Otras parejas, de " + numero(static_cast<std::size_t>(kSimilitudListada)) +
            " % o más</h2>\n<table>" + kCabeceraPares + "</tr>\n";
    for (std::size_t i = 0; i < c.pares.size(); ++i) {
      if (!c.pares[i].aviso) html += filaDePar(s, c.pares[i], i);
    }
    html += "</table>\n";
  }
  Vistos vistos;
  for (std::size_t i = 0; i < c.pares.size(); ++i) {
    const Par& p = c.pares[i];
    if (!p.aviso) continue;
    html += "<h2 id=\"par" + numero(i) + "\">" + numero(static_cast<std::size_t>(p.similitud)) +
            " %, fragmento más largo de " + numero(p.fragmento) +
            " líneas</h2>\n<div class=\"lados\"><div>" + quienHtml(s, p.a) + "</div><div>" +
            quienHtml(s, p.b) + "</div>\n" + ladoHtml(s, p, i, true, vistos) +
            ladoHtml(s, p, i, false, vistos) + "</div>\n";
  }
  return html + "</body>\n</html>\n";
}
