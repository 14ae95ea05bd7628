// Reading the command line: every option named, every value checked.
#include "opciones.h"

plataforma::Resultado<Opciones> leeOpciones(const std::vector<std::string>& argumentos,
                                            unsigned hilos) {
  Opciones opciones;
  opciones.hilos = hilos;
  const auto mal = [](const std::string& que) {
    return plataforma::Fallo{que + "; " + kUso, "", "", plataforma::Alcance::todo};
  };
  for (std::size_t i = 0; i < argumentos.size(); ++i) {
    const std::string& a = argumentos[i];
    // The value an option takes: the next argument.
    const auto valor = [&]() -> std::optional<std::string> {
      if (i + 1 == argumentos.size()) return std::nullopt;
      return argumentos[++i];
    };
    if (a == "--salida") {
      opciones.salida = valor();
      if (!opciones.salida) return mal("--salida necesita una carpeta");
    } else if (a == "--plantilla") {
      opciones.plantilla = valor();
      if (!opciones.plantilla) return mal("--plantilla necesita una carpeta o un .zip");
    } else if (a == "--anteriores") {
      const std::optional<std::string> anterior = valor();
      if (!anterior) return mal("--anteriores necesita una carpeta o un .zip");
      opciones.anteriores.push_back(*anterior);
    } else if (a == "--retroalimentacion") {
      opciones.retroalimentacion = true;
    } else if (a == "--sin-similitud") {
      opciones.similitud = false;
    } else if (a == "-j" || (a.size() > 2 && a.compare(0, 2, "-j") == 0)) {
      const std::string numero = a == "-j" ? valor().value_or("") : a.substr(2);
      if (numero.empty() || numero.size() > 3 ||
          numero.find_first_not_of("0123456789") != std::string::npos || std::stoi(numero) < 1) {
        return mal("-j necesita un número de hilos, 1 o más");
      }
      opciones.hilos = static_cast<unsigned>(std::stoi(numero));
    } else if (a.size() > 1 && a[0] == '-' && a != "-") {
      return mal("opción desconocida " + a);
    } else {
      opciones.entradas.push_back(a);
    }
  }
  if (!opciones.similitud && (opciones.plantilla || !opciones.anteriores.empty())) {
    return mal("--plantilla y --anteriores no van con --sin-similitud, que no compara el código");
  }
  return opciones;
}
