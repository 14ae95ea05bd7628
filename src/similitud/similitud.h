// The copy detection in one include: participants' texts in, pairs and fragments out.
#pragma once

#include "comparacion.h"
#include "huellas.h"
