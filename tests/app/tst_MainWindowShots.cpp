// Renders the main window in both styles to PNG files in $MURMELO_SHOT_DIR,
// for a person to look at; it fails only when nothing can be written.
#include <QDir>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QToolButton>
#include <QtTest>

#include "app/uFrmMain.h"
#include "app/uVCLTheme.h"
#include "tests/app/AppTestEnvironment.h"

class TestMainWindowShots : public QObject {
  Q_OBJECT

private Q_SLOTS:
  void shots_data();
  void shots();
};

void TestMainWindowShots::shots_data() {
  QTest::addColumn<bool>("light");
  QTest::newRow("light") << true;
  QTest::newRow("dark") << false;
}

void TestMainWindowShots::shots() {
  QFETCH(bool, light);
  const QString folder = qEnvironmentVariable("MURMELO_SHOT_DIR");
  if (folder.isEmpty())
    QSKIP("MURMELO_SHOT_DIR is not set");
  QVERIFY(QDir().mkpath(folder));

  AppTestEnvironment env("en_US.UTF-8", light);
  Setup.OllamaisUse = true;
  SpeechItems = {{u"BouyomiChan", TSpeechType::stBouyomi, 0, true}};
  RefreshLightMode();
  TFrmMain window;
  window.show();
  QVERIFY(QTest::qWaitForWindowExposed(&window));
  window.ShowText(u"Bob Smith: Good evening, everyone!\r\nAlice: Hi Bob, welcome back.");
  window.findChild<QPlainTextEdit *>(QStringLiteral("MemoT"))
      ->appendPlainText(QStringLiteral("Bob Smith: Good evening, everyone! (translated)"));
  QCOMPARE(ActiveStyleName(), light ? LightStyleName() : DarkStyleName());

  const QString name =
      QStringLiteral("main-window-%1.png").arg(QLatin1String(light ? "light" : "dark"));
  QVERIFY(window.grab().save(QDir(folder).filePath(name)));

  // The flat buttons' hover plate.
  auto *setupButton = window.findChild<QToolButton *>(QStringLiteral("sbTool"));
  QTest::mouseMove(setupButton);
  QTRY_VERIFY(setupButton->underMouse());
  const QString hover =
      QStringLiteral("main-window-%1-hover.png").arg(QLatin1String(light ? "light" : "dark"));
  QVERIFY(window.grab().save(QDir(folder).filePath(hover)));
}

QTEST_MAIN(TestMainWindowShots)
#include "tst_MainWindowShots.moc"
