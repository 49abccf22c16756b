#include <algorithm>
#include <memory>

#include <QApplication>
#include <QIcon>
#include <QImage>
#include <QPlainTextEdit>
#include <QSplitter>
#include <QSplitterHandle>
#include <QTimer>
#include <QToolButton>
#include <QtTest>

#include "Lib/uVTUtils.Win.h"
#include "app/uFrmMain.h"
#include "app/uQtText.h"
#include "app/uSVGIconList.h"
#include "app/uVCLTheme.h"
#include "speech/uSpSpeechLib.h"
#include "tests/app/AppTestEnvironment.h"

namespace {

template <typename T> T *Find(const QWidget &window, const char *name) {
  T *child = window.findChild<T *>(QLatin1String(name));
  if (child == nullptr)
    qFatal("no child named %s", name);
  return child;
}

QImage ImageOf(const QIcon &icon, QIcon::Mode mode) {
  return icon.pixmap(QSize(TSVGIconList::IconSize, TSVGIconList::IconSize), mode)
      .toImage()
      .convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

QImage Drawing(const TSVGIconList &list, const QString &name) {
  return list.Pixmap(name).toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

// The window as the program creates it: the modules' start work first.
std::unique_ptr<TFrmMain> CreateWindow() {
  RefreshLightMode();
  return std::make_unique<TFrmMain>();
}

} // namespace

class TestMainWindow : public QObject {
  Q_OBJECT

private Q_SLOTS:
  void componentsAtCreation();
  void firstShowRunsOnce();
  void showText();
  void themeFollowsDesktop();
  void translationPane_data();
  void translationPane();
  void productPageByLocale_data();
  void productPageByLocale();
  void skipButton_data();
  void skipButton();
  void stayOnTopKeepsPlace();
};

void TestMainWindow::componentsAtCreation() {
  AppTestEnvironment env;
  auto window = CreateWindow();
  QCOMPARE(window->objectName(), QStringLiteral("FrmMain"));
  QCOMPARE(window->windowTitle(),
           QStringLiteral("MURMELO3 ver.") + ToQString(GetFileVersionText()));
  QVERIFY(window->windowTitle() != QStringLiteral("MURMELO3 ver."));
  QCOMPARE(window->size(), QSize(624, 221));

  QCOMPARE(Find<QWidget>(*window, "Panel1")->height(), 30);
  Find<QWidget>(*window, "PanelM");
  const struct {
    const char *name;
    const char *caption;
    int width;
  } buttons[] = {{"sbStart", "Start", 80},
                 {"sbSkip", "Skip", 80},
                 {"sbTime", "Time", 80},
                 {"sbTool", "Setup", 80},
                 {"sbURL", "VELTRA", 130}};
  for (const auto &b : buttons) {
    auto *button = Find<QToolButton>(*window, b.name);
    QCOMPARE(button->text(), QLatin1String(b.caption));
    QCOMPARE(button->width(), b.width);
    QCOMPARE(button->height(), 30);
    QCOMPARE(button->iconSize(), QSize(20, 20));
    QCOMPARE(button->toolButtonStyle(), Qt::ToolButtonTextBesideIcon);
    QVERIFY(!button->icon().isNull());
  }
  QVERIFY(!Find<QToolButton>(*window, "sbTime")->isEnabled());
  QVERIFY(Find<QToolButton>(*window, "sbStart")->isEnabled());
  QCOMPARE(Find<QToolButton>(*window, "sbStart")->property("iconName").toString(),
           QStringLiteral("Read Aloud"));

  auto *memo1 = Find<QPlainTextEdit>(*window, "Memo1");
  QVERIFY(!memo1->isReadOnly());
  QCOMPARE(memo1->lineWrapMode(), QPlainTextEdit::NoWrap);
  QVERIFY(Find<QPlainTextEdit>(*window, "MemoT")->isReadOnly());
  QCOMPARE(Find<QSplitter>(*window, "spMemoT")->handleWidth(), 3);
  QVERIFY(!Find<QTimer>(*window, "TimerTimeSignal")->isActive());
}

void TestMainWindow::firstShowRunsOnce() {
  // A Japanese desktop with one system voice, its second audio output chosen:
  // the first show sets the output and starts the device (which switches the
  // messages to Japanese); no later show may do either again.
  AppTestEnvironment env("ja_JP.UTF-8");
  env.SpeechEngines.First.VoiceList = {{u"Japanese", u"eSpeak NG Japanese"}};
  env.SpeechEngines.First.Outputs = {u"Speakers", u"Headphones"};
  env.SpeechEngines.HasSecond = false;
  SapiLoadVoices();
  BuildSpeechItems();
  QVERIFY(!SpeechItems.empty());
  QCOMPARE(SpeechItems[0].SPType, TSpeechType::stSpeechLib);
  Setup.SpeechIndex = 0;
  Setup.AudioOut = 1;
  auto window = CreateWindow();
  auto *skip = Find<QToolButton>(*window, "sbSkip");
  std::vector<std::u16string> &calls = env.SpeechEngines.First.Calls;
  calls.clear();
  QVERIFY(!JapaneseMessages);

  window->show();
  QVERIFY(QTest::qWaitForWindowExposed(window.get()));
  QCOMPARE(std::count(calls.begin(), calls.end(), u"output 1"), 1);
  QVERIFY(JapaneseMessages);
  QVERIFY(skip->isEnabled());

  calls.clear();
  JapaneseMessages = false;
  SpeechItems[0].SPType = TSpeechType::stBouyomi;
  window->hide();
  window->show();
  window->showMinimized();
  window->showNormal();
  QVERIFY(QTest::qWaitForWindowExposed(window.get()));
  QVERIFY(calls.empty());
  QVERIFY(!JapaneseMessages);
  QVERIFY(skip->isEnabled());
}

void TestMainWindow::showText() {
  AppTestEnvironment env;
  auto window = CreateWindow();
  auto *memo1 = Find<QPlainTextEdit>(*window, "Memo1");
  QTest::keyClicks(memo1, QStringLiteral("typed by the user"));
  QCOMPARE(memo1->toPlainText(), QStringLiteral("typed by the user"));

  window->ShowText(u"");
  QCOMPARE(memo1->toPlainText(), QStringLiteral("typed by the user"));

  window->ShowText(u"Bob: hello\r\nAlice: 今晩は\r\n\r\nlast");
  QCOMPARE(memo1->toPlainText(), QStringLiteral("Bob: hello\nAlice: 今晩は\n\nlast"));
  QVERIFY(memo1->updatesEnabled());
}

void TestMainWindow::themeFollowsDesktop() {
  AppTestEnvironment env("en_US.UTF-8", true);
  auto window = CreateWindow();
  window->show();
  QVERIFY(IsLightTheme());
  QCOMPARE(ActiveStyleName(), LightStyleName());
  const TSVGIconList black(QColor(0, 0, 0));
  const TSVGIconList white(QColor(0xFF, 0xFF, 0xFF));
  auto *start = Find<QToolButton>(*window, "sbStart");
  QCOMPARE(ImageOf(start->icon(), QIcon::Normal), Drawing(black, QStringLiteral("Read Aloud")));

  // Reading runs: the Start button shows "Read Stop" when the desktop turns dark.
  window->SetButtonIcon(start, QStringLiteral("Read Stop"));
  env.Appearance.Change(false);
  QVERIFY(!IsLightTheme());
  QCOMPARE(ActiveStyleName(), DarkStyleName());
  QCOMPARE(ImageOf(start->icon(), QIcon::Normal), Drawing(white, QStringLiteral("Read Stop")));
  const struct {
    const char *button;
    const char *icon;
  } others[] = {
      {"sbSkip", "Read Skip"}, {"sbTime", "Time Signal"}, {"sbTool", "Setting"}, {"sbURL", "Link"}};
  for (const auto &o : others) {
    const QIcon icon = Find<QToolButton>(*window, o.button)->icon();
    QCOMPARE(ImageOf(icon, QIcon::Normal), Drawing(white, QLatin1String(o.icon)));
    // Disabled buttons show the grey drawing in either theme.
    QCOMPARE(ImageOf(icon, QIcon::Disabled),
             Drawing(white, QLatin1String(o.icon) + QStringLiteral("_Disabled")));
  }
  QVERIFY(QApplication::palette().color(QPalette::Window).lightness() < 100);

  // No readable preference counts as light.
  env.Appearance.Change(std::nullopt);
  QCOMPARE(ActiveStyleName(), LightStyleName());
  QCOMPARE(ImageOf(start->icon(), QIcon::Normal), Drawing(black, QStringLiteral("Read Stop")));
  QVERIFY(QApplication::palette().color(QPalette::Window).lightness() > 200);

  window.reset();
  QVERIFY(!env.Appearance.HasHandler());
}

void TestMainWindow::translationPane_data() {
  QTest::addColumn<bool>("ollamaIsUse");
  QTest::newRow("translation off") << false;
  QTest::newRow("translation on") << true;
}

void TestMainWindow::translationPane() {
  QFETCH(bool, ollamaIsUse);
  AppTestEnvironment env;
  Setup.OllamaisUse = ollamaIsUse;
  auto window = CreateWindow();
  window->show();
  QVERIFY(QTest::qWaitForWindowExposed(window.get()));
  auto *memoT = Find<QPlainTextEdit>(*window, "MemoT");
  auto *splitter = Find<QSplitter>(*window, "spMemoT");
  auto *memo1 = Find<QPlainTextEdit>(*window, "Memo1");
  QCOMPARE(memoT->isVisible(), ollamaIsUse);
  QCOMPARE(splitter->handle(1)->isVisible(), ollamaIsUse);
  if (ollamaIsUse) {
    QCOMPARE(memoT->height(), 62);
    QVERIFY(memo1->height() < Find<QWidget>(*window, "PanelM")->height());
  } else {
    QCOMPARE(memo1->height(), Find<QWidget>(*window, "PanelM")->height());
  }

  window->ShowTranslationPane(!ollamaIsUse);
  QCOMPARE(memoT->isVisible(), !ollamaIsUse);
  QCOMPARE(splitter->handle(1)->isVisible(), !ollamaIsUse);
}

void TestMainWindow::productPageByLocale_data() {
  QTest::addColumn<QString>("locale");
  QTest::addColumn<QString>("page");
  QTest::newRow("Japanese") << QStringLiteral("ja_JP.UTF-8") << QStringLiteral("murmelo-ja.html");
  QTest::newRow("English") << QStringLiteral("en_US.UTF-8") << QStringLiteral("murmelo-en.html");
  QTest::newRow("German") << QStringLiteral("de_DE.UTF-8") << QStringLiteral("murmelo-en.html");
}

void TestMainWindow::productPageByLocale() {
  QFETCH(QString, locale);
  QFETCH(QString, page);
  AppTestEnvironment env(locale.toStdString());
  auto window = CreateWindow();
  auto *link = Find<QToolButton>(*window, "sbURL");
  const QString address = link->property("address").toString();
  QVERIFY2(address.startsWith(QStringLiteral("file:///")), qPrintable(address));
  QVERIFY2(address.endsWith(QLatin1Char('/') + page), qPrintable(address));

  QTest::mouseClick(link, Qt::LeftButton);
  QCOMPARE(env.Shell.OpenedURLs.size(), std::size_t(1));
  QCOMPARE(ToQString(env.Shell.OpenedURLs.front()), address);
}

void TestMainWindow::skipButton_data() {
  QTest::addColumn<int>("deviceCount");
  QTest::addColumn<int>("speechIndex");
  QTest::addColumn<bool>("enabled");
  // Devices: 0 a system voice, 1 Bouyomi-chan, 2 a VOICEROID+ voice.
  QTest::newRow("empty list") << 0 << 0 << false;
  QTest::newRow("system voice") << 3 << 0 << true;
  QTest::newRow("Bouyomi-chan") << 3 << 1 << false;
  QTest::newRow("VOICEROID") << 3 << 2 << true;
  QTest::newRow("index beyond the list") << 3 << 3 << false;
  QTest::newRow("negative index") << 3 << -1 << false;
}

void TestMainWindow::skipButton() {
  QFETCH(int, deviceCount);
  QFETCH(int, speechIndex);
  QFETCH(bool, enabled);
  AppTestEnvironment env;
  auto window = CreateWindow();
  const TSpeechItems devices = {{u"Voice", TSpeechType::stSpeechLib, 0, true},
                                {u"BouyomiChan", TSpeechType::stBouyomi, 0, true},
                                {u"VOICEROID＋ 結月ゆかり", TSpeechType::stVOCALOIDP, 0, true}};
  SpeechItems.assign(devices.begin(), devices.begin() + deviceCount);
  Setup.SpeechIndex = speechIndex;
  auto *skip = Find<QToolButton>(*window, "sbSkip");
  skip->setEnabled(!enabled);
  window->UpdateSkipButton();
  QCOMPARE(skip->isEnabled(), enabled);
}

void TestMainWindow::stayOnTopKeepsPlace() {
  AppTestEnvironment env;
  Setup.StayOnTop = true;
  auto window = CreateWindow();
  QVERIFY(window->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
  window->show();
  QVERIFY(QTest::qWaitForWindowExposed(window.get()));
  window->move(40, 50);
  const QRect where = window->geometry();

  Setup.StayOnTop = false;
  window->ApplyStayOnTop();
  QVERIFY(!window->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
  QVERIFY(window->isVisible());
  QCOMPARE(window->geometry(), where);

  Setup.StayOnTop = true;
  window->ApplyStayOnTop();
  QVERIFY(window->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
  QVERIFY(window->isVisible());
  QCOMPARE(window->geometry(), where);
}

QTEST_MAIN(TestMainWindow)
#include "tst_MainWindow.moc"
