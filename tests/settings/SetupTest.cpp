#include <filesystem>
#include <functional>
#include <unistd.h>

#include <gtest/gtest.h>

#include "Lib/uFileUtils.h"
#include "Lib/uIniFile.h"
#include "Lib/uStrUtils.h"
#include "chat/uChatFilter.h"
#include "settings/uSetup.h"
#include "speech/uSpSpeechLib.h"
#include "speech/uSpeech.h"
#include "tests/fakes/FakeAppInfo.h"
#include "tests/fakes/ScopedServices.h"

namespace {

// Every field, so that a test can say "all defaults" in one line.
void ExpectSameSetup(const TIdSetup &a, const TIdSetup &b) {
#define MURMELO_SAME(field) EXPECT_EQ(a.field, b.field) << #field
  MURMELO_SAME(ChatType);
  MURMELO_SAME(ChatFile);
  MURMELO_SAME(ChatEncIndex);
  MURMELO_SAME(ChatInterval);
  MURMELO_SAME(ChatFilter);
  MURMELO_SAME(ChatRegEx);
  MURMELO_SAME(ChatUse);
  MURMELO_SAME(SLViewer);
  MURMELO_SAME(SLAvatar);
  MURMELO_SAME(SLTranslate);
  MURMELO_SAME(SLReadName);
  MURMELO_SAME(SLAllChats);
  MURMELO_SAME(SpeechIndex);
  MURMELO_SAME(SpeechVolume);
  MURMELO_SAME(SpeechRate);
  MURMELO_SAME(SpAutoStart);
  MURMELO_SAME(SpAutoClose);
  MURMELO_SAME(BouyomiFile);
  MURMELO_SAME(TimeSignal);
  MURMELO_SAME(AudioOut);
  MURMELO_SAME(StayOnTop);
  MURMELO_SAME(OllamaisUse);
  MURMELO_SAME(OllamaHost);
  MURMELO_SAME(OllamaModel);
  MURMELO_SAME(OllamaLanguage);
  MURMELO_SAME(OllamaSystemPrompt);
  MURMELO_SAME(OllamaPrompt);
  MURMELO_SAME(OllamaPromptTest);
  MURMELO_SAME(OllamaNumCtx);
#undef MURMELO_SAME
}

TIdSetup Defaults() {
  TIdSetup record;
  InitSetup(record);
  return record;
}

class SetupTest : public ::testing::Test {
protected:
  SetupTest() : scoped_(Services()) {
    std::filesystem::create_directories(ToPath(appInfo_.ProgramFolder()));
    InitSetup(::Setup);
  }
  ~SetupTest() override {
    ::Setup = savedSetup_;
    SpeechItems = savedItems_;
    SecondLifeLogOptions = savedOptions_;
  }

  platform::TServices Services() {
    platform::TServices services;
    services.AppInfo = &appInfo_;
    return services;
  }
  void WriteIni(const std::string &text) { appInfo_.Folder().Write("program/Setup.ini", text); }
  std::string ReadIni() const { return appInfo_.Folder().Read("program/Setup.ini"); }

  FakeAppInfo appInfo_;
  TIdSetup savedSetup_ = ::Setup;
  TSpeechItems savedItems_ = SpeechItems;
  TSecondLifeLogOptions savedOptions_ = SecondLifeLogOptions;
  ScopedServices scoped_;
};

} // namespace

TEST_F(SetupTest, DefaultsAndTheFileBesideTheProgram) {
  const TIdSetup d = Defaults();
  EXPECT_EQ(d.ChatRegEx, u"^\\[\\d{4}/\\d{2}/\\d{2} \\d{1,2}:\\d{2}\\] ");
  EXPECT_EQ(d.OllamaHost, u"localhost");
  EXPECT_EQ(d.OllamaModel, u"gemma2:2b");
  EXPECT_EQ(d.SpeechVolume, 100);
  EXPECT_EQ(d.AudioOut, -1);
  EXPECT_EQ(d.OllamaNumCtx, 2048);
  EXPECT_EQ(SetupFileName(), appInfo_.ProgramFolder() + u"/Setup.ini");
}

TEST_F(SetupTest, UnusableFilesGiveTheDefaults) {
  const std::string binary("\x00\xFF\xFE\x01[TextChat]\x00\x9F\x92\x96", 13);
  for (const std::string &text :
       {std::string(), std::string("[TextChat]\r\nFileType=1\r\nInterv"),
        std::string("[TextChat]\r\nFileType=\r\nInterval=abc\r\n[Device]\r\nIndex=$\r\n"),
        binary}) {
    WriteIni(text);
    InitSetup(::Setup);
    LoadSetup();
    TIdSetup expected = Defaults();
    if (text.find("FileType=1") != std::string::npos)
      expected.ChatType = 1;
    ExpectSameSetup(::Setup, expected);
  }
  std::filesystem::remove(ToPath(SetupFileName()));
  InitSetup(::Setup);
  LoadSetup();
  ExpectSameSetup(::Setup, Defaults());
  EXPECT_FALSE(FileExists(SetupFileName())); // reading never creates the file
}

TEST_F(SetupTest, ValidationRepairsWhatWasRead) {
  SpeechItems = {{u"Voice A", TSpeechType::stSpeechLib, 0, true},
                 {u"BouyomiChan", TSpeechType::stBouyomi, 0, true}};
  struct TCase {
    std::string Ini;
    std::function<void(const TIdSetup &)> Check;
  };
  const TCase cases[] = {
      {"[TextChat]\nFileType=5\nEncoding=1\n",
       [](const TIdSetup &s) {
         EXPECT_EQ(s.ChatType, 1);
         EXPECT_EQ(s.ChatEncIndex, 0);
       }},
      {"[TextChat]\nFileType=-3\nEncoding=1\nInterval=0\nTexType=9\n",
       [](const TIdSetup &s) {
         EXPECT_EQ(s.ChatType, 0);
         EXPECT_EQ(s.ChatEncIndex, 1);
         EXPECT_EQ(s.ChatInterval, 1);
         EXPECT_EQ(s.ChatFilter, 2);
       }},
      {"[TextChat]\nInterval=25\nEncoding=$7\nTargetFile=/no/such/chat.txt\n",
       [](const TIdSetup &s) {
         EXPECT_EQ(s.ChatInterval, 10);
         EXPECT_EQ(s.ChatEncIndex, 1);
         EXPECT_EQ(s.ChatFile, u"");
       }},
      {"[SecondLife]\nViewer=-1\nAvatar=Bob Smith\nTranslate=3\nReadName=0x5\nAllChats=1\n",
       [](const TIdSetup &s) {
         EXPECT_EQ(s.SLViewer, 0);
         EXPECT_EQ(s.SLAvatar, u"Bob Smith");
         EXPECT_EQ(s.SLTranslate, 2);
         EXPECT_EQ(s.SLReadName, 1);
         EXPECT_TRUE(s.SLAllChats); // read under "Secondlife"
         EXPECT_EQ(SecondLifeLogOptions.Translate, 2);
         EXPECT_EQ(SecondLifeLogOptions.ReadName, 1);
       }},
      {"[TimeSignal]\nInterval=-5\n[Device]\nIndex=2\nAudioOut=7\n",
       [](const TIdSetup &s) {
         EXPECT_EQ(s.TimeSignal, 0);
         EXPECT_EQ(s.SpeechIndex, 0); // equal to the number of devices
         EXPECT_EQ(s.AudioOut, 7);
       }},
      {"[TimeSignal]\nInterval=600\n[Device]\nIndex=1\n[Ollama]\nTargetLanguage=7\nNumCtx=4096\n"
       "Host=192.168.1.20\nModel=m:1b\nisUse=1\n",
       [](const TIdSetup &s) {
         EXPECT_EQ(s.TimeSignal, 600);
         EXPECT_EQ(s.SpeechIndex, 1);
         EXPECT_EQ(s.OllamaLanguage, 7);
         EXPECT_EQ(s.OllamaNumCtx, 4096);
         EXPECT_EQ(s.OllamaHost, u"192.168.1.20");
         EXPECT_EQ(s.OllamaModel, u"m:1b");
         EXPECT_TRUE(s.OllamaisUse);
       }},
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(c.Ini);
    WriteIni(c.Ini);
    InitSetup(::Setup);
    LoadSetup();
    c.Check(::Setup);
  }
}

TEST_F(SetupTest, SaveWritesTheKeysInOrderAndLoadReadsThemBack) {
  const auto chat = appInfo_.Folder().Write("chat.txt", "hello\n");
  ::Setup.ChatType = 0;
  ::Setup.ChatFile = chat;
  ::Setup.ChatEncIndex = 1;
  ::Setup.ChatInterval = 3;
  ::Setup.ChatFilter = 2;
  ::Setup.ChatUse = true;
  ::Setup.SLViewer = 2;
  ::Setup.SLAvatar = u"\u30DC\u30D6 Smith";
  ::Setup.SLTranslate = 1;
  ::Setup.SLReadName = 1;
  ::Setup.SLAllChats = true;
  ::Setup.TimeSignal = 30;
  ::Setup.AudioOut = 2;
  ::Setup.StayOnTop = true;
  ::Setup.OllamaisUse = true;
  ::Setup.OllamaHost = u"10.0.0.5";
  ::Setup.OllamaLanguage = 3;
  SaveSetup();
  EXPECT_EQ(ReadIni(), "[TextChat]\r\nFileType=0\r\nTargetFile=" + Utf16ToUtf8(chat) +
                           "\r\nEncoding=1\r\nInterval=3\r\nTexType=2\r\n"
                           "RegEx=\"^\\[\\d{4}/\\d{2}/\\d{2} \\d{1,2}:\\d{2}\\] \"\r\nUse=1\r\n\r\n"
                           "[SecondLife]\r\nViewer=2\r\nAvatar=\xE3\x83\x9C\xE3\x83\x96 Smith\r\n"
                           "Translate=1\r\nReadName=1\r\nAllChats=1\r\n\r\n"
                           "[Device]\r\nIndex=0\r\nAudioOut=2\r\n\r\n"
                           "[TimeSignal]\r\nInterval=30\r\n\r\n[System]\r\nStayOnTop=1\r\n\r\n"
                           "[Bouyomi]\r\nPath=\r\n\r\n"
                           "[Ollama]\r\nisUse=1\r\nHost=10.0.0.5\r\nModel=gemma2:2b\r\n"
                           "TargetLanguage=3\r\n");
  const TIdSetup saved = ::Setup;
  InitSetup(::Setup);
  LoadSetup();
  ExpectSameSetup(::Setup, saved);
}

TEST_F(SetupTest, NumCtxAndUnknownLinesSurviveASave) {
  WriteIni("; mine\r\n[Ollama]\r\nNumCtx=4096\r\nExtra=keep\r\n");
  LoadSetup();
  EXPECT_EQ(::Setup.OllamaNumCtx, 4096);
  ::Setup.OllamaNumCtx = 2048;
  SaveSetup();
  const std::string text = ReadIni();
  EXPECT_EQ(text.rfind("; mine\r\n[Ollama]\r\nNumCtx=4096\r\nExtra=keep\r\nisUse=0\r\n", 0), 0u)
      << text;
  LoadSetup();
  EXPECT_EQ(::Setup.OllamaNumCtx, 4096);
}

TEST_F(SetupTest, SaveIntoAnUnwritableFolderReportsTheFile) {
  // A program "folder" that is a plain file cannot be written even by root.
  std::filesystem::remove_all(ToPath(appInfo_.ProgramFolder()));
  appInfo_.Folder().Write("program", "not a folder");
  try {
    SaveSetup();
    FAIL() << "no error";
  } catch (const std::runtime_error &e) {
    EXPECT_NE(std::string(e.what()).find("Setup.ini"), std::string::npos) << e.what();
  }
  EXPECT_EQ(appInfo_.Folder().Read("program"), "not a folder");
}

TEST_F(SetupTest, SaveIntoAReadOnlyFolderKeepsTheFile) {
  WriteIni("[TextChat]\r\nFileType=1\r\n");
  std::filesystem::permissions(ToPath(appInfo_.ProgramFolder()),
                               std::filesystem::perms::owner_read |
                                   std::filesystem::perms::owner_exec);
  if (access(Utf16ToUtf8(appInfo_.ProgramFolder()).c_str(), W_OK) == 0)
    GTEST_SKIP() << "running as root: a read-only folder is still writable";
  ::Setup.ChatType = 0;
  EXPECT_THROW(SaveSetup(), std::runtime_error);
  EXPECT_EQ(ReadIni(), "[TextChat]\r\nFileType=1\r\n");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(ToPath(appInfo_.ProgramFolder())),
                          std::filesystem::directory_iterator()),
            1); // no temporary file left behind
}

TEST_F(SetupTest, PerDeviceSections) {
  SpeechItems = {{u"Voice A", TSpeechType::stSpeechLib, 0, true},
                 {u"BouyomiChan", TSpeechType::stBouyomi, 0, true}};
  // A SAPI voice without its own section takes the voice's current values.
  WriteIni("[Device]\r\nIndex=0\r\n");
  ::Setup.SpAutoStart = ::Setup.SpAutoClose = true;
  LoadSetup();
  EXPECT_EQ(::Setup.SpeechVolume, SapiGetVolume(0));
  EXPECT_EQ(::Setup.SpeechRate, SapiGetRate(0));
  EXPECT_FALSE(::Setup.SpAutoStart);
  EXPECT_FALSE(::Setup.SpAutoClose);

  // Bouyomi-chan without its own section keeps what it had.
  WriteIni("[Device]\r\nIndex=1\r\n");
  ::Setup.SpeechVolume = 55;
  ::Setup.SpAutoStart = true;
  ::Setup.SpAutoClose = false;
  LoadSetup();
  EXPECT_EQ(::Setup.SpeechVolume, 55);
  EXPECT_TRUE(::Setup.SpAutoStart);
  EXPECT_FALSE(::Setup.SpAutoClose);

  // Each device's values go to the section of its name, and only the kind's.
  SaveDeviceVolumeRate(0, 40, -3);
  SaveDeviceAutoStartClose(1, false, true);
  SaveDeviceVolumeRate(1, 1, 1);
  SaveDeviceAutoStartClose(0, true, true);
  const TIniFile ini(SetupFileName());
  EXPECT_EQ(ini.ReadInteger(u"voice a", u"DeviceVolume", 0), 40);
  EXPECT_EQ(ini.ReadInteger(u"Voice A", u"DeviceRate", 0), -3);
  EXPECT_EQ(ini.ReadString(u"Voice A", u"AutoStart", u"none"), u"none");
  EXPECT_EQ(ini.ReadString(u"BouyomiChan", u"DeviceVolume", u"none"), u"none");
  std::int32_t volume = 0, rate = 0;
  LoadDeviceVolumeRate(0, volume, rate);
  EXPECT_EQ(volume, 40);
  EXPECT_EQ(rate, -3);
  bool autoStart = true, autoClose = false;
  LoadDeviceAutoStartClose(1, autoStart, autoClose);
  EXPECT_FALSE(autoStart);
  EXPECT_TRUE(autoClose);
}

TEST_F(SetupTest, AnEmptyDeviceListIsNeverReadBeyond) {
  SpeechItems.clear();
  WriteIni("[Device]\r\nIndex=3\r\n");
  ::Setup.SpeechVolume = 70;
  ::Setup.SpAutoStart = true;
  LoadSetup();
  EXPECT_EQ(::Setup.SpeechIndex, 0);
  EXPECT_EQ(::Setup.SpeechVolume, 70);
  EXPECT_TRUE(::Setup.SpAutoStart);
  const std::string before = ReadIni();
  SaveDeviceVolumeRate(0, 1, 2);
  SaveDeviceAutoStartClose(-1, true, true);
  EXPECT_EQ(ReadIni(), before);
}
