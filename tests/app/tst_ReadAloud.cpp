// The main job end to end: the real main window, the real inotify watch on a
// temporary folder and a speech engine that records what it is given.
#include <fstream>
#include <memory>

#include <QPlainTextEdit>
#include <QToolButton>
#include <QtTest>

#include "Lib/uFileUtils.h"
#include "app/uFrmMain.h"
#include "chat/uNameLists.h"
#include "tests/app/AppTestEnvironment.h"
#include "text/uTransList.h"

namespace {

void Append(const std::filesystem::path &file, const std::string &bytes) {
  std::ofstream(file, std::ios::binary | std::ios::app) << bytes;
}

QStringList ToQStringList(const std::vector<std::u16string> &texts) {
  QStringList list;
  for (const auto &text : texts)
    list << QString::fromStdU16String(text);
  return list;
}

// One reading session: the environment, the window, Start pressed.
struct Session {
  Session() { Setup.ChatUse = true; }
  ~Session() { Window.reset(); }

  // Creates and shows the window (LoadSetup there keeps our Setup: there is
  // no Setup.ini) and presses Start.
  void Start(const TIdSetup &wanted) {
    Window = std::make_unique<TFrmMain>();
    Setup = wanted; // after FormCreate's LoadSetup validated the defaults
    Window->show();
    QVERIFY(QTest::qWaitForWindowExposed(Window.get()));
    Button("sbStart")->click();
    QCOMPARE(Button("sbStart")->text(), QStringLiteral("Stop"));
    Spoken().clear(); // the greeting
  }
  void Stop() {
    Button("sbStart")->click();
    QCOMPARE(Button("sbStart")->text(), QStringLiteral("Start"));
  }
  QToolButton *Button(const char *name) {
    return Window->findChild<QToolButton *>(QLatin1String(name));
  }
  std::vector<std::u16string> &Spoken() { return Env.SpeechEngines.Second.Spoken; }
  QStringList SpokenList() { return ToQStringList(Spoken()); }
  std::filesystem::path Dir() const { return Env.Folder.Path(); }

  ReadingEnvironment Env;
  std::unique_ptr<TFrmMain> Window;
};

} // namespace

class TestReadAloud : public QObject {
  Q_OBJECT

private Q_SLOTS:
  void timeStampedLinesThenStop();
  void secondLifeLogWithListsAndNewFiles();
  void customPattern();
  void readErrorIsShownAndWatchGoesOn();
  void typedLineTeachesAndSpeaks();
  void missingChatFileIsNamedAndReadingStillStarts();
};

void TestReadAloud::timeStampedLinesThenStop() {
  Session s;
  const auto chat = s.Dir() / "chat.txt";
  Append(chat, "[2026/12/11 9:59] said before Start\n");
  TIdSetup wanted = Setup;
  wanted.ChatFile = FromPath(chat);
  wanted.ChatFilter = 0;
  s.Start(wanted);

  Append(chat, "[2026/12/11 10:00] hello there\n");
  QTRY_COMPARE(s.SpokenList(), QStringList{QStringLiteral("hello there")});
  // Written in two pieces: each piece is its own text.
  Append(chat, "[2026/12/11 10:01] first half");
  QTRY_COMPARE(s.Spoken().size(), std::size_t{2});
  Append(chat, " second half\n");
  QTRY_COMPARE(s.Spoken().size(), std::size_t{3});
  QCOMPARE(s.SpokenList(), (QStringList{QStringLiteral("hello there"), QStringLiteral("first half"),
                                        QStringLiteral("second half")}));

  s.Stop();
  Append(chat, "[2026/12/11 10:02] after Stop\n");
  QTest::qWait(400);
  QCOMPARE(s.Spoken().size(), std::size_t{3});
}

void TestReadAloud::secondLifeLogWithListsAndNewFiles() {
  Session s;
  // The viewer's per-avatar log folder in the (temporary) home folder.
  const auto logs = s.Dir() / "home" / ".secondlife" / "me_resident";
  std::filesystem::create_directories(logs);
  Append(logs / "chat.txt", "");
  WriteUtf8BomLines(s.Env.AppInfo.ProgramFolder() + u"/BlackList.txt",
                    {std::u16string(UserListHeader), u"Troll Resident"});
  TIdSetup wanted = Setup;
  wanted.ChatType = 1;
  wanted.ChatFilter = 1;
  wanted.SLAvatar = u"me_resident";
  wanted.SLAllChats = true; // "*.txt": IM logs too
  s.Start(wanted);

  Append(logs / "chat.txt", "[2026/12/11 10:00]  Bob (bob.smith): hi all\n"
                            "[2026/12/11 10:00]  Grumpy (troll.resident): you are all muted\n"
                            "[2026/12/11 10:01]  Ann (ann.lee): hello (bonjour)\n");
  QTRY_COMPARE(s.SpokenList(),
               QStringList{QStringLiteral("Bob : hi all\r\nAnn : hello (bonjour)")});
  // A new IM log appears: read from its first byte.
  Append(logs / "carol.txt", "[2026/12/11 10:02]  Carol (carol.fox): psst\n");
  QTRY_COMPARE(s.Spoken().size(), std::size_t{2});
  QCOMPARE(s.SpokenList().last(), QStringLiteral("Carol : psst"));
}

void TestReadAloud::customPattern() {
  Session s;
  const auto chat = s.Dir() / "irc.log";
  Append(chat, "");
  TIdSetup wanted = Setup;
  wanted.ChatFile = FromPath(chat);
  wanted.ChatFilter = 2;
  wanted.ChatRegEx = u"^<[^>]*> ";
  s.Start(wanted);
  Append(chat, "<bob> hello\n<ann> study(cat=kitty)\n");
  QTRY_COMPARE(s.SpokenList(),
               QStringList{QStringLiteral("hello\r\nstudy(cat=kitty)")}); // no commands here
}

void TestReadAloud::readErrorIsShownAndWatchGoesOn() {
  Session s;
  const auto chat = s.Dir() / "chat.txt";
  Append(chat, "");
  TIdSetup wanted = Setup;
  wanted.ChatFile = FromPath(chat);
  wanted.ChatFilter = 2;
  wanted.ChatRegEx = u"(unclosed"; // the user's own pattern does not compile
  s.Start(wanted);
  Append(chat, "some chat\n");
  auto *memo = s.Window->findChild<QPlainTextEdit *>(QStringLiteral("Memo1"));
  QTRY_VERIFY(memo->toPlainText().contains(QStringLiteral("unclosed")));
  QVERIFY(s.Spoken().empty());
  // The user mends the pattern; the next line is read and spoken.
  Setup.ChatRegEx = u"^x";
  Append(chat, "more chat\n");
  QTRY_COMPARE(s.SpokenList(), QStringList{QStringLiteral("more chat")});
  QVERIFY(s.Button("sbStart")->isEnabled());
}

void TestReadAloud::typedLineTeachesAndSpeaks() {
  Session s;
  s.Window = std::make_unique<TFrmMain>();
  s.Window->show();
  QVERIFY(QTest::qWaitForWindowExposed(s.Window.get()));
  auto *memo = s.Window->findChild<QPlainTextEdit *>(QStringLiteral("Memo1"));
  memo->setFocus();
  // Works while reading is stopped too: the command's confirmation is spoken,
  // and like every typed line it passes the dictionary, the new rule included.
  QTest::keyClicks(memo, QStringLiteral("study(cat=kitty)"));
  QTest::keyClick(memo, Qt::Key_Return);
  QTRY_COMPARE(s.SpokenList(), QStringList{QStringLiteral("I studyed kitty as kitty.")});
  QTest::keyClicks(memo, QStringLiteral("a cat"));
  QTest::keyClick(memo, Qt::Key_Return);
  QTRY_COMPARE(s.SpokenList().last(), QStringLiteral("a kitty"));
  // Enter in the middle of a line sends the part before the caret.
  QTest::keyClicks(memo, QStringLiteral("one cat two"));
  for (int i = 0; i < 4; ++i)
    QTest::keyClick(memo, Qt::Key_Left);
  QTest::keyClick(memo, Qt::Key_Return);
  QTRY_COMPARE(s.SpokenList().last(), QStringLiteral("one kitty"));
  // Other keys send nothing.
  const auto count = s.Spoken().size();
  QTest::keyClick(memo, Qt::Key_A);
  QTest::qWait(50);
  QCOMPARE(s.Spoken().size(), count);
  ForgetWord(u"cat");
}

void TestReadAloud::missingChatFileIsNamedAndReadingStillStarts() {
  Session s;
  TIdSetup wanted = Setup;
  wanted.ChatFile.clear(); // what the settings make of a file that is gone
  s.Start(wanted);
  auto *memo = s.Window->findChild<QPlainTextEdit *>(QStringLiteral("Memo1"));
  QVERIFY(memo->toPlainText().contains(QStringLiteral("No chat file to read")));
  QVERIFY(s.Button("sbTime")->isEnabled());
  s.Button("sbTime")->click();
  QTRY_COMPARE(s.Spoken().size(), std::size_t{1});
}

QTEST_MAIN(TestReadAloud)
#include "tst_ReadAloud.moc"
