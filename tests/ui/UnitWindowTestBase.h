// What every window test stands on: a temporary folder holding the
// application folder ("home") and the services of the real program over the
// real file system, with a fixed clock.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "cli/UnitCliServices.h"
#include "cli/UnitCommandOutput.h"
#include "metadata/UnitFileTags.h"
#include "platform/UnitFileSystem.h"
#include "platform/UnitText.h"
#include "support/UnitFakeServices.h"
#include "support/UnitTempFolder.h"

class TWindowTestBase : public ::testing::Test {
 protected:
  TWindowTestBase() {
    root = Utf8ToUtf16(temp.Path());
    env.values[u"TALLOWICK_HOME"] = root + u"/home";
    (void)fs->CreateFolderPath(root + u"/home");
  }

  TTempFolder temp;
  std::u16string root;
  std::unique_ptr<TFileSystem> fs = NewPosixFileSystem();
  TFixedClock clock{46000};
  TMapEnvironment env;
  TFileTagReader tags{*fs, u"/nowhere/debug"};
  TStringOutput output;
  TCliServices services{*fs, clock, env, tags, output};
};
