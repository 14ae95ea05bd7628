// Who handed a file in, read from the names the campus gives its downloads: Moodle's
// "<name>_<id>_assignsubmission_<plugin>" (a folder, a folder with a trailing "_" as 3.x
// writes it, or the prefix of a file's name when folders are off) and Canvas's
// "<name>[_LATE]_<user id>_<attachment id>_<file name>".
#pragma once

#include <optional>
#include <string>

/// A participant as the campus names them.
struct Participante {
  std::string numero;   // the number of "Participant N" in the grading worksheet; may be empty
  std::string nombre;   // as the campus wrote it: "Participant" under blind marking, a group's
  bool moodle = false;  // named by Moodle's forms, whose importer takes feedback files back
};

/// What a path of a download says of who handed it in.
struct Procedencia {
  Participante participante;
  std::string carpeta;  // the path up to and including the participant's component
  std::string propia;   // the rest: the participant's own path and file name ("" for a folder)
  bool textoEnLinea = false;  // written in the campus's online text, not uploaded
};

/// What `ruta` (components joined by "/") says of who handed it in: its first component of
/// one of the campus's forms gives the participant. Nothing when it holds none.
std::optional<Procedencia> procedenciaDe(const std::string& ruta);
