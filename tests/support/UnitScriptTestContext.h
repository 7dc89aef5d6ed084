// A ready-made TScriptContext for step tests: in-memory file system, fixed
// clock, empty environment and fake tag reader behind a real TMetaVariables,
// plus a replacement sequence and an empty collision registry.
#pragma once

#include <string>

#include "engine/UnitScriptContext.h"
#include "matching/UnitMetaVariables.h"
#include "model/UnitCollisionDialog.h"
#include "model/UnitRenameRecord.h"
#include "model/UnitReplacementSequence.h"
#include "support/UnitFakeFileSystem.h"
#include "support/UnitFakeServices.h"

class TScriptTestContext {
 public:
  TScriptTestContext();
  TScriptTestContext(const TScriptTestContext&) = delete;
  TScriptTestContext& operator=(const TScriptTestContext&) = delete;

  TFakeFileSystem fs;
  TFixedClock clock;
  TMapEnvironment env;
  TFakeTagReader tags;
  TMetaVariables vars;
  TReplacementSequence sequence;
  TFrmCollisionDialog collisions;
  TScriptContext ctx;
};

// A record for the entry `fileName` ("name.ext") in the folder "/test/",
// first and only checked entry of its list.
RenameRecord TestRecord(std::u16string_view fileName);

class TScriptStep;

// Runs `step` alone on `name` + `ext` (entry "name.ext", fresh context);
// returns "name|ext".
std::u16string RunStep(TScriptStep& step, std::u16string name, std::u16string ext,
                       bool regExp = false);
