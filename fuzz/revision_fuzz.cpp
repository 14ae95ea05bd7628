// libFuzzer target: the input is one submission (a ZIP archive), reviewed as an input given
// directly and as the one entry of a campus archive built around it, both in memory, through
// the calls the program makes; then both reports are written. Besides the sanitizers'
// findings, it aborts when a row or a report breaks what the review promises of it.
#include "comparacion_filas.h"
#include "entradas.h"
#include "filas.h"
#include "informe.h"
#include "retroalimentacion.h"
#include "utf8.h"

#include <zlib.h>

#include <algorithm>
#include <cctype>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <memory>
#include <string>
#include <vector>

namespace {

// The name the campus's "download all submissions" gives a student's file.
constexpr const char* kEntradaCampus = "Nombre Apellido_1234_assignsubmission_file/entrega.zip";
constexpr const char* kCabeceraCsv =
    "participante;nombre;entrega;veredicto;comprobador;fecha;autores;proyecto;fuentes;cabeceras;"
    "imagenes;hallazgos";

// Control characters other than the line break made visible, so that the message shows
// what broke.
std::string visible(const std::string& texto) {
  std::string salida;
  for (const char c : texto.substr(0, 4000)) {
    const auto u = static_cast<unsigned char>(c);
    if ((u < 0x20 && u != '\n') || u == 0x7F) {
      char hex[8];
      std::snprintf(hex, sizeof hex, "\\x%02X", u);
      salida += hex;
    } else {
      salida += c;
    }
  }
  return texto.size() > 4000 ? salida + "..." : salida;
}

[[noreturn]] void falla(const std::string& por, const std::string& texto) {
  std::fprintf(stderr, "\n*** %s: [%s]\n", por.c_str(), visible(texto).c_str());
  std::abort();
}

void pon(std::string& s, std::uint32_t valor, int bytes) {
  for (int i = 0; i < bytes; ++i) s += static_cast<char>(valor >> (8 * i) & 0xFF);
}

std::string deflactado(const std::string& datos) {
  // One stream for every run: its window and tables are allocated once.
  static z_stream flujo{};
  static const bool iniciado =
      deflateInit2(&flujo, 9, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY) == Z_OK;
  if (!iniciado || deflateReset(&flujo) != Z_OK) falla("deflateInit2", "");
  std::string salida(deflateBound(&flujo, static_cast<uLong>(datos.size())), '\0');
  flujo.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(datos.data()));
  flujo.avail_in = static_cast<uInt>(datos.size());
  flujo.next_out = reinterpret_cast<Bytef*>(salida.data());
  flujo.avail_out = static_cast<uInt>(salida.size());
  if (deflate(&flujo, Z_FINISH) != Z_STREAM_END) falla("deflate", "");
  salida.resize(flujo.total_out);
  return salida;
}

// A campus archive with the submission as its one entry, stored or deflated: well formed,
// so that whatever its row says comes from the submission itself.
std::string campus(const std::string& entrega, bool deflacta) {
  const std::string datos = deflacta ? deflactado(entrega) : entrega;
  const std::string nombre = kEntradaCampus;
  const auto crc = static_cast<std::uint32_t>(
      crc32(0, reinterpret_cast<const Bytef*>(entrega.data()), static_cast<uInt>(entrega.size())));
  const std::uint32_t fecha = (2024 - 1980) << 9 | 3 << 5 | 15;
  std::string comun;
  pon(comun, 20, 2);  // version needed
  pon(comun, 0, 2);   // flags
  pon(comun, deflacta ? 8 : 0, 2);
  pon(comun, 0, 2);  // time
  pon(comun, fecha, 2);
  pon(comun, crc, 4);
  pon(comun, static_cast<std::uint32_t>(datos.size()), 4);
  pon(comun, static_cast<std::uint32_t>(entrega.size()), 4);
  pon(comun, static_cast<std::uint32_t>(nombre.size()), 2);
  pon(comun, 0, 2);  // extra field

  std::string zip = "PK\x03\x04" + comun + nombre + datos;
  const auto directorio = static_cast<std::uint32_t>(zip.size());
  zip += "PK\x01\x02";
  pon(zip, 20, 2);  // version made by
  zip += comun;
  pon(zip, 0, 2);  // comment
  pon(zip, 0, 2);  // disk
  pon(zip, 0, 2);  // internal attributes
  pon(zip, 0, 4);  // external attributes
  pon(zip, 0, 4);  // offset of the local header
  zip += nombre;
  const auto largo = static_cast<std::uint32_t>(zip.size()) - directorio;
  zip += "PK\x05\x06";
  pon(zip, 0, 4);  // disks
  pon(zip, 1, 2);
  pon(zip, 1, 2);
  pon(zip, largo, 4);
  pon(zip, directorio, 4);
  pon(zip, 0, 2);
  return zip;
}

// What the program does with one input: its submissions found, then each reviewed.
std::vector<Trabajo> busca(const std::string& nombre, std::string bytes, std::vector<Fila>& filas) {
  std::vector<Trabajo> trabajos =
      buscaEnArchivo(nombre, std::make_shared<OrigenMemoria>(std::move(bytes)));
  if (trabajos.empty()) falla("buscaEnArchivo no dio ninguna entrega", nombre);
  for (const Trabajo& t : trabajos) filas.push_back(revisaTrabajo(t, true));
  return trabajos;
}

bool esControl(const std::string& texto, std::size_t i) {
  const auto c = static_cast<unsigned char>(texto[i]);
  // C0, DEL, and the C1 controls U+0080 to U+009F as UTF-8.
  return c < 0x20 || c == 0x7F ||
         (c == 0xC2 && i + 1 < texto.size() && static_cast<unsigned char>(texto[i + 1]) < 0xA0);
}

bool esFecha(const std::string& fecha) {
  if (fecha.size() != 10 || fecha[4] != '-' || fecha[7] != '-') return false;
  for (std::size_t i = 0; i < fecha.size(); ++i) {
    if (i != 4 && i != 7 && !std::isdigit(static_cast<unsigned char>(fecha[i]))) return false;
  }
  return true;
}

void compruebaFila(const Fila& fila) {
  if (fila.entrega.empty()) falla("fila sin entrega", "");
  const Revision& f = fila.revision;
  const std::string quien = fila.entrega + " (" + formaDe(f.veredicto).palabra + ")";
  if (f.veredicto != Veredicto::correcta && f.hallazgos.empty()) {
    falla("fila que no es correcta y no tiene hallazgos", quien);
  }
  if (f.veredicto == Veredicto::correcta && (!f.comprobador || !f.hallazgos.empty())) {
    falla("fila correcta con hallazgos o que no es del comprobador", quien);
  }
  // Stored without the full stop that the reports add.
  for (const std::string& h : f.hallazgos) {
    if (h.empty() || frase(h) != h + ".") falla("hallazgo vacío en " + quien, h);
  }
  // The counts are unknown (-1) exactly when the submission could not be reviewed.
  const bool sinCuentas = f.fuentes < 0 && f.cabeceras < 0 && f.imagenes < 0;
  const bool conCuentas = f.fuentes >= 0 && f.cabeceras >= 0 && f.imagenes >= 0;
  if (f.veredicto == Veredicto::noRevisable ? !sinCuentas : !conCuentas) {
    falla("cuentas que no van con el veredicto", quien);
  }
  if (!f.fecha.empty() && !esFecha(f.fecha)) falla("fecha que no es AAAA-MM-DD", f.fecha);
}

// Both rows of one submission, reviewed from a file and from memory, must say the same.
void comparaFilas(const Fila& directa, const Fila& anidada) {
  const auto texto = [](const Fila& fila) {
    const Revision& f = fila.revision;
    std::string t = std::string(formaDe(f.veredicto).palabra) + "|" +
                    (f.comprobador ? "sí" : "no") + "|" + f.fecha + "|" + f.autores + "|" +
                    f.proyecto + "|" + std::to_string(f.fuentes) + "|" +
                    std::to_string(f.cabeceras) + "|" + std::to_string(f.imagenes);
    for (const std::string& h : f.hallazgos) t += "|" + h;
    return t;
  };
  if (texto(directa) != texto(anidada)) {
    falla("la misma entrega revisada directamente y dentro del archivo del campus difiere",
          texto(directa) + "\n    frente a\n" + texto(anidada));
  }
}

// revision.csv split as RFC 4180 reads it (";", CRLF, fields quoted with '"', quotes
// doubled): its records, each field without its quotes.
std::vector<std::vector<std::string>> parteCsv(const std::string& csv) {
  std::vector<std::vector<std::string>> registros;
  std::vector<std::string> registro;
  std::size_t i = 0;
  while (i < csv.size()) {
    std::string campo;
    if (csv[i] == '"') {
      for (++i;; ++i) {
        if (i == csv.size()) falla("CSV con comillas sin cerrar", csv);
        if (csv[i] == '"') {
          if (i + 1 == csv.size() || csv[i + 1] != '"') break;
          ++i;
        }
        campo += csv[i];
      }
      ++i;
    } else {
      for (; i < csv.size() && csv[i] != ';' && csv[i] != '\r' && csv[i] != '\n'; ++i) {
        if (csv[i] == '"') falla("CSV con una comilla en un campo sin comillas", csv);
        campo += csv[i];
      }
    }
    registro.push_back(std::move(campo));
    if (i < csv.size() && csv[i] == ';') {
      ++i;
    } else if (csv.compare(i, 2, "\r\n") == 0) {
      i += 2;
      registros.push_back(std::move(registro));
      registro.clear();
    } else {
      falla("CSV con un campo que no acaba en ';' ni en CRLF", csv.substr(i, 200));
    }
  }
  // Every record ends with CRLF: a ';' at the very end would leave one unfinished.
  if (!registro.empty()) falla("CSV con un registro sin CRLF final", csv);
  return registros;
}

void compruebaCsv(const std::string& csv, const std::vector<Fila>& filas) {
  if (!plataforma::esUtf8(csv)) falla("el CSV no es UTF-8", csv);
  for (std::size_t i = 0; i < csv.size(); ++i) {
    if (esControl(csv, i) && csv[i] != '\r' && csv[i] != '\n') {
      falla("carácter de control en el CSV", csv.substr(i > 80 ? i - 80 : 0, 160));
    }
  }
  const std::string bom = "\xEF\xBB\xBF";
  if (csv.compare(0, bom.size(), bom) != 0) falla("CSV sin marca de orden de bytes", csv);
  const auto registros = parteCsv(csv.substr(bom.size()));
  if (registros.size() != filas.size() + 1) {
    falla("el CSV tiene " + std::to_string(registros.size()) + " registros para " +
              std::to_string(filas.size()) + " filas",
          csv);
  }
  std::string cabecera;
  for (const std::string& c : registros[0]) cabecera += (cabecera.empty() ? "" : ";") + c;
  if (cabecera != kCabeceraCsv) falla("cabecera del CSV", cabecera);
  const std::size_t hallazgos = registros[0].size() - 1;
  for (std::size_t r = 1; r < registros.size(); ++r) {
    const std::vector<std::string>& campos = registros[r];
    const Fila& f = filas[r - 1];
    if (campos.size() != registros[0].size()) {
      falla("registro del CSV con " + std::to_string(campos.size()) + " campos", f.entrega);
    }
    if (campos[3] != formaDe(f.revision.veredicto).palabra) {
      falla("veredicto del CSV fuera de su fila", campos[3]);
    }
    for (std::size_t c = 0; c < campos.size(); ++c) {
      const std::string& campo = campos[c];
      // What a spreadsheet would take for a formula.
      if (!campo.empty() && std::string("=+-@\t\r").find(campo[0]) != std::string::npos) {
        falla("celda del CSV que empieza como una fórmula", campo);
      }
      // Line breaks only between findings, none that a student wrote.
      if (campo.find('\r') != std::string::npos ||
          (c != hallazgos && campo.find('\n') != std::string::npos)) {
        falla("salto de línea dentro de una celda del CSV", campo);
      }
    }
    const std::string& celda = campos[hallazgos];
    const auto lineas =
        celda.empty() ? 0
                      : static_cast<std::size_t>(std::count(celda.begin(), celda.end(), '\n')) + 1;
    if (lineas != f.revision.hallazgos.size()) {
      falla("el CSV tiene " + std::to_string(lineas) + " líneas de hallazgos para " +
                std::to_string(f.revision.hallazgos.size()),
            celda);
    }
  }
}

std::string minusculas(std::string texto) {
  for (char& c : texto) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return texto;
}

std::size_t veces(const std::string& texto, const std::string& trozo) {
  std::size_t n = 0;
  for (std::size_t i = texto.find(trozo); i != std::string::npos; i = texto.find(trozo, i + 1)) {
    ++n;
  }
  return n;
}

// The characters that make or break markup: an escaped text holds none of them.
std::string marcas(const std::string& pagina) {
  return std::to_string(veces(pagina, "<")) + " '<', " + std::to_string(veces(pagina, ">")) +
         " '>', " + std::to_string(veces(pagina, "\"")) + " '\"', " +
         std::to_string(veces(pagina, "'")) + " \"'\"";
}

void compruebaPagina(const std::string& pagina, const std::vector<Fila>& filas) {
  if (!plataforma::esUtf8(pagina)) falla("la página no es UTF-8", pagina);
  for (std::size_t i = 0; i < pagina.size(); ++i) {
    if (esControl(pagina, i) && pagina[i] != '\n') {
      falla("carácter de control en la página", pagina.substr(i > 80 ? i - 80 : 0, 160));
    }
  }
  const std::string minus = minusculas(pagina);
  if (veces(minus, "<script") != 1) falla("la página no tiene un solo <script", pagina);
  if (minus.find("<img") != std::string::npos) falla("<img en la página", pagina);
  // The same rows with every text a plain letter: the same markup, so the same count of
  // every character that markup is made of.
  std::vector<Fila> llanas = filas;
  for (Fila& f : llanas) {
    f.entrega = f.revision.fecha = f.revision.autores = f.revision.proyecto = "x";
    // Empty or not as they were: the page counts the participants by them.
    if (!f.participante.numero.empty()) f.participante.numero = "x";
    if (!f.participante.nombre.empty()) f.participante.nombre = "x";
    for (std::string& h : f.revision.hallazgos) h = "x";
  }
  const std::string esperadas = marcas(paginaHtml(llanas)), halladas = marcas(pagina);
  if (halladas != esperadas) {
    // The texts that could have broken it, rather than the whole page.
    std::string textos;
    for (const Fila& f : filas) {
      const Revision& r = f.revision;
      std::vector<std::string> suyos = {
          f.participante.numero, f.participante.nombre, f.entrega, r.fecha, r.autores, r.proyecto};
      suyos.insert(suyos.end(), r.hallazgos.begin(), r.hallazgos.end());
      for (const std::string& t : suyos) {
        if (t.find_first_of("<>\"'") != std::string::npos) textos += "\n    " + t;
      }
    }
    falla("texto sin escapar en la página: " + halladas + " donde la marca tiene " + esperadas,
          textos);
  }
}

// Each participant's feedback page: text only, and a name the campus's importer gives to
// that participant ("<name>_<number>_assignfeedback_file", the name without "_" and maybe
// empty, then the file).
void compruebaRetroalimentacion(const std::vector<Fila>& filas) {
  for (const Fila& f : filas) {
    const std::optional<std::string> entrada = entradaDeRetroalimentacion(f);
    if (!entrada) continue;
    const std::string& nombre = *entrada;
    const std::string carpeta = nombre.substr(0, nombre.find('/'));
    const std::string sufijo = "_" + f.participante.numero + "_assignfeedback_file";
    if (carpeta.size() < sufijo.size() || carpeta.find('_') != carpeta.size() - sufijo.size() ||
        carpeta.compare(carpeta.size() - sufijo.size(), sufijo.size(), sufijo) != 0 ||
        nombre.substr(carpeta.size()) != "/revision.html" || !plataforma::esUtf8(nombre)) {
      falla("nombre de retroalimentación que el campus no importa", nombre);
    }
    const std::string pagina = paginaDeRetroalimentacion(f);
    if (!plataforma::esUtf8(pagina)) falla("página de retroalimentación que no es UTF-8", pagina);
    for (std::size_t i = 0; i < pagina.size(); ++i) {
      if (esControl(pagina, i) && pagina[i] != '\n') {
        falla("carácter de control en la retroalimentación", pagina);
      }
    }
    const std::string minus = minusculas(pagina);
    for (const char* marca : {"<script", "<img", "<iframe", "<a ", "<b>", "<i>"}) {
      if (minus.find(marca) != std::string::npos) falla("marca en la retroalimentación", marca);
    }
  }
}

// The comparison of the rows' code and its two reports: a CSV of the promised shape and a page
// whose every text, code included, is escaped (the same markup as for plain texts).
void compruebaSimilitud(std::vector<Fila> filas) {
  for (Fila& f : filas) f.huellas = huellasDe(f.revision.codigo);
  std::vector<Fila> ninguna;
  const Similitudes s = comparaFilas(filas, ninguna, {});
  const std::string csv = tablaSimilitud(s);
  if (!plataforma::esUtf8(csv) || csv.compare(0, 3, "\xEF\xBB\xBF") != 0) {
    falla("similitud.csv no es UTF-8 con su marca", csv);
  }
  const auto registros = parteCsv(csv.substr(3));
  if (registros.size() != s.comparacion.pares.size() + 1) falla("similitud.csv sin sus filas", csv);
  for (const auto& registro : registros) {
    if (registro.size() != 11) falla("registro de similitud.csv sin sus 11 campos", csv);
    for (const std::string& campo : registro) {
      if (!campo.empty() && std::string("=+-@\t\r").find(campo[0]) != std::string::npos) {
        falla("celda de similitud.csv que empieza como una fórmula", campo);
      }
    }
  }
  const std::string pagina = paginaSimilitud(s);
  if (!plataforma::esUtf8(pagina)) falla("similitud.html no es UTF-8", pagina);
  for (std::size_t i = 0; i < pagina.size(); ++i) {
    if (esControl(pagina, i) && pagina[i] != '\n')
      falla("carácter de control en similitud.html", "");
  }
  // The same rows with every text a plain letter, each file as many lines of it.
  std::vector<Fila> llanas = filas;
  for (Fila& f : llanas) {
    f.entrega = "x";
    if (!f.participante.numero.empty()) f.participante.numero = "x";
    if (!f.participante.nombre.empty()) f.participante.nombre = "x";
    for (ArchivoFuente& a : f.revision.codigo) {
      a.nombre = "x";
      a.texto = std::string(
          static_cast<std::size_t>(std::count(a.texto.begin(), a.texto.end(), '\n')), '\n');
    }
  }
  Similitudes plana = s;
  for (std::size_t i = 0; i < plana.participantes.size(); ++i) {
    plana.participantes[i] = &llanas[static_cast<std::size_t>(s.participantes[i] - filas.data())];
  }
  if (marcas(pagina) != marcas(paginaSimilitud(plana))) {
    falla("texto sin escapar en similitud.html",
          marcas(pagina) + " frente a " + marcas(paginaSimilitud(plana)));
  }
}

void compruebaResumen(const std::string& linea, const std::vector<Fila>& filas) {
  std::size_t n[4] = {};
  for (const Fila& f : filas) ++n[static_cast<int>(f.revision.veredicto)];
  const std::string esperado = std::to_string(filas.size()) + " entregas: " + std::to_string(n[0]) +
                               " correctas, " + std::to_string(n[1]) + " con avisos, " +
                               std::to_string(n[2]) + " con errores, " + std::to_string(n[3]) +
                               " no revisables";
  if (linea != esperado) falla("resumen, donde se esperaba «" + esperado + "»", linea);
}

void revisa(const std::string& entrega) {
  std::vector<Fila> filas;

  // As a submission given directly.
  const std::vector<Trabajo> directas = busca("entrega.zip", entrega, filas);

  // As the one entry of a campus archive, stored or deflated by the parity of the input's
  // bytes, so that both come up without one run depending on another.
  unsigned suma = 0;
  for (const char b : entrega) suma += static_cast<unsigned char>(b);
  const std::size_t antes = filas.size();
  const std::vector<Trabajo> anidadas = busca("campus.zip", campus(entrega, suma % 2 != 0), filas);
  // The campus archive holds one .zip and no project: exactly one submission, read from it.
  if (anidadas.size() != 1 || !std::holds_alternative<EnCampus>(anidadas[0].lugar) ||
      anidadas[0].nombre != kEntradaCampus) {
    falla("el archivo del campus no da exactamente su entrega",
          std::to_string(anidadas.size()) + " entregas, la primera " + anidadas[0].nombre);
  }
  // A submission that is one by itself reads the same from memory as inflated out of the
  // campus archive, whose entry zlib made and the bounds let through.
  // (Bytes that hold .zip files or the campus's names are a campus archive themselves.)
  if (directas.size() == 1 && std::holds_alternative<EnEntrada>(directas[0].lugar) &&
      directas[0].nombre == "entrega.zip" && directas[0].participante.nombre.empty()) {
    comparaFilas(filas[0], filas[antes]);
  }

  std::stable_sort(filas.begin(), filas.end(),
                   [](const Fila& a, const Fila& b) { return a.entrega < b.entrega; });
  for (const Fila& f : filas) compruebaFila(f);
  compruebaCsv(tablaCsv(filas), filas);
  compruebaPagina(paginaHtml(filas), filas);
  compruebaRetroalimentacion(filas);
  compruebaResumen(resumen(filas), filas);
  compruebaSimilitud(filas);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* datos, std::size_t tamano) {
  try {
    revisa(std::string(reinterpret_cast<const char*>(datos), tamano));
  } catch (const std::exception& e) {
    // The program turns it into a row; from a small input it is a fault all the same.
    falla("excepción", e.what());
  }
  return 0;
}
