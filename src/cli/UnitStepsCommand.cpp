#include "cli/UnitStepsCommand.h"

#include "cli/UnitCommandOutput.h"
#include "cli/UnitStepCatalogue.h"
#include "platform/UnitText.h"

int RunStepsCommand(TCommandOutput& output) {
  std::u16string text =
      u"# TYPE\tcaption\n#\tname\talias\tkind\tnew step\titems or range\n";
  for (const TStepKindInfo& kind : StepKinds()) {
    text += IntToStr(static_cast<int>(kind.type)) + u"\t" + kind.caption;
    if (!kind.namedByCaption) text += u"\tby number only";
    text += u"\n";
    for (const TStepParamInfo& param : StepParameters(kind.type)) {
      const TParamDef& def = *param.def;
      text += u"\t" + std::u16string(def.name) + u"\t" + param.alias + u"\t" +
              std::u16string(ParamKindName(def.kind)) + u"\t" + NewStepValueText(def);
      const std::u16string extra =
          def.kind == TParamKind::Choice ? ChoiceItemsText(def) : SpinRangeText(def);
      if (!extra.empty()) text += u"\t" + extra;
      text += u"\n";
    }
  }
  output.Out(text);
  return 0;
}
