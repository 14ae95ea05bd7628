// Inside the platform layer: a system's own quick way to resolve an existing path.
#pragma once

#include <filesystem>
#include <string>

namespace plataforma {

/// The canonical form of `ruta` when the system can give it at once for an existing path;
/// false leaves it to the portable walk.
bool resuelveExistente(const std::string& ruta, std::filesystem::path& resultado);

}  // namespace plataforma
