// analyseSource: normalisation, block search and parsing; see
// source_analysis.h.
#include "source_analysis.h"

#include <utility>

#include "block_search.h"
#include "declarations.h"
#include "source_position.h"
#include "source_text.h"
#include "statements.h"

namespace {

// The place of the first byte after a block's opening brace.
SourcePosition blockStart(const std::string& text, const BlockOffsets& block) {
  return positionIn(text, static_cast<std::size_t>(block.open + 1));
}

}  // namespace

void analyseSource(std::string source, bool collapseSpacing, SourceAnalysis& analysis,
                   bool parseCode) {
  analysis = SourceAnalysis();
  lowerCaseText(source);
  stripComments(source);
  analysis.text = std::move(source);
  const std::string& text = analysis.text;

  if (!checkBraceBalance(text)) {
    analysis.stop = SourceStop::BraceBalance;
    return;
  }
  if (!findObjectBlock(text, analysis.objectName, analysis.object)) {
    analysis.stop =
        analysis.object.keyword == -1 ? SourceStop::ObjectKeyword : SourceStop::ObjectBrace;
    return;
  }
  checkObjectName(analysis.objectName);
  std::string block;
  if (!findVariableBlock(text, block, analysis.variables)) {
    analysis.stop =
        analysis.variables.keyword == -1 ? SourceStop::VariableKeyword : SourceStop::VariableBraces;
    return;
  }
  parseDeclarations(block, analysis.tables, blockStart(text, analysis.variables));
  if (!findCodeBlock(text, block, analysis.code)) {
    analysis.stop = analysis.code.keyword == -1 ? SourceStop::CodeKeyword : SourceStop::CodeBraces;
    return;
  }
  if (parseCode) {
    parseStatements(block, collapseSpacing, analysis.tables, blockStart(text, analysis.code));
  }
}
