// The page's services as a WebAssembly module, for JavaScript.
//
// std::string crosses as a string of bytes, one character per byte
// (the module is linked with EMBIND_STD_STRING_IS_UTF8=0): the page encodes
// the text it holds into the bytes of its file and decodes what comes back,
// so every result is exactly the bytes the console programs write.
#include <emscripten/bind.h>

#include "playground.h"

EMSCRIPTEN_BINDINGS(tarnel) {
  using namespace emscripten;
  value_object<TranslatorResult>("TranslatorResult")
      .field("written", &TranslatorResult::written)
      .field("objectName", &TranslatorResult::objectName)
      .field("fileText", &TranslatorResult::fileText)
      .field("console", &TranslatorResult::console)
      .field("closingLine", &TranslatorResult::closingLine);
  function("assemble", &assembleText);
  function("translate", &translateText);
  function("checkReport", &checkReport);
  function("diagnosticsJson", &diagnosticsJson);
  class_<BytecodeRun>("BytecodeRun")
      .constructor<const std::string&, std::string>()
      .function("advance", &BytecodeRun::advance)
      .function("finished", &BytecodeRun::finished)
      .function("steps", &BytecodeRun::steps)
      .function("takeOutput", &BytecodeRun::takeOutput);
}
