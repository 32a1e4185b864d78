#include <gtest/gtest.h>

#include <string>

#include "interpreter.h"

namespace {

struct Loaded {
  std::string variables;  // name type value; ...
  std::string code;       // opcode operand1 operand2 label; ...
};

Loaded load(const std::string& text) {
  Interpreter interpreter;
  interpreter.loadText(text);
  Loaded loaded;
  for (const VariableRecord& v : interpreter.variables) {
    loaded.variables += "[" + v.name + "|" + std::to_string(v.type) + "|" + v.value + "]";
  }
  for (int i = 0; i < interpreter.code.count(); ++i) {
    const CodeRecord& r = interpreter.code[i];
    loaded.code += "[" + r.opcode + "|" + r.operand1 + "|" + r.operand2 + "|" + r.label + "]";
  }
  return loaded;
}

TEST(ProgramLoader, LoadsTheSampleFile) {
  Loaded loaded = load(
      "var{count&:3,msg$:\"hi, there\",empty$:\"\",rate#:2.5,con0&:0}"
      "code{loop@,12!msg:0,3!count:0,14!count:0,16!loop:0,stop@,0!0:0}");
  EXPECT_EQ(loaded.variables,
            "[count|1|3][msg|0|\"hi, there\"][empty|0|\"\"][rate|2|2.5][con0|1|0]");
  EXPECT_EQ(loaded.code,
            "[-1|0|0|loop][12|msg|0|][3|count|0|][14|count|0|][16|0|0|][-1|0|0|stop][0|0|0|]");
}

TEST(ProgramLoader, CutsEntriesByTheFileRules) {
  struct Case {
    const char* text;
    const char* variables;
    const char* code;
  } cases[] = {
      // A section without a comma yields no entry.
      {"var{con0&:0}code{0!0:0}", "", ""},
      // Quoted commas, colons and braces stay in the value.
      {"var{s$:\"a,b:c}d\",con0&:0}code{}", "[s|0|\"a,b:c}d\"][con0|1|0]", ""},
      // Two markers add two variables; no marker or no colon adds nothing.
      {"var{a&$:1,plain:2,nocolon$,con0&:0}code{}", "[a&|0|1][a|1|1][con0|1|0]", ""},
      // A label keeps its leading blank; '12!x' and an empty entry add nothing.
      {"var{}code{ top@x,12!x,,1!a:b:c,0!0:0}", "", "[-1|0|0| top][1|a|b:c|][0|0|0|]"},
      // An "@" inside quotes does not make a label.
      {"var{}code{12!\"a@b\":0,0!0:0}", "", "[12|\"a@b\"|0|][0|0|0|]"},
      // The code section is searched from the start of the file.
      {"code{0!0:0,x@}var{v&:1,con0&:0}", "[v|1|1][con0|1|0]", "[0|0|0|][-1|0|0|x]"},
  };
  for (const Case& c : cases) {
    Loaded loaded = load(c.text);
    EXPECT_EQ(loaded.variables, c.variables) << "file: " << c.text;
    EXPECT_EQ(loaded.code, c.code) << "file: " << c.text;
  }
}

TEST(ProgramLoader, MissingMarkersGiveEmptySections) {
  const char* texts[] = {"",
                         "var{a&:1,",
                         "code{0!0:0,",
                         "va",
                         "var{a&:1,b&:2",
                         "x,y&:1,}code",
                         "\"var{a&:1,b&:2}\"",
                         "var{a&:1,b&:2}co"};
  for (const char* text : texts) {
    Loaded loaded = load(text);
    EXPECT_EQ(loaded.code, "") << "file: " << text;
  }
  EXPECT_EQ(load("var{a&:1,").variables, "");
  EXPECT_EQ(load("\"var{a&:1,b&:2}\"").variables, "");
  EXPECT_EQ(load("var{a&:1,b&:2}co").variables, "[a|1|1][b|1|2]");
}

}  // namespace
