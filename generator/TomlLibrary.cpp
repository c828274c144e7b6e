// The TOML library's implementation, compiled once here into the generator
// (every other unit includes its declarations only): the generator needs no
// shared library and cross-builds for Windows from the headers alone.
#define TOML_IMPLEMENTATION
#include <toml++/toml.h>
