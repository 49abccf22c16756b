#pragma once

#include <filesystem>
#include <fstream>
#include <string>

#include <gtest/gtest.h>

#include "Lib/uStrUtils.h"
#include "chat/uNameLists.h"
#include "tests/fakes/FakeAppInfo.h"
#include "tests/fakes/FakeLocale.h"
#include "tests/fakes/ScopedServices.h"
#include "text/uMessages.h"
#include "text/uTransList.h"

// A program folder of its own, an English locale, and the dictionary and the
// name lists as the program has them at start.
class DictionaryFixture : public ::testing::Test {
protected:
  DictionaryFixture() : services_(Services()) {
    JapaneseMessages = false;
    LoadDictionary();
    UserNames.clear();
    WhiteListMode = false;
    BlockedFiles.clear();
  }
  ~DictionaryFixture() override { Dictionary.clear(); }

  std::filesystem::path ProgramPath(const std::string &name) const {
    return ToPath(appInfo_.ProgramFolder()) / name;
  }
  void WriteProgramFile(const std::string &name, const std::string &bytes) const {
    std::filesystem::create_directories(ToPath(appInfo_.ProgramFolder()));
    std::ofstream(ProgramPath(name), std::ios::binary | std::ios::trunc) << bytes;
  }
  std::string ReadProgramFile(const std::string &name) const {
    std::ifstream in(ProgramPath(name), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }
  // Replaces the rules in memory without touching the file.
  static void SetRules(const TTransLists &rules) { Dictionary = rules; }

  FakeAppInfo appInfo_;
  FakeLocale locale_{0x0409, 1252};

private:
  platform::TServices Services() {
    platform::TServices services = platform::Services;
    services.AppInfo = &appInfo_;
    services.Locale = &locale_;
    return services;
  }
  ScopedServices services_;
};
