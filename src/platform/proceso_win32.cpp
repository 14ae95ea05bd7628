// Process settings on Windows: none are needed.
#include "proceso.h"

namespace plataforma {

void preparaProceso() {}

}  // namespace plataforma
