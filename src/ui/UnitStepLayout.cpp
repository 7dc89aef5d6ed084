#include "ui/UnitStepLayout.h"

#include <array>

namespace {

// Pieces separated by "|"; a piece naming a parameter of the kind is its
// control, any other a label; "/" breaks the line.
constexpr std::array<std::u16string_view, kScriptTypeCount> kLayouts = {
    u"Add|txtAdd|/|to the|cbxAddPart|at the|cbxAddAtThe|/|cbOnCollision",
    u"Add|txtAdd|/|to the|cbxAddPart|at character position|txtAddPosition|/|from the|"
    u"cbxFromTheBeginningEnding",
    u"Add|txtAdd|/|to the|cbxAddPart|place it|cbxAddPlace|txtAfter",
    u"cbxReplacePart|txtReplacePhrase|/|with|txtReplaceWith|/|cbReplaceOnly|txtRP2X|thru|txtRP2Y|"
    u"/|in the|cbxReplaceTarget",
    u"Replace each single character in this list|txtReplaceChar1|/|"
    u"with the character in this list|txtReplaceChar2|/|in the|cbxReplaceCharPart",
    u"Replace numbers on the|cbxNumbers|of the name with|/|cbxRNSequence|txtRNWith",
    u"Remove|cbxRemovePhrase|txtRemovePhrase|/|from the|cbxRemovePhrasePart",
    u"Remove|txtR2X|characters from the|cbxRemoveCharPosition|/|of the|cbxRemoveCharactersPart|/|"
    u"cbRCReplace|txtRCReplace|/|cbAndStore",
    u"Remove|cbxRemoveType|characters|txtR3X|thru|txtR3Y|/|cbAndMove|txtR3Z|/|cbAndStoreRM",
    u"Remove everything|cbxBeforeAfter|the phrase|txtRemove2Phrase|/|cbRBReplace|txtRBReplace|/|"
    u"cbAndStoreRM2",
    u"Add a counter, padded to|txtAZeros|digits, to the|cbxBeginningEnding|of the name.",
    u"cbxRERemoveReplace|the expression|cbreAtThe|cbxreBegginingEnding|the filename that|/|"
    u"cbreThatSTartsWIth|cbxrePhraseCharacters|txtrePhraseCharacters|/|cbreHasInTheMiddle|"
    u"cbxrePhraseCharacters2|txtrePhraseCharacters2|/|cbreAndEndsWith|cbxrePhraseCharacters3|"
    u"txtrePhraseCharacters3|/|Replace expression with|txtREWith|/|cbreRemoveNumber|txtRE1|/|"
    u"cbreAndStore",
    u"cbxCESkipRemove|the next|txtCE1|steps|/|if the|cbxCECondition|txtCEText",
    u"Remove word number|txtRW1|/|A word contains|cbxrwCharactersType|txtrwCharacters|/|"
    u"cbrwStoreTemp",
    u"Split the name using the filemask|txtFilemask|/|Move the parts using the form|txtMove",
    u"Select text|/|rbSMBeginningEnding|cbxSMBeginningEnding|txtSMZ1|characters|/|"
    u"rbSMBeforeAfter|cbxSMBeforeAfter|txtSMPhrase|/|rbSMPosition|txtSMX1|thru|txtSMY1|/|"
    u"Move to|/|rbSMBeginningEnding2|cbxSMBeginningEnding2|/|rbSMBeforeAfter2|cbxSMBeforeAfter2|"
    u"txtSMPhrase2|/|rbSMPosition2|txtSMX2",
    u"Swap around the phrase|txtSPhrase|/|cbSTrim",
    u"Find in the name|txtFEPhrase1|/|cbFEFromThe|cbxFEBeginningEnding|position|txtFEX1|length|"
    u"txtFEY1|/|with|txtFEPhrase2|/|cbFEInsert|txtFEPhrase3|cbxFEBeforeAFter|txtFEPhrase4",
};

}  // namespace

std::vector<TLayoutLine> EditorLines(const TScriptStep& step) {
  const size_t kind = static_cast<size_t>(step.ScriptType());
  std::u16string_view layout = kind < kLayouts.size() ? kLayouts[kind] : u"";
  std::vector<bool> placed(step.Parameters().size(), false);
  std::vector<TLayoutLine> lines(1);
  while (!layout.empty()) {
    const size_t bar = layout.find(u'|');
    const std::u16string_view piece = layout.substr(0, bar);
    layout = bar == std::u16string_view::npos ? u"" : layout.substr(bar + 1);
    if (piece == u"/") {
      lines.emplace_back();
      continue;
    }
    const int parameter = step.FindParameter(piece);
    if (parameter >= 0 && !placed[static_cast<size_t>(parameter)]) {
      placed[static_cast<size_t>(parameter)] = true;
      lines.back().push_back({{}, parameter});
    } else if (parameter < 0) {
      lines.back().push_back({piece, -1});
    }
  }
  for (size_t i = 0; i < placed.size(); ++i) {
    if (!placed[i]) lines.push_back({{{}, static_cast<int>(i)}});
  }
  std::erase_if(lines, [](const TLayoutLine& line) { return line.empty(); });
  return lines;
}
