// Time per executed instruction of kivinterp's engine on a countdown loop of
// three million iterations: add, dec, cmp and a conditional jump each time.
#include <chrono>
#include <cstdio>
#include <sstream>

#include "interpreter.h"

int main() {
  const long iterations = 3000000;
  const char* program =
      "var{n&:3000000,total&:0,con0&:0}"
      "code{top@,4!total:2,3!n:0,14!n:0,16!top:0,12!total:0,stop@,0!0:0}";
  std::istringstream in;
  std::ostringstream out;
  Interpreter interpreter(in, out);
  interpreter.loadText(program);
  auto start = std::chrono::steady_clock::now();
  interpreter.execute();
  auto stop = std::chrono::steady_clock::now();
  double seconds = std::chrono::duration<double>(stop - start).count();
  // Four instructions and the label record per iteration.
  const double instructions = 4.0 * static_cast<double>(iterations);
  std::printf("iterations %ld, result %s\n", iterations, out.str().c_str());
  std::printf("total %.3f s, %.1f ns per executed instruction\n", seconds,
              seconds * 1e9 / instructions);
  return 0;
}
