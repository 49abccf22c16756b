#include <gtest/gtest.h>

#include "Lib/uStrUtils.h"
#include "Lib/uVTUtils.Win.h"
#include "platform/linux/LinuxDataProtection.h"
#include "tests/fakes/ScopedServices.h"
#include "tests/fakes/TempFolder.h"

using platform::TBytes;
using platform::linux_impl::TLinuxDataProtection;

namespace {

class DataProtectionTest : public ::testing::Test {
protected:
  std::string MachineId(const std::string &name, const std::string &id) {
    folder_.Write(name, id + "\n");
    return (folder_.Path() / name).string();
  }

  TempFolder folder_;
  TLinuxDataProtection here_{MachineId("here", "0f1e2d3c4b5a69788796a5b4c3d2e1f0")};
  TLinuxDataProtection elsewhere_{MachineId("elsewhere", "aaaabbbbccccddddeeeeffff00001111")};
  const TBytes data_{'C', 0, ':', 0, 0xFF, 0x00, 0x01};
  const TBytes entropy_{'k', 0, 'e', 0, 'y', 0};
};

} // namespace

TEST_F(DataProtectionTest, RoundTripOnTheSameMachineOnly) {
  for (const bool machineScope : {true, false}) {
    const auto blob = here_.Protect(data_, u"desc \u65E5", entropy_, machineScope);
    TBytes data;
    std::u16string description;
    ASSERT_TRUE(here_.Unprotect(blob, entropy_, data, description));
    EXPECT_EQ(data, data_);
    EXPECT_EQ(description, u"desc \u65E5");
    // Another entropy or another machine id: refused, outputs untouched.
    TBytes untouched{9};
    EXPECT_FALSE(here_.Unprotect(blob, TBytes{'k', 0}, untouched, description));
    EXPECT_FALSE(here_.Unprotect(blob, TBytes{}, untouched, description));
    EXPECT_FALSE(elsewhere_.Unprotect(blob, entropy_, untouched, description));
    EXPECT_EQ(untouched, TBytes{9});
    EXPECT_EQ(description, u"desc \u65E5");
  }
  // A fresh nonce every time.
  EXPECT_NE(here_.Protect(data_, u"", {}, true), here_.Protect(data_, u"", {}, true));
  TBytes empty;
  std::u16string description;
  EXPECT_TRUE(here_.Unprotect(here_.Protect({}, u"", {}, true), {}, empty, description));
  EXPECT_TRUE(empty.empty());
}

TEST_F(DataProtectionTest, DamagedOrTruncatedBlobsAreRefused) {
  const auto blob = here_.Protect(data_, u"d", entropy_, true);
  TBytes data;
  std::u16string description;
  for (size_t i = 0; i < blob.size(); ++i) {
    auto damaged = blob;
    damaged[i] ^= 0x01;
    EXPECT_FALSE(here_.Unprotect(damaged, entropy_, data, description)) << "byte " << i;
  }
  for (size_t size = 0; size < blob.size(); ++size)
    EXPECT_FALSE(here_.Unprotect(TBytes(blob.begin(), blob.begin() + static_cast<long>(size)),
                                 entropy_, data, description))
        << "size " << size;
  TBytes longer = blob;
  longer.push_back(0);
  EXPECT_FALSE(here_.Unprotect(longer, entropy_, data, description));
}

TEST_F(DataProtectionTest, AnUnreadableMachineIdIsReported) {
  TLinuxDataProtection nowhere((folder_.Path() / "missing").string());
  EXPECT_THROW(nowhere.Protect(data_, u"", {}, true), std::runtime_error);
  TBytes data;
  std::u16string description;
  EXPECT_FALSE(nowhere.Unprotect(here_.Protect(data_, u"", {}, true), {}, data, description));
}

TEST_F(DataProtectionTest, EncryptAndDecryptStrings) {
  const std::u16string key = u"Qr7tLm2vXc9pZs4nHb8wKd3fJg6yTa1eUo5iRx0qNl7cVm2sPz9kBh4dWf8gYj3t";
  const std::u16string path = u"/opt/\u68D2\u8AAD\u307F/run \U0001F600.exe";
  platform::TServices services;
  services.DataProtection = &here_;
  std::u16string hex;
  {
    ScopedServices scoped(services);
    hex = EncryptString(path, key);
    EXPECT_EQ(hex, UpperAscii(hex));
    EXPECT_EQ(DecryptString(hex, key, u"dflt"), path);
    EXPECT_EQ(DecryptString(hex, u"another key", u"dflt"), u"");
    EXPECT_EQ(DecryptString(u"", key, u"dflt"), u"dflt");
    EXPECT_EQ(DecryptString(hex.substr(0, hex.size() - 2), key, u"dflt"), u"");
    EXPECT_EQ(DecryptString(hex.substr(0, hex.size() - 1), key, u"dflt"), u"");
    EXPECT_EQ(DecryptString(hex.substr(0, 10) + u"ZZ" + hex.substr(12), key, u"dflt"), u"");
    EXPECT_EQ(DecryptString(u"00", key, u"dflt"), u"");
    std::u16string plain, description;
    EXPECT_TRUE(UnprotectData(hex, key, plain, description));
    EXPECT_EQ(description, key);
  }
  services.DataProtection = &elsewhere_;
  ScopedServices scoped(services);
  EXPECT_EQ(DecryptString(hex, key, u"dflt"), u"");
}
