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
  html += "<p>" + textoHtml(p.nombre);
  if (!p.numero.empty()) html += " (participante " + textoHtml(p.numero) + ")";
  html += ". Entrega revisada: <code>" + textoHtml(ultimoDeEntrada(f.entrega)) + "</code>.</p>\n";
  html += std::string("<p class=\"veredicto ") + claseDe(f.veredicto) + "\">Veredicto: <strong>" +
          palabra(f.veredicto) + "</strong>.";
  if (const Explicacion* e = explicaVeredicto(f.veredicto)) html += " " + e->significado;
  html += "</p>\n";
  if (f.hallazgos.empty()) {
    html += "<p>No hay nada que corregir.</p>\n";
  } else {
    html += "<h2>Lo que hay que revisar</h2>\n<ol class=\"hallazgos\">\n";
    for (const std::string& h : f.hallazgos) {
      html += "<li><p class=\"hallazgo\">" + textoHtml(h) + "</p>";
      if (const Explicacion* e = explicaHallazgo(h)) {
        html += "<p class=\"explicacion\"><strong>Qué significa:</strong> " + e->significado +
                "</p><p class=\"explicacion\"><strong>Cómo se arregla:</strong> " + e->arreglo +
                "</p>";
      }
      html += "</li>\n";
    }
    html += "</ol>\n";
  }
  html += "<h2>Lo que entrega el comprobador</h2>\n";
  if (f.entregados.empty()) {
    html += "<p>Nada: sin proyecto no se puede saber qué entregaría.</p>\n";
  } else {
    html += "<ul>\n";
    for (const std::string& e : f.entregados)
      html += "<li><code>" + textoHtml(e) + "</code></li>\n";
    html += "</ul>\n";
  }
  html +=
      "<p class=\"nota\">Esta revisión aplica las reglas del comprobador a lo que has entregado "
      "en el campus. Las explicaciones son las de su guía para estudiantes.</p>\n</body>\n"
      "</html>\n";
  return html;
}

std::string entradaDeRetroalimentacion(const Fila& f) {
  const Participante& p = f.participante;
  if (!p.moodle || p.numero.empty() || p.nombre.empty()) return {};
  // The importer splits the first component at "_": name, number, "assignfeedback", "file".
  return legible(p.nombre) + "_" + p.numero + "_assignfeedback_file/revision.html";
}

bool escribeRetroalimentacion(const std::string& ruta, const std::vector<Fila>& filas,
                              plataforma::Fallo& fallo) {
  fallo.texto = "No se ha podido escribir " + ruta;
  ArchivoZip archivo;
  if (!archivo.crea(ruta)) return false;
  std::set<std::string> escritas;
  for (const Fila& f : filas) {
    const std::string nombre = entradaDeRetroalimentacion(f);
    // A participant found in two inputs gets one page: the first in the report's order.
    if (nombre.empty() || !escritas.insert(nombre).second) continue;
    std::istringstream pagina(paginaDeRetroalimentacion(f));
    if (!archivo.escribeEntrada(nombre.c_str(), pagina)) return false;
  }
  if (!archivo.cierra()) return false;
  fallo.texto.clear();
  return true;
}
