// revision.html: one page with no resource of its own, readable with scripts off; a small
// inline script filters by verdict and sorts by any column.
#include "informe.h"
#include "texto.h"

namespace {

constexpr const char* kEstilo =
    R"(body { font-family: system-ui, sans-serif; margin: 1.5em; color: #222; }
h1 { font-size: 1.4em; margin: 0 0 .4em; }
.cuentas span { display: inline-block; padding: .3em .7em; margin: 0 .4em .4em 0; border-radius: .3em; }
table { border-collapse: collapse; width: 100%; min-width: 90em; table-layout: fixed; font-size: .8em; }
th, td { border: 1px solid #ccc; padding: .3em .4em; vertical-align: top; text-align: left; }
th { background: #eee; cursor: pointer; position: sticky; top: 0; }
td { overflow-wrap: anywhere; }
td.n, td.fecha { text-align: right; } td.fecha { white-space: nowrap; }
td.entrega { font-size: .9em; }
td.veredicto { font-weight: bold; white-space: nowrap; }
a.parecida { display: inline-block; margin-top: .2em; color: #a00; font-weight: bold; }
ul { margin: 0; padding-left: 1.2em; }
.nota { color: #555; font-size: .85em; }
)";

constexpr const char* kPie = R"(</tbody>
</table>
<p class="nota">«Comprobador: sí» quiere decir que el archivo tiene exactamente la forma que escribe el comprobador: es una huella, no una firma.</p>
<script>
(function () {
  var tabla = document.getElementById('entregas');
  var filtro = document.getElementById('filtro');
  var busca = document.getElementById('busca');
  filtro.hidden = false;
  busca.hidden = false;
  // A row stays when it has the verdict chosen and its number or name holds what is typed.
  var filtra = function () {
    var texto = busca.value.trim().toLocaleLowerCase('es');
    var filas = tabla.tBodies[0].rows;
    for (var i = 0; i < filas.length; i++) {
      var quien = (filas[i].cells[0].textContent + ' ' + filas[i].cells[1].textContent)
          .toLocaleLowerCase('es');
      filas[i].hidden = (filtro.value !== '' && filas[i].dataset.veredicto !== filtro.value) ||
          (texto !== '' && quien.indexOf(texto) < 0);
    }
  };
  filtro.onchange = filtra;
  busca.oninput = filtra;
  var cabeceras = tabla.tHead.rows[0].cells;
  for (var c = 0; c < cabeceras.length; c++) (function (c) {
    var subiendo = true;
    cabeceras[c].onclick = function () {
      var cuerpo = tabla.tBodies[0];
      var filas = Array.prototype.slice.call(cuerpo.rows);
      filas.sort(function (a, b) {
        var x = a.cells[c].textContent, y = b.cells[c].textContent;
        var nx = parseFloat(x), ny = parseFloat(y);
        var r = !isNaN(nx) && !isNaN(ny) ? nx - ny : x.localeCompare(y, 'es');
        return subiendo ? r : -r;
      });
      subiendo = !subiendo;
      filas.forEach(function (f) { cuerpo.appendChild(f); });
    };
  })(c);
})();
</script>
</body>
</html>
)";

}  // namespace

std::string cabezaHtml(const std::string& titulo, const char* estilo) {
  std::string html =
      "<!DOCTYPE html>\n<html lang=\"es\">\n<head>\n<meta charset=\"utf-8\">\n"
      "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\n<title>" +
      titulo + "</title>\n<style>\n" + estilo;
  // The colours of the verdicts, the same on every page.
  for (const FormaVeredicto& v : kVeredictos) {
    html += std::string(".") + v.clase + " { background: " + v.color + "; }\n";
  }
  return html + "</style>\n</head>\n<body>\n<h1>" + titulo + "</h1>\n";
}

std::string paginaHtml(const std::vector<Fila>& filas, std::optional<std::size_t> parejas) {
  const auto cuentas = cuentaVeredictos(filas);
  std::string html = cabezaHtml("Revisión de las entregas", kEstilo);
  std::size_t participantes = 0;
  for (const Fila& f : filas)
    participantes += !f.participante.numero.empty() || !f.participante.nombre.empty();
  html += "<p class=\"cuentas\">";
  if (participantes > 0) html += std::to_string(participantes) + " participantes; ";
  html += std::to_string(filas.size()) + " entregas: ";
  for (std::size_t i = 0; i < kNumeroVeredictos; ++i) {
    html += std::string("<span class=\"") + kVeredictos[i].clase + "\">" + kVeredictos[i].palabra +
            ": " + std::to_string(cuentas[i]) + "</span>";
  }
  html += "</p>\n";
  if (parejas) {
    html += "<p><a href=\"similitud.html\">Código parecido entre participantes</a>: " +
            std::to_string(*parejas) + " parejas señaladas.</p>\n";
  }
  html += "<p><select id=\"filtro\" hidden><option value=\"\">Todas</option>";
  for (const FormaVeredicto& v : kVeredictos) {
    html += std::string("<option>") + v.palabra + "</option>";
  }
  html +=
      "</select> <input id=\"busca\" type=\"search\" placeholder=\"Número o nombre\" "
      "aria-label=\"Buscar por número o nombre\" hidden></p>\n<table id=\"entregas\">\n"
      // The findings take what the other columns leave; short headers keep them wide.
      "<colgroup><col style=\"width: 4.5em\"><col style=\"width: 9em\"><col style=\"width: "
      "11em\"><col style=\"width: 7.5em\"><col style=\"width: 4.5em\"><col style=\"width: "
      "7em\"><col style=\"width: 10em\"><col style=\"width: 6em\"><col style=\"width: "
      "5em\"><col style=\"width: 3.5em\"><col style=\"width: 4em\"><col></colgroup>\n"
      "<thead><tr><th title=\"Participante\">Nº</th><th>Nombre</th><th>Entrega</th>"
      "<th>Veredicto</th><th title=\"Hecha por el comprobador\">Compr.</th><th>Fecha</th>"
      "<th>Autores</th><th>Proyecto</th><th>Fuentes</th><th title=\"Cabeceras\">Cab.</th>"
      "<th title=\"Imágenes\">Imág.</th><th>Hallazgos</th></tr></thead>\n<tbody>\n";
  for (const Fila& f : filas) {
    const Revision& r = f.revision;
    const FormaVeredicto& v = formaDe(r.veredicto);
    html += std::string("<tr data-veredicto=\"") + v.palabra + "\"><td class=\"n\">" +
            textoHtml(f.participante.numero) + "</td><td class=\"nombre\">" +
            textoHtml(f.participante.nombre) + "</td><td class=\"entrega\">" +
            textoHtml(f.entrega) +
            (f.parecida ? "<br><a class=\"parecida\" href=\"similitud.html\">código parecido</a>"
                        : "") +
            "</td><td class=\"veredicto " + v.clase + "\">" + v.palabra + "</td><td>" +
            (r.comprobador ? "sí" : "no") + "</td><td class=\"fecha\">" + textoHtml(r.fecha) +
            "</td><td class=\"autores\">" + textoHtml(r.autores) + "</td><td>" +
            textoHtml(r.proyecto) + "</td><td class=\"n\">" + cuenta(r.fuentes) +
            "</td><td class=\"n\">" + cuenta(r.cabeceras) + "</td><td class=\"n\">" +
            cuenta(r.imagenes) + "</td><td class=\"hallazgos\">";
    if (!r.hallazgos.empty()) {
      html += "<ul>";
      for (const std::string& h : r.hallazgos) html += "<li>" + textoHtml(frase(h)) + "</li>";
      html += "</ul>";
    }
    html += "</td></tr>\n";
  }
  return html + kPie;
}
