// revisa's entry point on POSIX systems.
#include "revisa.h"

int main(int argc, char** argv) { return ejecutaRevisa({argv + 1, argv + argc}); }
