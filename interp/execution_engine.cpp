// The dispatch loop, the decoding of records and every instruction from mov
// (1) to pop (23).
#include "execution_engine.h"

#include <istream>
#include <new>
#include <ostream>
#include <type_traits>
#include <utility>

#include "escapes.h"
#include "opcodes.h"
#include "value_conversions.h"

namespace {

// What a decoded record does, one name per line. The destination's type is
// fixed for the whole run, so the kind of arithmetic is decided at decoding.
// The enum and the loop's jump table are both built from this list.
#define KIV_STEP_KINDS(X)                                                     \
  X(Undecoded)  /* zero: the step table starts zero-filled */                 \
  X(End)        /* outside the table: the run is over */                      \
  X(Label)      /* never run: steps move past label records */                \
  X(Halt)       /* the run is over */                                         \
  X(Nop)        /* an opcode outside the set, or no destination, silently */  \
  X(Mov)        /* destination = source, text and numbers */                  \
  X(Inc)        /* destination = its integer + 1 */                           \
  X(Dec)        /* destination = its integer - 1 */                           \
  X(Not)        /* destination = 1 when its integer is 0, else 0 */           \
  X(AddInteger) /* integer destination: 32-bit arithmetic */                  \
  X(SubInteger)                                                               \
  X(MulInteger)                                                               \
  X(DivInteger) /* a zero divisor writes its line and gives 1 */              \
  X(AddFloat)   /* float destination: double arithmetic, floatText */         \
  X(SubFloat)                                                                 \
  X(MulFloat)                                                                 \
  X(DivFloat)                                                                 \
  X(AddText) /* string destination: appends the source's text */              \
  X(And)                                                                      \
  X(Or)                                                                       \
  X(Xor)                                                                      \
  X(PrintText)  /* a literal, its escapes expanded at decoding */             \
  X(PrintValue) /* a variable */                                              \
  X(Input)                                                                    \
  X(Cmp)            /* sets the flags */                                      \
  X(CmpJump)        /* cmp and the conditional jump right after it, in one */ \
  X(CmpLiteral)     /* cmp of a variable with a number written in the code */ \
  X(CmpJumpLiteral) /* the same, with the conditional jump after it */        \
  X(Jmp)                                                                      \
  X(JumpIf) /* jumps when a flag of mask is set */                            \
  X(Push)                                                                     \
  X(Pop)                                                                      \
  X(ErrorLine) /* an instruction that reports its operand: writes message */

enum class Kind : uint8_t {
#define KIV_STEP_KIND_ENUM(name) name,
  KIV_STEP_KINDS(KIV_STEP_KIND_ENUM)
#undef KIV_STEP_KIND_ENUM
};

// The six flags as bits, in CompareFlags order.
enum FlagBit : uint8_t {
  kEqual = 1,
  kNotEqual = 2,
  kGreater = 4,
  kGreaterOrEqual = 8,
  kLess = 16,
  kLessOrEqual = 32,
};

// The flags cmp sets for x < y, x = y and x > y.
constexpr uint8_t kFlagsByOrder[3] = {kNotEqual | kLess | kLessOrEqual,
                                      kEqual | kGreaterOrEqual | kLessOrEqual,
                                      kNotEqual | kGreater | kGreaterOrEqual};

// The flag each conditional jump tests, from jne (16) to jle (21).
constexpr uint8_t kJumpFlag[6] = {kNotEqual, kEqual, kGreaterOrEqual,
                                  kGreater,  kLess,  kLessOrEqual};

uint8_t flagBits(const CompareFlags& flags) {
  return static_cast<uint8_t>((flags.equal ? kEqual : 0) | (flags.notEqual ? kNotEqual : 0) |
                              (flags.greater ? kGreater : 0) |
                              (flags.greaterOrEqual ? kGreaterOrEqual : 0) |
                              (flags.less ? kLess : 0) | (flags.lessOrEqual ? kLessOrEqual : 0));
}

void storeFlagBits(uint8_t bits, CompareFlags& flags) {
  flags.equal = (bits & kEqual) != 0;
  flags.notEqual = (bits & kNotEqual) != 0;
  flags.greater = (bits & kGreater) != 0;
  flags.greaterOrEqual = (bits & kGreaterOrEqual) != 0;
  flags.less = (bits & kLess) != 0;
  flags.lessOrEqual = (bits & kLessOrEqual) != 0;
}

const char kDivisionByZero[] = "division by zero error.. \n";

}  // namespace

struct ExecutionEngine::Step {
  Kind kind;
  uint8_t mask;     // JumpIf's and CmpJump's flag bit
  int32_t literal;  // CmpLiteral's and CmpJumpLiteral's second operand
  Step* next;       // the step after this one, label records passed over
  Step* target;     // a jump's destination, label records passed over
  Step* after;      // CmpJump's and CmpJumpLiteral's: the jump's own next step
  RunValue* destination;
  union {
    RunValue* source;
    const std::string* message;  // PrintText's text, ErrorLine's line
  };
};

ExecutionEngine::ExecutionEngine(Interpreter& program, std::istream& in, std::ostream& out)
    : program_(program), in_(in), out_(out), count_(program.code.count()) {
  values_.reserve(program_.variables.size());
  for (std::size_t i = 0; i < program_.variables.size(); ++i) {
    values_.emplace_back(program_.variables[i].value);
    // findVariable gives the first of several variables of one name.
    firstByName_.emplace(program_.variables[i].name, static_cast<int>(i));
  }
  static_assert(std::is_trivial<Step>::value, "steps start as zero bytes");
  // Zero-filled memory from calloc is not touched until a step is decoded,
  // so a large program that ends early costs next to nothing here.
  Step* steps = static_cast<Step*>(std::calloc(static_cast<std::size_t>(count_) + 1, sizeof(Step)));
  if (steps == nullptr) throw std::bad_alloc();
  steps_.reset(steps);
  steps[count_].kind = Kind::End;
  steps[count_].next = &steps[count_];
  position_ = skipLabels(0);
}

ExecutionEngine::~ExecutionEngine() = default;

RunValue* ExecutionEngine::variableNamed(std::string_view name) {
  auto found = firstByName_.find(std::string(name));
  return found == firstByName_.end() ? nullptr : &values_[static_cast<std::size_t>(found->second)];
}

RunValue* ExecutionEngine::sourceOf(std::string_view operand) {
  if (RunValue* variable = variableNamed(operand)) return variable;
  std::string text(operand);
  auto found = literalByText_.find(text);
  if (found != literalByText_.end()) return found->second;
  literals_.emplace_back(text);
  RunValue* literal = &literals_.back();
  literal->parseBoth();
  literalByText_.emplace(std::move(text), literal);
  return literal;
}

const std::string* ExecutionEngine::message(std::string text) {
  messages_.push_back(std::move(text));
  return &messages_.back();
}

int32_t ExecutionEngine::skipLabels(int32_t index) {
  if (index < 0 || index >= count_) return count_;
  Step* steps = steps_.get();
  // Label records from index up to labelsEnd are not decoded yet; after
  // them comes the answer, directly or through a decoded label record.
  int32_t at = index;
  int32_t labelsEnd = index;
  for (;;) {
    if (at >= count_) {
      labelsEnd = at;
      break;
    }
    const Step& step = steps[at];
    if (step.kind == Kind::Label) {
      labelsEnd = at;
      at = static_cast<int32_t>(step.next - steps);
      break;
    }
    if (step.kind != Kind::Undecoded ||
        toInteger(program_.code.view(at).opcode) != static_cast<int>(Opcode::Label)) {
      labelsEnd = at;
      break;
    }
    ++at;
  }
  for (int32_t label = index; label < labelsEnd; ++label) {
    steps[label].kind = Kind::Label;
    steps[label].next = &steps[at];
  }
  return at;
}

void ExecutionEngine::decode(int32_t index) {
  Step& step = steps_.get()[index];
  const CodeRecordView record = program_.code.view(index);
  const int opcode = toInteger(record.opcode);
  if (opcode == static_cast<int>(Opcode::Label)) {
    skipLabels(index);
    return;
  }
  Step* const steps = steps_.get();
  step.next = &steps[skipLabels(index + 1)];
  RunValue* destination = variableNamed(record.operand1);
  step.destination = destination;
  const std::string name(record.operand1);
  auto orError = [&](Kind kind, const std::string& line) {
    if (destination != nullptr) {
      step.kind = kind;
    } else {
      step.kind = Kind::ErrorLine;
      step.message = message(line + "\n");
    }
  };
  switch (opcode) {
    case static_cast<int>(Opcode::Halt):
      step.kind = Kind::Halt;
      return;
    case static_cast<int>(Opcode::Mov):
      step.kind = destination != nullptr ? Kind::Mov : Kind::Nop;
      step.source = sourceOf(record.operand2);
      break;
    case static_cast<int>(Opcode::Inc):
      orError(Kind::Inc, "error invalid variable " + name + " on the inc instruction");
      break;
    case static_cast<int>(Opcode::Dec):
      orError(Kind::Dec, "error invalid variable " + name + " on the dec instruction");
      break;
    case static_cast<int>(Opcode::Not):
      orError(Kind::Not, "error invalid variable on  not instruction [" + name + "]");
      break;
    case static_cast<int>(Opcode::Add):
    case static_cast<int>(Opcode::Sub):
    case static_cast<int>(Opcode::Mul):
    case static_cast<int>(Opcode::Div): {
      step.kind = Kind::Nop;
      step.source = sourceOf(record.operand2);
      if (destination == nullptr) break;
      const int type =
          program_.variables[static_cast<std::size_t>(destination - values_.data())].type;
      const int which = opcode - static_cast<int>(Opcode::Add);
      if (type == kIntegerVariable) {
        step.kind = static_cast<Kind>(static_cast<int>(Kind::AddInteger) + which);
      } else if (type == kFloatVariable) {
        step.kind = static_cast<Kind>(static_cast<int>(Kind::AddFloat) + which);
      } else if (type == kStringVariable && opcode == static_cast<int>(Opcode::Add)) {
        // sub, mul and div leave a string variable as it is.
        step.kind = Kind::AddText;
      }
      break;
    }
    case static_cast<int>(Opcode::And):
    case static_cast<int>(Opcode::Or):
    case static_cast<int>(Opcode::Xor):
      step.kind = destination == nullptr ? Kind::Nop
                                         : static_cast<Kind>(static_cast<int>(Kind::And) + opcode -
                                                             static_cast<int>(Opcode::And));
      step.source = sourceOf(record.operand2);
      break;
    case static_cast<int>(Opcode::Print):
      if (destination != nullptr) {
        step.kind = Kind::PrintValue;
        step.source = destination;
      } else {
        step.kind = Kind::PrintText;
        step.message = message(expandEscapes(name));
      }
      break;
    case static_cast<int>(Opcode::Input):
      orError(Kind::Input, "invalid variable name: on input instruction " + name);
      break;
    case static_cast<int>(Opcode::Cmp):
      orError(Kind::Cmp, " error operand one variable not found on cmp instruction " + name);
      // An error step keeps its line where a cmp keeps its source.
      if (step.kind != Kind::Cmp) break;
      step.source = sourceOf(record.operand2);
      if (variableNamed(record.operand2) == nullptr) {
        step.kind = Kind::CmpLiteral;
        step.literal = step.source->integer();
      }
      fuseWithJump(index);
      break;
    case static_cast<int>(Opcode::Jmp):
    case static_cast<int>(Opcode::Jne):
    case static_cast<int>(Opcode::Je):
    case static_cast<int>(Opcode::Jge):
    case static_cast<int>(Opcode::Jg):
    case static_cast<int>(Opcode::Jl):
    case static_cast<int>(Opcode::Jle):
      if (startsWithLetter(name)) {
        // The loader found no label of this name; the flag is not consulted.
        step.kind = Kind::ErrorLine;
        step.message = message((opcode == static_cast<int>(Opcode::Jge) ? " invalid code label "
                                                                        : "invalid code label ") +
                               name + "\n");
      } else {
        if (opcode == static_cast<int>(Opcode::Jmp)) {
          step.kind = Kind::Jmp;
        } else {
          step.kind = Kind::JumpIf;
          step.mask = kJumpFlag[opcode - static_cast<int>(Opcode::Jne)];
        }
        // The jump lands on the record after its label record.
        step.target = &steps[skipLabels(toInteger(name))];
      }
      break;
    case static_cast<int>(Opcode::Push):
      step.kind = Kind::Push;
      step.source = sourceOf(record.operand1);
      break;
    case static_cast<int>(Opcode::Pop):
      orError(Kind::Pop, "invalid variable on pop instruction ");
      break;
    default:
      // Any other number is passed over in silence.
      step.kind = Kind::Nop;
      break;
  }
}

void ExecutionEngine::fuseWithJump(int32_t index) {
  Step* steps = steps_.get();
  Step& step = steps[index];
  if ((step.kind != Kind::Cmp && step.kind != Kind::CmpLiteral) || step.next == &steps[count_]) {
    return;
  }
  Step& jump = *step.next;
  if (jump.kind == Kind::Undecoded) decode(static_cast<int32_t>(step.next - steps));
  if (jump.kind != Kind::JumpIf) return;
  // The jump keeps its own step, for the runs that reach it directly.
  step.kind = step.kind == Kind::Cmp ? Kind::CmpJump : Kind::CmpJumpLiteral;
  step.mask = jump.mask;
  step.target = jump.target;
  step.after = jump.next;
}

void ExecutionEngine::readWord(RunValue& destination) {
  // Pending output is written out before input waits.
  out_.flush();
  std::string word;
  if (!(in_ >> word)) word.clear();
  destination.setText(std::move(word));
}

void ExecutionEngine::writeLine(const std::string& line) {
  out_.write(line.data(), static_cast<std::streamsize>(line.size()));
  out_.flush();
}

// The loop jumps from step to step through a table of label addresses where
// the compiler offers them (one indirect jump per instruction, each
// predicted on its own), through a switch elsewhere. Define
// KIV_PLAIN_SWITCH to build the switch on any compiler.
#if (defined(__GNUC__) || defined(__clang__)) && !defined(KIV_PLAIN_SWITCH)
#define KIV_COMPUTED_GOTO 1
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wpedantic"
#define KIV_CASE(name) run##name:
#define KIV_DISPATCH() goto* kTable[static_cast<int>(step->kind)]
#else
#define KIV_COMPUTED_GOTO 0
#define KIV_CASE(name) case Kind::name:
#define KIV_DISPATCH() goto dispatch
#endif

// Moves to the step at target. A counted run goes through the step count
// first; an uncounted one counts the step done and dispatches at once. A
// conditional jump chooses between two of these, not between two targets:
// a branch the processor predicts, where a choice of address would hold
// every later load until the comparison is known.
#define KIV_NEXT(target)   \
  step = (target);         \
  if (kCounted) goto next; \
  ++done;                  \
  KIV_DISPATCH();

// clang-format off: the cases stand between preprocessor lines.
template <bool kCounted>
bool ExecutionEngine::loop(uint64_t limit) {
  if (finished_) return false;
#if KIV_COMPUTED_GOTO
#define KIV_STEP_KIND_LABEL(name) &&run##name,
  static const void* const kTable[] = {KIV_STEP_KINDS(KIV_STEP_KIND_LABEL)};
#undef KIV_STEP_KIND_LABEL
#endif
  Step* const steps = steps_.get();
  uint8_t flags = flagBits(program_.flags);
  Step* step = &steps[position_];
  bool goesOn = true;
  if constexpr (kCounted) waitingForInput_ = false;
  // Steps done by an uncounted run; a counted one counts in taken_.
  uint64_t done = 0;

next:
  if constexpr (kCounted) {
    if (step->kind == Kind::Undecoded) decode(static_cast<int32_t>(step - steps));
    if (step->kind != Kind::End) {
      if (taken_ >= limit) goto stop;
      if (observer_ != nullptr && !observer_->beforeStep(observed(*step, flags))) goto stop;
      ++taken_;
    }
  }
#if KIV_COMPUTED_GOTO
  KIV_DISPATCH();
#else
dispatch:
  switch (step->kind) {
#endif
  KIV_CASE(Undecoded) {
    decode(static_cast<int32_t>(step - steps));
    KIV_DISPATCH();
  }
  KIV_CASE(Halt) {
    if (!kCounted) ++done;
    finished_ = true;
    goesOn = false;
    goto stop;
  }
  KIV_CASE(End) {
    finished_ = true;
    goesOn = false;
    goto stop;
  }
  KIV_CASE(Label) {
    // Not reached: every position is past label records. Were it reached,
    // it would not count as a step (unsigned counts wrap back).
    if (kCounted) {
      --taken_;
    } else {
      --done;
    }
    KIV_NEXT(step->next);
  }
  KIV_CASE(Nop) { KIV_NEXT(step->next); }
  KIV_CASE(Mov) {
    *step->destination = *step->source;
    KIV_NEXT(step->next);
  }
  KIV_CASE(Inc) {
    step->destination->setInteger(wrappingAdd(step->destination->integer(), 1));
    KIV_NEXT(step->next);
  }
  KIV_CASE(Dec) {
    step->destination->setInteger(wrappingSub(step->destination->integer(), 1));
    KIV_NEXT(step->next);
  }
  KIV_CASE(Not) {
    step->destination->setInteger(step->destination->integer() == 0 ? 1 : 0);
    KIV_NEXT(step->next);
  }
  KIV_CASE(AddInteger) {
    step->destination->setInteger(
        wrappingAdd(step->destination->integer(), step->source->integer()));
    KIV_NEXT(step->next);
  }
  KIV_CASE(SubInteger) {
    step->destination->setInteger(
        wrappingSub(step->destination->integer(), step->source->integer()));
    KIV_NEXT(step->next);
  }
  KIV_CASE(MulInteger) {
    step->destination->setInteger(
        wrappingMul(step->destination->integer(), step->source->integer()));
    KIV_NEXT(step->next);
  }
  KIV_CASE(DivInteger) {
    int32_t a = step->destination->integer();
    int32_t b = step->source->integer();
    if (b == 0) {
      writeLine(kDivisionByZero);
      a = 1;
      b = 1;
    }
    step->destination->setInteger(wrappingDiv(a, b));
    KIV_NEXT(step->next);
  }
  KIV_CASE(AddFloat) {
    step->destination->setFloat(step->destination->number() + step->source->number());
    KIV_NEXT(step->next);
  }
  KIV_CASE(SubFloat) {
    step->destination->setFloat(step->destination->number() - step->source->number());
    KIV_NEXT(step->next);
  }
  KIV_CASE(MulFloat) {
    step->destination->setFloat(step->destination->number() * step->source->number());
    KIV_NEXT(step->next);
  }
  KIV_CASE(DivFloat) {
    double a = step->destination->number();
    double b = step->source->number();
    if (b == 0.0) {
      writeLine(kDivisionByZero);
      a = 1.0;
      b = 1.0;
    }
    step->destination->setFloat(a / b);
    KIV_NEXT(step->next);
  }
  KIV_CASE(AddText) {
    step->destination->text();
    step->destination->appendText(step->source->text());
    KIV_NEXT(step->next);
  }
  KIV_CASE(And) {
    step->destination->setInteger(step->destination->integer() & step->source->integer());
    KIV_NEXT(step->next);
  }
  KIV_CASE(Or) {
    step->destination->setInteger(step->destination->integer() | step->source->integer());
    KIV_NEXT(step->next);
  }
  KIV_CASE(Xor) {
    step->destination->setInteger(step->destination->integer() ^ step->source->integer());
    KIV_NEXT(step->next);
  }
  KIV_CASE(PrintText) {
    out_.write(step->message->data(), static_cast<std::streamsize>(step->message->size()));
    KIV_NEXT(step->next);
  }
  KIV_CASE(PrintValue) {
    step->source->print(out_, scratch_);
    KIV_NEXT(step->next);
  }
  KIV_CASE(Input) {
    // The gate is asked in counted runs only: the free run (kivinterp's)
    // stays as it was, instruction for instruction.
    if constexpr (kCounted) {
      if (inputGate_ != nullptr && !inputGate_->wordReady(static_cast<int32_t>(step - steps))) {
        // Stopped before the record: it is not counted.
        --taken_;
        waitingForInput_ = true;
        goto stop;
      }
    }
    readWord(*step->destination);
    KIV_NEXT(step->next);
  }
  KIV_CASE(Cmp) {
    const int32_t x = step->destination->integer();
    const int32_t y = step->source->integer();
    flags = kFlagsByOrder[(x > y) - (x < y) + 1];
    KIV_NEXT(step->next);
  }
  KIV_CASE(CmpJump) {
    const int32_t x = step->destination->integer();
    const int32_t y = step->source->integer();
    flags = kFlagsByOrder[(x > y) - (x < y) + 1];
    // A counted run takes the jump as a step of its own.
    if (kCounted) {
      KIV_NEXT(step->next);
    }
    ++done;
    if ((flags & step->mask) != 0) {
      KIV_NEXT(step->target);
    }
    KIV_NEXT(step->after);
  }
  KIV_CASE(CmpLiteral) {
    const int32_t x = step->destination->integer();
    const int32_t y = step->literal;
    flags = kFlagsByOrder[(x > y) - (x < y) + 1];
    KIV_NEXT(step->next);
  }
  KIV_CASE(CmpJumpLiteral) {
    const int32_t x = step->destination->integer();
    const int32_t y = step->literal;
    flags = kFlagsByOrder[(x > y) - (x < y) + 1];
    if (kCounted) {
      KIV_NEXT(step->next);
    }
    ++done;
    if ((flags & step->mask) != 0) {
      KIV_NEXT(step->target);
    }
    KIV_NEXT(step->after);
  }
  KIV_CASE(Jmp) { KIV_NEXT(step->target); }
  KIV_CASE(JumpIf) {
    if ((flags & step->mask) != 0) {
      KIV_NEXT(step->target);
    }
    KIV_NEXT(step->next);
  }
  KIV_CASE(Push) {
    step->source->packInto(stack_.emplace_back(), stackTexts_);
    KIV_NEXT(step->next);
  }
  KIV_CASE(Pop) {
    // An empty stack gives the empty text and stays empty.
    if (stack_.empty()) {
      step->destination->setText(std::string());
    } else {
      step->destination->unpackFrom(stack_.back(), stackTexts_);
      stack_.pop_back();
    }
    KIV_NEXT(step->next);
  }
  KIV_CASE(ErrorLine) {
    writeLine(*step->message);
    KIV_NEXT(step->next);
  }
#if !KIV_COMPUTED_GOTO
}
#endif

stop : taken_ += done;
position_ = static_cast<int32_t>(step - steps);
storeFlagBits(flags, program_.flags);
return goesOn;
}
// clang-format on

#undef KIV_NEXT
#undef KIV_DISPATCH
#undef KIV_CASE
#if KIV_COMPUTED_GOTO
#pragma GCC diagnostic pop
#endif

void ExecutionEngine::run() {
  loop<false>(0);
  writeBack();
  out_.flush();
}

bool ExecutionEngine::run(uint64_t maxSteps) {
  const uint64_t room = UINT64_MAX - taken_;
  return loop<true>(taken_ + (maxSteps < room ? maxSteps : room));
}

bool ExecutionEngine::step() { return run(1); }

std::vector<VariableRecord> ExecutionEngine::variables() {
  std::vector<VariableRecord> result = program_.variables;
  for (std::size_t i = 0; i < result.size(); ++i) result[i].value = values_[i].text();
  return result;
}

std::vector<std::string> ExecutionEngine::stackTexts() {
  // Unpacking takes the texts from the end, so the stack is read top first.
  std::vector<std::string> texts(stack_.size());
  std::vector<std::string> packedTexts = stackTexts_;
  RunValue value;
  for (std::size_t i = stack_.size(); i-- > 0;) {
    value.unpackFrom(stack_[i], packedTexts);
    texts[i] = value.text();
  }
  return texts;
}

namespace {

constexpr StepRole roleOf(Kind kind) {
  switch (kind) {
    case Kind::Halt:
    case Kind::End:
      return StepRole::Ends;
    case Kind::Mov:
    case Kind::Inc:
    case Kind::Dec:
    case Kind::Not:
    case Kind::AddInteger:
    case Kind::SubInteger:
    case Kind::MulInteger:
    case Kind::DivInteger:
    case Kind::AddFloat:
    case Kind::SubFloat:
    case Kind::MulFloat:
    case Kind::DivFloat:
    case Kind::And:
    case Kind::Or:
    case Kind::Xor:
      return StepRole::Writes;
    case Kind::AddText:
      return StepRole::Appends;
    case Kind::Input:
      return StepRole::Input;
    case Kind::Pop:
      return StepRole::Pops;
    case Kind::Push:
      return StepRole::Pushes;
    case Kind::Cmp:
    case Kind::CmpJump:
    case Kind::CmpLiteral:
    case Kind::CmpJumpLiteral:
      return StepRole::Compares;
    default:
      return StepRole::Plain;
  }
}

// The role of every step kind, in the order of KIV_STEP_KINDS.
constexpr StepRole kRoles[] = {
#define KIV_STEP_KIND_ROLE(name) roleOf(Kind::name),
    KIV_STEP_KINDS(KIV_STEP_KIND_ROLE)
#undef KIV_STEP_KIND_ROLE
};

}  // namespace

ObservedStep ExecutionEngine::observed(const Step& step, uint8_t flags) {
  ObservedStep observed;
  observed.position = static_cast<int32_t>(&step - steps_.get());
  observed.role = kRoles[static_cast<int>(step.kind)];
  // These roles name a variable; a step kind has them only with one.
  observed.variable = observed.role == StepRole::Writes || observed.role == StepRole::Appends ||
                              observed.role == StepRole::Input || observed.role == StepRole::Pops
                          ? static_cast<int32_t>(step.destination - values_.data())
                          : -1;
  observed.flagBits = flags;
  return observed;
}

ObservedStep ExecutionEngine::nextStep() {
  Step& step = steps_.get()[position_];
  if (step.kind == Kind::Undecoded) decode(position_);
  return observed(step, flagBits(program_.flags));
}

RunValue ExecutionEngine::stackTop() const {
  // Unpacking takes a text from the end of the list, where the top's is.
  std::vector<std::string> texts;
  RunValue value;
  if (!stackTexts_.empty()) texts.push_back(stackTexts_.back());
  value.unpackFrom(stack_.back(), texts);
  return value;
}

void ExecutionEngine::pushValue(const RunValue& value) {
  value.packInto(stack_.emplace_back(), stackTexts_);
}

void ExecutionEngine::dropTop() {
  RunValue value;
  value.unpackFrom(stack_.back(), stackTexts_);
  stack_.pop_back();
}

void ExecutionEngine::moveTo(int32_t position, uint64_t taken) {
  position_ = position;
  taken_ = taken;
  finished_ = false;
  waitingForInput_ = false;
}

void ExecutionEngine::writeBack() {
  for (std::size_t i = 0; i < values_.size(); ++i) program_.variables[i].value = values_[i].text();
  program_.stack.items = stackTexts();
  program_.stack.depth = static_cast<uint32_t>(program_.stack.items.size());
}
