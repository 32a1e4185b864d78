#include "perl_script.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

const std::string kPrologue = "#!/usr/bin/perl \r\n\r\n\r\n\r\n$false = 0;\r\n$true = 1;\r\n\r\n";

struct Translation {
  std::string script;
  std::vector<std::string> errors;
};

Translation translate(const ProgramTables& tables) {
  Translation result;
  result.script =
      perlScriptText(tables, [&](const std::string& message) { result.errors.push_back(message); });
  return result;
}

// Variables of every type, with an unused slot between them whose empty
// name must never match an operand.
ProgramTables declared() {
  ProgramTables tables;
  tables.reserveVariables(4);
  tables.addVariable("n", "3", VariableInteger);
  tables.addVariable("f", "0", VariableFloat);
  tables.addVariable("s", "", VariableString);
  return tables;
}

const std::string kDeclared = "$n = 3;\r\n$f = 0;\r\n$s=\"\";\r\n";

// The text one statement adds after the declarations.
Translation statementText(const std::string& mnemonic, const std::string& operand1,
                          const std::string& operand2 = "") {
  ProgramTables tables = declared();
  tables.reserveStatements(1);
  tables.addInstruction(mnemonic, operand1, operand2);
  Translation result = translate(tables);
  std::string head = kPrologue + kDeclared;
  EXPECT_EQ(result.script.substr(0, head.size()), head);
  result.script.erase(0, head.size());
  return result;
}

TEST(PerlScript, EmptyProgramIsThePrologueAlone) {
  EXPECT_EQ(translate(ProgramTables()).script, kPrologue);
}

TEST(PerlScript, WritesTheWorkedExampleByteForByte) {
  ProgramTables tables;
  tables.reserveVariables(3);
  tables.addVariable("count", "3", VariableInteger);
  tables.addVariable("name", "", VariableString);
  tables.addVariable("total", "0", VariableFloat);
  tables.reserveStatements(9);
  tables.addLabel("loop:");
  tables.addInstruction("print", "count", "");
  tables.addInstruction("add", "total", "count");
  tables.addInstruction("dec", "count", "");
  tables.addInstruction("cmp", "count", "0");
  tables.addInstruction("jg", "loop", "");
  tables.addInstruction("input", "name", "");
  tables.addInstruction("push", "count", "");
  tables.addInstruction("pop", "total", "");
  Translation got = translate(tables);
  EXPECT_EQ(got.script,
            "#!/usr/bin/perl \r\n\r\n\r\n\r\n$false = 0;\r\n$true = 1;\r\n\r\n"
            "$count = 3;\r\n$name=\"\";\r\n$total = 0;\r\n"
            "loop:\r\n"
            "printf(\"%i\",$count);\r\n"
            "$total += $count;\r\n"
            "$count = $count - 1 ;\r\n"
            "\r\n$flags[0] = $false;\r\n$flags[1] = $false;\r\n$flags[2] = $false;"
            "\r\n$flags[3] = $false;\r\n$flags[4] = $false;\r\n$flags[5] = $false;"
            "\r\n$flags[6] = $false;\r\n"
            "if($count eq 0)\r\n{\r\n$flags[0] = $true;\r\n}\r\n"
            "if( $count >  0)\r\n{\r\n$flags[1] = $true;\r\n}\r\n"
            "if( $count >= 0)\r\n{\r\n$flags[2] = $true;\r\n}\r\n"
            "if( $count < 0)\r\n{\r\n$flags[3] = $true;\r\n}\r\n"
            "if( $count <= 0)\r\n{\r\n$flags[4] = $true;\r\n}\r\n"
            "if( $count ne 0)\r\n{\r\n$flags[5] = $true;\r\n}\r\n"
            " if($flags[1] eq $true )\r\n { \r\n goto loop;\r\n}\r\n\r\n"
            "chomp($name = <STDIN>);\r\n"
            " $stack[$stackpointer] = $count;\r\n$stackpointer += 1;\r\n"
            " $stackpointer -= 1; \r\n$total = $stack[$stackpointer];\r\n");
  EXPECT_TRUE(got.errors.empty());
}

TEST(PerlScript, DeclaresEachTypeAndTheEmptyString) {
  ProgramTables tables;
  tables.reserveVariables(5);
  tables.addVariable("i", "-7", VariableInteger);
  tables.addVariable("r", "2.5", VariableFloat);
  tables.addVariable("t", "\"a b\"", VariableString);
  tables.addVariable("e", "", VariableString);
  EXPECT_EQ(translate(tables).script,
            kPrologue + "$i = -7;\r\n$r = 2.5;\r\n$t = \"a b\";\r\n$e=\"\";\r\n");
}

struct TemplateCase {
  const char* mnemonic;
  const char* operand1;
  const char* operand2;
  const char* wanted;
};

TEST(PerlScript, WritesEachStatementTemplate) {
  const TemplateCase cases[] = {
      {"mov", "n", "f", "$n = $f;\r\n"},
      {"mov", "n", " f", "$n =  f;\r\n"},
      {"mov", "s", "\"x, y\"", "$s = \"x, y\";\r\n"},
      {"mov", "gone", "5", "$gone = 5;\r\n"},
      {"print", "\"hello\\n\"", "", "printf(\"hello\\n\");\r\n"},
      {"print", "s", "", "printf($s);\r\n"},
      {"print", "n", "", "printf(\"%i\",$n);\r\n"},
      {"print", "f", "", "printf(\"%d\",$f);\r\n"},
      {"input", "s", "", "chomp($s = <STDIN>);\r\n"},
      {"input", "gone", "", "chomp($gone = <STDIN>);\r\n"},
      {"push", "5", "", " $stack[$stackpointer] = 5;\r\n$stackpointer += 1;\r\n"},
      {"push", "n", "", " $stack[$stackpointer] = $n;\r\n$stackpointer += 1;\r\n"},
      {"pop", "s", "", " $stackpointer -= 1; \r\n$s = $stack[$stackpointer];\r\n"},
      {"inc", "s", "", "$s = $s + 1 ;\r\n"},
      {"dec", "f", "", "$f = $f - 1 ;\r\n"},
      {"add", "n", "2", "$n += 2;\r\n"},
      {"add", "f", "n", "$f += $n;\r\n"},
      {"add", "s", "n", "$s=\"$s$n\";\r\n"},
      {"add", "s", "\"!\"", "$s .= \"!\";\r\n"},
      {"add", "s", "7", "$s .= 7;\r\n"},
      {"sub", "n", "f", "$n -= $f;\r\n"},
      {"mul", "f", "3", "$f *= 3;\r\n"},
      {"div", "n", " 2", "$n /=  2;\r\n"},
      {"and", "n", "6", "$n = $n & 6;\r\n"},
      {"or", "f", "n", "$f = $f | $n;\r\n"},
      {"xor", "n", "3", "$n = $n ^ 3;\r\n"},
      {"not", "n", "", "$n =  ! $n;\r\n"},
      {"sub", "s", "1", ""},
      {"mul", "s", "1", ""},
      {"div", "s", "1", ""},
      {"and", "s", "1", ""},
      {"or", "s", "1", ""},
      {"xor", "s", "1", ""},
      {"not", "s", "", ""},
      {"jmp", "done", "", "goto done;\r\n"},
      {"jne", "l", "", " if($flags[5] eq $true )\r\n { \r\n goto l;\r\n}\r\n\r\n"},
      {"je", "l", "", " if($flags[0] eq $true )\r\n { \r\n goto l;\r\n}\r\n\r\n"},
      {"jge", "l", "", " if($flags[2] eq $true )\r\n { \r\n goto l;\r\n}\r\n\r\n"},
      {"jg", "l", "", " if($flags[1] eq $true )\r\n { \r\n goto l;\r\n}\r\n\r\n"},
      {"jl", "l", "", " if($flags[3] eq $true )\r\n { \r\n goto l;\r\n}\r\n\r\n"},
      {"jle", "l", "", " if($flags[4] eq $true )\r\n { \r\n goto l;\r\n}\r\n\r\n"},
  };
  for (const TemplateCase& c : cases) {
    Translation got = statementText(c.mnemonic, c.operand1, c.operand2);
    EXPECT_EQ(got.script, c.wanted) << c.mnemonic << " " << c.operand1 << "," << c.operand2;
    EXPECT_TRUE(got.errors.empty()) << c.mnemonic << " " << c.operand1 << "," << c.operand2;
  }
}

TEST(PerlScript, CompareGivesTheSecondOperandItsSigil) {
  std::string got = statementText("cmp", "n", "f").script;
  EXPECT_NE(got.find("if($n eq $f)\r\n{\r\n$flags[0] = $true;\r\n}\r\n"), std::string::npos);
  EXPECT_NE(got.find("if( $n ne $f)\r\n{\r\n$flags[5] = $true;\r\n}\r\n"), std::string::npos);
  got = statementText("cmp", "n", " f").script;
  EXPECT_NE(got.find("if( $n <  f)\r\n"), std::string::npos);
}

TEST(PerlScript, ReportsWhatItCannotWriteAndGoesOn) {
  const TemplateCase cases[] = {
      {"ret\r", "", "", "invalid instruction [ret\r]"},
      {"\r", "", "", "invalid instruction [\r]"},
      {"PRINT", "n", "", "invalid instruction [PRINT]"},
      {"print", "gone", "", "invalid variable gone"},
      {"print", "", "", "invalid variable "},
      {"add", "gone", "1", "invalid variable gone"},
      {"sub", "gone", "1", "invalid variable gone"},
      {"mul", "gone", "1", "invalid variable gone"},
      {"div", "gone", "1", "invalid variable gone"},
      {"and", "gone", "1", "invalid variable gone"},
      {"or", "gone", "1", "invalid variable gone"},
      {"xor", "gone", "1", "invalid variable gone"},
      {"not", " n", "", "invalid variable  n"},
  };
  for (const TemplateCase& c : cases) {
    ProgramTables tables = declared();
    tables.reserveStatements(2);
    tables.addInstruction(c.mnemonic, c.operand1, c.operand2);
    tables.addInstruction("inc", "n", "");
    Translation got = translate(tables);
    EXPECT_EQ(got.script, kPrologue + kDeclared + "$n = $n + 1 ;\r\n") << c.wanted;
    EXPECT_EQ(got.errors, std::vector<std::string>{c.wanted});
  }
}

TEST(PerlScript, CopiesLabelLinesWholeAndSkipsUnusedSlots) {
  ProgramTables tables;
  tables.reserveStatements(4);
  tables.addLabel("    start: inc x");
  tables.addLabel("end:");
  Translation got = translate(tables);
  EXPECT_EQ(got.script, kPrologue + "    start: inc x\r\nend:\r\n");
  EXPECT_TRUE(got.errors.empty());
}

TEST(PerlScript, OperandNamesTheFirstVariableDeclaredWithThatName) {
  ProgramTables tables;
  tables.reserveVariables(2);
  tables.addVariable("v", "1", VariableFloat);
  tables.addVariable("v", "", VariableString);
  tables.reserveStatements(2);
  tables.addInstruction("print", "v", "");
  tables.addInstruction("sub", "v", "v");
  EXPECT_EQ(translate(tables).script,
            kPrologue + "$v = 1;\r\n$v=\"\";\r\nprintf(\"%d\",$v);\r\n$v -= $v;\r\n");
}

}  // namespace
