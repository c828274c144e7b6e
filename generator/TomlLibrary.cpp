// The TOML library's implementation, compiled once here into the generator
// (every other unit includes its declarations only): the generator needs no
// shared library and cross-builds for Windows from the headers alone. The
// header fixes a fault of the library's (see there) before it is compiled.
#define TOML_IMPLEMENTATION
#include "generator/Toml.h"
