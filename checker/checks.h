// The checks of the checker, each adding its diagnostics to the context.
// runChecks runs them all, in the order below.
#pragma once

#include <memory>

#include "check_context.h"

void runChecks(CheckContext& context);

// The structural errors at which the front end stopped, the block keywords
// found in the wrong place, and semicolons meant to stand in a text.
void checkStructure(CheckContext& context);

// Rejected declaration lines, and names declared twice or with ":=" glued
// to them.
void checkDeclarations(CheckContext& context);

// Unknown mnemonics, operands and labels as tarnel assembles them and
// kivinterp runs them: statement by statement as the parts of the begin
// block come in (visit), then across the whole block (finish).
class StatementChecks {
 public:
  explicit StatementChecks(CheckContext& context);
  ~StatementChecks();
  StatementChecks(const StatementChecks&) = delete;
  StatementChecks& operator=(const StatementChecks&) = delete;
  void visit(const ProgramTables& tarnel, const ProgramTables& perl);
  void finish();

 private:
  class Checker;
  std::unique_ptr<Checker> checker_;
};

// Variables that no instruction uses; after StatementChecks, which marks
// the uses.
void checkUnusedVariables(CheckContext& context);

// Where tarnel_perl's script does something other than tarnel's bytecode;
// visited with the same parts, after StatementChecks.
class PerlChecks {
 public:
  explicit PerlChecks(CheckContext& context);
  ~PerlChecks();
  PerlChecks(const PerlChecks&) = delete;
  PerlChecks& operator=(const PerlChecks&) = delete;
  void visit(const ProgramTables& tarnel, const ProgramTables& perl);
  void finish();

 private:
  class Checker;
  std::unique_ptr<Checker> checker_;
};
