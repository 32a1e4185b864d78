// perl_script_bench [STATEMENTS]: times the Perl script text for a program
// of many variables and statements, each operand looked up among them.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "perl_script.h"

int main(int argc, char** argv) {
  int statements = argc > 1 ? std::atoi(argv[1]) : 200000;
  if (statements < 1) statements = 1;
  int variables = statements / 10 + 1;

  ProgramTables tables;
  tables.reserveVariables(variables);
  for (int i = 0; i < variables; ++i) {
    tables.addVariable("v" + std::to_string(i), std::to_string(i), VariableInteger);
  }
  tables.reserveStatements(statements);
  for (int i = 0; i < statements; ++i) {
    std::string a = "v" + std::to_string(i % variables);
    std::string b = "v" + std::to_string((i * 7) % variables);
    tables.addInstruction(i % 2 == 0 ? "add" : "cmp", a, b);
  }

  auto start = std::chrono::steady_clock::now();
  std::string script = perlScriptText(tables, [](const std::string&) {});
  std::chrono::duration<double> seconds = std::chrono::steady_clock::now() - start;
  std::printf("%d statements, %d variables: %zu bytes of script in %.3f s\n", statements, variables,
              script.size(), seconds.count());
  return 0;
}
