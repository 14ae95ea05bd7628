// Inside the platform layer: what the paths through std::filesystem need of each system.
#pragma once

#include <filesystem>
#include <string>

namespace plataforma {

/// `ruta`, UTF-8, as a path of the system. False when it has no form there.
bool camino(const std::string& ruta, std::filesystem::path& resultado);

/// A path in the system's own form, as UTF-8. False when it has no form in UTF-8.
bool utf8(const std::filesystem::path::string_type& nativo, std::string& resultado);

/// The canonical form of `ruta` when the system can give it at once for an existing path;
/// false leaves it to the portable walk.
bool resuelveExistente(const std::string& ruta, std::filesystem::path& resultado);

}  // namespace plataforma
