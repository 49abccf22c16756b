// The behaviour behind the toolbar: reading on and off, skip, the time
// signal, the Setup button and the line typed into Memo1.
#include <exception>

#include <QApplication>
#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QTextBlock>
#include <QTimer>
#include <QToolButton>

#include "Lib/uStrUtils.h"
#include "Lib/uVTUtils.Win.h"
#include "app/uFrmMain.h"
#include "app/uQtText.h"
#include "chat/uChatReader.h"
#include "chat/uFolderWatchThread.h"
#include "chat/uSecondLife.h"
#include "platform/Clock.h"
#include "platform/Platform.h"
#include "settings/uSetup.h"
#include "speech/uSpeech.h"
#include "text/uMessages.h"
#include "text/uTimeSignal.h"
#include "text/uTransList.h"

namespace {

bool IsEnterKey(int key) { return key == Qt::Key_Return || key == Qt::Key_Enter; }

void Speak(const std::u16string &text) {
  SpeakText(Setup.SpeechIndex, Setup.SpeechVolume, Setup.SpeechRate, text);
}

// Lets the window draw a disabled button before a long step starts.
void ProcessPendingPaints() { QApplication::processEvents(QEventLoop::ExcludeUserInputEvents); }

} // namespace

void TFrmMain::ConnectControls() {
  connect(sbStart, &QToolButton::clicked, this, &TFrmMain::sbStartClick);
  connect(sbSkip, &QToolButton::clicked, this, &TFrmMain::sbSkipClick);
  connect(sbTime, &QToolButton::clicked, this, &TFrmMain::sbTimeClick);
  connect(sbTool, &QToolButton::clicked, this, &TFrmMain::sbToolClick);
  connect(sbURL, &QToolButton::clicked, this, &TFrmMain::sbURLClick);
  connect(TimerTimeSignal, &QTimer::timeout, this, &TFrmMain::TimerTimeSignalTimer);
  Memo1->installEventFilter(this);
}

bool TFrmMain::eventFilter(QObject *watched, QEvent *event) {
  if (watched == Memo1 && event->type() == QEvent::KeyPress)
    Memo1KeyDown(static_cast<QKeyEvent *>(event)->key());
  else if (watched == Memo1 && event->type() == QEvent::KeyRelease)
    Memo1KeyUp(static_cast<QKeyEvent *>(event)->key());
  return QWidget::eventFilter(watched, event);
}

bool TFrmMain::IsReading() const { return sbStart->text() != QLatin1String("Start"); }

void TFrmMain::sbStartClick() {
  sbStart->setEnabled(false);
  ProcessPendingPaints();
  try {
    if (!IsReading())
      StartReading();
    else
      StopReading();
  } catch (const std::exception &e) {
    // A list file that cannot be read, say: reading stays off, and the user
    // sees why.
    StopFolderWatch(FFolderWatch);
    ShowText(Utf8ToUtf16(e.what()));
  }
  sbTime->setEnabled(!sbTool->isEnabled());
  sbStart->setEnabled(true);
}

void TFrmMain::StartReading() {
  MemoT->clear();
  const auto error = TestSpeechDevice(Setup.SpeechIndex, Setup.SpeechVolume, Setup.SpeechRate);
  if (!error.empty()) {
    ShowText(error);
    return;
  }
  FShownErrors.clear();
  if (Setup.ChatUse) {
    ShowText(PrepareChatReading(Setup.SpeechIndex, Setup.SpeechVolume, Setup.SpeechRate,
                                Setup.SLViewer, Setup.SLAvatar));
    const auto log = ChatLogPath(Setup.ChatType, Setup.SLViewer, Setup.SLAllChats, Setup.ChatFile,
                                 Setup.SLAvatar);
    // The settings forget a chat file that does not exist; say so rather
    // than fail to watch a folder with no name. Reading still starts: the
    // time signal and the typed line work without a chat.
    if (log.empty())
      ShowText(u"No chat file to read: the chat file is not set or does not exist.");
    else
      WatchChatLog(ToPath(log));
  }
  SetButtonIcon(sbStart, QStringLiteral("Read Stop"));
  sbStart->setText(QStringLiteral("Stop"));
  sbTool->setEnabled(false);
}

void TFrmMain::WatchChatLog(const std::filesystem::path &path) {
  StartFolderWatch(
      FFolderWatch, FromPath(path.parent_path()), FromPath(path.filename()),
      [this](TFolderWatch &sender, const std::u16string &fileName, std::int64_t old) {
        FolderWatchChange(sender, fileName, old);
      },
      [](TFolderWatch &) {},
      [this](TFolderWatch &, const std::u16string &message) { ShowErrorOnce(message); });
}

void TFrmMain::StopReading() {
  StopFolderWatch(FFolderWatch);
  SetButtonIcon(sbStart, QStringLiteral("Read Aloud"));
  sbStart->setText(QStringLiteral("Start"));
  sbTool->setEnabled(true);
}

void TFrmMain::FolderWatchChange(TFolderWatch &sender, const std::u16string &fileName,
                                 std::int64_t old) {
  // Read up to the size measured for this change: bytes written since then
  // bring a change of their own, and are read there, once.
  const auto text = ReadAppendedText(fileName, old, Setup.ChatEncIndex, Setup.ChatFilter,
                                     Setup.ChatRegEx, sender.RecordedSize(fileName));
  ReportSkippedRules();
  if (text.empty())
    return;
  ShowText(text);
  Speak(text);
}

void TFrmMain::ShowErrorOnce(const std::u16string &message) {
  if (FShownErrors.insert(message).second)
    ShowText(message);
}

void TFrmMain::ReportSkippedRules() {
  for (const auto &rule : TakeSkippedDictionaryRules())
    ShowErrorOnce(u"Dictionary rule skipped: " + rule.src + u" = " + rule.dst + u" (" +
                  rule.Message + u")");
}

void TFrmMain::sbSkipClick() {
  // The skip confirmation is not shown; Memo1 keeps the text being read.
  SkipSpeech(Setup.SpeechIndex);
}

void TFrmMain::sbTimeClick() {
  const auto text = CurrentTimeText();
  ShowText(text);
  Speak(text);
}

void TFrmMain::ScheduleTimeSignal() {
  const auto delay = TimeSignalDelay(Setup.TimeSignal, platform::Clock().Now());
  if (delay < 0)
    return;
  TimerTimeSignal->setInterval(static_cast<int>(delay));
  TimerTimeSignal->start();
}

void TFrmMain::TimerTimeSignalTimer() {
  TimerTimeSignal->stop();
  if (sbTime->isEnabled()) {
    const auto text = TimeSignalText();
    ShowText(text);
    Speak(text);
  }
  ScheduleTimeSignal();
}

void TFrmMain::sbToolClick() {
  sbTool->setEnabled(false);
  ProcessPendingPaints();
  StopSpeechDevice(Setup.SpeechIndex, Setup.SpAutoClose);
  // The settings dialog opens here once it exists; the device is closed and
  // reopened around it so a changed device takes effect.
  ApplyStayOnTop();
  SetSpeechAudioOut(Setup.SpeechIndex, Setup.AudioOut);
  StartSpeechDevice(Setup.SpeechIndex, Setup.SpAutoStart, Setup.BouyomiFile);
  UpdateSkipButton();
  sbTool->setEnabled(true);
  ShowTranslationPane(Setup.OllamaisUse);
}

void TFrmMain::Memo1KeyDown(int key) {
  if (IsEnterKey(key))
    CrLine = Memo1->textCursor().blockNumber();
}

void TFrmMain::Memo1KeyUp(int key) {
  if (!IsEnterKey(key) || Memo1->textCursor().blockNumber() == CrLine)
    return;
  const auto line = ToU16(Memo1->document()->findBlockByNumber(CrLine).text());
  if (line.empty())
    return;
  const auto text = ApplyDictionary(HandleDictionaryCommand(line));
  ReportSkippedRules();
  Speak(text);
}

void TFrmMain::sbURLClick() { OpenURL(ToU16(sbURL->property("address").toString())); }
