#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <set>
#include <string>

#include <QWidget>

#include "app/uSVGIconList.h"

class QPlainTextEdit;
class QShowEvent;
class QSplitter;
class QTimer;
class QToolButton;
class TFolderWatch;

// The main window: a toolbar (Start/Stop, Skip, Time, Setup and the product
// page link) over the latest text (Memo1) and the translations (MemoT).
// Components carry their form names as object names.
class TFrmMain final : public QWidget {
  Q_OBJECT

public:
  explicit TFrmMain(QWidget *parent = nullptr);
  ~TFrmMain() override;

  // Replaces everything in Memo1 by text; an empty text changes nothing.
  void ShowText(const std::u16string &text);
  void ShowTranslationPane(bool visible);
  // Icons and application style for the current light/dark choice.
  void ApplyTheme();
  void ApplyStayOnTop();
  // Skip is enabled only for a chosen device that can skip.
  void UpdateSkipButton();
  // Shows the named icon of the current icon list on a toolbar button; the
  // button keeps the name, so a theme switch shows the same icon.
  void SetButtonIcon(QToolButton *button, const QString &name);

  // Starts the time-signal timer for the next signal (nothing when it is off).
  void ScheduleTimeSignal();

protected:
  void showEvent(QShowEvent *event) override;
  bool eventFilter(QObject *watched, QEvent *event) override;

private:
  void CreateComponents();
  QToolButton *CreateButton(const QString &name, const QString &caption, const QString &iconName,
                            int width);
  void ConnectControls();

  void FormCreate();
  void FormShow();
  void FormDestroy();

  // Toolbar handlers (uFrmMainControl.cpp).
  void sbStartClick();
  void sbSkipClick();
  void sbTimeClick();
  void sbToolClick();
  void sbURLClick();
  void Memo1KeyDown(int key);
  void Memo1KeyUp(int key);
  void TimerTimeSignalTimer();
  void FolderWatchChange(TFolderWatch &sender, const std::u16string &fileName, std::int64_t old);

  // Reading runs exactly while sbStart reads "Stop".
  bool IsReading() const;
  void StartReading();
  void StopReading();
  // Watches the chat log: a file, or a folder and a pattern such as "*.txt".
  void WatchChatLog(const std::filesystem::path &path);
  // Shows an error of the reading in Memo1, each message once per Start.
  void ShowErrorOnce(const std::u16string &message);
  void ReportSkippedRules();

  QWidget *Panel1 = nullptr;
  QToolButton *sbStart = nullptr;
  QToolButton *sbSkip = nullptr;
  QToolButton *sbTime = nullptr;
  QToolButton *sbTool = nullptr;
  QToolButton *sbURL = nullptr;
  QWidget *PanelM = nullptr;
  QPlainTextEdit *Memo1 = nullptr;
  QSplitter *spMemoT = nullptr;
  QPlainTextEdit *MemoT = nullptr;
  QTimer *TimerTimeSignal = nullptr;
  TSVGIconList SVGIconVirtualImageList1;
  TSVGIconList SVGIconVirtualImageList2;
  const TSVGIconList *FImages = &SVGIconVirtualImageList1;

  bool isFirst = false;
  std::int32_t CrLine = 0;
  std::unique_ptr<TFolderWatch> FFolderWatch;
  std::set<std::u16string> FShownErrors;
};
