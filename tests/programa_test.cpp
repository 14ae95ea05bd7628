// The built program in delivery trees: its standard error, exit status and entrega.zip.
#include "arbol.h"
#include "lector_zip.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <string>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
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

// Runs the program in the current directory, as a double click would: no arguments. Its
// output goes to pipes, which no file-size limit applies to.
Ejecucion ejecuta(const Opciones& opciones = {}) {
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
  Ejecucion ejecucion;
  ejecucion.error = leeTodo(error[0]);
  ejecucion.salida = leeTodo(salida[0]);
  close(salida[0]);
  close(error[0]);
  int estado = 0;
  waitpid(hijo, &estado, 0);
  ejecucion.codigo = WIFEXITED(estado) ? WEXITSTATUS(estado) : 128 + WTERMSIG(estado);
  return ejecucion;
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
      {"proyecto ilegible", "Juego/Juego.vcxproj", fs::perms::owner_all, nullptr, 0,
       kError + "Error al procesar el archivo del proyecto.\n"},
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
    const Ejecucion e = ejecuta({false, limite});
    EXPECT_EQ(e.codigo, 1);
    EXPECT_EQ(e.error, kError + kSinZip + "\n");
    EXPECT_FALSE(fs::exists("entrega.zip"));
  }
}
