// The templates of the Perl script: the prologue, the declarations and one
// fragment per mnemonic. An operand that names a declared variable becomes
// the Perl scalar of that name; any other operand (a number, a quoted text)
// is written as it stands.
#include "perl_script.h"

#include <unordered_map>

#include "mnemonics.h"

namespace {

constexpr bool sameText(const char* a, const char* b) {
  while (*a != '\0' && *a == *b) {
    ++a;
    ++b;
  }
  return *a == *b;
}

// The MnemonicCode of a mnemonic, taken from the shared table at compile
// time, so that the switch below needs no second list of codes.
constexpr int codeOf(const char* text) {
#define TARNEL_CODE_OF(mnemonic, code, operands, opcode) \
  if (sameText(text, mnemonic)) return code;
  TARNEL_MNEMONICS(TARNEL_CODE_OF)
#undef TARNEL_CODE_OF
  return -1;
}

const char* const kPrologue = "#!/usr/bin/perl \r\n\r\n\r\n\r\n$false = 0;\r\n$true = 1;\r\n\r\n";

class ScriptBuilder {
 public:
  ScriptBuilder(const ProgramTables& tables, const ScriptErrorSink& reportTo)
      : tables_(tables), reportTo_(reportTo) {
    // emplace keeps the first slot of a name declared twice.
    for (const VariableSlot& variable : tables_.variables()) {
      if (variable.inUse) variables_.emplace(variable.name, &variable);
    }
  }

  std::string build() {
    script_ = kPrologue;
    for (const VariableSlot& variable : tables_.variables()) {
      if (variable.inUse) declare(variable);
    }
    for (const StatementSlot& statement : tables_.statements()) {
      if (statement.isLabel) {
        script_ += statement.labelText + "\r\n";
      } else if (statement.inUse) {
        translate(statement);
      }
    }
    return script_;
  }

 private:
  // The first variable in declaration order whose name is the whole of
  // operand, or nullptr.
  const VariableSlot* variableNamed(const std::string& operand) const {
    auto found = variables_.find(operand);
    return found != variables_.end() ? found->second : nullptr;
  }

  // The operand as Perl reads it: a variable gets its "$", anything else
  // stays as written.
  std::string value(const std::string& operand) const {
    return variableNamed(operand) != nullptr ? "$" + operand : operand;
  }

  void declare(const VariableSlot& variable) {
    if (variable.type == VariableString && variable.value.empty()) {
      script_ += "$" + variable.name + "=\"\";\r\n";
    } else {
      script_ += "$" + variable.name + " = " + variable.value + ";\r\n";
    }
  }

  void translate(const StatementSlot& statement) {
    const std::string& a = statement.operand1;
    const std::string& b = statement.operand2;
    switch (lookupMnemonic(statement.mnemonic)) {
      case codeOf("mov"):
        script_ += "$" + a + " = " + value(b) + ";\r\n";
        break;
      case codeOf("print"):
        print(a);
        break;
      case codeOf("input"):
        script_ += "chomp($" + a + " = <STDIN>);\r\n";
        break;
      case codeOf("push"):
        script_ += " $stack[$stackpointer] = " + value(a) + ";\r\n$stackpointer += 1;\r\n";
        break;
      case codeOf("pop"):
        script_ += " $stackpointer -= 1; \r\n$" + a + " = $stack[$stackpointer];\r\n";
        break;
      case codeOf("inc"):
        script_ += "$" + a + " = $" + a + " + 1 ;\r\n";
        break;
      case codeOf("dec"):
        script_ += "$" + a + " = $" + a + " - 1 ;\r\n";
        break;
      case codeOf("add"):
        add(a, b);
        break;
      case codeOf("sub"):
        numericOnly(a, "$" + a + " -= " + value(b) + ";\r\n");
        break;
      case codeOf("mul"):
        numericOnly(a, "$" + a + " *= " + value(b) + ";\r\n");
        break;
      case codeOf("div"):
        numericOnly(a, "$" + a + " /= " + value(b) + ";\r\n");
        break;
      case codeOf("and"):
        numericOnly(a, "$" + a + " = $" + a + " & " + value(b) + ";\r\n");
        break;
      case codeOf("or"):
        numericOnly(a, "$" + a + " = $" + a + " | " + value(b) + ";\r\n");
        break;
      case codeOf("xor"):
        numericOnly(a, "$" + a + " = $" + a + " ^ " + value(b) + ";\r\n");
        break;
      case codeOf("not"):
        numericOnly(a, "$" + a + " =  ! $" + a + ";\r\n");
        break;
      case codeOf("cmp"):
        compare(a, b);
        break;
      case codeOf("jmp"):
        script_ += "goto " + a + ";\r\n";
        break;
      case codeOf("jne"):
        jumpIf(5, a);
        break;
      case codeOf("je"):
        jumpIf(0, a);
        break;
      case codeOf("jge"):
        jumpIf(2, a);
        break;
      case codeOf("jg"):
        jumpIf(1, a);
        break;
      case codeOf("jl"):
        jumpIf(3, a);
        break;
      case codeOf("jle"):
        jumpIf(4, a);
        break;
      default:
        reportTo_("invalid instruction [" + statement.mnemonic + "]");
        break;
    }
  }

  // A quoted operand goes to Perl's printf with its quotes, so that Perl's
  // own escapes inside it apply; a variable is printed by its type.
  void print(const std::string& a) {
    if (a.find('"') != std::string::npos) {
      script_ += "printf(" + a + ");\r\n";
      return;
    }
    const VariableSlot* variable = variableNamed(a);
    if (variable == nullptr) {
      reportTo_("invalid variable " + a);
    } else if (variable->type == VariableString) {
      script_ += "printf($" + a + ");\r\n";
    } else if (variable->type == VariableInteger) {
      script_ += "printf(\"%i\",$" + a + ");\r\n";
    } else {
      script_ += "printf(\"%d\",$" + a + ");\r\n";
    }
  }

  // Numbers add; a string variable appends the second operand: another
  // variable's value by interpolation, a literal with Perl's ".=".
  void add(const std::string& a, const std::string& b) {
    const VariableSlot* variable = variableNamed(a);
    if (variable == nullptr) {
      reportTo_("invalid variable " + a);
    } else if (variable->type != VariableString) {
      script_ += "$" + a + " += " + value(b) + ";\r\n";
    } else if (variableNamed(b) != nullptr) {
      script_ += "$" + a + "=\"$" + a + "$" + b + "\";\r\n";
    } else {
      script_ += "$" + a + " .= " + b + ";\r\n";
    }
  }

  // text for an integer or float variable a; nothing for a string variable;
  // an error when a names no variable, since the fragment depends on its type.
  void numericOnly(const std::string& a, const std::string& text) {
    const VariableSlot* variable = variableNamed(a);
    if (variable == nullptr) {
      reportTo_("invalid variable " + a);
    } else if (variable->type != VariableString) {
      script_ += text;
    }
  }

  // Clears the seven flag slots and sets each of the six that holds; slot
  // 6 is only ever cleared.
  void compare(const std::string& a, const std::string& b) {
    for (int slot = 0; slot < 7; ++slot) {
      script_ += "\r\n$flags[" + std::to_string(slot) + "] = $false;";
    }
    script_ += "\r\n";
    struct Test {
      const char* opening;
      const char* operatorText;
    };
    static const Test kTests[] = {{"if($", " eq "}, {"if( $", " >  "}, {"if( $", " >= "},
                                  {"if( $", " < "}, {"if( $", " <= "}, {"if( $", " ne "}};
    int slot = 0;
    for (const Test& test : kTests) {
      script_ += test.opening + a + test.operatorText + value(b) + ")\r\n{\r\n$flags[" +
                 std::to_string(slot) + "] = $true;\r\n}\r\n";
      ++slot;
    }
  }

  void jumpIf(int slot, const std::string& target) {
    script_ += " if($flags[" + std::to_string(slot) + "] eq $true )\r\n { \r\n goto " + target +
               ";\r\n}\r\n\r\n";
  }

  const ProgramTables& tables_;
  const ScriptErrorSink& reportTo_;
  std::unordered_map<std::string, const VariableSlot*> variables_;
  std::string script_;
};

}  // namespace

std::string perlScriptText(const ProgramTables& tables, const ScriptErrorSink& reportTo) {
  return ScriptBuilder(tables, reportTo).build();
}
