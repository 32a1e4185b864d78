// The page's services as a WebAssembly module, for JavaScript.
//
// std::string crosses as a string of bytes, one character per byte
// (the module is linked with EMBIND_STD_STRING_IS_UTF8=0): the page encodes
// the text it holds into the bytes of its file and decodes what comes back,
// so every result is exactly the bytes the console programs write.
#include <emscripten/bind.h>

#include "page_session.h"
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
  value_object<FixResult>("FixResult")
      .field("applied", &FixResult::applied)
      .field("text", &FixResult::text);
  function("checkReport", &checkReport);
  function("checkJson", &checkJson);
  function("applyFix", &applyFix);
  function("fixAll", &fixAll);
  class_<PageSession>("PageSession")
      .constructor<std::string, bool>()
      .function("assembled", &PageSession::assembled)
      .function("console", &PageSession::console)
      .function("closingLine", &PageSession::closingLine)
      .function("runOn", &PageSession::runOn)
      .function("step", &PageSession::step)
      .function("stepBack", &PageSession::stepBack)
      .function("pause", &PageSession::pause)
      .function("advance", &PageSession::advance)
      .function("feedInput", &PageSession::feedInput)
      .function("endInput", &PageSession::endInput)
      .function("takeOutput", &PageSession::takeOutput)
      .function("outputLength", &PageSession::outputLength)
      .function("steps", &PageSession::steps)
      .function("clearBreakpoints", &PageSession::clearBreakpoints)
      .function("addBreakpointLine", &PageSession::addBreakpointLine)
      .function("stateJson", &PageSession::stateJson);
}
