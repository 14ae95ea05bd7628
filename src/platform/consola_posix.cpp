// The console on POSIX systems: arguments are bytes as given, the terminal is the user's.
#include "consola.h"

namespace plataforma {

std::vector<std::string> argumentos(int argc, char** argv) {
  return argc > 1 ? std::vector<std::string>(argv + 1, argv + argc) : std::vector<std::string>();
}

void preparaConsola() {}

bool consolaPropia() { return false; }

}  // namespace plataforma
