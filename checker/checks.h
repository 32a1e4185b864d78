// The checks of the checker, each adding its diagnostics to the context.
// runChecks runs them all, in the order below.
#pragma once

#include "check_context.h"

void runChecks(CheckContext& context);

// The structural errors at which the front end stopped, the block keywords
// found in the wrong place, and semicolons meant to stand in a text.
void checkStructure(CheckContext& context);

// Rejected declaration lines, and names declared twice or with ":=" glued
// to them.
void checkDeclarations(CheckContext& context);

// Unknown mnemonics, operands and labels as tarnel assembles them and
// kivinterp runs them.
void checkStatements(CheckContext& context);

// Variables that no instruction uses; after checkStatements, which marks
// the uses it explains itself.
void checkUnusedVariables(CheckContext& context);

// Where tarnel_perl's script does something other than tarnel's bytecode.
void checkPerlTranslation(CheckContext& context);
