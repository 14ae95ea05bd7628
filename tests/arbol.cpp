// Temporary delivery trees for the tests.
#include "arbol.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <stdexcept>
namespace fs = std::filesystem;

Arbol::Arbol(const std::string& proyecto, const std::string& solucion) {
  std::random_device azar;
  for (int intento = 0; raiz_.empty(); ++intento) {
    const fs::path candidata =
        fs::temp_directory_path() / ("comprobador." + std::to_string(azar()));
    if (fs::create_directory(candidata)) raiz_ = candidata.string();
    if (intento > 100) throw std::runtime_error("no temporary folder");
  }
  // Readable by others, for the runs as an unprivileged user.
  fs::permissions(raiz_, fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                             fs::perms::others_read | fs::perms::others_exec);
  solucion_ = raiz_ + "/" + solucion;
  proyecto_ = solucion_ + "/" + proyecto;
  fs::create_directories(proyecto_);
  anterior_ = fs::current_path().string();
  fs::current_path(proyecto_);
}

Arbol::~Arbol() {
  std::error_code error;
  fs::current_path(anterior_, error);
  // Give back every permission a test took away, so that the tree can be removed.
  for (auto it = fs::recursive_directory_iterator(raiz_, error);
       !error && it != fs::recursive_directory_iterator(); it.increment(error)) {
    if (!it->is_symlink())
      fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, error);
  }
  fs::remove_all(raiz_, error);
}

void Arbol::archivo(const std::string& ruta, const std::string& contenido) {
  const fs::path camino = fs::u8path(solucion_) / fs::u8path(ruta);
  fs::create_directories(camino.parent_path());
  std::ofstream(camino, std::ios::binary) << contenido;
}

void Arbol::directorio(const std::string& ruta) {
  fs::create_directories(fs::u8path(solucion_) / fs::u8path(ruta));
}

void Arbol::enlace(const std::string& destino, const std::string& ruta) {
  const fs::path camino = fs::u8path(solucion_) / fs::u8path(ruta);
  fs::create_directories(camino.parent_path());
  fs::create_symlink(fs::u8path(destino), camino);
}

bool ignoraMayusculas() {
  const fs::path minusculas = fs::temp_directory_path() / "comprobador-mayusculas.tmp";
  std::ofstream(minusculas).put('x');
  std::error_code error;
  const bool igual = fs::exists(fs::temp_directory_path() / "COMPROBADOR-MAYUSCULAS.TMP", error);
  fs::remove(minusculas, error);
  return igual;
}

std::string lee(const std::string& ruta) {
  std::ifstream flujo(fs::u8path(ruta), std::ios::binary);
  std::ostringstream contenido;
  contenido << flujo.rdbuf();
  return contenido.str();
}

std::string vcxproj(std::initializer_list<const char*> items) {
  std::string xml =
      "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n"
      "<Project DefaultTargets=\"Build\" "
      "xmlns=\"http://schemas.microsoft.com/developer/msbuild/2003\">\n"
      "  <ItemDefinitionGroup>\n    <ClCompile>\n      <WarningLevel>Level3</WarningLevel>\n"
      "    </ClCompile>\n  </ItemDefinitionGroup>\n  <ItemGroup>\n";
  for (const std::string item : items) {
    const auto espacio = item.find(' ');
    xml += "    <" + item.substr(0, espacio) + " Include=\"" + item.substr(espacio + 1) + "\" />\n";
  }
  return xml + "  </ItemGroup>\n</Project>\n";
}
