// The conversions fuzz target on the float text path of the WebAssembly
// build: the same checks, with the value conversions compiled into this
// program with TARNEL_PORTABLE_FLOAT_TEXT (see CMakeLists.txt).
#include "conversions_fuzz.cpp"
