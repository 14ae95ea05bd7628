// A real delivery tree in a temporary folder: <tmp>/Solucion/Juego, entered while it lives.
#pragma once

#include <string>

class Arbol {
 public:
  /// Creates the solution folder `solucion` with the project folder `proyecto` inside and
  /// makes the project folder the current directory.
  explicit Arbol(const std::string& proyecto = "Juego", const std::string& solucion = "Solucion");
  ~Arbol();
  Arbol(const Arbol&) = delete;
  Arbol& operator=(const Arbol&) = delete;

  /// Paths are relative to the solution folder; parent folders are created.
  void archivo(const std::string& ruta, const std::string& contenido = "");
  void directorio(const std::string& ruta);
  void enlace(const std::string& destino, const std::string& ruta);

  /// Absolute paths of the solution and project folders.
  const std::string& solucion() const { return solucion_; }
  const std::string& proyecto() const { return proyecto_; }
  /// The temporary folder that holds the solution folder.
  const std::string& raiz() const { return raiz_; }

 private:
  std::string raiz_, solucion_, proyecto_, anterior_;
};

/// Whether the temporary folder's file system takes names that differ in case as one.
bool ignoraMayusculas();

/// The whole content of a file.
std::string lee(const std::string& ruta);

/// A project file naming these items, each "ClCompile x" or "ClInclude x".
std::string vcxproj(std::initializer_list<const char*> items);
