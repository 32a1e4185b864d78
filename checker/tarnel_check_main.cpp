// tarnel_check: reports every problem of one or more source programs, with
// its line and column, without assembling or running anything.
//
//   tarnel_check source.tarnel...
#include <iostream>
#include <string>
#include <vector>

#include "check_driver.h"

int main(int argc, char** argv) {
  std::vector<std::string> files(argv + (argc > 0 ? 1 : 0), argv + argc);
  return runCheck(files, std::cout);
}
