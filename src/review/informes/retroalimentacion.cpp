// The participants' feedback pages and the archive the campus imports them from.
#include "retroalimentacion.h"

#include "archivo_zip.h"
#include "guia.h"
#include "informe.h"
#include "nombres_zip.h"
#include "texto.h"

#include <set>
#include <sstream>

namespace {

constexpr const char* kEstilo =
    R"(body { font-family: system-ui, sans-serif; margin: 1.5em auto; max-width: 46em; padding: 0 1em; color: #222; line-height: 1.45; }
h1 { font-size: 1.5em; } h2 { font-size: 1.15em; margin-top: 1.6em; }
.veredicto { padding: .6em .9em; border-radius: .3em; }
ol.hallazgos > li { margin-bottom: 1em; }
.hallazgo { font-weight: bold; overflow-wrap: anywhere; }
.explicacion { margin: .3em 0; }
code { background: #f2f2f2; padding: 0 .2em; overflow-wrap: anywhere; }
.nota { color: #555; font-size: .9em; margin-top: 2em; }
)";

}  // namespace

std::string paginaDeRetroalimentacion(const Fila& f) {
  std::string html = cabezaHtml("Revisión de tu entrega", kEstilo);
  const Participante& p = f.participante;
  const Revision& r = f.revision;
  const FormaVeredicto& v = formaDe(r.veredicto);
  html += "<p>" + textoHtml(p.nombre);
  if (!p.numero.empty()) html += " (participante " + textoHtml(p.numero) + ")";
  html += ". Entrega revisada: <code>" + textoHtml(ultimoDeEntrada(f.entrega)) + "</code>.</p>\n";
  html += std::string("<p class=\"veredicto ") + v.clase + "\">Veredicto: <strong>" + v.palabra +
          "</strong>.";
  if (const Explicacion* e = explicaVeredicto(r.veredicto)) html += " " + e->significado;
  html += "</p>\n";
  if (r.hallazgos.empty()) {
    html += "<p>No hay nada que corregir.</p>\n";
  } else {
    html += "<h2>Lo que hay que revisar</h2>\n<ol class=\"hallazgos\">\n";
    for (const std::string& h : r.hallazgos) {
      html += "<li><p class=\"hallazgo\">" + textoHtml(frase(h)) + "</p>";
      if (const Explicacion* e = explicaHallazgo(frase(h))) {
        html += "<p class=\"explicacion\"><strong>Qué significa:</strong> " + e->significado +
                "</p><p class=\"explicacion\"><strong>Cómo se arregla:</strong> " + e->arreglo +
                "</p>";
      }
      html += "</li>\n";
    }
    html += "</ol>\n";
  }
  html += "<h2>Lo que entrega el comprobador</h2>\n";
  if (r.entregados.empty()) {
    html += "<p>Nada: sin proyecto no se puede saber qué entregaría.</p>\n";
  } else {
    html += "<ul>\n";
    for (const std::string& e : r.entregados)
      html += "<li><code>" + textoHtml(e) + "</code></li>\n";
    html += "</ul>\n";
  }
  html +=
      "<p class=\"nota\">Esta revisión aplica las reglas del comprobador a lo que has entregado "
      "en el campus. Las explicaciones son las de su guía para estudiantes.</p>\n</body>\n"
      "</html>\n";
  return html;
}

std::optional<std::string> entradaDeRetroalimentacion(const Fila& f) {
  const Participante& p = f.participante;
  if (!p.moodle || p.numero.empty()) return std::nullopt;
  // The importer splits the first component at "_" and takes its second part for the number:
  // the name may hold none. The campus's own zip writer made each of them of a character a
  // name may hold; a space reads as well to the teacher, and the name may be empty.
  std::string nombre = legible(p.nombre);
  for (char& c : nombre) {
    if (c == '_') c = ' ';
  }
  return nombre + "_" + p.numero + "_assignfeedback_file/revision.html";
}

plataforma::Resultado<void> escribeRetroalimentacion(const std::string& ruta,
                                                     const std::vector<Fila>& filas) {
  // Whatever part of the writing fails, the archive is what could not be written.
  const auto falla = [&ruta](const plataforma::Resultado<void>& hecho) {
    return plataforma::Fallo{"No se ha podido escribir", ruta, hecho.error().razon,
                             plataforma::Alcance::todo};
  };
  ArchivoZip archivo;
  plataforma::Resultado<void> hecho = archivo.crea(ruta);
  if (!hecho) return falla(hecho);
  std::set<std::string> escritas;
  for (const Fila& f : filas) {
    const std::optional<std::string> nombre = entradaDeRetroalimentacion(f);
    // A participant found in two inputs gets one page: the first in the report's order.
    if (!nombre || !escritas.insert(*nombre).second) continue;
    std::istringstream pagina(paginaDeRetroalimentacion(f));
    hecho = archivo.escribeEntrada(nombre->c_str(), pagina);
    if (!hecho) return falla(hecho);
  }
  hecho = archivo.cierra();
  if (!hecho) return falla(hecho);
  return {};
}
