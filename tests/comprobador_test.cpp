// The run over real delivery trees: the exact boxes, in order, and the result.
#include "comprobador.h"

#include "arbol.h"
#include "registro.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace {

// The texts exactly as the student sees them, full stop included.
const std::string kEnSolucion =
    "El programa no se está ejecutando en el directorio de un proyecto, sino en el de una "
    "solución.";
const std::string kSinProyecto =
    "El programa no se está ejecutando en el directorio de un proyecto de Visual Studio (no se "
    "encuentra el .vcxproj).";
const std::string kSinSolucion = "No se encuentra la solución del proyecto.";
const std::string kSinInfo =
    "Falta el archivo info.txt con el nombre de los autores e información de las "
    "funcionalidades opcionales implementadas.";
const std::string kSinImagenes =
    "No se encuentra el directorio \"images\" de la plantilla con las imágenes.";
const std::string kIlegible = "Error al procesar el archivo del proyecto.";

std::string fuera(const std::string& valor) {
  return "El archivo " + valor +
         " al que hace referencia el proyecto no está ubicado en su "
         "directorio.";
}
std::string falta(const std::string& valor) {
  return "El archivo " + valor + " al que hace referencia el proyecto no existe.";
}
std::string cabeceraFuera(const std::string& valor) {
  return "La cabecera " + valor +
         " a la que hace referencia el proyecto no está ubicada en su "
         "directorio.";
}
std::string cabeceraFalta(const std::string& valor) {
  return "La cabecera " + valor + " a la que hace referencia el proyecto no existe.";
}
std::string sinReferencia(const std::string& fuente) {
  return "El proyecto no hace referencia al archivo " + fuente + ".";
}

// An element nested `niveles` deep inside the project element.
std::string anidado(int niveles) {
  std::string xml = "<Project>";
  for (int i = 0; i < niveles; ++i) xml += "<ItemGroup>";
  xml += "<ClCompile Include=\"main.cpp\" />";
  for (int i = 0; i < niveles; ++i) xml += "</ItemGroup>";
  return xml + "</Project>";
}

using Archivos = std::vector<std::pair<std::string, std::string>>;

struct Escenario {
  const char* nombre;
  Archivos archivos;  // relative to the solution folder; a name ending in "/" is a folder
  std::vector<Caja> cajas;
  Resultado resultado;
};

// A complete delivery whose project names exactly main.cpp and juego.h, plus `extra`.
Archivos completa(std::string proyecto, Archivos extra = {}) {
  Archivos archivos = {{"Juego/Juego.vcxproj", std::move(proyecto)},
                       {"Juego/main.cpp", "int main() {}\n"},
                       {"Juego/juego.h", "#pragma once\n"},
                       {"Solucion.sln", "sln\n"},
                       {"info.txt", "Autores\n"},
                       {"images/", ""}};
  archivos.insert(archivos.end(), extra.begin(), extra.end());
  return archivos;
}
Archivos completa(Archivos extra = {}) {
  return completa(vcxproj({"ClCompile main.cpp", "ClInclude juego.h"}), std::move(extra));
}

Archivos sin(Archivos archivos, const std::string& ruta) {
  for (auto it = archivos.begin(); it != archivos.end(); ++it) {
    if (it->first == ruta) {
      archivos.erase(it);
      break;
    }
  }
  return archivos;
}

void construye(Arbol& arbol, const Archivos& archivos) {
  for (const auto& [ruta, contenido] : archivos) {
    if (!ruta.empty() && ruta.back() == '/') {
      arbol.directorio(ruta);
    } else {
      arbol.archivo(ruta, contenido);
    }
  }
}

void compruebaEscenarios(const std::vector<Escenario>& escenarios) {
  for (const Escenario& escenario : escenarios) {
    SCOPED_TRACE(escenario.nombre);
    Arbol arbol;
    construye(arbol, escenario.archivos);
    cajas().clear();
    EXPECT_EQ(Comprobador().compruebaEntrega(), escenario.resultado);
    EXPECT_EQ(cajas(), escenario.cajas);
  }
}

}  // namespace

TEST(Comprobador, Completitud) {
  compruebaEscenarios({
      {"directorio vacío", {}, {E(kSinProyecto)}, Resultado::sinEntrega},
      {"solución sin proyecto",
       {{"Juego/Juego.sln", ""}, {"Solucion.sln", ""}, {"info.txt", ""}},
       {E(kEnSolucion)},
       Resultado::sinEntrega},
      {"solución solo en la carpeta superior no cuenta sin proyecto",
       {{"Solucion.sln", ""}, {"Juego/main.cpp", ""}},
       {E(kSinProyecto)},
       Resultado::sinEntrega},
      {"proyecto con otra letra no cuenta",
       {{"Juego/Juego.VCXPROJ", ""}},
       {E(kSinProyecto)},
       Resultado::sinEntrega},
      {"completa", completa(), {}, Resultado::entregado},
      {"sin info.txt", sin(completa(), "info.txt"), {E(kSinInfo)}, Resultado::sinEntrega},
      {"sin solución",
       sin(completa(), "Solucion.sln"),
       {E(kSinSolucion), A(kSinImagenes)},
       Resultado::sinEntrega},
      {"sin solución ni info.txt",
       sin(sin(completa(), "Solucion.sln"), "info.txt"),
       {E(kSinSolucion), E(kSinInfo), A(kSinImagenes)},
       Resultado::sinEntrega},
      {"sin images", sin(completa(), "images/"), {A(kSinImagenes)}, Resultado::entregado},
      {"solución e info.txt en el proyecto",
       sin(sin(completa({{"Juego/Juego.sln", ""}, {"Juego/INFO.txt", ""}}), "Solucion.sln"),
           "info.txt"),
       {},
       Resultado::entregado},
      {"solución e info.txt con mayúsculas arriba",
       sin(sin(completa({{"Otra.SLN", ""}, {"INFO.TXT", ""}}), "Solucion.sln"), "info.txt"),
       {},
       Resultado::entregado},
      {"info.txt en la carpeta de imágenes no cuenta",
       sin(completa({{"images/info.txt", ""}}), "info.txt"),
       {E(kSinInfo)},
       Resultado::sinEntrega},
      {"un proyecto ilegible no impide la entrega",
       completa("<Project><ItemGroup>"),
       {E(kIlegible)},
       Resultado::entregado},
      {"todo a la vez en su orden",
       sin(sin(completa(vcxproj({"ClCompile main.cpp", "ClCompile nada.cpp"}),
                        {{"Juego/otro.cpp", ""}}),
               "Solucion.sln"),
           "info.txt"),
       {E(kSinSolucion), E(kSinInfo), A(kSinImagenes), E(falta("nada.cpp")),
        A(sinReferencia("otro.cpp"))},
       Resultado::sinEntrega},
  });
}

TEST(Comprobador, ProyectoQueNoCarga) {
  compruebaEscenarios({
      {"mal formado",
       completa("<Project><ClCompile Include=\"main.cpp\"></Project>"),
       {E(kIlegible)},
       Resultado::entregado},
      {"vacío", completa(""), {E(kIlegible)}, Resultado::entregado},
      {"solo espacios", completa("  \n"), {E(kIlegible)}, Resultado::entregado},
      {"basura binaria",
       completa(std::string("\x00\xff\xfe<", 4)),
       {E(kIlegible)},
       Resultado::entregado},
      // Nothing else is examined, not even sources nobody names.
      {"ilegible con fuentes sin nombrar",
       completa("<a>", {{"Juego/otro.cpp", ""}}),
       {E(kIlegible)},
       Resultado::entregado},
      {"300 niveles cargan", completa(anidado(300)), {}, Resultado::entregado},
      {"600 niveles no cargan", completa(anidado(600)), {E(kIlegible)}, Resultado::entregado},
      {"el proyecto es un directorio",
       {{"Juego/Juego.vcxproj/", ""}, {"Solucion.sln", ""}, {"info.txt", ""}, {"images/", ""}},
       {E(kIlegible)},
       Resultado::entregado},
  });
}

TEST(Comprobador, Referencias) {
  compruebaEscenarios({
      {"falta un fuente",
       completa(vcxproj({"ClCompile main.cpp", "ClCompile nada.cpp"})),
       {E(falta("nada.cpp"))},
       Resultado::entregado},
      {"falta una cabecera",
       completa(vcxproj({"ClCompile main.cpp", "ClInclude nada.h"})),
       {E(cabeceraFalta("nada.h"))},
       Resultado::entregado},
      {"fuente en otra carpeta con barra invertida",
       completa(vcxproj({"ClCompile main.cpp", "ClCompile ..\\comun\\util.cpp"}),
                {{"comun/util.cpp", ""}}),
       {E(fuera("..\\comun\\util.cpp"))},
       Resultado::entregado},
      {"cabecera en una subcarpeta",
       completa(vcxproj({"ClCompile main.cpp", "ClInclude inc/a.h"}), {{"Juego/inc/a.h", ""}}),
       {E(cabeceraFuera("inc/a.h"))},
       Resultado::entregado},
      {"con el directorio actual delante",
       completa(vcxproj({"ClCompile .\\main.cpp"})),
       {E(fuera(".\\main.cpp")), A(sinReferencia("main.cpp"))},
       Resultado::entregado},
      {"otra letra",
       completa(vcxproj({"ClCompile Main.cpp"})),
       {E(falta("Main.cpp")), A(sinReferencia("main.cpp"))},
       Resultado::entregado},
      {"el mismo fuente dos veces",
       completa(vcxproj({"ClCompile main.cpp", "ClCompile main.cpp"})),
       {E(fuera("main.cpp"))},
       Resultado::entregado},
      {"dos veces el que falta",
       completa(vcxproj({"ClCompile main.cpp", "ClCompile x.cpp", "ClCompile x.cpp"})),
       {E(falta("x.cpp")), E(falta("x.cpp"))},
       Resultado::entregado},
      {"cada nombre solo en su conjunto",
       completa(vcxproj({"ClCompile juego.h", "ClInclude main.cpp"})),
       {E(fuera("juego.h")), E(cabeceraFuera("main.cpp")), A(sinReferencia("main.cpp"))},
       Resultado::entregado},
      {"un directorio no es un archivo",
       completa(vcxproj({"ClCompile main.cpp", "ClCompile dir"}), {{"Juego/dir/", ""}}),
       {E(falta("dir"))},
       Resultado::entregado},
      {"Include vacío",
       completa(vcxproj({"ClCompile main.cpp", "ClCompile "})),
       {E("El archivo  al que hace referencia el proyecto no existe.")},
       Resultado::entregado},
      {"varios archivos y comodines son un nombre",
       completa(vcxproj({"ClCompile main.cpp;juego.cpp", "ClCompile *.cpp"})),
       {E(falta("main.cpp;juego.cpp")), E(falta("*.cpp")), A(sinReferencia("main.cpp"))},
       Resultado::entregado},
      {"entidades sustituidas",
       completa(vcxproj({"ClCompile main.cpp", "ClCompile a&amp;b.cpp"}), {{"Juego/a&b.cpp", ""}}),
       {},
       Resultado::entregado},
      {"nombres y atributos con otra letra se ignoran",
       completa("<Project><ClCompile Include=\"main.cpp\"/><clcompile Include=\"x.cpp\"/>"
                "<ClCompile include=\"y.cpp\"/><CLINCLUDE Include=\"z.h\"/>"
                "<ms:ClCompile Include=\"w.cpp\"/></Project>"),
       {},
       Resultado::entregado},
      {"el anidado antes que el que lo contiene",
       completa("<Project><ClCompile Include=\"fuera.cpp\"><ClCompile Include=\"dentro.cpp\"/>"
                "</ClCompile><ClCompile Include=\"main.cpp\"/></Project>"),
       {E(falta("dentro.cpp")), E(falta("fuera.cpp"))},
       Resultado::entregado},
      {"nombre con letras no ASCII",
       completa(vcxproj({"ClCompile main.cpp", "ClCompile señal.cpp", "ClCompile año.cpp"}),
                {{"Juego/señal.cpp", ""}}),
       {E(falta("año.cpp"))},
       Resultado::entregado},
  });
}

TEST(Comprobador, FuentesSinReferencia) {
  compruebaEscenarios({
      {"en orden de bytes",
       completa({{"Juego/zeta.cpp", ""},
                 {"Juego/Beta.cc", ""},
                 {"Juego/ñu.cpp", ""},
                 {"Juego/alfa.cpp", ""}}),
       {A(sinReferencia("Beta.cc")), A(sinReferencia("alfa.cpp")), A(sinReferencia("zeta.cpp")),
        A(sinReferencia("ñu.cpp"))},
       Resultado::entregado},
      {"después de todos los errores",
       completa(vcxproj({"ClCompile main.cpp", "ClInclude x.h", "ClCompile y.cpp"}),
                {{"Juego/a.cpp", ""}}),
       {E(cabeceraFalta("x.h")), E(falta("y.cpp")), A(sinReferencia("a.cpp"))},
       Resultado::entregado},
      {"las cabeceras nunca se avisan",
       completa({{"Juego/otra.h", ""}, {"Juego/b.hpp", ""}, {"Juego/c.hh", ""}}),
       {},
       Resultado::entregado},
      {"extensiones con otra letra no son fuentes",
       completa({{"Juego/Otro.CPP", ""}, {"Juego/a.b.Cc", ""}}),
       {},
       Resultado::entregado},
      {"un nombre solo de extensión no es fuente",
       completa({{"Juego/.cpp", ""}, {"Juego/main.", ""}}),
       {},
       Resultado::entregado},
      {"un directorio con nombre de fuente cuenta como fuente",
       completa({{"Juego/util.cpp/", ""}}),
       {A(sinReferencia("util.cpp"))},
       Resultado::entregado},
      {"un directorio con nombre de cabecera se empareja",
       completa(vcxproj({"ClCompile main.cpp", "ClInclude recursos.h"}),
                {{"Juego/recursos.h/", ""}}),
       {},
       Resultado::entregado},
      {"los fuentes de la solución no cuentan",
       completa({{"suelto.cpp", ""}}),
       {},
       Resultado::entregado},
  });
}

TEST(Comprobador, EnlacesSimbolicos) {
  Arbol arbol;
  construye(arbol, sin(completa(vcxproj({"ClCompile main.cpp", "ClCompile roto.cpp",
                                         "ClCompile lejos.cpp", "ClCompile bucle.cpp"})),
                       "images/"));
  arbol.directorio("../imagenes");
  arbol.enlace("../imagenes", "images");       // followed: the folder is there
  arbol.enlace("nada.cpp", "Juego/roto.cpp");  // listed, so matched by name
  arbol.enlace("../../x/lejos.cpp", "Juego/lejos2.cpp");
  arbol.archivo("../x/lejos.cpp");
  arbol.enlace("bucle.cpp", "Juego/bucle.cpp");
  cajas().clear();
  EXPECT_EQ(Comprobador().compruebaEntrega(), Resultado::entregado);
  EXPECT_EQ(cajas(), (std::vector<Caja>{E(falta("lejos.cpp")), A(sinReferencia("lejos2.cpp"))}));
}

TEST(Comprobador, ImagesArchivoYEnlaceRoto) {
  for (const bool enlace : {false, true}) {
    SCOPED_TRACE(enlace ? "enlace roto" : "archivo");
    Arbol arbol;
    construye(arbol, sin(completa(), "images/"));
    if (enlace) {
      arbol.enlace("no-existe", "images");
    } else {
      arbol.archivo("images", "no es un directorio");
    }
    cajas().clear();
    EXPECT_EQ(Comprobador().compruebaEntrega(), Resultado::entregado);
    EXPECT_EQ(cajas(), std::vector<Caja>{A(kSinImagenes)});
  }
}

TEST(Comprobador, NombreQueNoEsUtf8TerminaLaEjecucion) {
  const struct {
    const char* nombre;
    const char* ruta;
    const char* texto;
  } filas[] = {
      {"en el proyecto", "Juego/\xff.cpp",
       "No se ha podido convertir a UTF-8 el nombre \\xFF.cpp del directorio .: Invalid or "
       "incomplete multibyte or wide character."},
      {"en la solución", "a\xc3(.txt",
       "No se ha podido convertir a UTF-8 el nombre a\\xC3(.txt del directorio ..: Invalid or "
       "incomplete multibyte or wide character."},
      {"en images", "images/\xed\xa0\x80.png",  // a UTF-16 surrogate, not a character
       "No se ha podido convertir a UTF-8 el nombre \\xED\\xA0\\x80.png del directorio "
       "../images: Invalid or incomplete multibyte or wide character."},
  };
  for (const auto& fila : filas) {
    SCOPED_TRACE(fila.nombre);
    Arbol arbol;
    construye(arbol, sin(completa(), "info.txt"));
    arbol.archivo(fila.ruta);
    cajas().clear();
    EXPECT_EQ(Comprobador().compruebaEntrega(), Resultado::fallido);
    EXPECT_EQ(cajas(), std::vector<Caja>{E(fila.texto)});
  }
}
