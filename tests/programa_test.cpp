// The built program in delivery trees: its standard error, exit status and entrega.zip.
#include "arbol.h"
#include "lector_zip.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <set>
#include <string>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;

namespace {

const std::string kError = "Kelm - Práctica 2: error: ";
const std::string kAviso = "Kelm - Práctica 2: aviso: ";
const std::string kSinZip = "No se ha podido crear el archivo entrega.zip en el directorio actual.";

struct Ejecucion {
  int codigo = -1;
  std::string salida, error;
};

struct Opciones {
  bool sinPrivilegios = false;           // as nobody, for whom permission bits apply
  rlim_t limiteArchivo = RLIM_INFINITY;  // with SIGXFSZ ignored, writes past it fail
};

std::string leeTodo(int fd) {
  std::string texto;
  char bloque[4096];
  ssize_t n;
  while ((n = read(fd, bloque, sizeof bloque)) > 0) texto.append(bloque, static_cast<size_t>(n));
  return texto;
}

// A run that has been started and not yet waited for.
struct Proceso {
  pid_t pid = -1;
  int salida = -1, error = -1;
};

// Starts the program in the current directory, as a double click would: no arguments. Its
// output goes to pipes, which no file-size limit applies to.
Proceso inicia(const Opciones& opciones = {}) {
  int salida[2], error[2];
  if (pipe(salida) != 0 || pipe(error) != 0) return {};
  const pid_t hijo = fork();
  if (hijo == 0) {
    dup2(salida[1], 1);
    dup2(error[1], 2);
    close(salida[0]);
    close(error[0]);
    if (opciones.limiteArchivo != RLIM_INFINITY) {
      std::signal(SIGXFSZ, SIG_IGN);
      const rlimit limite{opciones.limiteArchivo, opciones.limiteArchivo};
      setrlimit(RLIMIT_FSIZE, &limite);
    }
    if (opciones.sinPrivilegios) {
      execl("/usr/bin/setpriv", "setpriv", "--reuid=65534", "--regid=65534", "--clear-groups",
            COMPROBADOR, static_cast<char*>(nullptr));
    } else {
      execl(COMPROBADOR, COMPROBADOR, static_cast<char*>(nullptr));
    }
    _exit(127);
  }
  close(salida[1]);
  close(error[1]);
  return {hijo, salida[0], error[0]};
}

// Waits for the run to end; its boxes are few lines, well within what a pipe holds.
Ejecucion termina(const Proceso& proceso) {
  Ejecucion ejecucion;
  ejecucion.error = leeTodo(proceso.error);
  ejecucion.salida = leeTodo(proceso.salida);
  close(proceso.salida);
  close(proceso.error);
  int estado = 0;
  waitpid(proceso.pid, &estado, 0);
  ejecucion.codigo = WIFEXITED(estado) ? WEXITSTATUS(estado) : 128 + WTERMSIG(estado);
  return ejecucion;
}

Ejecucion ejecuta(const Opciones& opciones = {}) { return termina(inicia(opciones)); }

bool sigueEnMarcha(const Proceso& proceso) {
  int estado = 0;
  return waitpid(proceso.pid, &estado, WNOHANG) == 0;
}

// Letters of a four-letter alphabet: deflate at level 9 finds short matches everywhere and
// takes about half a second per megabyte, long enough to start something meanwhile.
std::string lento(std::size_t n) {
  std::string datos(n, 'a');
  unsigned estado = 777;
  for (char& c : datos) {
    estado = estado * 1103515245u + 12345u;
    c = "acgt"[(estado >> 16) & 3];
  }
  return datos;
}

std::set<std::string> nombresDe(const std::string& carpeta) {
  std::set<std::string> nombres;
  for (const auto& entrada : fs::directory_iterator(carpeta)) {
    nombres.insert(entrada.path().filename().string());
  }
  return nombres;
}

std::vector<std::string> nombresDeEntradas(const std::string& zip) {
  std::vector<EntradaZip> entradas;
  std::string error;
  EXPECT_TRUE(leeZip(zip, entradas, error)) << error;
  std::vector<std::string> nombres;
  for (const auto& entrada : entradas) nombres.push_back(entrada.nombre);
  return nombres;
}

void completa(Arbol& arbol) {
  arbol.archivo("Juego/Juego.vcxproj", vcxproj({"ClCompile main.cpp", "ClInclude juego.h"}));
  arbol.archivo("Juego/main.cpp", "int main() {}\n");
  arbol.archivo("Juego/juego.h", "#pragma once\n");
  arbol.archivo("Solucion.sln", "sln\n");
  arbol.archivo("info.txt", "Autores\n");
  arbol.directorio("images");
}

void permisos(const std::string& ruta, fs::perms modo) { fs::permissions(ruta, modo); }

}  // namespace

TEST(Programa, MuestraDeLaDocumentacion) {
  Arbol arbol("Juego", "Solucion");
  fs::copy(std::string(MUESTRA) + "/Solucion", arbol.solucion(),
           fs::copy_options::recursive | fs::copy_options::overwrite_existing);
  const Ejecucion e = ejecuta();
  EXPECT_EQ(e.codigo, 0);
  EXPECT_EQ(e.salida, "");
  EXPECT_EQ(e.error, kAviso + "El proyecto no hace referencia al archivo pruebas.cpp.\n");
  std::vector<EntradaZip> entradas;
  std::string error;
  ASSERT_TRUE(leeZip("entrega.zip", entradas, error)) << error;
  std::vector<std::string> nombres;
  for (const auto& entrada : entradas) nombres.push_back(entrada.nombre);
  EXPECT_EQ(nombres, (std::vector<std::string>{
                         "Juego/Juego.vcxproj", "Solucion.sln", "Juego/Juego.cpp", "Juego/main.cpp",
                         "Juego/pruebas.cpp", "Juego/Juego.h", "Juego/Juego.vcxproj.filters",
                         "info.txt", "images/enemigo.png", "images/heroe.png"}));
}

TEST(Programa, CodigosDeSalidaYLineas) {
  {
    SCOPED_TRACE("completa, sin ninguna caja");
    Arbol arbol;
    completa(arbol);
    const Ejecucion e = ejecuta();
    EXPECT_EQ(e.codigo, 0);
    EXPECT_EQ(e.error, "");
    EXPECT_EQ(e.salida, "");
    EXPECT_TRUE(fs::is_regular_file("entrega.zip"));
  }
  {
    SCOPED_TRACE("directorio vacío");
    Arbol arbol;
    const Ejecucion e = ejecuta();
    EXPECT_EQ(e.codigo, 1);
    EXPECT_EQ(e.error, kError +
                           "El programa no se está ejecutando en el directorio de un proyecto "
                           "de Visual Studio (no se encuentra el .vcxproj).\n");
    EXPECT_FALSE(fs::exists("entrega.zip"));
  }
  {
    SCOPED_TRACE("entrega.zip es un directorio");
    Arbol arbol;
    completa(arbol);
    arbol.directorio("Juego/entrega.zip");
    const Ejecucion e = ejecuta();
    EXPECT_EQ(e.codigo, 1);
    EXPECT_EQ(e.error, kError + kSinZip + "\n");
  }
  {
    SCOPED_TRACE("nombre que no es UTF-8");
    Arbol arbol;
    completa(arbol);
    arbol.archivo("images/\xc0\xaf.png");  // an overlong "/"
    const Ejecucion e = ejecuta();
    EXPECT_EQ(e.codigo, 2);
    EXPECT_EQ(e.error, kError +
                           "No se ha podido convertir a UTF-8 el nombre \\xC0\\xAF.png del "
                           "directorio ../images: Invalid or incomplete multibyte or wide "
                           "character.\n");
    EXPECT_FALSE(fs::exists("entrega.zip"));
  }
}

// Root ignores permission bits, so these run the program as nobody.
TEST(Programa, AccesoDenegado) {
  if (geteuid() != 0) GTEST_SKIP() << "solo root puede ejecutar el programa como nobody";
  const struct {
    const char* nombre;
    const char* ruta;  // relative to the solution folder
    fs::perms modo;
    const char* proyecto;
    int codigo;
    std::string error;
  } filas[] = {
      {"no se puede listar images", "images", fs::perms::owner_all, nullptr, 2,
       kError + "No se ha podido abrir el directorio ../images: Permission denied.\n"},
      {"no se puede listar el proyecto", "Juego", fs::perms::owner_all | fs::perms::others_exec,
       nullptr, 2, kError + "No se ha podido abrir el directorio .: Permission denied.\n"},
      {"no se puede listar la solución", ".", fs::perms::owner_all | fs::perms::others_exec,
       nullptr, 2, kError + "No se ha podido abrir el directorio ..: Permission denied.\n"},
      {"no se puede consultar images", ".", fs::perms::owner_all | fs::perms::others_read, nullptr,
       2, kError + "No se ha podido consultar el estado de ../images: Permission denied.\n"},
      {"no se puede consultar un Include", "Juego/privado", fs::perms::owner_all,
       "ClCompile privado\\x.cpp", 2,
       kError + "No se ha podido consultar el estado de privado/x.cpp: Permission denied.\n"},
      {"no se puede buscar en images", "images", fs::perms::owner_all | fs::perms::others_read,
       nullptr, 2,
       kError + "No se ha podido obtener la ruta canónica de ../images/heroe.png: Permission "
                "denied.\n"},
      // A delivered file that is there and cannot be read keeps the archive from being made.
      {"proyecto ilegible", "Juego/Juego.vcxproj", fs::perms::owner_all, nullptr, 1,
       kError + "Error al procesar el archivo del proyecto.\n" + kError + kSinZip + "\n"},
      {"fuente ilegible", "Juego/main.cpp", fs::perms::owner_all, nullptr, 1,
       kError + kSinZip + "\n"},
      {"info.txt ilegible", "info.txt", fs::perms::owner_all, nullptr, 1, kError + kSinZip + "\n"},
      {"imagen ilegible", "images/heroe.png", fs::perms::owner_all, nullptr, 1,
       kError + kSinZip + "\n"},
      {"carpeta del proyecto de solo lectura", "Juego",
       fs::perms::owner_all | fs::perms::others_read | fs::perms::others_exec, nullptr, 1,
       kError + kSinZip + "\n"},
  };
  for (const auto& fila : filas) {
    SCOPED_TRACE(fila.nombre);
    Arbol arbol;
    completa(arbol);
    if (fila.proyecto) {
      arbol.archivo("Juego/Juego.vcxproj",
                    vcxproj({"ClCompile main.cpp", "ClInclude juego.h", fila.proyecto}));
    }
    arbol.directorio("Juego/privado");
    arbol.archivo("images/heroe.png", "PNG");
    // Writable by nobody, so that only the denial under test stands in the way.
    permisos(arbol.proyecto(), fs::perms::all);
    permisos(arbol.solucion() + "/" + fila.ruta, fila.modo);
    const Ejecucion e = ejecuta({/*sinPrivilegios=*/true});
    EXPECT_EQ(e.codigo, fila.codigo);
    EXPECT_EQ(e.error, fila.error);
    EXPECT_EQ(e.salida, "");
    EXPECT_EQ(fs::exists(arbol.proyecto() + "/entrega.zip"), fila.codigo == 0);
  }
}

// A file system that fills up: the archive is never left half written behind exit 0.
TEST(Programa, SinEspacioNoQuedaUnArchivoRoto) {
  // Incompressible bytes, as real images are.
  std::string imagen(400000, '\0');
  unsigned estado = 12345;
  for (char& c : imagen) {
    estado = estado * 1103515245u + 12345u;
    c = static_cast<char>(estado >> 24);
  }
  const auto arma = [&imagen](Arbol& arbol) {
    completa(arbol);
    arbol.archivo("images/fondo.png", imagen);
  };
  rlim_t entero;
  {
    Arbol arbol;
    arma(arbol);
    ASSERT_EQ(ejecuta().codigo, 0);
    entero = static_cast<rlim_t>(fs::file_size("entrega.zip"));
  }
  // One byte short of the whole archive: only the last write of zipClose fails.
  for (const rlim_t limite : {rlim_t{0}, rlim_t{100}, rlim_t{20000}, rlim_t{300000}, entero - 1}) {
    SCOPED_TRACE(limite);
    Arbol arbol;
    arma(arbol);
    // One from before goes too: after the error no archive could pass for the new one.
    arbol.archivo("Juego/entrega.zip", "PK anterior");
    const Ejecucion e = ejecuta({false, limite});
    EXPECT_EQ(e.codigo, 1);
    EXPECT_EQ(e.error, kError + kSinZip + "\n");
    EXPECT_EQ(nombresDe("."), (std::set<std::string>{"Juego.vcxproj", "juego.h", "main.cpp"}));
  }
}

// An entrega.zip that may not be written is found out before anything is written, and
// stays as it was, though a rename would have replaced it.
TEST(Programa, UnEntregaZipQueNoSePuedeEscribirSeQuedaComoEsta) {
  for (const bool directorio : {false, true}) {
    SCOPED_TRACE(directorio ? "un directorio" : "de solo lectura");
    Arbol arbol;
    completa(arbol);
    permisos(arbol.proyecto(), fs::perms::all);
    if (directorio) {
      arbol.archivo("Juego/entrega.zip/dentro", "x");
    } else {
      arbol.archivo("Juego/entrega.zip", "PK anterior");
      permisos("entrega.zip", fs::perms::owner_read | fs::perms::others_read);
    }
    const std::set<std::string> antes = nombresDe(".");
    const Ejecucion e = ejecuta({/*sinPrivilegios=*/true});
    EXPECT_EQ(e.codigo, 1);
    EXPECT_EQ(e.error, kError + kSinZip + "\n");
    EXPECT_EQ(nombresDe("."), antes);
    if (directorio) {
      EXPECT_EQ(lee(arbol.proyecto() + "/entrega.zip/dentro"), "x");
    } else {
      EXPECT_EQ(lee("entrega.zip"), "PK anterior");
    }
  }
}

// A student starts it again before the first run has ended: the second waits, then sees
// the source added meanwhile, and its archive is the one that stands.
TEST(Programa, DosEjecucionesALaVez) {
  Arbol arbol;
  completa(arbol);
  arbol.archivo("Juego/Juego.vcxproj", vcxproj({"ClCompile main.cpp", "ClCompile lento.cpp",
                                                "ClCompile nuevo.cpp", "ClInclude juego.h"}));
  arbol.archivo("Juego/lento.cpp", lento(2 << 20));
  const Proceso primera = inicia();
  std::this_thread::sleep_for(std::chrono::milliseconds(500));
  arbol.archivo("Juego/nuevo.cpp", "int nuevo;\n");
  const Proceso segunda = inicia();
  // Otherwise the two never overlapped, and nothing was tried.
  EXPECT_TRUE(sigueEnMarcha(primera));
  const Ejecucion a = termina(primera);
  const Ejecucion b = termina(segunda);
  EXPECT_EQ(a.codigo, 0);
  EXPECT_EQ(a.error,
            kError + "El archivo nuevo.cpp al que hace referencia el proyecto no existe.\n");
  EXPECT_EQ(b.codigo, 0);
  EXPECT_EQ(b.error, "");
  EXPECT_EQ(
      nombresDeEntradas("entrega.zip"),
      (std::vector<std::string>{"Juego/Juego.vcxproj", "Solucion.sln", "Juego/lento.cpp",
                                "Juego/main.cpp", "Juego/nuevo.cpp", "Juego/juego.h", "info.txt"}));
  // Byte for byte what a run of its own makes of the tree as it now is.
  const std::string final = lee("entrega.zip");
  EXPECT_EQ(ejecuta().codigo, 0);
  EXPECT_TRUE(lee("entrega.zip") == final);
  EXPECT_EQ(nombresDe("."), (std::set<std::string>{"Juego.vcxproj", "entrega.zip", "juego.h",
                                                   "lento.cpp", "main.cpp", "nuevo.cpp"}));
}

// Killed while it writes, a run leaves the archive from before as it was, or none; the
// next run ends well and leaves nothing else behind.
TEST(Programa, UnaEjecucionMatadaNoTocaElArchivoAnterior) {
  for (const bool anterior : {true, false}) {
    SCOPED_TRACE(anterior ? "con un entrega.zip anterior" : "sin entrega.zip");
    Arbol arbol;
    completa(arbol);
    arbol.archivo("Juego/Juego.vcxproj",
                  vcxproj({"ClCompile main.cpp", "ClCompile lento.cpp", "ClInclude juego.h"}));
    arbol.archivo("Juego/lento.cpp", lento(1 << 20));
    std::string previo;
    if (anterior) {
      ASSERT_EQ(ejecuta().codigo, 0);
      arbol.archivo("Juego/main.cpp", "int main() { return 1; }\n");
      previo = lee("entrega.zip");
    }
    const std::set<std::string> antes = nombresDe(".");
    const Proceso proceso = inicia();
    // Once anything new shows in the folder, the archive is being written.
    bool escribiendo = false;
    for (int i = 0; i < 2000 && !escribiendo && sigueEnMarcha(proceso); ++i) {
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
      escribiendo = nombresDe(".") != antes;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    EXPECT_TRUE(escribiendo && sigueEnMarcha(proceso));
    kill(proceso.pid, SIGKILL);
    EXPECT_EQ(termina(proceso).codigo, 128 + SIGKILL);
    if (anterior) {
      EXPECT_TRUE(lee("entrega.zip") == previo);
    } else {
      EXPECT_FALSE(fs::exists("entrega.zip"));
    }

    const Ejecucion e = ejecuta();
    EXPECT_EQ(e.codigo, 0);
    EXPECT_EQ(e.error, "");
    std::set<std::string> despues = antes;
    despues.insert("entrega.zip");
    EXPECT_EQ(nombresDe("."), despues);
    EXPECT_EQ(nombresDeEntradas("entrega.zip").size(), 6u);
  }
}
