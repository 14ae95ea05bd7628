// The archive where only POSIX systems can put it: links out of the solution, a file
// system that fills up or fails a read, and a sparse file of more than 4 GiB.
#include "archivo_apoyo.h"

#include <csignal>
#include <sys/resource.h>

namespace {

namespace fs = std::filesystem;

TEST(Archivo, LosEnlacesHaciaFueraSeNombranPorDondeSeEncuentran) {
  Arbol arbol;
  entregaMinima(arbol, {"ClCompile enlace.cpp", "ClCompile dentro.cpp", "ClCompile roto.cpp"});
  const std::string fuera = arbol.raiz() + "/fuera";
  arbol.archivo("../fuera/real.cpp", "int real;\n");
  arbol.archivo("../fuera/foto.png", bytes(700, 8));
  arbol.archivo("../fuera/Comun.props", "<Project />\n");
  arbol.archivo("Comun/dentro.cpp", "int dentro;\n");
  arbol.enlace(fuera + "/real.cpp", "Juego/enlace.cpp");
  arbol.enlace("../../fuera/foto.png", "images/enlazada.png");
  arbol.enlace("../fuera/Comun.props", "Enlace.props");
  // A link that stays inside the solution keeps the name of the file it reaches.
  arbol.enlace("../Comun/dentro.cpp", "Juego/dentro.cpp");
  // A dangling link does not open, and like any such file is left out without a word.
  arbol.enlace(fuera + "/no_existe.cpp", "Juego/roto.cpp");

  EXPECT_EQ(comprueba(), Desenlace::entregado);
  EXPECT_EQ(cajas(), Cajas{});
  const std::vector<EntradaZip> entradas = leeEntrega();
  const Entradas esperadas = {
      {"Juego/Juego.vcxproj",
       vcxproj({"ClCompile enlace.cpp", "ClCompile dentro.cpp", "ClCompile roto.cpp"})},
      {"Solucion.sln", "Microsoft Visual Studio Solution File\r\n"},
      {"Comun/dentro.cpp", "int dentro;\n"},
      {"Juego/enlace.cpp", "int real;\n"},
      {"Enlace.props", "<Project />\n"},
      {"info.txt", "Ana y Luis\r\n"},
      {"images/enlazada.png", bytes(700, 8)},
  };
  EXPECT_EQ(contenido(entradas), esperadas);
  for (const EntradaZip& e : entradas) {
    EXPECT_NE(e.nombre.substr(0, 1), "/") << e.nombre;
    EXPECT_EQ(e.nombre.find(".."), std::string::npos) << e.nombre;
  }
}

// Lowers the file-size limit for its lifetime, SIGXFSZ ignored so that writes just fail.
class LimiteTamano {
 public:
  explicit LimiteTamano(rlim_t bytes) {
    getrlimit(RLIMIT_FSIZE, &anterior);
    rlimit limite = anterior;
    limite.rlim_cur = bytes;
    senal = std::signal(SIGXFSZ, SIG_IGN);
    puesto = setrlimit(RLIMIT_FSIZE, &limite) == 0;
  }
  ~LimiteTamano() {
    setrlimit(RLIMIT_FSIZE, &anterior);
    std::signal(SIGXFSZ, senal);
  }
  bool puesto = false;

 private:
  rlimit anterior{};
  void (*senal)(int) = SIG_DFL;
};

TEST(Archivo, UnArchivoQueNoCabeSeBorra) {
  Arbol arbol;
  entregaMinima(arbol, {"ClCompile grande.cpp"});
  arbol.archivo("Juego/grande.cpp", bytes(1 << 20, 9));
  Desenlace resultado;
  {
    // As a full disk would: the archive cannot grow past 64 KiB.
    LimiteTamano limite(64 * 1024);
    ASSERT_TRUE(limite.puesto);
    resultado = comprueba();
  }
  EXPECT_EQ(resultado, Desenlace::sinEntrega);
  EXPECT_EQ(cajas(), Cajas{E(kSinZip)});
  EXPECT_FALSE(fs::exists("entrega.zip"));
}

TEST(Archivo, UnArchivoQueNoSePuedeLeerSeQuedaSinEntrega) {
  // A regular file that opens, and whose first read, at offset 0, fails with EIO.
  if (!fs::is_regular_file("/proc/self/mem")) GTEST_SKIP() << "sin /proc";
  const std::string sinReferencia = kSinReferencia;
  const struct {
    const char* caso;
    const char* ilegible;              // relative to the solution folder
    std::vector<const char*> despues;  // files that would be delivered after it
    Cajas cajas;
  } filas[] = {
      {"un fuente", "Juego/memoria.cpp", {}, {A(sinReferencia + "memoria.cpp."), E(kSinZip)}},
      {"un fuente seguido de otros que se leen",
       "Juego/memoria.cpp",
       {"Juego/zeta.cpp", "Juego/juego.h", "Juego/Juego.vcxproj.filters", "images/heroe.png"},
       {A(sinReferencia + "memoria.cpp."), A(sinReferencia + "zeta.cpp."), E(kSinZip)}},
      {"info.txt seguido de una imagen", "info.txt", {"images/heroe.png"}, {E(kSinZip)}},
  };
  for (const auto& fila : filas) {
    SCOPED_TRACE(fila.caso);
    Arbol arbol;
    entregaMinima(arbol, {"ClCompile main.cpp"});
    arbol.archivo("Juego/main.cpp", "int main() {}\n");
    for (const char* ruta : fila.despues) arbol.archivo(ruta, "se lee bien\n");
    fs::remove(arbol.solucion() + "/" + fila.ilegible);
    arbol.enlace("/proc/self/mem", fila.ilegible);
    arbol.archivo("Juego/entrega.zip", "de antes");
    EXPECT_EQ(comprueba(), Desenlace::sinEntrega);
    EXPECT_EQ(cajas(), fila.cajas);
    // Neither half of the new archive nor the old one, which could pass for it.
    EXPECT_FALSE(fs::exists("entrega.zip"));
    EXPECT_FALSE(fs::exists(".entrega.zip.tmp"));
  }
}

// Delivers `datos`, then fails as a disk would; istream::read turns the throw into badbit.
std::uint64_t tamanoZip64(const unsigned char* extra, std::size_t largo) {
  for (std::size_t i = 0; i + 4 <= largo;) {
    const unsigned etiqueta = extra[i] | extra[i + 1] << 8;
    const std::size_t datos = extra[i + 2] | extra[i + 3] << 8;
    if (etiqueta == 1 && datos >= 8 && i + 4 + 8 <= largo) {
      std::uint64_t tamano = 0;
      for (int b = 7; b >= 0; --b) tamano = tamano << 8 | extra[i + 4 + b];
      return tamano;
    }
    i += 4 + datos;
  }
  return 0;
}

// Each file of the size below takes half a minute or more; once per make test is enough.
#ifdef COMPROBADOR_SIN_ARCHIVOS_GRANDES
#define SOLO_UNA_VEZ() GTEST_SKIP() << "los archivos de 4 GiB se prueban en la compilación normal"
#else
#define SOLO_UNA_VEZ() (void)0
#endif

// Deflate may grow data a little, so a file this close to 4 GiB must already take the
// ZIP64 form, whose sizes are fixed only when the entry closes.
TEST(ArchivoGrande, JustoPorDebajoDe4GibYaEnZip64) {
  SOLO_UNA_VEZ();
  Arbol arbol;
  entregaMinima(arbol, {"ClCompile grande.cpp"});
  arbol.archivo("Juego/grande.cpp");
  fs::resize_file("grande.cpp", kTamanoZip64);

  ASSERT_EQ(comprueba(), Desenlace::entregado);
  EXPECT_EQ(cajas(), Cajas{});
  std::vector<EntradaZip> entradas;
  std::string error;
  ASSERT_TRUE(leeZip("entrega.zip", entradas, error, /*conDatos=*/false)) << error;
  ASSERT_EQ(entradas.size(), 4u);
  EXPECT_EQ(entradas[2].nombre, "Juego/grande.cpp");
  EXPECT_EQ(entradas[2].tamano, kTamanoZip64);
  // The local header is written before the size is known: it takes the ZIP64 form. The
  // central one is written after, and the sizes fit its 32-bit fields.
  EXPECT_EQ(entradas[2].versionLocal, 45u);
  EXPECT_EQ(entradas[2].extraLocal, 20u);
  EXPECT_EQ(entradas[2].versionNecesaria, 20u);
  EXPECT_EQ(entradas[2].flag, 0x0802u);
  for (const std::size_t i : {0, 1, 3}) compruebaCabeceras(entradas[i]);
}

// Long (about half a minute): deflates and inflates 4 GiB. The file is sparse and its
// zeros deflate about a thousand to one, so it takes no real disk space.
TEST(ArchivoGrande, CuatroGibEnZip64) {
  SOLO_UNA_VEZ();
  constexpr std::uint64_t kTamano = 0x100000010;
  Arbol arbol;
  entregaMinima(arbol, {"ClCompile grande.cpp", "ClCompile main.cpp"});
  arbol.archivo("Juego/main.cpp", "int main() {}\n");
  arbol.archivo("Juego/grande.cpp");
  fs::resize_file("grande.cpp", kTamano);

  ASSERT_EQ(comprueba(), Desenlace::entregado);
  EXPECT_EQ(cajas(), Cajas{});
  std::vector<EntradaZip> entradas;
  std::string error;
  ASSERT_TRUE(leeZip("entrega.zip", entradas, error, /*conDatos=*/false)) << error;
  std::vector<std::string> nombres;
  for (const EntradaZip& e : entradas) {
    nombres.push_back(e.nombre);
    if (e.nombre != "Juego/grande.cpp") {
      compruebaCabeceras(e);
      continue;
    }
    // Only this entry takes minizip's ZIP64 form; it still says UTF-8 and level 9.
    EXPECT_EQ(e.versionNecesaria, 45u);
    EXPECT_EQ(e.versionLocal, 45u);
    EXPECT_EQ(e.flag, 0x0802u);
    EXPECT_EQ(e.metodo, 8u);
    EXPECT_TRUE(esFechaDeLaEjecucion(e.fechaDos)) << e.fechaDos;
  }
  EXPECT_EQ(nombres, (std::vector<std::string>{"Juego/Juego.vcxproj", "Solucion.sln",
                                               "Juego/grande.cpp", "Juego/main.cpp", "info.txt"}));

  // minizip's reader stops at 0xFFFFFFFF bytes, ignoring the ZIP64 size of the central
  // header; so the size is taken from that field here, and the raw data inflated with zlib.
  const std::unique_ptr<void, int (*)(unzFile)> archivo(unzOpen64("entrega.zip"), unzClose);
  unzFile zip = archivo.get();
  ASSERT_NE(zip, nullptr);
  ASSERT_EQ(unzLocateFile(zip, "Juego/grande.cpp", 1), UNZ_OK);
  unz_file_info64 info;
  unsigned char extra[256];
  ASSERT_EQ(unzGetCurrentFileInfo64(zip, &info, nullptr, 0, extra, sizeof extra, nullptr, 0),
            UNZ_OK);
  EXPECT_EQ(tamanoZip64(extra, std::min<std::size_t>(info.size_file_extra, sizeof extra)), kTamano);
  int metodo = 0, nivel = 0;
  ASSERT_EQ(unzOpenCurrentFile2(zip, &metodo, &nivel, /*raw=*/1), UNZ_OK);
  z_stream z{};
  ASSERT_EQ(inflateInit2(&z, -MAX_WBITS), Z_OK);
  std::vector<Bytef> comprimido(1 << 16), salida(1 << 20), ceros(1 << 20);
  std::uint64_t tamano = 0;
  uLong crc = crc32(0, Z_NULL, 0);
  bool todoCeros = true;
  int estado = Z_OK, n;
  while (estado == Z_OK && (n = unzReadCurrentFile(zip, comprimido.data(),
                                                   static_cast<unsigned>(comprimido.size()))) > 0) {
    z.next_in = comprimido.data();
    z.avail_in = static_cast<uInt>(n);
    do {
      z.next_out = salida.data();
      z.avail_out = static_cast<uInt>(salida.size());
      estado = inflate(&z, Z_NO_FLUSH);
      if (estado == Z_BUF_ERROR) estado = Z_OK;  // this block is used up: read the next
      const uInt hecho = static_cast<uInt>(salida.size()) - z.avail_out;
      tamano += hecho;
      crc = crc32(crc, salida.data(), hecho);
      todoCeros = todoCeros && std::memcmp(salida.data(), ceros.data(), hecho) == 0;
    } while (estado == Z_OK && z.avail_out == 0);
  }
  inflateEnd(&z);
  unzCloseCurrentFile(zip);
  EXPECT_EQ(estado, Z_STREAM_END);
  EXPECT_EQ(tamano, kTamano);
  EXPECT_TRUE(todoCeros);
  EXPECT_EQ(crc, info.crc);
  EXPECT_EQ(info.crc, 0xC9EFF1BDu);  // CRC-32 of 0x100000010 zero bytes
}

}  // namespace
