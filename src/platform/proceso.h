// Settings of the process that the run depends on for its speed, made once at the start.
#pragma once

namespace plataforma {

void preparaProceso();

}  // namespace plataforma
