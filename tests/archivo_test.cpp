// entrega.zip read back with minizip's unzip API: which entries, under which names, with
// which bytes, and the headers every entry carries; and the platform's view of folders that
// a walk over them needs.
#include "archivo_apoyo.h"
#include "recorrido.h"

#include <fstream>
#include <tuple>

namespace {

namespace fs = std::filesystem;

TEST(Archivo, EntregaCompletaEnSuOrdenYConSusCabeceras) {
  Arbol arbol;
  const std::string proyecto = vcxproj(
      {"ClCompile main.cpp", "ClCompile Game.cpp", "ClCompile util.cc", "ClInclude Game.h"});
  // Entry names are the paths below the solution folder, so they say where each file goes.
  const Entradas esperadas = {
      {"Juego/Juego.vcxproj", proyecto},
      {"Solucion.sln", "Microsoft Visual Studio Solution File\r\n"},
      {"Juego/Game.cpp", "#include \"Game.h\"\n"},
      {"Juego/main.cpp", "int main() {}\n"},
      {"Juego/util.cc", "// util\n"},
      {"Juego/Game.h", "#pragma once\n"},
      {"Juego/lista.hpp", "// lista\n"},
      {"Juego/tipos.hh", "// tipos\n"},
      // One set holds both, and "../Comun.props" sorts before "Juego.vcxproj.filters".
      {"Comun.props", "<Project />\r\n"},
      {"Juego/Juego.vcxproj.filters", "<Project />\n"},
      {"info.txt", "Ana y Luis\r\n"},
      {"images/fondo.JPG", bytes(3000, 1)},
      {"images/hero.png", bytes(500, 2)},
  };
  for (const auto& [ruta, datos] : esperadas) arbol.archivo(ruta, datos);
  arbol.archivo("images/dog.png", "de la plantilla");

  EXPECT_EQ(comprueba(), Desenlace::entregado);
  EXPECT_EQ(cajas(), Cajas{});
  const std::vector<EntradaZip> entradas = leeEntrega();
  EXPECT_EQ(contenido(entradas), esperadas);
  for (const EntradaZip& e : entradas) compruebaCabeceras(e);

  // The end record closes the file, with no archive comment after it.
  const std::string zip = lee("entrega.zip");
  ASSERT_GE(zip.size(), 22u);
  EXPECT_EQ(zip.substr(zip.size() - 22, 4), "PK\x05\x06");
  EXPECT_EQ(zip.substr(zip.size() - 2), std::string(2, '\0'));
}

TEST(Archivo, LosBytesYLosNombresLleganIntactos) {
  const struct {
    const char* nombre;
    std::string datos;
  } filas[] = {
      {"vacio.cpp", ""},
      {"k1.cpp", bytes(1024, 3)},
      {"k1mas.cpp", bytes(1025, 4)},
      {"k2.cpp", bytes(2048, 5)},
      {"crlf.cpp", "int a;\r\nint b;\r\n\x1a\r\nint c;\r\n"},
      {"señal.cpp", "// ñ y ó\n"},
      {"游戏.cpp", "// tres bytes por letra\n"},
      {"cohete🚀.cpp", "// cuatro bytes, dos unidades de UTF-16\n"},
  };
  Arbol arbol;
  entregaMinima(arbol, {"ClCompile vacio.cpp", "ClCompile k1.cpp", "ClCompile k1mas.cpp",
                        "ClCompile k2.cpp", "ClCompile crlf.cpp", "ClCompile señal.cpp",
                        "ClCompile 游戏.cpp", "ClCompile cohete🚀.cpp"});
  for (const auto& fila : filas) arbol.archivo(std::string("Juego/") + fila.nombre, fila.datos);
  arbol.archivo("images/canción.png", "PNG");

  ASSERT_EQ(comprueba(), Desenlace::entregado);
  EXPECT_EQ(cajas(), Cajas{});
  std::map<std::string, EntradaZip> porNombre;
  for (EntradaZip& e : leeEntrega()) porNombre[e.nombre] = std::move(e);
  for (const auto& fila : filas) {
    SCOPED_TRACE(fila.nombre);
    const auto it = porNombre.find(std::string("Juego/") + fila.nombre);
    ASSERT_NE(it, porNombre.end());
    EXPECT_TRUE(it->second.datos == fila.datos);
    EXPECT_EQ(it->second.tamano, fila.datos.size());
    // zlib's CRC of nothing is 0, as the empty entry must carry.
    EXPECT_EQ(it->second.crc, crc32(0, reinterpret_cast<const Bytef*>(fila.datos.data()),
                                    static_cast<uInt>(fila.datos.size())));
    compruebaCabeceras(it->second);
  }
  ASSERT_EQ(porNombre.count("images/canción.png"), 1u);
  EXPECT_EQ(porNombre["images/canción.png"].datos, "PNG");
  EXPECT_EQ(porNombre["images/canción.png"].flag & 0x800, 0x800u);
}

TEST(Archivo, QueSeEntregaYConQueNombre) {
  // Every row has this project file and an image directory, and lists the rest.
  const std::pair<std::string, std::string> proyecto = {"Juego/Juego.vcxproj", vcxproj({})};
  const struct {
    const char* caso;
    Entradas archivos;
    std::vector<std::string> directorios;
    Entradas esperadas;
    Cajas avisos;
  } filas[] = {
      {"Info.TXT del proyecto",
       {{"Solucion.sln", "S"}, {"Juego/Info.TXT", "I"}},
       {},
       {proyecto, {"Solucion.sln", "S"}, {"info.txt", "I"}},
       {}},
      {"el info.txt de la solución gana",
       {{"Solucion.sln", "S"}, {"Juego/info.txt", "del proyecto"}, {"INFO.txt", "de la solución"}},
       {},
       {proyecto, {"Solucion.sln", "S"}, {"info.txt", "de la solución"}},
       {}},
      {"solución solo en el proyecto",
       {{"Juego/Juego.sln", "S"}, {"info.txt", "I"}},
       {},
       {proyecto, {"Juego/Juego.sln", "S"}, {"info.txt", "I"}},
       {}},
      {"imágenes de la plantilla",
       {{"Solucion.sln", "S"},
        {"info.txt", "I"},
        {"images/animate.bmp", "plantilla"},
        {"images/background1.png", "plantilla"},
        {"images/dog.png", "plantilla"},
        {"images/helicopter.png", "plantilla"},
        {"images/helicopter2.png", "plantilla"},
        {"images/fondo.png", "fondo"}},
       {},
       {proyecto, {"Solucion.sln", "S"}, {"info.txt", "I"}, {"images/fondo.png", "fondo"}},
       {}},
      {"imágenes .bmp y .jpeg",
       {{"Solucion.sln", "S"},
        {"info.txt", "I"},
        {"images/mapa.bmp", "bmp"},
        {"images/foto.jpeg", "jpeg"},
        {"images/Cara.JPEG", "JPEG"}},
       {},
       {proyecto,
        {"Solucion.sln", "S"},
        {"info.txt", "I"},
        {"images/Cara.JPEG", "JPEG"},
        {"images/foto.jpeg", "jpeg"},
        {"images/mapa.bmp", "bmp"}},
       {}},
      // Alone, since a file system that ignores case would take them for the template's.
      {"la plantilla con otra letra",
       {{"Solucion.sln", "S"},
        {"info.txt", "I"},
        {"images/Dog.png", "perro"},
        {"images/helicopter.PNG", "helicóptero"}},
       {},
       {proyecto,
        {"Solucion.sln", "S"},
        {"info.txt", "I"},
        {"images/Dog.png", "perro"},
        {"images/helicopter.PNG", "helicóptero"}},
       {}},
      // The scans go by name alone; only the archive finds out that these are no files.
      {"directorios con nombre de fuente y de imagen",
       {{"Solucion.sln", "S"}, {"info.txt", "I"}},
       {"Juego/carpeta.cpp", "images/extra.png"},
       {proyecto, {"Solucion.sln", "S"}, {"info.txt", "I"}},
       {A(kSinReferencia + "carpeta.cpp.")}},
  };
  for (const auto& fila : filas) {
    SCOPED_TRACE(fila.caso);
    Arbol arbol;
    arbol.archivo(proyecto.first, proyecto.second);
    arbol.directorio("images");
    for (const auto& [ruta, datos] : fila.archivos) arbol.archivo(ruta, datos);
    for (const std::string& ruta : fila.directorios) arbol.directorio(ruta);
    EXPECT_EQ(comprueba(), Desenlace::entregado);
    EXPECT_EQ(cajas(), fila.avisos);
    EXPECT_EQ(contenido(leeEntrega()), fila.esperadas);
  }
}

TEST(Archivo, DosEjecucionesDelMismoDiaDanElMismoArchivo) {
  Arbol arbol;
  entregaMinima(arbol, {"ClCompile main.cpp"});
  arbol.archivo("Juego/main.cpp", bytes(5000, 6));
  arbol.archivo("images/hero.png", bytes(800, 7));
  const unsigned long dia = fechaDosDeHoy();
  ASSERT_EQ(comprueba(), Desenlace::entregado);
  const std::string primera = lee("entrega.zip");
  ASSERT_EQ(comprueba(), Desenlace::entregado);
  if (fechaDosDeHoy() != dia) GTEST_SKIP() << "la medianoche cayó entre las dos ejecuciones";
  EXPECT_TRUE(lee("entrega.zip") == primera);
}

TEST(Archivo, UnEntregaZipAnteriorSeSustituye) {
  Arbol arbol;
  entregaMinima(arbol, {"ClCompile main.cpp"});
  arbol.archivo("Juego/main.cpp", "int main() {}\n");
  ASSERT_EQ(comprueba(), Desenlace::entregado);
  const std::string limpia = lee("entrega.zip");

  // Larger than the new archive: appending to it, or writing over it in place, would show.
  arbol.archivo("Juego/entrega.zip", std::string(200000, 'x'));
  EXPECT_EQ(comprueba(), Desenlace::entregado);
  EXPECT_EQ(cajas(), Cajas{});
  EXPECT_TRUE(lee("entrega.zip") == limpia);
  for (const EntradaZip& e : leeEntrega()) EXPECT_EQ(e.nombre.find("entrega"), std::string::npos);
}

TEST(Archivo, LoQueDejaUnaEjecucionMuertaSeRetira) {
  for (const bool completaEntrega : {true, false}) {
    SCOPED_TRACE(completaEntrega ? "entrega completa" : "sin info.txt");
    Arbol arbol;
    entregaMinima(arbol);
    if (!completaEntrega) fs::remove(arbol.solucion() + "/info.txt");
    arbol.archivo("Juego/.entrega.zip.tmp", "PK a medias");
    comprueba();
    EXPECT_FALSE(fs::exists(".entrega.zip.tmp"));
    EXPECT_EQ(fs::exists("entrega.zip"), completaEntrega);
  }
}

TEST(Archivo, UnDirectorioEntregaZipImpideCrearlo) {
  Arbol arbol;
  entregaMinima(arbol);
  arbol.directorio("Juego/entrega.zip");
  EXPECT_EQ(comprueba(), Desenlace::sinEntrega);
  EXPECT_EQ(cajas(), Cajas{E(kSinZip)});
  EXPECT_TRUE(fs::is_directory("entrega.zip"));
}

TEST(Archivo, LoQueRodeaUnaEntregaRealSeQuedaFuera) {
  Arbol arbol;
  entregaMinima(arbol, {"ClCompile main.cpp"});
  arbol.archivo("Juego/main.cpp", "int main() {}\n");
  for (const char* ruta :
       {".vs/Solucion/v17/.suo", ".vs/Solucion/v17/Browse.VC.db", "x64/Debug/Juego.exe",
        "x64/Debug/Juego.pdb", "Juego/x64/Debug/main.obj", "Juego/x64/Debug/Juego.ilk",
        "Juego/x64/Debug/vc143.pdb", "Juego/Juego.vcxproj.user", ".git/HEAD", ".git/config",
        ".gitignore", "Thumbs.db", "Juego/Thumbs.db", "images/Thumbs.db", "Juego/entrega (1).zip",
        "Juego/notas.txt"}) {
    arbol.archivo(ruta, "no se entrega");
  }
  EXPECT_EQ(comprueba(), Desenlace::entregado);
  EXPECT_EQ(cajas(), Cajas{});
  const Entradas esperadas = {{"Juego/Juego.vcxproj", vcxproj({"ClCompile main.cpp"})},
                              {"Solucion.sln", "Microsoft Visual Studio Solution File\r\n"},
                              {"Juego/main.cpp", "int main() {}\n"},
                              {"info.txt", "Ana y Luis\r\n"}};
  EXPECT_EQ(contenido(leeEntrega()), esperadas);
}

class FallaAMitad : public std::streambuf {
 public:
  explicit FallaAMitad(std::string datos) : datos(std::move(datos)) {}

 protected:
  int_type underflow() override {
    if (entregado) throw std::runtime_error("error de lectura");
    entregado = true;
    setg(datos.data(), datos.data(), datos.data() + datos.size());
    return traits_type::to_int_type(datos.front());
  }

 private:
  std::string datos;
  bool entregado = false;
};

TEST(ArchivoZip, UnaLecturaQueFallaAMitadNoEsUnaEntradaBuena) {
  Arbol arbol;
  ArchivoZip archivo;
  ASSERT_TRUE(archivo.crea("prueba.zip"));
  std::istringstream bueno(bytes(3000, 10));
  EXPECT_TRUE(archivo.escribeEntrada("bueno.bin", bueno));
  FallaAMitad lector(bytes(3000, 11));
  std::istream malo(&lector);
  EXPECT_FALSE(archivo.escribeEntrada("malo.bin", malo));
  EXPECT_TRUE(malo.bad());
  archivo.descarta();
  EXPECT_FALSE(fs::exists("prueba.zip"));
}

TEST(ArchivoZip, SinCrearNoAdmiteEntradas) {
  ArchivoZip archivo;
  std::istringstream flujo("x");
  EXPECT_FALSE(archivo.escribeEntrada("x.txt", flujo));
  EXPECT_FALSE(archivo.cierra());
}

TEST(ArchivoZip, SinCerrarNoQuedaNada) {
  Arbol arbol;
  arbol.archivo("Juego/prueba.zip", "anterior");
  {
    ArchivoZip archivo;
    ASSERT_TRUE(archivo.crea("prueba.zip"));
    std::istringstream flujo("x");
    EXPECT_TRUE(archivo.escribeEntrada("x.txt", flujo));
  }
  // Neither the new archive nor the one from before, which it was to replace.
  EXPECT_TRUE(fs::is_empty(arbol.proyecto()));
}

TEST(ArchivoZip, SeEscribeAparteYSustituyeAlCerrar) {
  Arbol arbol;
  arbol.archivo("Juego/prueba.zip", "anterior");
  ArchivoZip archivo;
  ASSERT_TRUE(archivo.crea("prueba.zip"));
  std::istringstream flujo(bytes(3000, 12));
  EXPECT_TRUE(archivo.escribeEntrada("x.bin", flujo));
  // Until it is closed, the archive from before is still whole in its place.
  EXPECT_EQ(lee("prueba.zip"), "anterior");
  ASSERT_TRUE(archivo.cierra());
  std::vector<EntradaZip> entradas;
  std::string error;
  ASSERT_TRUE(leeZip("prueba.zip", entradas, error)) << error;
  EXPECT_EQ(contenido(entradas), (Entradas{{"x.bin", bytes(3000, 12)}}));
  std::vector<std::string> nombres;
  for (const auto& e : fs::directory_iterator(arbol.proyecto()))
    nombres.push_back(e.path().filename().u8string());
  EXPECT_EQ(nombres, std::vector<std::string>{"prueba.zip"});
}

// Windows paths too where the platform joins names with a backslash: the separator says so
// at run time, so that both systems build the same tests.
bool enWindows() { return plataforma::une("a", "b") == "a\\b"; }

TEST(Recorrido, CarpetaYUltimoComponenteDeUnaRuta) {
  const struct {
    const char* ruta;
    const char* carpeta;
    const char* ultimo;
    bool soloWindows;
  } filas[] = {
      {"/a/b.zip", "/a", "b.zip", false},
      {"/b.zip", "/", "b.zip", false},
      {"b.zip", ".", "b.zip", false},
      {"a/b/", "a", "b", false},
      {"a/b//", "a", "b", false},
      {"/año/ñ.zip", "/año", "ñ.zip", false},
      {"C:\\x\\y.zip", "C:\\x", "y.zip", true},
      {"C:\\y.zip", "C:\\", "y.zip", true},
      {"C:\\x\\y\\", "C:\\x", "y", true},
      {"x\\y.zip", "x", "y.zip", true},
  };
  for (const auto& fila : filas) {
    if (fila.soloWindows && !enWindows()) continue;
    SCOPED_TRACE(fila.ruta);
    EXPECT_EQ(plataforma::carpetaDe(fila.ruta), fila.carpeta);
    EXPECT_EQ(plataforma::ultimoComponente(fila.ruta), fila.ultimo);
  }
}

// One entry of a listing as a whole: name, whether it is UTF-8, kind.
using ElementoVisto = std::tuple<std::string, bool, plataforma::Clase>;

std::vector<ElementoVisto> listado(const std::string& carpeta) {
  const auto elementos = plataforma::listaElementos(carpeta);
  EXPECT_TRUE(elementos) << elementos.error().texto();
  std::vector<ElementoVisto> salida;
  if (elementos) {
    for (const auto& e : *elementos) salida.emplace_back(e.nombre, e.utf8, e.clase);
  }
  return salida;
}

TEST(Recorrido, UnaCarpetaSeListaOrdenadaConLaClaseDeCadaElemento) {
  using plataforma::Clase;
  Arbol arbol;
  arbol.archivo("lista/b.zip", "b");
  arbol.archivo("lista/Z.txt", "Z");
  // One above U+FFFF and one below it: in UTF-16's order the rocket would come first.
  arbol.archivo("lista/🚀.zip", "cohete");
  arbol.archivo("lista/Ａ.zip", "a ancha");
  arbol.directorio("lista/sub");
  const std::string lista = plataforma::une(arbol.solucion(), "lista");
  std::vector<ElementoVisto> esperados = {{"Z.txt", true, Clase::archivo},
                                          {"b.zip", true, Clase::archivo},
                                          {"sub", true, Clase::directorio},
                                          {"Ａ.zip", true, Clase::archivo},
                                          {"🚀.zip", true, Clase::archivo}};
  // Links, where the system lets a test make them.
  const fs::path carpeta = fs::u8path(lista);
  const auto enlaza = [&](const fs::path& destino, const char* nombre, Clase clase) {
    std::error_code error;
    if (fs::is_directory(destino, error)) {
      fs::create_directory_symlink(destino, carpeta / nombre, error);
    } else {
      fs::create_symlink(destino, carpeta / nombre, error);
    }
    if (!error && fs::is_symlink(fs::symlink_status(carpeta / nombre, error))) {
      esperados.emplace_back(nombre, true, clase);
    }
  };
  enlaza(carpeta / "sub", "enlace", Clase::enlaceADirectorio);
  enlaza(carpeta / "b.zip", "enlace-archivo", Clase::archivo);
  enlaza(carpeta / "falta", "enlace-roto", Clase::otro);
  // A name with no UTF-8 form is listed too, with U+FFFD where it cannot be read.
  const fs::path malo =
      enWindows() ? carpeta / std::wstring(L"malo\xD800") : carpeta / std::string("malo\xFF");
  if (std::ofstream(malo).is_open()) esperados.emplace_back("malo\uFFFD", false, Clase::archivo);
  std::sort(esperados.begin(), esperados.end());

  EXPECT_EQ(listado(lista), esperados);
  // With a separator at its end, as a root has one.
  EXPECT_EQ(listado(lista + plataforma::une("", "")), esperados);
  EXPECT_EQ(listado(plataforma::une(lista, "sub")), std::vector<ElementoVisto>{});

  const std::string falta = plataforma::une(lista, "falta");
  const auto fallida = plataforma::listaElementos(falta);
  ASSERT_FALSE(fallida);
  EXPECT_EQ(fallida.error().texto().rfind("No se ha podido abrir la carpeta " + falta + ": ", 0),
            0u)
      << fallida.error().texto();
}

TEST(Recorrido, LaIdentidadEsLaMismaPorCualquierCamino) {
  Arbol arbol;
  arbol.directorio("otra");
  const std::string otra = plataforma::une(arbol.solucion(), "otra");
  const auto identidad = [](const std::string& ruta) {
    const auto resultado = plataforma::identidadDe(ruta);
    EXPECT_TRUE(resultado) << resultado.error().texto();
    return resultado ? std::make_pair(resultado->volumen, resultado->indice)
                     : std::make_pair(std::uint64_t{0}, std::uint64_t{0});
  };
  const auto proyecto = identidad(arbol.proyecto());
  EXPECT_EQ(identidad("."), proyecto);
  EXPECT_EQ(identidad(plataforma::une(plataforma::une(otra, ".."), "Juego")), proyecto);
  EXPECT_NE(identidad(otra), proyecto);
  EXPECT_NE(identidad(arbol.solucion()), proyecto);
  std::error_code error;
  fs::create_directory_symlink(fs::u8path(arbol.proyecto()), fs::u8path(otra) / "enlace", error);
  if (!error) {
    EXPECT_EQ(identidad(plataforma::une(otra, "enlace")), proyecto);
  }

  const std::string falta = plataforma::une(otra, "falta");
  const auto ninguna = plataforma::identidadDe(falta);
  ASSERT_FALSE(ninguna);
  EXPECT_EQ(
      ninguna.error().texto().rfind("No se ha podido consultar el estado de " + falta + ": ", 0),
      0u)
      << ninguna.error().texto();
}

TEST(Recorrido, UnTemporalDevuelveLoQueSeEscribeEnEl) {
  // Two at once, as workers side by side have them: each keeps its own bytes.
  auto temporalUno = plataforma::creaTemporal();
  ASSERT_TRUE(temporalUno) << temporalUno.error().texto();
  auto temporalDos = plataforma::creaTemporal();
  ASSERT_TRUE(temporalDos) << temporalDos.error().texto();
  const plataforma::Archivo uno = std::move(*temporalUno), dos = std::move(*temporalDos);
  // What a read gives: its count, or 0 on a failure, which then fails the test.
  const auto leeEn = [](std::FILE* archivo, std::uint64_t posicion, std::string& destino) {
    const auto leidos = plataforma::leeEn(archivo, posicion, destino.data(), destino.size());
    EXPECT_TRUE(leidos);
    return leidos ? *leidos : 0;
  };
  const std::string datos = bytes(5000, 13), otros = bytes(300, 14);
  ASSERT_EQ(std::fwrite(datos.data(), 1, datos.size(), uno.get()), datos.size());
  ASSERT_EQ(std::fwrite(otros.data(), 1, otros.size(), dos.get()), otros.size());
  ASSERT_EQ(std::fflush(uno.get()), 0);
  ASSERT_EQ(std::fflush(dos.get()), 0);

  std::string leidos(datos.size(), '\0');
  EXPECT_EQ(leeEn(uno.get(), 0, leidos), datos.size());
  EXPECT_TRUE(leidos == datos);
  // From the middle, up to the end and no further.
  std::string final(1000, '\0');
  ASSERT_EQ(leeEn(uno.get(), 4500, final), 500u);
  EXPECT_TRUE(final.substr(0, 500) == datos.substr(4500));
  std::string suyos(otros.size(), '\0');
  EXPECT_EQ(leeEn(dos.get(), 0, suyos), otros.size());
  EXPECT_TRUE(suyos == otros);
}

// The 64-bit uncompressed size kept in the ZIP64 field (tag 1) of a central header whose
// 32-bit size reads 0xFFFFFFFF: it is the field's first value.

}  // namespace
