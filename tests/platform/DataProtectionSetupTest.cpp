#include <filesystem>

#include <gtest/gtest.h>

#include "Lib/uIniFile.h"
#include "Lib/uStrUtils.h"
#include "platform/linux/LinuxDataProtection.h"
#include "settings/uSetup.h"
#include "tests/fakes/FakeAppInfo.h"
#include "tests/fakes/ScopedServices.h"

using platform::linux_impl::TLinuxDataProtection;

// The Bouyomi-chan path in ::Setup.ini, protected for real.
TEST(DataProtectionSetup, BouyomiPathSurvivesOnlyOnTheSameMachine) {
  const TIdSetup saved = ::Setup;
  FakeAppInfo appInfo;
  const auto bouyomi = appInfo.Folder().Write("BouyomiChan.exe", "MZ");
  appInfo.Folder().Write("here", "11112222333344445555666677778888\n");
  appInfo.Folder().Write("there", "99990000aaaabbbbccccddddeeeeffff\n");
  TLinuxDataProtection here((appInfo.Folder().Path() / "here").string());
  TLinuxDataProtection there((appInfo.Folder().Path() / "there").string());
  TLinuxDataProtection broken((appInfo.Folder().Path() / "missing").string());
  platform::TServices services;
  services.AppInfo = &appInfo;
  services.DataProtection = &here;
  ScopedServices scoped(services);

  InitSetup(::Setup);
  ::Setup.BouyomiFile = bouyomi;
  ::Setup.SLAvatar = u"Bob Smith";
  SaveSetup();
  const TIniFile ini(SetupFileName());
  const auto stored = ini.ReadString(u"Bouyomi", u"Path", u"");
  EXPECT_FALSE(stored.empty());
  EXPECT_EQ(stored.find(u"BouyomiChan"), std::u16string::npos);

  InitSetup(::Setup);
  LoadSetup();
  EXPECT_EQ(::Setup.BouyomiFile, bouyomi);

  // The same file on another computer: the path is gone, the rest survives.
  platform::Services.DataProtection = &there;
  InitSetup(::Setup);
  LoadSetup();
  EXPECT_EQ(::Setup.BouyomiFile, u"");
  EXPECT_EQ(::Setup.SLAvatar, u"Bob Smith");

  // A protection that fails stores an empty value and the save goes on.
  platform::Services.DataProtection = &broken;
  ::Setup.BouyomiFile = bouyomi;
  ::Setup.OllamaModel = u"after:1b";
  SaveSetup();
  EXPECT_EQ(ini.ReadString(u"Bouyomi", u"Path", u"x"), u"");
  EXPECT_EQ(ini.ReadString(u"Ollama", u"Model", u""), u"after:1b");
  ::Setup = saved;
}
